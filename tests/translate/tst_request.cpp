#include "platform/HttpClient.h"
#include "settings/Params.h"
#include "support/Files.h"
#include "translate/QueryEncoding.h"
#include "translate/ReplyParser.h"
#include "translate/Request.h"

#include <QTemporaryDir>
#include <QtTest>

// The pure parts of a translation: the encoding of the text, the request for
// it, the reading of the reply, and the service address.
class TestRequest : public QObject
{
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
    void encodeEveryByte();

    void request_data();
    void request();
    void headers();

    void parse_data();
    void parse();

    void serviceUrl_data();
    void serviceUrl();
};

void TestRequest::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("space") << "a b" << QByteArray("a+b");
    QTest::newRow("comma and bang") << "Hello, world!" << QByteArray("Hello%2C+world!");
    QTest::newRow("query characters") << "x=1&y=2" << QByteArray("x%3D1%26y%3D2");
    QTest::newRow("percent") << "50%" << QByteArray("50%25");
    QTest::newRow("tilde") << "~" << QByteArray("%7E");
    QTest::newRow("CR LF") << "\r\n" << QByteArray("%0D%0A");
    QTest::newRow("tab") << "\t" << QByteArray("%09");
    QTest::newRow("e acute") << QString::fromUtf8("é") << QByteArray("%C3%A9");
    QTest::newRow("Vietnamese letter") << QString::fromUtf8("ệ") << QByteArray("%E1%BB%87");
    QTest::newRow("empty") << "" << QByteArray("");
    QTest::newRow("stops at NUL") << QString::fromLatin1("ab\0cd", 5) << QByteArray("ab");
    QTest::newRow("unchanged set") << "!$'()*-.@_09AZaz" << QByteArray("!$'()*-.@_09AZaz");
    QTest::newRow("escaped punctuation") << "\"#+/:;<>?[\\]^`{|}" << QByteArray(
        "%22%23%2B%2F%3A%3B%3C%3E%3F%5B%5C%5D%5E%60%7B%7C%7D");
    QTest::newRow("outside the BMP") << QString::fromUtf8("😀") << QByteArray("%F0%9F%98%80");
}

void TestRequest::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, encoded);
    QCOMPARE(EncodeQueryText(text.toUtf8()), encoded);
}

void TestRequest::encodeEveryByte()
{
    // Exactly 72 bytes pass unchanged, the space becomes "+", everything else
    // (bytes 1 to 255) is written as %XX.
    int kept = 0;
    for (int b = 1; b < 256; ++b) {
        const QByteArray out = EncodeQueryText(QByteArray(1, char(b)));
        if (out.size() == 1 && out != "+") {
            QCOMPARE(out.at(0), char(b));
            ++kept;
        } else if (b == ' ') {
            QCOMPARE(out, QByteArray("+"));
        } else {
            QCOMPARE(out, "%" + QByteArray::number(b, 16).toUpper().rightJustified(2, '0'));
        }
    }
    QCOMPARE(kept, 72);
}

void TestRequest::request_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("post");
    QTest::addColumn<QByteArray>("url");
    QTest::addColumn<QByteArray>("body");

    const QByteArray base = "https://service.test/translate_a/single";
    QTest::newRow("hi") << "hi" << true << false << base + "?client=gtx&sl=en&tl=vi&dt=t&q=hi" << QByteArray();
    QTest::newRow("Vietnamese to English") << "xin chào" << false << false
                                           << base + "?client=gtx&sl=vi&tl=en&dt=t&q=xin+ch%C3%A0o" << QByteArray();
    QTest::newRow("1959 letters: GET") << QString(1959, u'a') << true << false
                                       << base + "?client=gtx&sl=en&tl=vi&dt=t&q=" + QByteArray(1959, 'a')
                                       << QByteArray();
    QTest::newRow("1960 letters: POST") << QString(1960, u'a') << true << true << base
                                        << "client=gtx&dt=t&q=" + QByteArray(1960, 'a') + "&sl=en&tl=vi";
    const QByteArray e326 = QByteArray("%C3%A9").repeated(326); // 1956 bytes
    const QByteArray e327 = QByteArray("%C3%A9").repeated(327); // 1962 bytes
    QTest::newRow("326 e-acute: GET") << QString(326, QChar(0xE9)) << true << false
                                      << base + "?client=gtx&sl=en&tl=vi&dt=t&q=" + e326 << QByteArray();
    QTest::newRow("327 e-acute: POST") << QString(327, QChar(0xE9)) << false << true << base
                                       << "client=gtx&dt=t&q=" + e327 + "&sl=vi&tl=en";
}

void TestRequest::request()
{
    QFETCH(QString, text);
    QFETCH(bool, english);
    QFETCH(bool, post);
    QFETCH(QByteArray, url);
    QFETCH(QByteArray, body);
    const TranslationRequest r = BuildTranslationRequest("https://service.test", text, english ? "en" : "vi",
                                                         english ? "vi" : "en");
    QCOMPARE(r.post, post);
    QCOMPARE(r.url, url);
    QCOMPARE(r.body, body);
}

void TestRequest::headers()
{
    HttpClient http;
    http.addHeader("X-Stale", "1");
    http.setProxyServer("proxy.lan");
    ConfigureRequest(http, "https://translate.googleapis.com");
    QList<QByteArray> names;
    for (const auto &header : http.settings().headers)
        names << header.first;
    QCOMPARE(names, QList<QByteArray>({"Connection", "Content-Type", "Content-Length", "Cache-control", "Pragma",
                                       "Host", "Accept", "Accept-Language", "Referer", "User-Agent"}));
    QCOMPARE(http.settings().headers.at(8).second, QByteArray("https://translate.googleapis.com"));
    QCOMPARE(qstrlen(UserAgent), 115u);
    QCOMPARE(http.settings().proxyServer, QStringLiteral("proxy.lan")); // the proxy is not a request setting
}

void TestRequest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<QString>("message");

    const QString parseFailure = "ERROR: Failed to parse translation results.";
    QTest::newRow("three segments")
        << R"([[["Xin chào. ","Hello. ",null,null,10],["Bạn khỏe không?\n","How are you?\n"],["Tạm biệt","Bye"]],null,"en"])"
        << QString::fromUtf8("Xin chào. Bạn khỏe không?\nTạm biệt") << "";
    QTest::newRow("no segments") << "[[],null,\"en\"]" << "" << "";
    QTest::newRow("romanization row skipped") << R"([[["Chào","Hi"],[null,null,"Chao"]]])" << QString::fromUtf8("Chào")
                                              << "";
    QTest::newRow("odd segments skipped") << R"([[5,"x",[],[7],["ok"]]])" << "ok" << "";
    QTest::newRow("closed") << "Connection Closed Gracefully." << "" << "Internet Connection Closed.";
    QTest::newRow("timed out") << "Socket Error # 10060\r\nConnection timed out." << ""
                               << "Connection timed out. ( Blocked? )";
    QTest::newRow("forbidden") << "HTTP/1.1 403 Forbidden" << "" << "Translate Engine disabled, Please try again later.";
    QTest::newRow("too many requests") << "HTTP/1.1 429 Too Many Requests" << ""
                                       << "Too many requests, Please try again later.";
    QTest::newRow("known text in other case") << "connection closed gracefully." << "" << parseFailure;
    QTest::newRow("known text with trailing space") << "HTTP/1.1 403 Forbidden " << "" << parseFailure;
    QTest::newRow("refused") << "Socket Error # 10061\r\nConnection refused." << "" << parseFailure;
    QTest::newRow("HTML page") << "<html><body>Sorry</body></html>" << "" << parseFailure;
    QTest::newRow("object") << R"({"sentences":[]})" << "" << parseFailure;
    QTest::newRow("empty") << "" << "" << parseFailure;
    QTest::newRow("truncated JSON") << R"([[["Xin chào","Hello"],)" << "" << parseFailure;
    QTest::newRow("empty array") << "[]" << "" << parseFailure;
    QTest::newRow("element 0 not an array") << "[null,[[\"x\"]]]" << "" << parseFailure;
    QTest::newRow("deep nesting") << QString(5000, u'[') + QString(5000, u']') << "" << parseFailure;
}

void TestRequest::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, translation);
    QFETCH(QString, message);
    const ParsedReply reply = ParseReply(text);
    QCOMPARE(reply.translation, translation);
    QCOMPARE(reply.message, message);
}

void TestRequest::serviceUrl_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("url");
    const QString google = "https://translate.googleapis.com";
    QTest::newRow("no file") << QByteArray() << google;
    QTest::newRow("no key") << QByteArray("[Connection]\r\nNoProxy=1\r\n") << google;
    QTest::newRow("local http") << QByteArray("[Connection]\r\nServiceUrl=http://127.0.0.1:8080\r\n")
                                << "http://127.0.0.1:8080";
    QTest::newRow("trailing slashes dropped") << QByteArray("[Connection]\r\nServiceUrl=https://mirror.example//\r\n")
                                              << "https://mirror.example";
    QTest::newRow("path kept") << QByteArray("[connection]\r\nserviceurl=https://mirror.example/gt\r\n")
                               << "https://mirror.example/gt";
    QTest::newRow("not absolute") << QByteArray("[Connection]\r\nServiceUrl=mirror.example\r\n") << google;
    QTest::newRow("other scheme") << QByteArray("[Connection]\r\nServiceUrl=ftp://mirror.example\r\n") << google;
    QTest::newRow("no host") << QByteArray("[Connection]\r\nServiceUrl=https://\r\n") << google;
    QTest::newRow("query") << QByteArray("[Connection]\r\nServiceUrl=https://m.example/?a=1\r\n") << google;
    QTest::newRow("wrong section") << QByteArray("[General]\r\nServiceUrl=http://127.0.0.1:1\r\n") << google;
}

void TestRequest::serviceUrl()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, url);
    QTemporaryDir dir;
    const QString path = dir.filePath("Zudadir2Evidivezav.ini");
    if (!file.isNull())
        testsupport::writeBytes(path, file);
    QCOMPARE(ReadServiceUrl(path), url);
}

QTEST_GUILESS_MAIN(TestRequest)
#include "tst_request.moc"
