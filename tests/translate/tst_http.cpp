#include "platform/AppError.h"
#include "platform/HttpClient.h"
#include "support/TestProxy.h"
#include "support/TestServer.h"
#include "translate/Request.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QtTest>

#include <chrono>
#include <cstring>
#include <dlfcn.h>
#include <netdb.h>
#include <thread>

// The name "slow-lookup.test" takes this long to look up, like a name server
// that answers late, and then stands for 127.0.0.1. The program exports this
// function, so libcurl's resolver calls it in place of the C library's.
constexpr int SlowLookupMs = 3000;

extern "C" int getaddrinfo(const char *node, const char *service, const struct addrinfo *hints,
                           struct addrinfo **result)
{
    using Lookup = int (*)(const char *, const char *, const struct addrinfo *, struct addrinfo **);
    static const auto next = reinterpret_cast<Lookup>(::dlsym(RTLD_NEXT, "getaddrinfo"));
    if (node && std::strcmp(node, "slow-lookup.test") == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(SlowLookupMs));
        node = "127.0.0.1";
    }
    return next(node, service, hints, result);
}

Q_DECLARE_METATYPE(TestServer::Reply)

// The request on the wire and the failures of the transport, against the
// local server and proxy.
class TestHttp : public QObject
{
    Q_OBJECT

    // Sends the translation request for a text and returns the reply body;
    // a failure comes back as its text in `failure`.
    static QByteArray translate(HttpClient &http, const QString &base, const QString &text, QString *failure = nullptr,
                                bool english = true)
    {
        ConfigureRequest(http, base);
        const TranslationRequest request = BuildTranslationRequest(base, text, english ? "en" : "vi",
                                                                   english ? "vi" : "en");
        QByteArray out;
        try {
            if (request.post)
                http.connection()->post(http.settings(), request.url, request.body, out);
            else
                http.connection()->get(http.settings(), request.url, out);
            if (failure)
                failure->clear();
        } catch (const AppError &e) {
            if (!failure)
                qWarning("unexpected failure: %s", e.what());
            else
                *failure = e.text();
        }
        return out;
    }

private slots:
    void getRequestBytes();
    void postRequestBytes();
    void hostHeader_data();
    void hostHeader();
    void cookiesAndOneConnection();
    void failures_data();
    void failures();
    void refused();
    void stalledServerTimesOut();
    void abortEndsAStalledRequest();
    void slowNameLookup_data();
    void slowNameLookup();
    void httpsVerification_data();
    void httpsVerification();
    void proxyAsksForCredentials_data();
    void proxyAsksForCredentials();
    void environmentProxyIsIgnored();
};

void TestHttp::getRequestBytes()
{
    TestServer server;
    server.enqueue(TestServer::Reply::text("[[[\"chào\",\"hi\"]]]"));
    HttpClient http;
    QCOMPARE(translate(http, server.baseUrl(), "hi"), QByteArray("[[[\"chào\",\"hi\"]]]"));

    const QByteArray host = "127.0.0.1:" + QByteArray::number(server.port());
    const QByteArray expected = "GET /translate_a/single?client=gtx&sl=en&tl=vi&dt=t&q=hi HTTP/1.1\r\n"
                                "Connection: keep-alive\r\n"
                                "Content-Type: application/x-www-form-urlencoded\r\n"
                                "Cache-control: no-cache\r\n"
                                "Pragma: no-cache\r\n"
                                "Host: " + host + "\r\n"
                                "Accept: */*\r\n"
                                "Accept-Language: en\r\n"
                                "Referer: " + server.baseUrl().toLatin1() + "\r\n"
                                "User-Agent: " + QByteArray(UserAgent) + "\r\n"
                                "\r\n";
    QCOMPARE(server.lastRequest(), expected);
}

void TestHttp::postRequestBytes()
{
    TestServer server;
    HttpClient http;
    const QString text = QString(1990, u'b') + " & ~";
    translate(http, server.baseUrl(), text, nullptr, false);
    const QByteArray body = "client=gtx&dt=t&q=" + QByteArray(1990, 'b') + "+%26+%7E&sl=vi&tl=en";
    const QByteArray host = "127.0.0.1:" + QByteArray::number(server.port());
    const QByteArray expected = "POST /translate_a/single HTTP/1.1\r\n"
                                "Connection: keep-alive\r\n"
                                "Content-Type: application/x-www-form-urlencoded\r\n"
                                "Content-Length: " + QByteArray::number(body.size()) + "\r\n"
                                "Cache-control: no-cache\r\n"
                                "Pragma: no-cache\r\n"
                                "Host: " + host + "\r\n"
                                "Accept: */*\r\n"
                                "Accept-Language: en\r\n"
                                "Referer: " + server.baseUrl().toLatin1() + "\r\n"
                                "User-Agent: " + QByteArray(UserAgent) + "\r\n"
                                "\r\n" + body;
    QCOMPARE(server.lastRequest(), expected);
}

void TestHttp::hostHeader_data()
{
    QTest::addColumn<QByteArray>("url");
    QTest::addColumn<QByteArray>("host");
    QTest::newRow("name") << QByteArray("https://translate.googleapis.com/translate_a/single")
                          << QByteArray("translate.googleapis.com");
    QTest::newRow("name and port") << QByteArray("http://proxy.lan:8080/x") << QByteArray("proxy.lan:8080");
    QTest::newRow("IPv4 and port") << QByteArray("http://127.0.0.1:5000/") << QByteArray("127.0.0.1:5000");
    QTest::newRow("IPv6") << QByteArray("https://[2001:db8::1]/x") << QByteArray("[2001:db8::1]");
    QTest::newRow("IPv6 and port") << QByteArray("http://[::1]:8080/x") << QByteArray("[::1]:8080");
    QTest::newRow("international name") << QByteArray("https://b%C3%BCcher.example/") << QByteArray("xn--bcher-kva.example");
}

void TestHttp::hostHeader()
{
    QFETCH(QByteArray, url);
    QFETCH(QByteArray, host);
    QCOMPARE(HostHeaderFor(url), host);
}

void TestHttp::cookiesAndOneConnection()
{
    TestServer server;
    server.enqueue(TestServer::Reply::text("[[]]").header("Set-Cookie", "NID=abc123; Path=/"));
    HttpClient http;
    translate(http, server.baseUrl(), "one");
    translate(http, server.baseUrl(), QString(2000, u'x')); // a POST too
    translate(http, server.baseUrl(), "three");
    const QList<QByteArray> requests = server.requests();
    QCOMPARE(requests.size(), 3);
    QVERIFY(TestServer::headerValue(requests[0], "Cookie").isNull());
    QCOMPARE(TestServer::headerValue(requests[1], "Cookie"), QByteArray("NID=abc123"));
    QCOMPARE(TestServer::headerValue(requests[2], "Cookie"), QByteArray("NID=abc123"));
    QCOMPARE(server.connectionsAccepted(), 1);
    // A GET after a POST is a plain GET again.
    QVERIFY(TestServer::requestLine(requests[2]).startsWith("GET "));
    QVERIFY(TestServer::headerValue(requests[2], "Content-Length").isNull());
    QCOMPARE(TestServer::requestBody(requests[2]), QByteArray());

    // A second client (a second run of the program) starts without them.
    HttpClient other;
    translate(other, server.baseUrl(), "four");
    QVERIFY(TestServer::headerValue(server.lastRequest(), "Cookie").isNull());
}

void TestHttp::failures_data()
{
    using Reply = TestServer::Reply;
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QByteArray>("bodyKept");

    Reply early = Reply::text("[[[\"partial reply that stops\"]]]");
    early.behaviour = Reply::CloseEarly;
    early.earlyCloseAfter = 7;
    QTest::newRow("closed early") << early << "Connection Closed Gracefully." << QByteArray("[[[\"par");
    QTest::newRow("closed without reply") << Reply::withBehaviour(Reply::CloseWithoutReply)
                                          << "Connection Closed Gracefully." << QByteArray();
    QTest::newRow("reset") << Reply::withBehaviour(Reply::Reset) << "Socket Error # 10054\r\nConnection reset by peer."
                           << QByteArray();
    QTest::newRow("403") << Reply(403, "Forbidden", "<html>no</html>") << "HTTP/1.1 403 Forbidden" << QByteArray();
    QTest::newRow("429") << Reply(429, "Too Many Requests", "slow down") << "HTTP/1.1 429 Too Many Requests"
                         << QByteArray();
    QTest::newRow("redirect not followed")
        << Reply(302, "Found").header("Location", "http://127.0.0.1:1/elsewhere") << "HTTP/1.1 302 Found"
        << QByteArray();
    Reply huge = Reply::text(QByteArray(1 << 20, 'x'));
    huge.bodyRepeat = 40; // 40 MiB
    QTest::newRow("too large") << huge << "Reply too large." << QByteArray();
}

void TestHttp::failures()
{
    QFETCH(TestServer::Reply, reply);
    QFETCH(QString, failure);
    QFETCH(QByteArray, bodyKept);
    TestServer server;
    server.enqueue(reply);
    HttpClient http;
    QString got;
    const QByteArray body = translate(http, server.baseUrl(), "hello", &got);
    QCOMPARE(got, failure);
    if (!bodyKept.isEmpty())
        QCOMPARE(body, bodyKept);
    else if (failure != "Reply too large.")
        QCOMPARE(body, QByteArray());
    QCOMPARE(server.requests().size(), 1); // no redirect, no retry

    // The connection is usable again afterwards.
    server.enqueue(TestServer::Reply::text("[[[\"ok\"]]]"));
    QCOMPARE(translate(http, server.baseUrl(), "again", &got), QByteArray("[[[\"ok\"]]]"));
    QCOMPARE(got, QString());
}

void TestHttp::refused()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    HttpClient http;
    QString failure;
    translate(http, QStringLiteral("http://127.0.0.1:%1").arg(port), "hello", &failure);
    QCOMPARE(failure, QStringLiteral("Socket Error # 10061\r\nConnection refused."));
}

void TestHttp::stalledServerTimesOut()
{
    TestServer server;
    server.enqueue(TestServer::Reply::withBehaviour(TestServer::Reply::Stall));
    HttpClient http;
    http.setTimeouts(1000, 300);
    QString failure;
    QElapsedTimer timer;
    timer.start();
    translate(http, server.baseUrl(), "hello", &failure);
    QCOMPARE(failure, QStringLiteral("Socket Error # 10060\r\nConnection timed out."));
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
}

void TestHttp::abortEndsAStalledRequest()
{
    TestServer server;
    server.setDefaultReply(TestServer::Reply::withBehaviour(TestServer::Reply::Stall));
    HttpClient http;
    ConfigureRequest(http, server.baseUrl());
    std::shared_ptr<HttpConnection> connection = http.connection();
    const HttpSettings settings = http.settings();
    QString failure;
    std::thread worker([&] {
        QByteArray out;
        try {
            connection->get(settings, server.url("/translate_a/single?q=x").toLatin1(), out);
        } catch (const AppError &e) {
            failure = e.text();
        }
    });
    QVERIFY(server.waitForRequests(1));
    QElapsedTimer timer;
    timer.start();
    connection->abort();
    worker.join();
    QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(failure, QStringLiteral("Operation aborted."));
}

void TestHttp::slowNameLookup_data()
{
    QTest::addColumn<bool>("abort");
    QTest::addColumn<QString>("failure");
    // Closing the window while the name is looked up, and the connection
    // time-out running out during the lookup: neither waits for the lookup.
    QTest::newRow("aborted") << true << "Operation aborted.";
    QTest::newRow("timed out") << false << "Socket Error # 10060\r\nConnection timed out.";
}

void TestHttp::slowNameLookup()
{
    QFETCH(bool, abort);
    QFETCH(QString, failure);
    HttpClient http;
    ConfigureRequest(http, "http://slow-lookup.test/");
    http.setTimeouts(abort ? 20000 : 300, 30000);
    std::shared_ptr<HttpConnection> connection = http.connection();
    const HttpSettings settings = http.settings();
    QString seen;
    QElapsedTimer timer;
    timer.start();
    std::thread worker([&] {
        QByteArray out;
        try {
            connection->get(settings, "http://slow-lookup.test:9/translate_a/single?q=x", out);
        } catch (const AppError &e) {
            seen = e.text();
        }
    });
    if (abort) {
        QTest::qWait(300);
        connection->abort();
    }
    worker.join();
    QVERIFY2(timer.elapsed() < SlowLookupMs / 2, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(seen, failure);
}

void TestHttp::httpsVerification_data()
{
    QTest::addColumn<QString>("certificate");
    QTest::addColumn<QString>("ca");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("trusted") << "server" << "ca.pem" << true;
    QTest::newRow("unknown authority") << "server" << "other-ca.pem" << false;
    QTest::newRow("wrong host name") << "wrong-host" << "ca.pem" << false;
}

void TestHttp::httpsVerification()
{
    QFETCH(QString, certificate);
    QFETCH(QString, ca);
    QFETCH(bool, accepted);
    TestServer server(TestServer::Mode::Https, certificate);
    server.enqueue(TestServer::Reply::text("[[[\"an toàn\"]]]"));
    HttpClient http;
    http.setCaFile(TestServer::dataFile(ca));
    QString failure;
    const QByteArray body = translate(http, server.baseUrl(), "safe", &failure);
    if (accepted) {
        QCOMPARE(failure, QString());
        QCOMPARE(body, QByteArray("[[[\"an toàn\"]]]"));
    } else {
        QVERIFY(!failure.isEmpty());
        QVERIFY2(!failure.startsWith("Socket Error"), qPrintable(failure));
        QCOMPARE(server.requests().size(), 0); // the text never left
    }
}

void TestHttp::proxyAsksForCredentials_data()
{
    QTest::addColumn<bool>("https");
    QTest::newRow("tunnel to HTTPS") << true;
    QTest::newRow("plain HTTP forwarded") << false;
}

void TestHttp::proxyAsksForCredentials()
{
    QFETCH(bool, https);
    TestServer server(https ? TestServer::Mode::Https : TestServer::Mode::Http);
    server.enqueue(TestServer::Reply::text("[[[\"qua proxy\"]]]"));
    TestProxy proxy("alice", "s3cret");
    HttpClient http;
    http.setCaFile(TestServer::dataFile("ca.pem"));
    http.setProxyServer("127.0.0.1");
    http.setProxyPort(proxy.port());
    http.setProxyUserName("alice");
    http.setProxyPassword("s3cret");
    QString failure;
    const QByteArray viaProxy = translate(http, server.baseUrl(), "via proxy", &failure);
    QCOMPARE(failure, QString());
    QCOMPARE(viaProxy, QByteArray("[[[\"qua proxy\"]]]"));

    const QList<QByteArray> heads = proxy.requests();
    QVERIFY(heads.size() >= 2);
    // Credentials go only in answer to the challenge.
    QVERIFY(TestServer::headerValue(heads[0], "Proxy-Authorization").isNull());
    QCOMPARE(TestServer::headerValue(heads.last(), "Proxy-Authorization"),
             "Basic " + QByteArray("alice:s3cret").toBase64());
    if (https)
        QVERIFY(heads.last().startsWith("CONNECT localhost:" + QByteArray::number(server.port())));

    // Wrong credentials: the proxy's refusal is the failure.
    http.setProxyPassword("wrong");
    translate(http, server.baseUrl(), "again", &failure);
    QCOMPARE(failure, QStringLiteral("HTTP/1.1 407 Proxy Authentication Required"));
}

void TestHttp::environmentProxyIsIgnored()
{
    // Only the settings choose a proxy: an unreachable proxy in the
    // environment changes nothing.
    TestServer server;
    server.enqueue(TestServer::Reply::text("[]"));
    qputenv("http_proxy", "http://127.0.0.1:9");
    qputenv("HTTPS_PROXY", "http://127.0.0.1:9");
    HttpClient http;
    QString failure;
    translate(http, server.baseUrl(), "direct", &failure);
    qunsetenv("http_proxy");
    qunsetenv("HTTPS_PROXY");
    QCOMPARE(failure, QString());
    QCOMPARE(server.requests().size(), 1);
}

QTEST_GUILESS_MAIN(TestHttp)
#include "tst_http.moc"
