#include "support/TestProxy.h"

#include "support/TestServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include "platform/RaceAnnotations.h"
#include "support/Sync.h"

#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <utility>

#include <unistd.h>

struct TestProxy::Shared
{
    mutable testsupport::Mutex mutex;
    mutable testsupport::Condition changed;
    QList<QByteArray> requests;
    int connections = 0;
    QByteArray credentials; // "user:password", empty: none asked for
};

namespace {

constexpr qsizetype kMaxHead = 1024 * 1024;
constexpr qint64 kHighWater = 256 * 1024;
constexpr qint64 kPiece = 64 * 1024;

const QByteArray kAuthenticate = "HTTP/1.1 407 Proxy Authentication Required\r\n"
                                 "Proxy-Authenticate: Basic realm=\"lexorvia-test\"\r\n"
                                 "Content-Length: 0\r\n";

bool sameName(QByteArrayView a, QByteArrayView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool allowedHost(const QByteArray &host)
{
    return host == "127.0.0.1" || sameName(host, "localhost");
}

qint64 contentLength(const QByteArray &head)
{
    const QByteArray field = TestServer::headerValue(head, "Content-Length");
    bool ok = false;
    const qint64 length = field.toLongLong(&ok);
    return ok && length > 0 ? length : 0;
}

class ProxyConnection : public QObject
{
public:
    ProxyConnection(QTcpSocket *client, TestProxy::Shared *shared, QObject *parent)
        : QObject(parent), m_client(client), m_shared(shared)
    {
        client->setParent(this);
        connect(client, &QIODevice::readyRead, this, [this] { onClientReadable(); });
        connect(client, &QIODevice::bytesWritten, this, [this] { onClientWritten(); });
        connect(client, &QAbstractSocket::disconnected, this, [this] { onClientGone(); });
    }

private:
    enum class State { ReadingHead, Connecting, Forwarding, Tunnel, Closing };
    enum class Response { Head, Body, UntilClose };

    void onClientReadable()
    {
        switch (m_state) {
        case State::ReadingHead:
            processHeads();
            break;
        case State::Forwarding:
            relayRequestBody();
            break;
        case State::Tunnel:
            pump(m_client, m_upstream);
            break;
        case State::Closing:
            m_client->readAll();
            break;
        case State::Connecting:
            break; // kept until the target answers
        }
    }

    void onClientWritten()
    {
        if (m_state == State::Tunnel)
            pump(m_upstream, m_client);
        else if (m_state == State::Forwarding)
            relayResponse();
    }

    void onClientGone()
    {
        // Closing first: the upstream socket reports its end from inside abort().
        const State was = std::exchange(m_state, State::Closing);
        if (m_upstream) {
            if (was == State::Tunnel) {
                pump(m_client, m_upstream);
                m_upstream->disconnectFromHost();
            } else {
                m_upstream->abort();
            }
        }
        finishWhenDone();
    }

    void processHeads()
    {
        while (m_state == State::ReadingHead) {
            m_buffer += m_client->readAll();
            if (m_discard > 0) {
                const qint64 dropped = std::min<qint64>(m_discard, m_buffer.size());
                m_buffer.remove(0, dropped);
                m_discard -= dropped;
                if (m_discard > 0)
                    return;
            }
            const qsizetype end = m_buffer.indexOf("\r\n\r\n");
            if (end < 0) {
                if (m_buffer.size() > kMaxHead)
                    refuse(431, "Request Header Fields Too Large");
                return;
            }
            const QByteArray head = m_buffer.left(end + 4);
            m_buffer.remove(0, head.size());
            {
                testsupport::Locker lock(m_shared->mutex);
                m_shared->requests.append(head);
                m_shared->changed.wakeAll();
            }
            handleHead(head);
        }
    }

    bool authorized(const QByteArray &head) const
    {
        QByteArray expected;
        {
            testsupport::Locker lock(m_shared->mutex);
            expected = m_shared->credentials;
        }
        if (expected.isEmpty())
            return true;
        const QByteArray field = TestServer::headerValue(head, "Proxy-Authorization");
        const qsizetype space = field.indexOf(' ');
        if (space < 0 || !sameName(QByteArrayView(field).first(space), "Basic"))
            return false;
        const auto decoded = QByteArray::fromBase64Encoding(field.mid(space + 1).trimmed(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        return decoded && *decoded == expected;
    }

    void handleHead(const QByteArray &head)
    {
        const QList<QByteArray> parts = TestServer::requestLine(head).split(' ');
        if (parts.size() != 3 || !parts[2].startsWith("HTTP/1.")) {
            refuse(400, "Bad Request");
            return;
        }
        const QByteArray &method = parts[0];
        const QByteArray &target = parts[1];

        if (!authorized(head)) {
            const qint64 bodyLength = contentLength(head);
            if (bodyLength > 0 && sameName(TestServer::headerValue(head, "Expect"), "100-continue")) {
                // The body will not come; nothing tells where the next request starts.
                m_client->write(kAuthenticate + "Connection: close\r\n\r\n");
                close();
                return;
            }
            m_discard = bodyLength;
            m_client->write(kAuthenticate + "\r\n");
            return;
        }

        if (method == "CONNECT") {
            const qsizetype colon = target.lastIndexOf(':');
            bool ok = false;
            const quint16 port = colon > 0 ? target.mid(colon + 1).toUShort(&ok) : 0;
            if (!ok || port == 0 || !allowedHost(target.left(colon))) {
                refuse(403, "Forbidden");
                return;
            }
            m_tunnel = true;
            connectUpstream(port);
            return;
        }

        if (!target.startsWith("http://")) {
            refuse(400, "Bad Request");
            return;
        }
        qsizetype pathStart = target.indexOf('/', 7);
        const qsizetype queryStart = target.indexOf('?', 7);
        if (queryStart >= 0 && (pathStart < 0 || queryStart < pathStart))
            pathStart = queryStart;
        const QByteArray authority = pathStart < 0 ? target.mid(7) : target.mid(7, pathStart - 7);
        QByteArray origin = pathStart < 0 ? QByteArray("/") : target.mid(pathStart);
        if (origin.startsWith('?'))
            origin.prepend('/');
        const qsizetype colon = authority.lastIndexOf(':');
        const QByteArray host = colon < 0 ? authority : authority.left(colon);
        bool ok = colon < 0;
        const quint16 port = colon < 0 ? 80 : authority.mid(colon + 1).toUShort(&ok);
        if (!ok || port == 0 || !allowedHost(host)) {
            refuse(403, "Forbidden");
            return;
        }
        if (!TestServer::headerValue(head, "Transfer-Encoding").isEmpty()) {
            refuse(501, "Not Implemented");
            return;
        }

        // The same request in origin form, without what was meant for the proxy.
        QByteArray forwarded = method + ' ' + origin + ' ' + parts[2] + "\r\n";
        const QList<QByteArray> lines = head.left(head.size() - 4).split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            QByteArray line = lines[i];
            if (line.endsWith('\r'))
                line.chop(1);
            const QByteArrayView name = QByteArrayView(line).first(std::max<qsizetype>(line.indexOf(':'), 0)).trimmed();
            if (sameName(name, "Proxy-Authorization") || sameName(name, "Proxy-Connection"))
                continue;
            forwarded += line + "\r\n";
        }
        forwarded += "\r\n";
        m_forwardHead = forwarded;
        m_requestBodyLeft = contentLength(head);
        m_headRequest = method == "HEAD";
        m_tunnel = false;
        connectUpstream(port);
    }

    void connectUpstream(quint16 port)
    {
        m_state = State::Connecting;
        m_upstream = new QTcpSocket(this);
        m_upstream->setReadBufferSize(kHighWater);
        connect(m_upstream, &QAbstractSocket::connected, this, [this] { onUpstreamConnected(); });
        connect(m_upstream, &QIODevice::readyRead, this, [this] { onUpstreamReadable(); });
        connect(m_upstream, &QIODevice::bytesWritten, this, [this] {
            if (m_state == State::Tunnel)
                pump(m_client, m_upstream);
        });
        connect(m_upstream, &QAbstractSocket::disconnected, this, [this] { onUpstreamGone(); });
        connect(m_upstream, &QAbstractSocket::errorOccurred, this, [this] {
            if (m_state == State::Connecting)
                refuse(502, "Bad Gateway");
        });
        m_upstream->connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    }

    void onUpstreamConnected()
    {
        if (m_state != State::Connecting)
            return;
        if (m_tunnel) {
            m_state = State::Tunnel;
            m_client->setReadBufferSize(kHighWater);
            m_client->write("HTTP/1.1 200 Connection established\r\n\r\n");
            if (!m_buffer.isEmpty())
                m_upstream->write(std::exchange(m_buffer, QByteArray()));
            pump(m_client, m_upstream);
            return;
        }
        m_state = State::Forwarding;
        m_response = Response::Head;
        m_responseHead.clear();
        m_upstream->write(m_forwardHead);
        relayRequestBody();
    }

    void onUpstreamReadable()
    {
        if (m_state == State::Tunnel)
            pump(m_upstream, m_client);
        else if (m_state == State::Forwarding)
            relayResponse();
    }

    void onUpstreamGone()
    {
        if (m_state == State::Tunnel) {
            pump(m_upstream, m_client);
        } else if (m_state == State::Forwarding) {
            relayResponse();
            if (m_state == State::Forwarding) // the answer was cut short: so is the client's
                close();
        }
        finishWhenDone();
    }

    void relayRequestBody()
    {
        if (m_state != State::Forwarding || m_requestBodyLeft <= 0)
            return;
        const qint64 fromBuffer = std::min<qint64>(m_requestBodyLeft, m_buffer.size());
        if (fromBuffer > 0) {
            m_upstream->write(m_buffer.left(fromBuffer));
            m_buffer.remove(0, fromBuffer);
            m_requestBodyLeft -= fromBuffer;
        }
        while (m_requestBodyLeft > 0 && m_client->bytesAvailable() > 0) {
            const QByteArray piece = m_client->read(std::min(m_requestBodyLeft, kPiece));
            m_upstream->write(piece);
            m_requestBodyLeft -= piece.size();
        }
    }

    // Passes the target's answer on, framed by its Content-Length (or by the
    // end of the connection when it has none).
    void relayResponse()
    {
        while (m_state == State::Forwarding) {
            if (m_response == Response::Head) {
                m_responseHead += m_upstream->readAll();
                const qsizetype end = m_responseHead.indexOf("\r\n\r\n");
                if (end < 0) {
                    if (m_responseHead.size() > kMaxHead)
                        close();
                    return;
                }
                const QByteArray head = m_responseHead.left(end + 4);
                QByteArray rest = m_responseHead.mid(end + 4);
                m_responseHead.clear();
                m_client->write(head);
                const QList<QByteArray> statusLine = TestServer::requestLine(head).split(' ');
                const int status = statusLine.size() > 1 ? statusLine[1].toInt() : 0;
                if (status >= 100 && status < 200) {
                    m_responseHead = rest;
                    continue;
                }
                const QByteArray lengthField = TestServer::headerValue(head, "Content-Length");
                if (m_headRequest || status == 204 || status == 304) {
                    m_response = Response::Body;
                    m_responseLeft = 0;
                } else if (!lengthField.isEmpty() && TestServer::headerValue(head, "Transfer-Encoding").isEmpty()) {
                    m_response = Response::Body;
                    m_responseLeft = lengthField.toLongLong();
                } else {
                    m_response = Response::UntilClose;
                    m_responseLeft = -1;
                }
                if (m_responseLeft >= 0)
                    rest.truncate(m_responseLeft);
                m_client->write(rest);
                if (m_responseLeft > 0)
                    m_responseLeft -= rest.size();
                continue;
            }
            while (m_responseLeft != 0 && m_upstream->bytesAvailable() > 0 && m_client->bytesToWrite() < kHighWater) {
                const qint64 wanted = m_responseLeft < 0 ? kPiece : std::min(m_responseLeft, kPiece);
                const QByteArray piece = m_upstream->read(wanted);
                m_client->write(piece);
                if (m_responseLeft > 0)
                    m_responseLeft -= piece.size();
            }
            if (m_responseLeft == 0) {
                responseDone();
            } else if (m_upstream->state() == QAbstractSocket::UnconnectedState && m_upstream->bytesAvailable() == 0) {
                close(); // the end of the connection ends the answer
            }
            return;
        }
    }

    void responseDone()
    {
        QTcpSocket *upstream = std::exchange(m_upstream, nullptr);
        upstream->disconnect(this);
        upstream->disconnectFromHost();
        upstream->deleteLater();
        m_state = State::ReadingHead;
        processHeads();
    }

    // Moves what one side sent to the other as fast as the other takes it,
    // and passes the end of the stream on.
    void pump(QTcpSocket *from, QTcpSocket *to)
    {
        if (!from || !to)
            return;
        while (from->bytesAvailable() > 0 && to->state() == QAbstractSocket::ConnectedState
               && to->bytesToWrite() < kHighWater)
            to->write(from->read(kPiece));
        if (from->state() == QAbstractSocket::UnconnectedState && from->bytesAvailable() == 0
            && to->state() == QAbstractSocket::ConnectedState)
            to->disconnectFromHost();
    }

    void refuse(int status, const QByteArray &reason)
    {
        m_client->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + reason
                        + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        close();
    }

    void close()
    {
        m_state = State::Closing;
        if (m_upstream)
            m_upstream->abort();
        m_client->disconnectFromHost();
        finishWhenDone();
    }

    void finishWhenDone()
    {
        const bool clientDown = m_client->state() == QAbstractSocket::UnconnectedState;
        const bool upstreamDown = !m_upstream || m_upstream->state() == QAbstractSocket::UnconnectedState;
        if (clientDown && upstreamDown)
            deleteLater();
    }

    QTcpSocket *m_client;
    QTcpSocket *m_upstream = nullptr;
    TestProxy::Shared *m_shared;
    State m_state = State::ReadingHead;
    QByteArray m_buffer;
    qint64 m_discard = 0;
    bool m_tunnel = false;
    QByteArray m_forwardHead;
    qint64 m_requestBodyLeft = 0;
    bool m_headRequest = false;
    Response m_response = Response::Head;
    QByteArray m_responseHead;
    qint64 m_responseLeft = 0;
};

class ProxyListener : public QTcpServer
{
public:
    explicit ProxyListener(TestProxy::Shared *shared) : m_shared(shared) {}

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QTcpSocket;
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            ::close(int(descriptor));
            return;
        }
        {
            testsupport::Locker lock(m_shared->mutex);
            ++m_shared->connections;
            m_shared->changed.wakeAll();
        }
        new ProxyConnection(socket, m_shared, this);
    }

private:
    TestProxy::Shared *m_shared;
};

QByteArray credentialsOf(const QString &user, const QString &password)
{
    if (user.isEmpty() && password.isEmpty())
        return QByteArray();
    return user.toUtf8() + ':' + password.toUtf8();
}

} // namespace

class TestProxy::Thread : public QThread
{
public:
    explicit Thread(Shared *shared) : m_shared(shared) {}

    testsupport::Semaphore ready;
    quint16 port = 0;
    QString error;

protected:
    void run() override
    {
        // Marks the end of the thread, after the listener is gone.
        const auto ended = qScopeGuard([this] { RaceAnnotations::released(this); });
        ProxyListener listener(m_shared);
        if (!listener.listen(QHostAddress::LocalHost, 0)) {
            error = listener.errorString();
            ready.release();
            return;
        }
        port = listener.serverPort();
        ready.release();
        exec();
    }

private:
    Shared *m_shared;
};

TestProxy::TestProxy(const QString &user, const QString &password)
    : m_shared(std::make_unique<Shared>())
{
    m_shared->credentials = credentialsOf(user, password);
    m_thread = std::make_unique<Thread>(m_shared.get());
    m_thread->start();
    if (!m_thread->ready.tryAcquire(1, 10000) || !m_thread->error.isEmpty())
        qFatal("TestProxy: cannot listen on 127.0.0.1: %s", qPrintable(m_thread->error));
}

TestProxy::~TestProxy()
{
    m_thread->quit();
    if (!m_thread->wait(QDeadlineTimer(10000)))
        qFatal("TestProxy: the proxy thread did not stop");
    RaceAnnotations::acquired(m_thread.get()); // the thread has ended
}

quint16 TestProxy::port() const
{
    return m_thread->port;
}

QString TestProxy::url() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void TestProxy::setCredentials(const QString &user, const QString &password)
{
    testsupport::Locker lock(m_shared->mutex);
    m_shared->credentials = credentialsOf(user, password);
}

QList<QByteArray> TestProxy::requests() const
{
    testsupport::Locker lock(m_shared->mutex);
    return m_shared->requests;
}

int TestProxy::connectionsAccepted() const
{
    testsupport::Locker lock(m_shared->mutex);
    return m_shared->connections;
}

bool TestProxy::waitForRequests(int count, int timeoutMs) const
{
    const QDeadlineTimer deadline(std::max(timeoutMs, 0));
    const bool runEvents = QThread::currentThread()->eventDispatcher() != nullptr;
    for (;;) {
        {
            testsupport::Locker lock(m_shared->mutex);
            if (m_shared->requests.size() >= count)
                return true;
            if (deadline.hasExpired())
                return false;
            m_shared->changed.wait(lock,
                                   runEvents ? QDeadlineTimer(std::min<qint64>(5, deadline.remainingTime())) : deadline);
            if (m_shared->requests.size() >= count)
                return true;
        }
        if (runEvents)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

void TestProxy::clear()
{
    testsupport::Locker lock(m_shared->mutex);
    m_shared->requests.clear();
    m_shared->connections = 0;
}
