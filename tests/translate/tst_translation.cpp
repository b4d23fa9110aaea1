#include "platform/Application.h"
#include "platform/ErrorDisplay.h"
#include "settings/Params.h"
#include "shell/frm_Main.h"
#include "shell/untCommon.h"
#include "support/TestServer.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Reply = TestServer::Reply;
Q_DECLARE_METATYPE(TestServer::Reply)

// Translations through the whole window, as the user drives it, against the
// local server.
class TestTranslation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_errors;
    QList<QPair<QString, int>> m_boxes;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<TfrmMain> m_window;

    TfrmMain &start(const QByteArray &settings = QByteArray())
    {
        m_window = std::make_unique<TfrmMain>();
        SettingsFileName = m_dir.filePath("Zudadir2Evidivezav.ini");
        QFile::remove(SettingsFileName);
        if (!settings.isNull()) {
            QFile file(SettingsFileName);
            file.open(QIODevice::WriteOnly);
            file.write(settings);
        }
        TranslateBaseUrl = m_server->baseUrl();
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qFatal("the window did not show");
        return *m_window;
    }

    template <typename T>
    T *child(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }
    QPushButton *translateButton() const { return child<QPushButton>("btnTrans"); }
    QTextEdit *source() const { return child<QTextEdit>("E1"); }
    QTextEdit *result() const { return child<QTextEdit>("E2"); }

    void translate(const QString &text)
    {
        m_window->SetPaneText(0, text);
        QTest::mouseClick(translateButton(), Qt::LeftButton);
    }
    // Waits for the window to leave the translating state.
    bool settled(int timeoutMs = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        while (m_window->translating() && timer.elapsed() < timeoutMs)
            QTest::qWait(5);
        return !m_window->translating();
    }
    QString q() const
    {
        const QByteArray request = m_server->lastRequest();
        const QByteArray line = TestServer::requestLine(request);
        const QByteArray body = TestServer::requestBody(request);
        const QByteArray fields = line.startsWith("GET") ? line.mid(line.indexOf('?') + 1).split(' ').first() : body;
        for (const QByteArray &field : fields.split('&')) {
            if (field.startsWith("q="))
                return QString::fromLatin1(field.mid(2));
        }
        return QString();
    }

private slots:
    void init()
    {
        m_errors.clear();
        m_boxes.clear();
        ErrorDisplay::setSink([this](const QString &text) { m_errors << text; });
        MessageBoxes::setSink([this](const QString &text, int kind) {
            m_boxes.append({text, kind});
            return 1;
        });
        Settings = TParams();
        m_server = std::make_unique<TestServer>();
    }
    void cleanup()
    {
        m_window.reset();
        m_server.reset();
        MessageBoxes::setSink({});
        ErrorDisplay::setSink({});
    }

    void translationShown();
    void stateWhileTranslating();
    void emptyPaneDoesNothing();
    void selectionOnly();
    void twiceQuicklyIsOneRequest();
    void directionChangeInFlight();
    void autoCopy();
    void outcomes_data();
    void outcomes();
    void shortTextFailureShowsBoxFirst();
    void proxyChangeInFlight();
    void closingInFlight();
    void httpsEndToEnd();
    void missingResourceModule();
};

void TestTranslation::translationShown()
{
    TfrmMain &window = start();
    m_server->enqueue(Reply::text(R"([[["Xin chào. ","Hello. "],["Bạn khỏe không?\nTốt.","How are you?\nFine."]],null,"en"])"));
    translate("Hello. How are you?\nFine.");
    QVERIFY(settled());
    QCOMPARE(window.GetPaneText(1), QString::fromUtf8("Xin chào. Bạn khỏe không?\r\nTốt."));
    QCOMPARE(result()->document()->blockCount(), 2);
    QCOMPARE(q(), QStringLiteral("Hello.+How+are+you%3F%0D%0AFine."));
    QVERIFY(TestServer::requestLine(m_server->lastRequest()).contains("sl=en&tl=vi"));
    QVERIFY(translateButton()->isEnabled());
    QVERIFY(!child<QLabel>("ImgLoad")->movie());
    QCOMPARE(QApplication::focusWidget(), result());
    QVERIFY(m_errors.isEmpty());
    QVERIFY(m_boxes.isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(), QString()); // AutoCopy is off
}

void TestTranslation::stateWhileTranslating()
{
    start("[General]\r\nDirection=1\r\n");
    Reply slow = Reply::text("[[[\"Hello\"]]]");
    slow.delayMs = 300;
    m_server->enqueue(slow);
    translate(QString::fromUtf8("Xin chào"));
    QCOMPARE(m_window->GetPaneText(1), QStringLiteral("Translation, please wait ..."));
    QVERIFY(!translateButton()->isEnabled());
    QLabel *image = child<QLabel>("ImgLoad");
    QVERIFY(image->isVisible());
    QVERIFY(image->movie());
    QCOMPARE(image->movie()->state(), QMovie::Running);
    // The panes stay usable meanwhile.
    QTest::keyClicks(source(), "!");
    QVERIFY(settled());
    QCOMPARE(m_window->GetPaneText(1), QStringLiteral("Hello"));
    QVERIFY(TestServer::requestLine(m_server->lastRequest()).contains("sl=vi&tl=en"));
    QVERIFY(image->isVisible());
    QVERIFY(!image->movie());
}

void TestTranslation::emptyPaneDoesNothing()
{
    TfrmMain &window = start();
    window.SetPaneText(1, "earlier result");
    translate(" \r\n\t ");
    QTest::qWait(50);
    QVERIFY(!window.translating());
    QCOMPARE(window.GetPaneText(1), QStringLiteral("earlier result"));
    QCOMPARE(m_server->requests().size(), 0);
    QVERIFY(translateButton()->isEnabled());
}

void TestTranslation::selectionOnly()
{
    TfrmMain &window = start();
    window.SetPaneText(0, "first line\r\nsecond line");
    QTextCursor cursor = source()->textCursor();
    cursor.setPosition(6);
    cursor.setPosition(17, QTextCursor::KeepAnchor); // "line" CR LF "second"
    source()->setTextCursor(cursor);
    QTest::mouseClick(translateButton(), Qt::LeftButton);
    QVERIFY(settled());
    QCOMPARE(q(), QStringLiteral("line%0D%0Asecond"));
}

void TestTranslation::twiceQuicklyIsOneRequest()
{
    start();
    Reply slow = Reply::text("[[[\"một\"]]]");
    slow.delayMs = 200;
    m_server->enqueue(slow);
    translate("one");
    QMetaObject::invokeMethod(translateButton(), "click"); // disabled: ignored
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    QVERIFY(settled());
    QTest::qWait(100);
    QCOMPARE(m_server->requests().size(), 1);
    QCOMPARE(m_window->GetPaneText(1), QString::fromUtf8("một"));
}

void TestTranslation::directionChangeInFlight()
{
    start();
    Reply slow = Reply::text("[[[\"xin chào\"]]]");
    slow.delayMs = 300;
    m_server->enqueue(slow);
    translate("hello");
    QVERIFY(m_server->waitForRequests(1));
    QTest::mouseClick(child<QRadioButton>("rbChnToEng"), Qt::LeftButton);
    QCOMPARE(Settings.Direction, 1);
    QVERIFY(settled());
    QVERIFY(TestServer::requestLine(m_server->lastRequest()).contains("sl=en&tl=vi"));
    QCOMPARE(m_window->GetPaneText(1), QStringLiteral("xin chào"));
}

void TestTranslation::autoCopy()
{
    TfrmMain &window = start("[General]\r\nAutoCopy=1\r\nAutoPaste=1\r\n");
    m_server->enqueue(Reply::text("[[[\"con mèo\"]]]"));
    translate("the cat");
    QVERIFY(settled());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("con mèo"));
    QCOMPARE(window.LastResultText(), QStringLiteral("con mèo"));

    // Coming back to the window does not paste the translation back.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&window, &activate);
    QTest::qWait(30);
    QCOMPARE(window.GetPaneText(0), QStringLiteral("the cat"));

    // A reply with a message empties the clipboard's translation as well.
    m_server->enqueue(Reply::text("<html>busy</html>"));
    translate("the dog");
    QVERIFY(settled());
    QCOMPARE(window.GetPaneText(1), QStringLiteral("ERROR: Failed to parse translation results."));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    QCOMPARE(window.LastResultText(), QString());
}

void TestTranslation::outcomes_data()
{
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<bool>("longText");
    QTest::addColumn<QString>("shown");

    const QString parseFailure = "ERROR: Failed to parse translation results.";
    Reply early = Reply::text("[[[\"cut short\"]]]");
    early.behaviour = Reply::CloseEarly;
    QTest::newRow("POST closed early") << early << true << "Internet Connection Closed.";
    QTest::newRow("POST 403") << Reply(403, "Forbidden") << true << "Translate Engine disabled, Please try again later.";
    QTest::newRow("POST 429") << Reply(429, "Too Many Requests") << true << "Too many requests, Please try again later.";
    QTest::newRow("POST reset") << Reply::withBehaviour(Reply::Reset) << true << parseFailure;
    QTest::newRow("POST redirect") << Reply(301, "Moved Permanently").header("Location", "https://x.example/")
                                   << true << parseFailure;
    QTest::newRow("HTML page") << Reply::text("<html><body>captcha</body></html>", "text/html") << false
                               << parseFailure;
    QTest::newRow("invalid UTF-8") << Reply::text("[[[\"ch\xC3\"]]]") << false << parseFailure;
    QTest::newRow("JSON object") << Reply::text("{\"a\":1}") << false << parseFailure;
    QTest::newRow("empty segment list") << Reply::text("[[],null,\"en\"]") << false << "";
    QTest::newRow("failure text as a body") << Reply::text("Connection Closed Gracefully.") << false
                                            << "Internet Connection Closed.";
    QTest::newRow("byte-order mark") << Reply::text("\xEF\xBB\xBF[[[\"ok\"]]]") << false << "ok";
}

void TestTranslation::outcomes()
{
    QFETCH(Reply, reply);
    QFETCH(bool, longText);
    QFETCH(QString, shown);
    start();
    m_server->enqueue(reply);
    translate(longText ? QString(2500, u'w') : QStringLiteral("short"));
    QVERIFY(settled());
    QCOMPARE(m_window->GetPaneText(1), shown);
    QVERIFY(m_boxes.isEmpty());
    QVERIFY(translateButton()->isEnabled());
    QVERIFY(m_errors.isEmpty());
}

void TestTranslation::shortTextFailureShowsBoxFirst()
{
    start();
    m_server->enqueue(Reply(403, "Forbidden"));
    translate("short");
    QVERIFY(settled());
    QCOMPARE(m_boxes, (QList<QPair<QString, int>>{{"HTTP/1.1 403 Forbidden", 2}}));
    QCOMPARE(m_window->GetPaneText(1), QStringLiteral("ERROR: Failed to parse translation results."));
}

void TestTranslation::proxyChangeInFlight()
{
    TfrmMain &window = start();
    Reply slow = Reply::text("[[[\"vẫn trực tiếp\"]]]");
    slow.delayMs = 300;
    m_server->enqueue(slow);
    translate("still direct");
    QVERIFY(m_server->waitForRequests(1));
    // The user applies a proxy that does not exist while the request is under way.
    window.HTTP().setProxyServer("127.0.0.1");
    window.HTTP().setProxyPort(9);
    QVERIFY(settled());
    QCOMPARE(window.GetPaneText(1), QString::fromUtf8("vẫn trực tiếp"));

    // The next request goes through it, and fails.
    translate(QString(2100, u'p'));
    QVERIFY(settled());
    QCOMPARE(window.GetPaneText(1), QStringLiteral("ERROR: Failed to parse translation results."));
    QCOMPARE(m_server->requests().size(), 1);
}

void TestTranslation::closingInFlight()
{
    start();
    m_server->setDefaultReply(Reply::withBehaviour(Reply::Stall));
    translate("never answered");
    QVERIFY(m_server->waitForRequests(1));
    QElapsedTimer timer;
    timer.start();
    m_window.reset();
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QTest::qWait(50); // nothing arrives for the window that is gone
    QVERIFY(m_errors.isEmpty());

    // Closed while the worker's message box is open: the box goes too.
    MessageBoxes::setSink({});
    start();
    m_server->setDefaultReply(Reply(403, "Forbidden"));
    translate("boxed");
    QTRY_VERIFY(QApplication::topLevelWidgets().size() > 1 && m_window->translating());
    QTest::qWait(50);
    timer.restart();
    m_window.reset();
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QTRY_VERIFY(std::none_of(QApplication::topLevelWidgets().cbegin(), QApplication::topLevelWidgets().cend(),
                             [](QWidget *w) { return w->isVisible(); }));
}

void TestTranslation::httpsEndToEnd()
{
    m_server = std::make_unique<TestServer>(TestServer::Mode::Https);
    m_server->enqueue(Reply::text("[[[\"bảo mật\"]]]"));
    TfrmMain &window = start();
    window.HTTP().setCaFile(TestServer::dataFile("ca.pem"));
    translate("secure");
    QVERIFY(settled());
    QCOMPARE(window.GetPaneText(1), QString::fromUtf8("bảo mật"));
}

void TestTranslation::missingResourceModule()
{
    TfrmMain &window = start();
    window.SetPaneText(1, "before");
    SetResourceModulePath(m_dir.filePath("MorvaneSys.DLL"));
    translate("hello");
    SetResourceModulePath(QString());
    QCOMPARE(m_errors, QStringList{"Resource LOADING not found"});
    QVERIFY(!window.translating());
    QVERIFY(translateButton()->isEnabled());
    QCOMPARE(window.GetPaneText(1), QStringLiteral("Translation, please wait ..."));
    QTest::qWait(50);
    QCOMPARE(m_server->requests().size(), 0);

    // With the module back, Translate works again.
    m_server->enqueue(Reply::text("[[[\"xin chào\"]]]"));
    translate("hello");
    QVERIFY(settled());
    QCOMPARE(window.GetPaneText(1), QStringLiteral("xin chào"));
}

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestTranslation test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_translation.moc"
