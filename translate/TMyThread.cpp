#include "translate/TMyThread.h"

#include "settings/Params.h"
#include "shell/untCommon.h"
#include "translate/Request.h"
#include "platform/RaceAnnotations.h"

#include <QCoreApplication>
#include <QEvent>

void HandOff::post(int type)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_receiver) {
        auto *event = new QEvent(QEvent::Type(type));
        RaceAnnotations::released(this);
        QCoreApplication::postEvent(m_receiver, event);
    }
}

void HandOff::received()
{
    RaceAnnotations::acquired(this);
}

void HandOff::detach()
{
    m_detached = true;
    std::lock_guard<std::mutex> guard(m_lock);
    m_receiver = nullptr;
}

TMyThread::TMyThread(std::shared_ptr<HandOff> wnd, std::shared_ptr<HttpConnection> http, HttpSettings settings,
                     const QString &text, const QString &sourceLang, const QString &targetLang,
                     std::shared_ptr<QByteArray> replyStream)
    : FWnd(std::move(wnd)), FHTTP(std::move(http)), FSettings(std::move(settings)), FText(text),
      FSourceLang(sourceLang), FTargetLang(targetLang), FReplyStream(std::move(replyStream))
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    start();
}

TMyThread::~TMyThread()
{
    RaceAnnotations::acquired(this); // the thread has ended (Qt's finished signal)
}

void TMyThread::run()
{
    DoWork();
    RaceAnnotations::released(this);
}

namespace {

// Nothing but spaces and control characters.
bool blank(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    }
    return true;
}

} // namespace

void TMyThread::DoWork()
{
    try {
        const TranslationRequest request = BuildTranslationRequest(TranslateBaseUrl, FText, FSourceLang, FTargetLang);
        QByteArray local;
        if (!request.post) {
            try {
                FHTTP->get(FSettings, request.url, local);
            } catch (const std::exception &e) {
                // A short text that fails is reported at once; the window then
                // gets whatever arrived (normally nothing).
                if (!FWnd->detached())
                    ShowMsg(QString::fromUtf8(e.what()), 2, FWnd->detachedFlag());
            }
        } else {
            FHTTP->post(FSettings, request.url, request.body, local);
        }
        FReplyStream->append(local);
        FWnd->post(WM_TRANSLATE_OK);
    } catch (const std::exception &e) {
        if (blank(*FReplyStream))
            *FReplyStream = QByteArray(e.what());
        FWnd->post(WM_TRANSLATE_ERROR);
    }
}
