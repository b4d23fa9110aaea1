// The local server and proxy the translation tests talk to, checked from a
// client's side: raw sockets where the exact bytes matter, libcurl (as the
// program uses it) for everything else.
#include "support/TestProxy.h"
#include "support/TestServer.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QtTest>

#include <curl/curl.h>

#include <cerrno>
#include <memory>

using Reply = TestServer::Reply;

namespace {

struct Options
{
    QByteArray post;              // sent as a form body when not null
    QString caFile = QStringLiteral("ca.pem");
    QString proxy;                // empty: straight to the server
    QByteArray proxyUser;
    QByteArray proxyPassword;
    long timeoutMs = 5000;
    QByteArray expectedChunk;     // when set, the body is checked against it repeated instead of kept

    Options &withPost(const QByteArray &body) { post = body; return *this; }
    Options &withCa(const QString &file) { caFile = file; return *this; }
    Options &withTimeout(long ms) { timeoutMs = ms; return *this; }
    Options &through(const QString &proxyUrl, const QByteArray &user = QByteArray(),
                     const QByteArray &password = QByteArray())
    {
        proxy = proxyUrl;
        proxyUser = user;
        proxyPassword = password;
        return *this;
    }
};

struct Transfer
{
    CURLcode code = CURLE_OK;
    long status = 0;
    long connectStatus = 0;       // the proxy's answer to CONNECT
    long osErrno = 0;
    QByteArray head;
    QByteArray body;
    qint64 received = 0;
    qint64 mismatches = 0;
    qint64 elapsedMs = 0;
    QByteArray error;
};

// One libcurl handle; successive fetches share its connection cache.
class Curl
{
public:
    Curl() : m_handle(curl_easy_init()) {}
    ~Curl() { curl_easy_cleanup(m_handle); }
    Curl(const Curl &) = delete;
    Curl &operator=(const Curl &) = delete;

    Transfer fetch(const QString &url, const Options &options = Options())
    {
        Transfer transfer;
        m_options = &options;
        m_transfer = &transfer;
        char error[CURL_ERROR_SIZE] = {};
        const QByteArray urlBytes = url.toUtf8();
        const QByteArray proxy = options.proxy.toUtf8();
        const QByteArray caFile = TestServer::dataFile(options.caFile).toUtf8();

        curl_easy_reset(m_handle);
        curl_easy_setopt(m_handle, CURLOPT_URL, urlBytes.constData());
        curl_easy_setopt(m_handle, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(m_handle, CURLOPT_ERRORBUFFER, error);
        curl_easy_setopt(m_handle, CURLOPT_TIMEOUT_MS, options.timeoutMs);
        curl_easy_setopt(m_handle, CURLOPT_PROXY, proxy.constData()); // "" also ignores *_proxy variables
        curl_easy_setopt(m_handle, CURLOPT_CAINFO, caFile.constData());
        curl_easy_setopt(m_handle, CURLOPT_CAPATH, nullptr);
        if (!options.proxyUser.isNull()) {
            curl_easy_setopt(m_handle, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
            curl_easy_setopt(m_handle, CURLOPT_PROXYUSERNAME, options.proxyUser.constData());
            curl_easy_setopt(m_handle, CURLOPT_PROXYPASSWORD, options.proxyPassword.constData());
        }
        if (!options.post.isNull()) {
            curl_easy_setopt(m_handle, CURLOPT_POSTFIELDS, options.post.constData());
            curl_easy_setopt(m_handle, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(options.post.size()));
        }
        curl_easy_setopt(m_handle, CURLOPT_HEADERFUNCTION, &Curl::onHeader);
        curl_easy_setopt(m_handle, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(m_handle, CURLOPT_WRITEFUNCTION, &Curl::onBody);
        curl_easy_setopt(m_handle, CURLOPT_WRITEDATA, this);

        QElapsedTimer clock;
        clock.start();
        transfer.code = curl_easy_perform(m_handle);
        transfer.elapsedMs = clock.elapsed();
        transfer.error = error;
        curl_easy_getinfo(m_handle, CURLINFO_RESPONSE_CODE, &transfer.status);
        curl_easy_getinfo(m_handle, CURLINFO_HTTP_CONNECTCODE, &transfer.connectStatus);
        curl_easy_getinfo(m_handle, CURLINFO_OS_ERRNO, &transfer.osErrno);
        m_options = nullptr;
        m_transfer = nullptr;
        return transfer;
    }

private:
    static size_t onHeader(char *data, size_t size, size_t count, void *self)
    {
        static_cast<Curl *>(self)->m_transfer->head.append(data, qsizetype(size * count));
        return size * count;
    }

    static size_t onBody(char *data, size_t size, size_t count, void *self)
    {
        Curl *curl = static_cast<Curl *>(self);
        Transfer &transfer = *curl->m_transfer;
        const QByteArray &chunk = curl->m_options->expectedChunk;
        const qint64 length = qint64(size * count);
        if (chunk.isEmpty()) {
            transfer.body.append(data, length);
        } else {
            for (qint64 i = 0; i < length; ++i) {
                if (data[i] != chunk.at((transfer.received + i) % chunk.size()))
                    ++transfer.mismatches;
            }
        }
        transfer.received += length;
        return size * count;
    }

    CURL *m_handle;
    const Options *m_options = nullptr;
    Transfer *m_transfer = nullptr;
};

QByteArray patternChunk(qsizetype size)
{
    QByteArray chunk(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        chunk[i] = char((i * 7 + 3) % 251);
    return chunk;
}

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

QByteArray basic(const QByteArray &user, const QByteArray &password)
{
    return "Basic " + (user + ':' + password).toBase64();
}

// Reads from a raw socket until `done` holds or five seconds have passed.
template <typename Done>
QByteArray readUntil(QTcpSocket &socket, Done done)
{
    QByteArray data;
    QElapsedTimer clock;
    clock.start();
    while (!done(data) && clock.elapsed() < 5000) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(50)
            && socket.state() != QAbstractSocket::ConnectedState)
            break;
        data += socket.readAll();
    }
    return data;
}

const QByteArray kGet = "GET /translate_a/single?client=x&sl=en&tl=vi&q=hello%20world HTTP/1.1\r\n"
                        "Host: 127.0.0.1\r\nUser-Agent: Lexorvia\r\nAccept: */*\r\n\r\n";

QByteArray formPost(const QByteArray &body)
{
    return "POST /translate HTTP/1.1\r\nHost: 127.0.0.1\r\n"
           "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

} // namespace

class TstTestServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(curl_global_init(CURL_GLOBAL_DEFAULT), CURLE_OK); }
    void cleanupTestCase() { curl_global_cleanup(); }

    void recordsRequestsByteForByte_data();
    void recordsRequestsByteForByte();
    void answersExpectContinueBeforeTheBody();
    void repliesInQueueOrderThenDefault();
    void keepsConnectionsAlive_data();
    void keepsConnectionsAlive();
    void behaviours_data();
    void behaviours();
    void streamsLargeBodies_data();
    void streamsLargeBodies();
    void producesLargeBodiesAsTheClientReads();
    void verifiesCertificates_data();
    void verifiesCertificates();
    void proxyAsksForCredentialsThenPasses_data();
    void proxyAsksForCredentialsThenPasses();
    void proxyRefuses_data();
    void proxyRefuses();
    void stopsPromptlyWithStalledConnections();
};

void TstTestServer::recordsRequestsByteForByte_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("splitAt");         // sent in two writes when >= 0
    QTest::addColumn<QByteArrayList>("recorded");
    QTest::addColumn<int>("firstStatus");

    const QByteArray post = formPost("q=xin+ch%C3%A0o&sl=vi&tl=en");
    const QByteArray binary = formPost(QByteArray("a\r\n\r\nb\0c\r\n", 11));
    const QByteArray chunked = "POST /t HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n"
                               "5\r\nhello\r\n6;ext=1\r\n world\r\n0\r\nX-Trailer: 1\r\n\r\n";
    QTest::newRow("get with query") << kGet << -1 << QByteArrayList{kGet} << 200;
    QTest::newRow("form post") << post << -1 << QByteArrayList{post} << 200;
    QTest::newRow("head split") << post << 20 << QByteArrayList{post} << 200;
    QTest::newRow("body split") << post << int(post.size() - 3) << QByteArrayList{post} << 200;
    QTest::newRow("chunked body") << chunked << int(chunked.size() - 10) << QByteArrayList{chunked} << 200;
    QTest::newRow("blank line and NUL in body, then a second request")
        << binary + kGet << -1 << QByteArrayList{binary, kGet} << 200;
    QTest::newRow("three requests in one write")
        << kGet + post + kGet << -1 << QByteArrayList{kGet, post, kGet} << 200;
    const QByteArray bad = "POST / HTTP/1.1\r\nContent-Length: many\r\n\r\n";
    QTest::newRow("unreadable length") << bad << -1 << QByteArrayList{bad} << 400;
}

void TstTestServer::recordsRequestsByteForByte()
{
    QFETCH(QByteArray, sent);
    QFETCH(int, splitAt);
    QFETCH(QByteArrayList, recorded);
    QFETCH(int, firstStatus);

    TestServer server;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, server.port());
    QVERIFY(socket.waitForConnected(5000));
    if (splitAt >= 0) {
        socket.write(sent.left(splitAt));
        QVERIFY(socket.waitForBytesWritten(5000));
        QVERIFY(!server.waitForRequests(1, 50)); // not complete yet
        socket.write(sent.mid(splitAt));
    } else {
        socket.write(sent);
    }
    QVERIFY(socket.waitForBytesWritten(5000));
    QVERIFY(server.waitForRequests(int(recorded.size()), 5000));

    const QByteArray answers = readUntil(socket, [&](const QByteArray &data) {
        return data.count("\r\n\r\n") >= recorded.size() || (firstStatus != 200 && data.contains("\r\n\r\n"));
    });
    QVERIFY2(answers.startsWith("HTTP/1.1 " + QByteArray::number(firstStatus) + ' '), answers.constData());
    QCOMPARE(server.requests(), recorded);
    QCOMPARE(server.lastRequest(), recorded.last());
    QCOMPARE(server.connectionsAccepted(), 1);
}

void TstTestServer::answersExpectContinueBeforeTheBody()
{
    TestServer server;
    const QByteArray head = "POST /t HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\nExpect: 100-continue\r\n\r\n";
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, server.port());
    QVERIFY(socket.waitForConnected(5000));
    socket.write(head);
    const QByteArray interim = readUntil(socket, [](const QByteArray &data) { return data.contains("\r\n\r\n"); });
    QCOMPARE(interim, QByteArray("HTTP/1.1 100 Continue\r\n\r\n"));
    QVERIFY(server.requests().isEmpty());

    socket.write("hello");
    const QByteArray final = readUntil(socket, [](const QByteArray &data) { return data.contains("\r\n\r\n"); });
    QVERIFY2(final.startsWith("HTTP/1.1 200 OK\r\n"), final.constData());
    QCOMPARE(server.requests(), QByteArrayList{head + "hello"});
    QCOMPARE(TestServer::requestBody(server.lastRequest()), QByteArray("hello"));
    QCOMPARE(TestServer::headerValue(server.lastRequest(), "content-length"), QByteArray("5"));
    QVERIFY(TestServer::headerValue(server.lastRequest(), "Cookie").isNull());
}

void TstTestServer::repliesInQueueOrderThenDefault()
{
    TestServer server;
    server.setDefaultReply(Reply(404, "Not Found", "default"));
    server.enqueue(Reply(201, "Created", "first")
                       .header("Set-Cookie", "a=1; Path=/")
                       .header("Set-Cookie", "b=2")
                       .header("Content-Type", "application/json"));
    server.enqueue(Reply::text("second"));
    Reply raw;
    raw.raw = "HTTP/1.1 203 As Is\r\nContent-Length: 3\r\n\r\nraw";
    server.enqueue(raw);

    Curl curl;
    const Transfer first = curl.fetch(server.url("/1"));
    QCOMPARE(first.code, CURLE_OK);
    QCOMPARE(first.head, QByteArray("HTTP/1.1 201 Created\r\n"
                                    "Set-Cookie: a=1; Path=/\r\n"
                                    "Set-Cookie: b=2\r\n"
                                    "Content-Type: application/json\r\n"
                                    "Content-Length: 5\r\n\r\n"));
    QCOMPARE(first.body, QByteArray("first"));

    const Transfer second = curl.fetch(server.url("/2"), Options().withPost("x=1"));
    QCOMPARE(second.status, 200L);
    QVERIFY(second.head.contains("\r\nContent-Type: text/plain; charset=utf-8\r\n"));
    QCOMPARE(second.body, QByteArray("second"));

    const Transfer third = curl.fetch(server.url("/raw"));
    QCOMPARE(third.head, QByteArray("HTTP/1.1 203 As Is\r\nContent-Length: 3\r\n\r\n"));
    QCOMPARE(third.body, QByteArray("raw"));

    for (int i = 0; i < 2; ++i) {
        const Transfer fallback = curl.fetch(server.url("/3"));
        QCOMPARE(fallback.status, 404L);
        QCOMPARE(fallback.body, QByteArray("default"));
    }
    QCOMPARE(server.requests().size(), 5);
    QCOMPARE(server.connectionsAccepted(), 1);
    QVERIFY(server.requests().at(1).startsWith("POST /2 HTTP/1.1\r\n"));
    QCOMPARE(TestServer::requestBody(server.requests().at(1)), QByteArray("x=1"));

    server.enqueue(Reply::text("dropped"));
    server.clear();
    QVERIFY(server.requests().isEmpty());
    QCOMPARE(server.connectionsAccepted(), 0);
    QCOMPARE(curl.fetch(server.url("/4")).body, QByteArray("default"));
}

void TstTestServer::keepsConnectionsAlive_data()
{
    QTest::addColumn<bool>("https");
    QTest::addColumn<bool>("close");
    QTest::addColumn<int>("connections");

    QTest::newRow("http keep-alive") << false << false << 1;
    QTest::newRow("http Connection: close") << false << true << 2;
    QTest::newRow("https keep-alive") << true << false << 1;
    QTest::newRow("https Connection: close") << true << true << 2;
}

void TstTestServer::keepsConnectionsAlive()
{
    QFETCH(bool, https);
    QFETCH(bool, close);
    QFETCH(int, connections);

    TestServer server(https ? TestServer::Mode::Https : TestServer::Mode::Http);
    Reply reply = Reply::text("same");
    reply.closeConnection = close;
    server.setDefaultReply(reply);

    Curl curl;
    for (int i = 0; i < 2; ++i) {
        const Transfer transfer = curl.fetch(server.url("/k"));
        QCOMPARE(transfer.code, CURLE_OK);
        QCOMPARE(transfer.body, QByteArray("same"));
        QCOMPARE(transfer.head.contains("\r\nConnection: close\r\n"), close);
    }
    QCOMPARE(server.requests().size(), 2);
    QCOMPARE(server.connectionsAccepted(), connections);
}

void TstTestServer::behaviours_data()
{
    QTest::addColumn<bool>("https");
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("errorSays"); // empty: not checked
    QTest::addColumn<int>("received");
    QTest::addColumn<int>("minElapsedMs");

    const QByteArray none;
    const QByteArray reset = "reset by peer";
    for (const bool https : {false, true}) {
        const QByteArray scheme = https ? "https " : "http ";
        QTest::newRow(scheme + "normal")
            << https << int(Reply::Normal) << 0 << 5000 << int(CURLE_OK) << none << 10000 << 0;
        QTest::newRow(scheme + "delayed")
            << https << int(Reply::Normal) << 300 << 5000 << int(CURLE_OK) << none << 10000 << 300;
        QTest::newRow(scheme + "close early")
            << https << int(Reply::CloseEarly) << 0 << 5000 << int(CURLE_PARTIAL_FILE) << none << 5000 << 0;
        QTest::newRow(scheme + "close without reply")
            << https << int(Reply::CloseWithoutReply) << 0 << 5000 << int(CURLE_GOT_NOTHING) << none << 0 << 0;
        QTest::newRow(scheme + "reset")
            << https << int(Reply::Reset) << 0 << 5000 << int(CURLE_RECV_ERROR) << reset << 0 << 0;
        QTest::newRow(scheme + "reset after a delay")
            << https << int(Reply::Reset) << 200 << 5000 << int(CURLE_RECV_ERROR) << reset << 0 << 200;
        QTest::newRow(scheme + "stall")
            << https << int(Reply::Stall) << 0 << 300 << int(CURLE_OPERATION_TIMEDOUT) << none << 0 << 0;
    }
}

void TstTestServer::behaviours()
{
    QFETCH(bool, https);
    QFETCH(int, behaviour);
    QFETCH(int, delayMs);
    QFETCH(int, timeoutMs);
    QFETCH(int, code);
    QFETCH(QByteArray, errorSays);
    QFETCH(int, received);
    QFETCH(int, minElapsedMs);

    TestServer server(https ? TestServer::Mode::Https : TestServer::Mode::Http);
    Reply reply = Reply::text(QByteArray(10000, 'v'));
    reply.behaviour = Reply::Behaviour(behaviour);
    reply.delayMs = delayMs;
    server.enqueue(reply);

    Curl curl;
    const Transfer transfer = curl.fetch(server.url("/b"), Options().withTimeout(timeoutMs));
    QVERIFY2(transfer.code == CURLcode(code),
             qPrintable(QStringLiteral("curl %1: %2").arg(transfer.code).arg(QString::fromUtf8(transfer.error))));
    // After a reset over TLS, curl's own attempt to close the session replaces
    // its errno (EPIPE); its message still tells what the peer did.
    QVERIFY2(transfer.error.contains(errorSays), transfer.error.constData());
    if (!errorSays.isEmpty() && !https)
        QCOMPARE(transfer.osErrno, long(ECONNRESET));
    QCOMPARE(transfer.received, qint64(received));
    QVERIFY2(transfer.elapsedMs >= minElapsedMs, qPrintable(QString::number(transfer.elapsedMs)));
    QCOMPARE(server.requests().size(), 1);

    // Whatever happened to that connection, the next one is served.
    const Transfer next = curl.fetch(server.url("/after"));
    QCOMPARE(next.code, CURLE_OK);
    QCOMPARE(next.status, 200L);
}

void TstTestServer::streamsLargeBodies_data()
{
    QTest::addColumn<bool>("https");
    QTest::addColumn<bool>("viaProxy");
    QTest::addColumn<int>("mebibytes");

    QTest::newRow("http") << false << false << 40;
    QTest::newRow("https") << true << false << 16;
    QTest::newRow("http through the proxy") << false << true << 16;
    QTest::newRow("https through the proxy's tunnel") << true << true << 16;
}

void TstTestServer::streamsLargeBodies()
{
    QFETCH(bool, https);
    QFETCH(bool, viaProxy);
    QFETCH(int, mebibytes);

    const QByteArray chunk = patternChunk(65521); // not a divisor of the total: pieces straddle repeats
    const qint64 total = qint64(mebibytes) * 1024 * 1024;
    TestServer server(https ? TestServer::Mode::Https : TestServer::Mode::Http);
    Reply reply;
    reply.body = chunk;
    reply.bodyRepeat = total / chunk.size();
    server.enqueue(reply);
    TestProxy proxy;

    Curl curl;
    Options options;
    options.expectedChunk = chunk;
    options.timeoutMs = 60000;
    if (viaProxy)
        options.proxy = proxy.url();
    const Transfer transfer = curl.fetch(server.url("/large"), options);
    QCOMPARE(transfer.code, CURLE_OK);
    QCOMPARE(transfer.received, reply.bodySize());
    QCOMPARE(transfer.mismatches, qint64(0));
    QCOMPARE(proxy.requests().size(), viaProxy ? 1 : 0);
}

void TstTestServer::producesLargeBodiesAsTheClientReads()
{
    const QByteArray chunk = patternChunk(1024 * 1024);
    TestServer server;
    Reply reply;
    reply.body = chunk;
    reply.bodyRepeat = 96;
    server.enqueue(reply);

    QTcpSocket socket;
    socket.setReadBufferSize(64 * 1024); // the client holds little and takes nothing for now
    socket.connectToHost(QHostAddress::LocalHost, server.port());
    QVERIFY(socket.waitForConnected(5000));
    const qint64 before = residentKiB();
    QVERIFY(before > 0);
    socket.write(kGet);
    QVERIFY(socket.waitForBytesWritten(5000));
    QVERIFY(server.waitForRequests(1, 5000));
    QThread::msleep(300); // time enough for a server that wrote everything at once
    const qint64 grownKiB = residentKiB() - before;
    QVERIFY2(grownKiB < 32 * 1024, qPrintable(QStringLiteral("grew by %1 KiB").arg(grownKiB)));

    // And the whole body does come once the client reads.
    socket.setReadBufferSize(0);
    const QByteArray head = readUntil(socket, [](const QByteArray &data) { return data.contains("\r\n\r\n"); });
    const qsizetype headSize = head.indexOf("\r\n\r\n") + 4;
    QVERIFY(headSize > 4);
    qint64 received = head.size() - headSize;
    QElapsedTimer clock;
    clock.start();
    while (received < reply.bodySize() && clock.elapsed() < 20000) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(1000))
            break;
        received += socket.readAll().size();
    }
    QCOMPARE(received, reply.bodySize());
}

void TstTestServer::verifiesCertificates_data()
{
    QTest::addColumn<QString>("certificate");
    QTest::addColumn<QString>("caFile");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("code");

    QTest::newRow("localhost, test CA") << "server" << "ca.pem" << "localhost" << int(CURLE_OK);
    QTest::newRow("127.0.0.1, test CA") << "server" << "ca.pem" << "127.0.0.1" << int(CURLE_OK);
    QTest::newRow("unrelated CA") << "server" << "other-ca.pem" << "localhost" << int(CURLE_PEER_FAILED_VERIFICATION);
    QTest::newRow("certificate for another host")
        << "wrong-host" << "ca.pem" << "localhost" << int(CURLE_PEER_FAILED_VERIFICATION);
}

void TstTestServer::verifiesCertificates()
{
    QFETCH(QString, certificate);
    QFETCH(QString, caFile);
    QFETCH(QString, host);
    QFETCH(int, code);

    TestServer server(TestServer::Mode::Https, certificate);
    server.setDefaultReply(Reply::text("secret"));
    QCOMPARE(server.baseUrl(), QStringLiteral("https://localhost:%1").arg(server.port()));

    Curl curl;
    const Transfer transfer =
        curl.fetch(QStringLiteral("https://%1:%2/s").arg(host).arg(server.port()), Options().withCa(caFile));
    QVERIFY2(transfer.code == CURLcode(code), transfer.error.constData());
    QCOMPARE(transfer.body, code == CURLE_OK ? QByteArray("secret") : QByteArray());
    QCOMPARE(server.requests().size(), code == CURLE_OK ? 1 : 0);
}

void TstTestServer::proxyAsksForCredentialsThenPasses_data()
{
    QTest::addColumn<bool>("https");
    QTest::addColumn<QByteArray>("post");

    QTest::newRow("https GET through CONNECT") << true << QByteArray();
    QTest::newRow("http GET passed on") << false << QByteArray();
    QTest::newRow("http POST passed on") << false << QByteArray("q=hello&sl=en&tl=vi");
}

void TstTestServer::proxyAsksForCredentialsThenPasses()
{
    QFETCH(bool, https);
    QFETCH(QByteArray, post);

    const QByteArray user = "tester";
    const QByteArray password = "p\xc3\xa0ss:word"; // a colon and UTF-8 in the password
    TestServer server(https ? TestServer::Mode::Https : TestServer::Mode::Http);
    server.setDefaultReply(Reply::text("xin ch\xc3\xa0o"));
    TestProxy proxy(QString::fromUtf8(user), QString::fromUtf8(password));

    Curl curl;
    const Transfer transfer = curl.fetch(
        server.url("/p?q=a%20b"),
        Options().withPost(post).through(proxy.url(), user, password));
    QVERIFY2(transfer.code == CURLE_OK, transfer.error.constData());
    QCOMPARE(transfer.status, 200L);
    QCOMPARE(transfer.body, QByteArray("xin ch\xc3\xa0o"));

    const QByteArrayList heads = proxy.requests();
    QCOMPARE(heads.size(), 2);
    const QByteArray target = https ? "CONNECT localhost:" + QByteArray::number(server.port()) + " HTTP/1.1"
                                    : (post.isNull() ? "GET" : "POST") + QByteArray(" http://127.0.0.1:")
                                          + QByteArray::number(server.port()) + "/p?q=a%20b HTTP/1.1";
    for (const QByteArray &head : heads) {
        QCOMPARE(TestServer::requestLine(head), target);
        QVERIFY(head.endsWith("\r\n\r\n"));
    }
    QVERIFY(TestServer::headerValue(heads[0], "Proxy-Authorization").isNull());
    QCOMPARE(TestServer::headerValue(heads[1], "Proxy-Authorization"), basic(user, password));
    QCOMPARE(proxy.connectionsAccepted(), 1); // the 407 kept the connection open

    QCOMPARE(server.requests().size(), 1);
    const QByteArray request = server.lastRequest();
    QCOMPARE(TestServer::requestLine(request),
             (post.isNull() ? "GET" : "POST") + QByteArray(" /p?q=a%20b HTTP/1.1"));
    QVERIFY(TestServer::headerValue(request, "Proxy-Authorization").isNull());
    QVERIFY(TestServer::headerValue(request, "Proxy-Connection").isNull());
    QCOMPARE(TestServer::requestBody(request), post.isNull() ? QByteArray() : post);

    // The proxy's connection stays usable after an answer passed on.
    QCOMPARE(curl.fetch(server.url("/again"), Options().through(proxy.url(), user, password)).status,
             200L);
}

void TstTestServer::proxyRefuses_data()
{
    QTest::addColumn<QString>("url");          // %1: the server's port
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<long>("status");          // answer to a plain request
    QTest::addColumn<long>("connectStatus");   // answer to CONNECT

    QTest::newRow("wrong password, CONNECT") << "https://localhost:%1/" << QByteArray("wrong") << 0L << 407L;
    QTest::newRow("wrong password, plain") << "http://127.0.0.1:%1/" << QByteArray("wrong") << 407L << 0L;
    QTest::newRow("no password, plain") << "http://127.0.0.1:%1/" << QByteArray() << 407L << 0L;
    QTest::newRow("remote target, CONNECT") << "https://example.invalid/" << QByteArray("secret") << 0L << 403L;
    QTest::newRow("remote target, plain") << "http://example.invalid/x" << QByteArray("secret") << 403L << 0L;
    QTest::newRow("nobody listening, CONNECT") << "https://127.0.0.1:1/" << QByteArray("secret") << 0L << 502L;
    QTest::newRow("nobody listening, plain") << "http://127.0.0.1:1/" << QByteArray("secret") << 502L << 0L;
}

void TstTestServer::proxyRefuses()
{
    QFETCH(QString, url);
    QFETCH(QByteArray, password);
    QFETCH(long, status);
    QFETCH(long, connectStatus);

    TestServer server;
    TestProxy proxy("tester", "secret");
    Curl curl;
    Options options;
    options.through(proxy.url(), password.isNull() ? QByteArray() : QByteArray("tester"), password);
    const Transfer transfer = curl.fetch(url.contains("%1") ? url.arg(server.port()) : url, options);
    QCOMPARE(transfer.status, status);
    QCOMPARE(transfer.connectStatus, connectStatus);
    QVERIFY(!proxy.requests().isEmpty());
    QVERIFY(server.requests().isEmpty());
    QCOMPARE(server.connectionsAccepted(), 0);
}

void TstTestServer::stopsPromptlyWithStalledConnections()
{
    auto server = std::make_unique<TestServer>();
    auto proxy = std::make_unique<TestProxy>();
    server->setDefaultReply(Reply::withBehaviour(Reply::Stall));

    QTcpSocket direct;
    direct.connectToHost(QHostAddress::LocalHost, server->port());
    QVERIFY(direct.waitForConnected(5000));
    direct.write(kGet);

    QTcpSocket tunnel;
    tunnel.connectToHost(QHostAddress::LocalHost, proxy->port());
    QVERIFY(tunnel.waitForConnected(5000));
    tunnel.write("CONNECT 127.0.0.1:" + QByteArray::number(server->port()) + " HTTP/1.1\r\n\r\n");
    const QByteArray established = readUntil(tunnel, [](const QByteArray &data) { return data.contains("\r\n\r\n"); });
    QCOMPARE(established, QByteArray("HTTP/1.1 200 Connection established\r\n\r\n"));
    tunnel.write(kGet);

    QVERIFY(server->waitForRequests(2, 5000));
    QVERIFY(!server->waitForRequests(3, 100)); // a wait that cannot be met ends on time
    QVERIFY(!direct.waitForReadyRead(100));     // stalled: nothing comes

    QElapsedTimer clock;
    clock.start();
    server.reset();
    proxy.reset();
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    for (QTcpSocket *socket : {&direct, &tunnel}) {
        if (socket->state() != QAbstractSocket::UnconnectedState)
            socket->waitForDisconnected(2000);
        QCOMPARE(socket->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(socket->readAll().isEmpty());
    }
}

QTEST_GUILESS_MAIN(TstTestServer)
#include "tst_testserver.moc"
