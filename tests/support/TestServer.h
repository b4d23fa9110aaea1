#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>

// A local HTTP/1.1 server for the translation tests. It listens on 127.0.0.1 on
// a free port and runs in a thread of its own with its own event loop, so it
// answers while the test's thread is blocked (in a libcurl call, a benchmark
// loop, ...). Every public method may be called from any thread.
//
// It keeps connections alive, reads each request's head and its body (by
// Content-Length, or chunked), and records each request's exact bytes. A client
// that sends "Expect: 100-continue" gets the interim 100 answer before its body.
// The answers come from a queue the test fills, one per request in order of
// arrival, and from the default answer when the queue is empty.
class TestServer
{
public:
    enum class Mode { Http, Https };

    struct Reply
    {
        enum Behaviour {
            Normal,
            CloseEarly,        // head announces the whole body, part of it is sent, then the connection closes
            CloseWithoutReply, // the request is read, then the connection closes without a byte
            Reset,             // the request is read, then the connection is reset (the client sees ECONNRESET)
            Stall,             // the request is read and never answered; the connection stays open
        };

        int status = 200;
        QByteArray reason = "OK";
        // Sent in this order after the status line. Content-Length is added
        // unless one is given here (or Transfer-Encoding is).
        QList<QPair<QByteArray, QByteArray>> headers;
        // The body is `body` sent `bodyRepeat` times in a row, produced as the
        // client reads it: a large body never sits in memory whole.
        QByteArray body;
        qint64 bodyRepeat = 1;
        Behaviour behaviour = Normal;
        int delayMs = 0;                // wait this long before answering (or closing, resetting)
        bool closeConnection = false;   // "Connection: close", and close after the answer
        qint64 earlyCloseAfter = -1;    // CloseEarly: body bytes sent before closing; -1: half of them
        QByteArray raw;                 // when set: these bytes are the whole answer, as they are

        Reply() = default;
        Reply(int status, const QByteArray &reason, const QByteArray &body = QByteArray());
        static Reply text(const QByteArray &body, const QByteArray &contentType = "text/plain; charset=utf-8");
        static Reply withBehaviour(Behaviour behaviour, int delayMs = 0);
        Reply &header(const QByteArray &name, const QByteArray &value);

        qint64 bodySize() const { return body.size() * bodyRepeat; }
    };

    // Https serves <certificate>.pem with the key <certificate>-key.pem from
    // the test data folder: "server" (localhost and 127.0.0.1, signed by ca.pem)
    // or "wrong-host" (wrong.example only).
    explicit TestServer(Mode mode = Mode::Http, const QString &certificate = QStringLiteral("server"));
    ~TestServer();
    TestServer(const TestServer &) = delete;
    TestServer &operator=(const TestServer &) = delete;

    quint16 port() const;
    bool isHttps() const;
    // "http://127.0.0.1:PORT" or "https://localhost:PORT".
    QString baseUrl() const;
    QString url(const QString &path) const { return baseUrl() + path; }

    // The answers.
    void enqueue(const Reply &reply);
    void setDefaultReply(const Reply &reply);

    // What arrived. clear() forgets the recorded requests and the connection
    // count and drops the queued answers; the default answer stays.
    QList<QByteArray> requests() const;
    QByteArray lastRequest() const;
    int connectionsAccepted() const;
    // True once at least `count` requests have arrived; false after timeoutMs.
    // Runs the calling thread's events meanwhile when it has an event loop.
    bool waitForRequests(int count, int timeoutMs = 5000) const;
    void clear();

    // Helpers for looking into a recorded request.
    static QByteArray requestLine(const QByteArray &request);
    // The value of the first header of that name (any letter case), trimmed;
    // a null QByteArray when there is none.
    static QByteArray headerValue(const QByteArray &request, const QByteArray &name);
    static QList<QByteArray> headerNames(const QByteArray &request);
    static QByteArray requestBody(const QByteArray &request);

    // The path of a file in tests/data (LEXORVIA_TEST_DATA overrides where that is).
    static QString dataFile(const QString &name);

    struct Shared;
    class Thread;

private:
    std::unique_ptr<Shared> m_shared;
    std::unique_ptr<Thread> m_thread;
    Mode m_mode;
};
