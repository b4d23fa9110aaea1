#include "support/TestServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include "platform/RaceAnnotations.h"
#include "support/Sync.h"
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <optional>

#include <sys/socket.h>
#include <unistd.h>

#ifndef LEXORVIA_TEST_DATA_DIR
#define LEXORVIA_TEST_DATA_DIR ""
#endif

struct TestServer::Shared
{
    mutable testsupport::Mutex mutex;
    mutable testsupport::Condition changed;
    QList<QByteArray> requests;
    int connections = 0;
    QList<Reply> queue;
    Reply defaultReply;
};

namespace {

constexpr qsizetype kMaxHead = 1024 * 1024;
// A large body is produced in pieces, while less than this waits to be sent.
constexpr qint64 kHighWater = 256 * 1024;
constexpr qint64 kPiece = 64 * 1024;

bool sameName(QByteArrayView a, QByteArrayView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

qsizetype headEnd(const QByteArray &request)
{
    return request.indexOf("\r\n\r\n");
}

struct Parsed
{
    qint64 size = 0;            // of the first complete request; 0: incomplete; -1: malformed
    bool expectsContinue = false;
};

// Where a chunked body that starts at `pos` ends, 0 when incomplete, -1 when malformed.
qint64 chunkedEnd(const QByteArray &buffer, qsizetype pos)
{
    for (;;) {
        const qsizetype eol = buffer.indexOf("\r\n", pos);
        if (eol < 0)
            return buffer.size() - pos > 1024 ? -1 : 0;
        QByteArray sizeField = buffer.mid(pos, eol - pos);
        const qsizetype semicolon = sizeField.indexOf(';');
        if (semicolon >= 0)
            sizeField.truncate(semicolon);
        bool ok = false;
        const qint64 size = sizeField.trimmed().toLongLong(&ok, 16);
        if (!ok || size < 0)
            return -1;
        pos = eol + 2;
        if (size == 0) {
            // Trailer lines up to an empty one.
            for (;;) {
                const qsizetype end = buffer.indexOf("\r\n", pos);
                if (end < 0)
                    return 0;
                if (end == pos)
                    return end + 2;
                pos = end + 2;
            }
        }
        if (buffer.size() - pos < size + 2)
            return 0;
        if (buffer.at(pos + size) != '\r' || buffer.at(pos + size + 1) != '\n')
            return -1;
        pos += size + 2;
    }
}

Parsed parseRequest(const QByteArray &buffer)
{
    Parsed parsed;
    const qsizetype end = headEnd(buffer);
    if (end < 0) {
        parsed.size = buffer.size() > kMaxHead ? -1 : 0;
        return parsed;
    }
    const QByteArray head = buffer.left(end + 4);
    const qsizetype bodyStart = end + 4;
    parsed.expectsContinue = sameName(TestServer::headerValue(head, "Expect"), "100-continue");
    if (TestServer::headerValue(head, "Transfer-Encoding").toLower().contains("chunked")) {
        parsed.size = chunkedEnd(buffer, bodyStart);
        return parsed;
    }
    qint64 length = 0;
    const QByteArray lengthField = TestServer::headerValue(head, "Content-Length");
    if (!lengthField.isEmpty()) {
        bool ok = false;
        length = lengthField.toLongLong(&ok);
        if (!ok || length < 0) {
            parsed.size = -1;
            return parsed;
        }
    }
    parsed.size = buffer.size() - bodyStart >= length ? bodyStart + length : 0;
    return parsed;
}

bool clientCloses(const QByteArray &request)
{
    const QByteArray connection = TestServer::headerValue(request, "Connection").toLower();
    if (connection.contains("close"))
        return true;
    return TestServer::requestLine(request).endsWith("HTTP/1.0") && !connection.contains("keep-alive");
}

QByteArray responseHead(const TestServer::Reply &reply, qint64 bodySize, bool closing)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reply.reason + "\r\n";
    bool framed = false;
    bool connectionGiven = false;
    for (const auto &[name, value] : reply.headers) {
        head += name + ": " + value + "\r\n";
        framed = framed || sameName(name, "Content-Length") || sameName(name, "Transfer-Encoding");
        connectionGiven = connectionGiven || sameName(name, "Connection");
    }
    if (!framed)
        head += "Content-Length: " + QByteArray::number(bodySize) + "\r\n";
    if (closing && !connectionGiven)
        head += "Connection: close\r\n";
    return head + "\r\n";
}

// One client connection, living in the server's thread.
class Connection : public QObject
{
public:
    Connection(QTcpSocket *socket, TestServer::Shared *shared, QObject *parent)
        : QObject(parent), m_socket(socket), m_ssl(qobject_cast<QSslSocket *>(socket)), m_shared(shared)
    {
        socket->setParent(this);
        connect(socket, &QIODevice::readyRead, this, [this] { onReadyRead(); });
        connect(socket, &QIODevice::bytesWritten, this, [this] { pump(); });
        if (m_ssl)
            connect(m_ssl, &QSslSocket::encryptedBytesWritten, this, [this] { pump(); });
        connect(socket, &QAbstractSocket::disconnected, this, [this] { finish(); });
        connect(socket, &QAbstractSocket::errorOccurred, this, [this] { finish(); });
    }

private:
    enum class State { Reading, Answering, Stalled, Closing };

    void onReadyRead()
    {
        const QByteArray data = m_socket->readAll();
        if (m_state == State::Stalled || m_state == State::Closing)
            return;
        m_buffer += data;
        if (m_state == State::Reading && !m_handling)
            handleBuffer();
    }

    void handleBuffer()
    {
        m_handling = true;
        while (m_state == State::Reading) {
            const Parsed parsed = parseRequest(m_buffer);
            if (parsed.size == 0) {
                if (parsed.expectsContinue && !m_continueSent) {
                    m_socket->write("HTTP/1.1 100 Continue\r\n\r\n");
                    m_continueSent = true;
                }
                break;
            }
            const bool malformed = parsed.size < 0;
            const QByteArray request = malformed ? m_buffer : m_buffer.left(parsed.size);
            m_buffer.remove(0, request.size());
            m_continueSent = false;

            TestServer::Reply reply;
            {
                testsupport::Locker lock(m_shared->mutex);
                m_shared->requests.append(request);
                if (malformed)
                    reply = TestServer::Reply(400, "Bad Request");
                else if (!m_shared->queue.isEmpty())
                    reply = m_shared->queue.takeFirst();
                else
                    reply = m_shared->defaultReply;
                m_shared->changed.wakeAll();
            }
            if (malformed)
                reply.closeConnection = true;
            answer(reply, request.startsWith("HEAD "), clientCloses(request));
        }
        m_handling = false;
    }

    void answer(const TestServer::Reply &reply, bool headRequest, bool closing)
    {
        m_state = State::Answering;
        if (reply.delayMs > 0)
            QTimer::singleShot(reply.delayMs, Qt::PreciseTimer, this, [=, this] { send(reply, headRequest, closing); });
        else
            send(reply, headRequest, closing);
    }

    void send(const TestServer::Reply &reply, bool headRequest, bool clientClosing)
    {
        if (m_socket->state() != QAbstractSocket::ConnectedState)
            return;
        switch (reply.behaviour) {
        case TestServer::Reply::CloseWithoutReply:
            close();
            return;
        case TestServer::Reply::Reset:
            reset();
            return;
        case TestServer::Reply::Stall:
            m_state = State::Stalled;
            return;
        case TestServer::Reply::Normal:
        case TestServer::Reply::CloseEarly:
            break;
        }
        const bool closing = reply.closeConnection || clientClosing;
        m_closeAfter = closing || reply.behaviour == TestServer::Reply::CloseEarly;
        if (!reply.raw.isEmpty()) {
            m_socket->write(reply.raw);
            answered();
            return;
        }
        m_socket->write(responseHead(reply, reply.bodySize(), closing));
        qint64 toSend = headRequest ? 0 : reply.bodySize();
        if (reply.behaviour == TestServer::Reply::CloseEarly)
            toSend = reply.earlyCloseAfter >= 0 ? std::min(reply.earlyCloseAfter, toSend) : toSend / 2;
        m_chunk = reply.body;
        m_sent = 0;
        m_toSend = toSend;
        m_streaming = true;
        pump();
    }

    qint64 pendingOutput() const
    {
        return m_socket->bytesToWrite() + (m_ssl ? m_ssl->encryptedBytesToWrite() : 0);
    }

    // Writes the body as the client takes it.
    void pump()
    {
        if (!m_streaming)
            return;
        while (m_sent < m_toSend && pendingOutput() < kHighWater) {
            const qint64 offset = m_sent % m_chunk.size();
            const qint64 length = std::min({qint64(m_chunk.size()) - offset, m_toSend - m_sent, kPiece});
            if (m_socket->write(m_chunk.constData() + offset, length) != length) {
                finish();
                return;
            }
            m_sent += length;
        }
        if (m_sent >= m_toSend) {
            m_streaming = false;
            m_chunk.clear();
            answered();
        }
    }

    void answered()
    {
        if (m_closeAfter) {
            close();
            return;
        }
        m_state = State::Reading;
        if (!m_handling)
            handleBuffer();
    }

    // Closes after what was written has gone out.
    void close()
    {
        m_state = State::Closing;
        m_streaming = false;
        m_socket->disconnectFromHost();
    }

    void reset()
    {
        m_state = State::Closing;
        m_streaming = false;
        const qintptr fd = m_socket->socketDescriptor();
        if (fd >= 0) {
            const linger hard{1, 0};
            ::setsockopt(int(fd), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        }
        m_socket->abort();
        finish();
    }

    void finish()
    {
        m_state = State::Closing;
        m_streaming = false;
        deleteLater();
    }

    QTcpSocket *m_socket;
    QSslSocket *m_ssl;
    TestServer::Shared *m_shared;
    State m_state = State::Reading;
    QByteArray m_buffer;
    bool m_handling = false;
    bool m_continueSent = false;
    bool m_closeAfter = false;
    bool m_streaming = false;
    QByteArray m_chunk;
    qint64 m_sent = 0;
    qint64 m_toSend = 0;
};

class Listener : public QTcpServer
{
public:
    Listener(TestServer::Shared *shared, const std::optional<QSslConfiguration> &tls)
        : m_shared(shared), m_tls(tls)
    {
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        QSslSocket *ssl = m_tls ? new QSslSocket : nullptr;
        QTcpSocket *socket = ssl ? ssl : new QTcpSocket;
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
        new Connection(socket, m_shared, this);
        if (ssl) {
            ssl->setSslConfiguration(*m_tls);
            ssl->startServerEncryption();
        }
    }

private:
    TestServer::Shared *m_shared;
    std::optional<QSslConfiguration> m_tls;
};

QByteArray readDataFile(const QString &name)
{
    QFile file(TestServer::dataFile(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("TestServer: cannot read %s", qPrintable(file.fileName()));
    return file.readAll();
}

QSslConfiguration serverTls(const QString &certificate)
{
    if (!QSslSocket::supportsSsl())
        qFatal("TestServer: Qt has no TLS backend here");
    const QList<QSslCertificate> chain = QSslCertificate::fromData(readDataFile(certificate + ".pem"), QSsl::Pem);
    const QByteArray keyBytes = readDataFile(certificate + "-key.pem");
    QSslKey key(keyBytes, QSsl::Rsa, QSsl::Pem);
    if (key.isNull())
        key = QSslKey(keyBytes, QSsl::Ec, QSsl::Pem);
    if (chain.isEmpty() || key.isNull())
        qFatal("TestServer: the certificate or key \"%s\" is not usable", qPrintable(certificate));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificateChain(chain);
    tls.setPrivateKey(key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    tls.setProtocol(QSsl::TlsV1_2OrLater);
    return tls;
}

// Waits, in slices, until done() holds (checked under the mutex). A thread
// with an event loop keeps running its events, so a client living there
// goes on talking to the server.
template <typename Done>
bool waitUntil(testsupport::Mutex &mutex, testsupport::Condition &changed, int timeoutMs, Done done)
{
    const QDeadlineTimer deadline(std::max(timeoutMs, 0));
    const bool runEvents = QThread::currentThread()->eventDispatcher() != nullptr;
    for (;;) {
        {
            testsupport::Locker lock(mutex);
            if (done())
                return true;
            if (deadline.hasExpired())
                return false;
            changed.wait(lock, runEvents ? QDeadlineTimer(std::min<qint64>(5, deadline.remainingTime())) : deadline);
            if (done())
                return true;
        }
        if (runEvents)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

} // namespace

class TestServer::Thread : public QThread
{
public:
    Thread(Shared *shared, const std::optional<QSslConfiguration> &tls) : m_shared(shared), m_tls(tls) {}

    testsupport::Semaphore ready;
    quint16 port = 0;
    QString error;

protected:
    void run() override
    {
        {
            Listener listener(m_shared, m_tls);
            if (!listener.listen(QHostAddress::LocalHost, 0)) {
                error = listener.errorString();
                ready.release();
                return;
            }
            port = listener.serverPort();
            ready.release();
            exec();
            // The listener takes its connections with it, stalled ones included.
        }
        RaceAnnotations::released(this);
    }

private:
    Shared *m_shared;
    std::optional<QSslConfiguration> m_tls;
};

TestServer::Reply::Reply(int status, const QByteArray &reason, const QByteArray &body)
    : status(status), reason(reason), body(body)
{
}

TestServer::Reply TestServer::Reply::text(const QByteArray &body, const QByteArray &contentType)
{
    Reply reply(200, "OK", body);
    reply.header("Content-Type", contentType);
    return reply;
}

TestServer::Reply TestServer::Reply::withBehaviour(Behaviour behaviour, int delayMs)
{
    Reply reply;
    reply.behaviour = behaviour;
    reply.delayMs = delayMs;
    return reply;
}

TestServer::Reply &TestServer::Reply::header(const QByteArray &name, const QByteArray &value)
{
    headers.append({name, value});
    return *this;
}

TestServer::TestServer(Mode mode, const QString &certificate)
    : m_shared(std::make_unique<Shared>()), m_mode(mode)
{
    std::optional<QSslConfiguration> tls;
    if (mode == Mode::Https)
        tls = serverTls(certificate);
    m_thread = std::make_unique<Thread>(m_shared.get(), tls);
    m_thread->start();
    if (!m_thread->ready.tryAcquire(1, 10000) || !m_thread->error.isEmpty())
        qFatal("TestServer: cannot listen on 127.0.0.1: %s", qPrintable(m_thread->error));
}

TestServer::~TestServer()
{
    m_thread->quit();
    if (!m_thread->wait(QDeadlineTimer(10000)))
        qFatal("TestServer: the server thread did not stop");
    RaceAnnotations::acquired(m_thread.get()); // the thread has ended
}

quint16 TestServer::port() const
{
    return m_thread->port;
}

bool TestServer::isHttps() const
{
    return m_mode == Mode::Https;
}

QString TestServer::baseUrl() const
{
    return isHttps() ? QStringLiteral("https://localhost:%1").arg(port())
                     : QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void TestServer::enqueue(const Reply &reply)
{
    testsupport::Locker lock(m_shared->mutex);
    m_shared->queue.append(reply);
}

void TestServer::setDefaultReply(const Reply &reply)
{
    testsupport::Locker lock(m_shared->mutex);
    m_shared->defaultReply = reply;
}

QList<QByteArray> TestServer::requests() const
{
    testsupport::Locker lock(m_shared->mutex);
    return m_shared->requests;
}

QByteArray TestServer::lastRequest() const
{
    testsupport::Locker lock(m_shared->mutex);
    return m_shared->requests.isEmpty() ? QByteArray() : m_shared->requests.last();
}

int TestServer::connectionsAccepted() const
{
    testsupport::Locker lock(m_shared->mutex);
    return m_shared->connections;
}

bool TestServer::waitForRequests(int count, int timeoutMs) const
{
    return waitUntil(m_shared->mutex, m_shared->changed, timeoutMs,
                     [&] { return m_shared->requests.size() >= count; });
}

void TestServer::clear()
{
    testsupport::Locker lock(m_shared->mutex);
    m_shared->requests.clear();
    m_shared->connections = 0;
    m_shared->queue.clear();
}

QByteArray TestServer::requestLine(const QByteArray &request)
{
    const qsizetype end = request.indexOf("\r\n");
    return end < 0 ? request : request.left(end);
}

static QList<QByteArray> headerLines(const QByteArray &request)
{
    const qsizetype end = headEnd(request);
    QList<QByteArray> lines = (end < 0 ? request : request.left(end)).split('\n');
    if (!lines.isEmpty())
        lines.removeFirst(); // the request line
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

QByteArray TestServer::headerValue(const QByteArray &request, const QByteArray &name)
{
    for (const QByteArray &line : headerLines(request)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && sameName(QByteArrayView(line).first(colon).trimmed(), name)) {
            QByteArray value = line.mid(colon + 1).trimmed();
            if (value.isNull())
                value = QByteArray("");
            return value;
        }
    }
    return QByteArray();
}

QList<QByteArray> TestServer::headerNames(const QByteArray &request)
{
    QList<QByteArray> names;
    for (const QByteArray &line : headerLines(request)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            names.append(line.left(colon).trimmed());
    }
    return names;
}

QByteArray TestServer::requestBody(const QByteArray &request)
{
    const qsizetype end = headEnd(request);
    return end < 0 ? QByteArray() : request.mid(end + 4);
}

QString TestServer::dataFile(const QString &name)
{
    QString folder = qEnvironmentVariable("LEXORVIA_TEST_DATA");
    if (folder.isEmpty())
        folder = QStringLiteral(LEXORVIA_TEST_DATA_DIR);
    return QDir(folder).filePath(name);
}
