#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

// A local HTTP proxy for the translation tests, on 127.0.0.1 in a thread of its
// own (every public method may be called from any thread).
//
// With credentials set, a request without a matching
// "Proxy-Authorization: Basic ..." gets 407 with
// 'Proxy-Authenticate: Basic realm="lexorvia-test"' and an empty body, on a
// connection kept open. "CONNECT host:port" opens a tunnel (HTTPS through the
// proxy); "GET http://host:port/path HTTP/1.1" is passed on in origin form,
// without the Proxy-Authorization and Proxy-Connection headers, and its answer
// relayed back. Targets other than 127.0.0.1 and localhost get 403 and are never
// contacted; an unreachable target gets 502.
class TestProxy
{
public:
    // No credentials: every request is let through.
    explicit TestProxy(const QString &user = QString(), const QString &password = QString());
    ~TestProxy();
    TestProxy(const TestProxy &) = delete;
    TestProxy &operator=(const TestProxy &) = delete;

    quint16 port() const;
    QString url() const; // "http://127.0.0.1:PORT"

    void setCredentials(const QString &user, const QString &password);

    // The head of every request the proxy received, as received, in order
    // (the unauthenticated attempts included).
    QList<QByteArray> requests() const;
    int connectionsAccepted() const;
    // True once at least `count` heads have arrived; false after timeoutMs.
    // Runs the calling thread's events meanwhile when it has an event loop.
    bool waitForRequests(int count, int timeoutMs = 5000) const;
    void clear();

    struct Shared;
    class Thread;

private:
    std::unique_ptr<Shared> m_shared;
    std::unique_ptr<Thread> m_thread;
};
