#pragma once

#include "platform/HttpClient.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <memory>
#include <mutex>

// The hand-off messages of a translation: the reply buffer holds the reply
// body (OK) or a failure text (ERROR).
inline constexpr int WM_TRANSLATE_OK = 0x1401;
inline constexpr int WM_TRANSLATE_ERROR = 0x1402;

// The window's end of the hand-off. A message posted through it reaches the
// window while the window exists and is dropped once it has gone.
class HandOff
{
public:
    explicit HandOff(QObject *receiver) : m_receiver(receiver) {}

    void post(int type);
    void detach(); // the window is going away
    // Called by the window when a posted message arrives, before it looks at
    // it: marks the hand-off for race checkers, which cannot see the event
    // queue's own lock.
    void received();
    bool detached() const { return m_detached; }
    const std::atomic<bool> *detachedFlag() const { return &m_detached; }

private:
    std::mutex m_lock;
    QObject *m_receiver;
    std::atomic<bool> m_detached {false};
};

// One request, on a thread of its own: encodes the text, sends it, puts the
// reply into the window's buffer and posts the outcome to the window. It
// starts itself and frees itself when it ends.
class TMyThread : public QThread
{
    Q_OBJECT
public:
    TMyThread(std::shared_ptr<HandOff> wnd, std::shared_ptr<HttpConnection> http, HttpSettings settings,
              const QString &text, const QString &sourceLang, const QString &targetLang,
              std::shared_ptr<QByteArray> replyStream);
    ~TMyThread() override;

protected:
    void run() override;

private:
    void DoWork();

    std::shared_ptr<HandOff> FWnd;
    std::shared_ptr<HttpConnection> FHTTP;
    HttpSettings FSettings;
    QString FText;
    QString FSourceLang;
    QString FTargetLang;
    std::shared_ptr<QByteArray> FReplyStream;
};
