#include "panes/Panes.h"
#include "panes/RichStyle.h"
#include "platform/Application.h"
#include "platform/Components.h"
#include "platform/ErrorDisplay.h"
#include "settings/Params.h"
#include "shell/frm_Main.h"
#include "support/Files.h"

#include <QClipboard>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace testsupport;

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_errors;
    std::unique_ptr<TfrmMain> m_window;

    // Starts the window as the program does, with the settings file holding
    // the given bytes (none: no file).
    TfrmMain &start(const QByteArray &settings = QByteArray(), const QString &settingsPath = QString())
    {
        m_window = std::make_unique<TfrmMain>();
        SettingsFileName = settingsPath.isEmpty() ? m_dir.filePath("Zudadir2Evidivezav.ini") : settingsPath;
        QFile::remove(SettingsFileName);
        if (!settings.isNull())
            writeBytes(SettingsFileName, settings);
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qFatal("the window did not show");
        return *m_window;
    }

    template <typename T>
    T *child(const char *name) const
    {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    QString label(const char *name) const { return child<QLabel>(name)->text(); }
    QTextEdit *pane(int tag) const { return child<QTextEdit>(tag == 0 ? "E1" : "E2"); }
    void click(const char *button) { QTest::mouseClick(child<QAbstractButton>(button), Qt::LeftButton); }
    void chooseFromMenu(int paneTag, const char *action)
    {
        QTextEdit *p = pane(paneTag);
        emit p->customContextMenuRequested(QPoint(5, 5));
        auto *menu = child<PopupMenu>("pmTrans");
        QTRY_VERIFY(menu->isVisible());
        menu->findChild<QAction *>(QLatin1String(action))->trigger();
        menu->hide();
    }

private slots:
    void init()
    {
        m_errors.clear();
        ErrorDisplay::setSink([this](const QString &text) { m_errors << text; });
        Settings = TParams();
        QGuiApplication::clipboard()->clear();
    }
    void cleanup()
    {
        m_window.reset();
        ErrorDisplay::setSink({});
    }

    void baseFormPanelsPaintTheirColour();
    void controls();
    void startDirection_data();
    void startDirection();
    void switchDirectionAndBack();
    void failedDirectionWrite();
    void storedDirectionArrangesLabels();
    void fontsAfterSettingsLoad();

    void proxyHandOver_data();
    void proxyHandOver();
    void failedProxyKeepsWindow();

    void swap_data();
    void swap();
    void paneButtons();
    void contextMenuActsOnItsPane();
    void paste();
    void automaticPaste();
    void enterPressesTranslate();
};

namespace {

// A form of the program with two panels, one in the form's colour and one in
// its own, and a panel inside an embedded frame, which the frame owns.
class PanelForm : public TfrmRoot
{
public:
    Panel *plain = new Panel(this);
    Panel *coloured = new Panel(this);
    Frame *frame = new Frame(this);
    Panel *framed = new Panel(frame);

    PanelForm()
    {
        plain->setObjectName("plain");
        coloured->setObjectName("coloured");
        frame->setObjectName("frame");
        framed->setObjectName("framed");
        for (Panel *panel : {coloured, framed}) {
            QPalette palette = panel->palette();
            palette.setColor(QPalette::Window, Qt::yellow);
            panel->setPalette(palette);
        }
        FormCreate();
    }
};

} // namespace

void TestMainWindow::baseFormPanelsPaintTheirColour()
{
    PanelForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("frmRoot"));
    QCOMPARE(form.font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(form.font().pixelSize(), 12);
    QVERIFY(!form.plain->autoFillBackground());
    QVERIFY(form.coloured->autoFillBackground());
    QVERIFY(!form.framed->autoFillBackground()); // the frame's own
    QCOMPARE(OwnedComponents(&form), QList<QObject *>({form.plain, form.coloured, form.frame}));
}

void TestMainWindow::controls()
{
    TfrmMain &window = start();
    QCOMPARE(window.windowTitle(), QStringLiteral("Lexorvia"));
    QCOMPARE(window.size(), QSize(528, 545));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.font().family(), QStringLiteral("Tahoma"));

    struct Expect
    {
        const char *name;
        QRect bounds;
        const char *hint;
        int tag;
    };
    const Expect table[] = {
        {"btnOpen", {491, 62, 25, 25}, "Open", 0},
        {"btnClear", {491, 92, 25, 25}, "Clear", 0},
        {"btnSave", {491, 122, 25, 25}, "Save", 0},
        {"btnCopy", {491, 152, 25, 25}, "Copy To Clipboard", 0},
        {"btnPaste", {491, 182, 25, 25}, "Paste From Clipboard", 0},
        {"btnSwap", {491, 225, 25, 25}, "Swap", 0},
        {"btnClear2", {491, 270, 25, 25}, "Clear", 1},
        {"btnSave2", {491, 300, 25, 25}, "Save", 1},
        {"btnCopy2", {491, 330, 25, 25}, "Copy To Clipboard", 1},
        {"btnPaste2", {491, 360, 25, 25}, "Paste From Clipboard", 1},
        {"btnPrint", {491, 390, 25, 25}, "Print", 0},
    };
    for (const Expect &e : table) {
        auto *button = child<QToolButton>(e.name);
        QCOMPARE(button->geometry(), e.bounds);
        QCOMPARE(button->toolTip(), QString::fromLatin1(e.hint));
        QCOMPARE(button->accessibleName(), QString::fromLatin1(e.hint)); // read out by screen readers
        QCOMPARE(button->property("Tag").toInt(), e.tag);
        QVERIFY2(!button->icon().pixmap(16, 16).isNull(), e.name);
    }
    QCOMPARE(child<QWidget>("E1")->geometry(), QRect(8, 45, 478, 178));
    QCOMPARE(child<QWidget>("E2")->geometry(), QRect(8, 249, 478, 178));
    QVERIFY(child<QTextEdit>("E2")->isReadOnly());
    QCOMPARE(child<QWidget>("rgDirection")->geometry(), QRect(12, 434, 475, 48));
    QCOMPARE(child<QPushButton>("btnHelp")->text(), QStringLiteral("&Help"));
    QCOMPARE(child<QPushButton>("btnTrans")->text(), QStringLiteral("&Translate"));
    QVERIFY(child<QPushButton>("btnTrans")->isDefault());
    QCOMPARE(child<QRadioButton>("rbEngToChn")->text(), QStringLiteral("Translate English to Vietnamese"));
    QCOMPARE(child<QRadioButton>("rbChnToEng")->text(), QStringLiteral("Translate Vietnamese to English"));
    QCOMPARE(label("lbl1"), QStringLiteral("Free Get Morvane Translator Pro Full Version Now !"));

    const QString notice = QStringLiteral("Copyright © 2016-%1 Lexorvia").arg(QDate::currentDate().year());
    auto *bar = child<QStatusBar>("Bar");
    QCOMPARE(bar->geometry(), QRect(0, 523, 528, 22));
    QVERIFY(bar->findChild<QLabel *>()->text() == notice);

    // No caption is cut off.
    for (const char *name : {"labFrom", "labFromLang", "labTo", "labToLang", "lbl1"}) {
        auto *l = child<QLabel>(name);
        QVERIFY2(l->width() >= l->sizeHint().width(), name);
        QVERIFY2(l->geometry().right() < window.width(), name);
    }
    for (const char *name : {"rbEngToChn", "rbChnToEng"}) {
        auto *b = child<QRadioButton>(name);
        QVERIFY2(b->width() >= b->sizeHint().width(), name);
    }

    // The keyboard walks the panes, the direction, Help, Translate, then the
    // pane buttons.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    child<QWidget>("E1")->setFocus();
    QStringList walk;
    for (int i = 0; i < 7; ++i) {
        walk << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(walk, QStringList({"E1", "E2", "rbEngToChn", "btnHelp", "btnTrans", "btnOpen", "btnClear"}));
}

void TestMainWindow::startDirection_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QByteArray>("fileAfter");

    QTest::newRow("no file") << QByteArray() << 0 << QByteArray();
    QTest::newRow("stored 0") << QByteArray("[General]\r\nDirection=0\r\n") << 0
                              << QByteArray("[General]\r\nDirection=0\r\n");
    QTest::newRow("stored 1") << QByteArray("[General]\r\nDirection=1\r\n") << 1
                              << QByteArray("[General]\r\nDirection=1\r\n");
    QTest::newRow("stored 5 is written back as 1") << QByteArray("[General]\r\nDirection=5\r\n") << 1
                                                   << QByteArray("[General]\r\nDirection=1\r\n");
    QTest::newRow("letters") << QByteArray("[General]\r\nDirection=abc\r\n") << 0
                             << QByteArray("[General]\r\nDirection=abc\r\n");
}

void TestMainWindow::startDirection()
{
    QFETCH(QByteArray, settings);
    QFETCH(int, direction);
    QFETCH(QByteArray, fileAfter);

    start(settings);
    QCOMPARE(Settings.Direction, direction);
    QCOMPARE(child<QRadioButton>("rbEngToChn")->isChecked(), direction == 0);
    QCOMPARE(child<QRadioButton>("rbChnToEng")->isChecked(), direction != 0);
    QCOMPARE(label("labFromLang"), direction == 0 ? QStringLiteral("English") : QStringLiteral("Vietnamese"));
    QCOMPARE(label("labToLang"), direction == 0 ? QStringLiteral("Vietnamese") : QStringLiteral("English"));
    QCOMPARE(readBytes(SettingsFileName), fileAfter);
    QVERIFY(m_errors.isEmpty());
}

void TestMainWindow::switchDirectionAndBack()
{
    TfrmMain &window = start();
    window.SetPaneText(0, "source text");
    window.SetPaneText(1, "result text");

    click("rbChnToEng");
    QCOMPARE(Settings.Direction, 1);
    QCOMPARE(readBytes(SettingsFileName), QByteArray("[General]\r\nDirection=1\r\n"));
    QCOMPARE(label("labFromLang"), QStringLiteral("Vietnamese"));
    QCOMPARE(label("labToLang"), QStringLiteral("English"));
    auto *labFrom = child<QLabel>("labFrom");
    QCOMPARE(child<QLabel>("labFromLang")->x(), labFrom->x() + labFrom->width() + 4);
    auto *labToLang = child<QLabel>("labToLang");
    QCOMPARE(child<QLabel>("ImgLoad")->x(), labToLang->x() + labToLang->width() + 60);

    click("rbEngToChn");
    QCOMPARE(Settings.Direction, 0);
    QCOMPARE(readBytes(SettingsFileName), QByteArray("[General]\r\nDirection=0\r\n"));
    QCOMPARE(window.GetPaneText(0), QStringLiteral("source text"));
    QCOMPARE(window.GetPaneText(1), QStringLiteral("result text"));

    // A click on the button that is already checked does nothing.
    QFile::remove(SettingsFileName);
    click("rbEngToChn");
    QVERIFY(!QFile::exists(SettingsFileName));
    QVERIFY(m_errors.isEmpty());
}

void TestMainWindow::failedDirectionWrite()
{
    writeBytes(m_dir.filePath("plain"), "x");
    const QString unwritable = m_dir.filePath("plain/Zudadir2Evidivezav.ini");
    start(QByteArray(), unwritable);
    click("rbChnToEng");
    QCOMPARE(m_errors, QStringList{"Unable to write to " + unwritable});
    // The direction changed in memory and on the buttons; the labels did not.
    QCOMPARE(Settings.Direction, 1);
    QVERIFY(child<QRadioButton>("rbChnToEng")->isChecked());
    QCOMPARE(label("labFromLang"), QStringLiteral("English"));
    QCOMPARE(label("labToLang"), QStringLiteral("Vietnamese"));
}

void TestMainWindow::storedDirectionArrangesLabels()
{
    // Showing a stored direction 1 checks the second button, whose click
    // handler arranges the labels and the loading image after the new names.
    start("[General]\r\nDirection=1\r\n");
    auto *labTo = child<QLabel>("labTo");
    auto *labToLang = child<QLabel>("labToLang");
    QCOMPARE(labToLang->text(), QStringLiteral("English"));
    QCOMPARE(labToLang->width(), labToLang->sizeHint().width());
    QCOMPARE(labToLang->x(), labTo->x() + labTo->width() + 4);
    QCOMPARE(child<QLabel>("ImgLoad")->x(), labToLang->x() + labToLang->width() + 60);
    QVERIFY(child<QLabel>("ImgLoad")->pixmap().isNull());
}

void TestMainWindow::fontsAfterSettingsLoad()
{
    m_window = std::make_unique<TfrmMain>();
    QCOMPARE(m_window->RVStyle1()->textStyle(0).fontName, QStringLiteral("Tahoma"));
    m_window.reset();

    TfrmMain &window = start();
    window.SetPaneText(0, "typed");
    QCOMPARE(window.RVStyle1()->textStyle(0).fontName, QStringLiteral("Arial"));
    QCOMPARE(window.RVStyle1()->textStyle(0).size, 14);
    for (int tag : {0, 1}) {
        const QFontInfo shown(pane(tag)->font());
        QVERIFY2(shown.family() == QStringLiteral("Liberation Sans") || shown.family() == QStringLiteral("Arial"),
                 qPrintable(shown.family()));
        QCOMPARE(shown.pointSize(), 14);
    }
    // The window's own font is Tahoma, found even where the system has none.
    QCOMPARE(QFontInfo(child<QWidget>("labFrom")->font()).family(), QStringLiteral("Tahoma"));
    QVERIFY(QFontInfo(child<QWidget>("labFrom")->font()).bold());
}

void TestMainWindow::proxyHandOver_data()
{
    QTest::addColumn<QByteArray>("connection");
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("error");

    QTest::newRow("no file: direct") << QByteArray() << "" << 0 << "" << "";
    QTest::newRow("proxy 8080")
        << QByteArray("NoProxy=0\r\nAddress=proxy.lan\r\nPort=8080\r\nUserName=me\r\nPassword=pw\r\n") << "proxy.lan"
        << 8080 << "me" << "";
    QTest::newRow("NoProxy set ignores filled fields")
        << QByteArray("NoProxy=1\r\nAddress=proxy.lan\r\nPort=8080\r\nUserName=me\r\n") << "" << 0 << "" << "";
    QTest::newRow("empty address goes direct") << QByteArray("NoProxy=0\r\nAddress=\r\nPort=3128\r\n") << "" << 3128
                                               << "" << "";
    QTest::newRow("hex port") << QByteArray("NoProxy=0\r\nAddress=p\r\nPort=$50\r\n") << "p" << 80 << "" << "";
    QTest::newRow("empty port") << QByteArray("NoProxy=0\r\nAddress=p\r\nPort=\r\nUserName=me\r\n") << "p" << 0 << ""
                                << "'' is not a valid integer value";
    QTest::newRow("port abc") << QByteArray("NoProxy=0\r\nAddress=p\r\nPort=abc\r\nUserName=me\r\n") << "p" << 0 << ""
                              << "'abc' is not a valid integer value";
    QTest::newRow("highest port") << QByteArray("NoProxy=0\r\nAddress=p\r\nPort=65535\r\n") << "p" << 65535 << ""
                                  << "";
    // Out of range, the port set before would stay in use without a word.
    for (const char *outOfRange : {"65536", "$10050", "0", "-1"}) {
        QTest::addRow("port %s", outOfRange)
            << QByteArray("NoProxy=0\r\nAddress=p\r\nPort=") + outOfRange + "\r\nUserName=me\r\n" << "p" << 0 << ""
            << QStringLiteral("'%1' is not a valid port number (1 to 65535)").arg(QLatin1String(outOfRange));
    }
}

void TestMainWindow::proxyHandOver()
{
    QFETCH(QByteArray, connection);
    QFETCH(QString, server);
    QFETCH(int, port);
    QFETCH(QString, user);
    QFETCH(QString, error);

    TfrmMain &window = start(connection.isNull() ? QByteArray() : "[Connection]\r\n" + connection);
    const HttpSettings &http = window.HTTP().settings();
    QCOMPARE(http.proxyServer, server);
    QCOMPARE(http.proxyPort, port);
    QCOMPARE(http.proxyUserName, user);
    QCOMPARE(m_errors, error.isEmpty() ? QStringList() : QStringList{error});
}

void TestMainWindow::failedProxyKeepsWindow()
{
    // The window shows, the failure is reported once, and the steps before it
    // (the direction) took effect.
    start("[General]\r\nDirection=1\r\n[Connection]\r\nNoProxy=0\r\nAddress=p\r\nPort=1x\r\n");
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_errors, QStringList{"'1x' is not a valid integer value"});
    QCOMPARE(label("labFromLang"), QStringLiteral("Vietnamese"));
}

void TestMainWindow::swap_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("result");
    QTest::newRow("empty result") << "hello\r\nworld" << "";
    QTest::newRow("both filled") << "hello" << "xin chào";
    QTest::newRow("both empty") << "" << "";
}

void TestMainWindow::swap()
{
    QFETCH(QString, source);
    QFETCH(QString, result);
    TfrmMain &window = start("[General]\r\nDirection=0\r\n");
    window.SetPaneText(0, source);
    window.SetPaneText(1, result);
    click("btnSwap");
    QCOMPARE(window.GetPaneText(0), result);
    QCOMPARE(window.GetPaneText(1), source);
    QCOMPARE(Settings.Direction, 0);
}

void TestMainWindow::paneButtons()
{
    TfrmMain &window = start();
    QClipboard *clipboard = QGuiApplication::clipboard();
    window.SetPaneText(0, "  source\r\n");
    window.SetPaneText(1, "result");

    // Copy takes the whole text, whatever is selected.
    QTextCursor cursor = pane(0)->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    pane(0)->setTextCursor(cursor);
    click("btnCopy");
    QCOMPARE(clipboard->text(), QStringLiteral("source"));
    click("btnCopy2");
    QCOMPARE(clipboard->text(), QStringLiteral("result"));

    click("btnClear2");
    QCOMPARE(window.GetPaneText(1), QString());
    QCOMPARE(window.GetPaneText(0), QStringLiteral("source"));
    click("btnCopy2");
    QCOMPARE(clipboard->text(), QString());
    click("btnClear");
    QCOMPARE(window.GetPaneText(0), QString());
    QVERIFY(m_errors.isEmpty());
}

void TestMainWindow::contextMenuActsOnItsPane()
{
    TfrmMain &window = start();
    window.SetPaneText(0, "source");
    window.SetPaneText(1, "result");

    chooseFromMenu(1, "Cut1");
    QCOMPARE(window.GetPaneText(1), QString());
    QCOMPARE(window.GetPaneText(0), QStringLiteral("source"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("result"));

    chooseFromMenu(0, "Clear1");
    QCOMPARE(window.GetPaneText(0), QString());

    window.SetPaneText(1, "again");
    chooseFromMenu(1, "Copy1");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("again"));
    QGuiApplication::clipboard()->setText("pasted");
    chooseFromMenu(0, "Paste1");
    QCOMPARE(window.GetPaneText(0), QStringLiteral("pasted"));
    QCOMPARE(window.GetPaneText(1), QStringLiteral("again"));
    chooseFromMenu(1, "Paste1");
    QCOMPARE(window.GetPaneText(1), QStringLiteral("pasted"));
    QCOMPARE(window.LastResultText(), QStringLiteral("pasted"));

    // Cut of an empty pane puts empty text on the clipboard.
    chooseFromMenu(0, "Clear1");
    chooseFromMenu(0, "Cut1");
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    QCOMPARE(window.GetPaneText(1), QStringLiteral("pasted"));
}

void TestMainWindow::paste()
{
    TfrmMain &window = start();
    QClipboard *clipboard = QGuiApplication::clipboard();
    window.SetPaneText(0, "source");
    window.SetPaneText(1, "result");

    clipboard->clear();
    click("btnPaste2"); // an empty clipboard changes nothing in the result pane
    QCOMPARE(window.GetPaneText(1), QStringLiteral("result"));
    QCOMPARE(window.LastResultText(), QString());
    click("btnPaste"); // but empties the source pane
    QCOMPARE(window.GetPaneText(0), QString());

    clipboard->setText("line one\nline two\n");
    click("btnPaste");
    QCOMPARE(window.GetPaneText(0), QStringLiteral("line one\r\nline two"));
    click("btnPaste2");
    QCOMPARE(window.GetPaneText(1), QStringLiteral("line one\r\nline two"));
    QCOMPARE(window.LastResultText(), QStringLiteral("line one\nline two\n"));
}

void TestMainWindow::automaticPaste()
{
    TfrmMain &window = start("[General]\r\nAutoPaste=1\r\n");
    QClipboard *clipboard = QGuiApplication::clipboard();
    QVERIFY(Settings.AutoPaste);

    // The window becoming active again inside the program.
    clipboard->setText("from elsewhere");
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&window, &activate);
    QTRY_COMPARE(window.GetPaneText(0), QStringLiteral("from elsewhere"));

    // The program becoming the active application.
    window.SetPaneText(0, "");
    clipboard->setText("switched back");
    QMetaObject::invokeMethod(qApp, "applicationStateChanged", Q_ARG(Qt::ApplicationState, Qt::ApplicationActive));
    QTRY_COMPARE(window.GetPaneText(0), QStringLiteral("switched back"));

    // Neither an empty clipboard nor the last result is pasted back.
    window.SetPaneText(0, "kept");
    clipboard->clear();
    QCoreApplication::sendEvent(&window, &activate);
    QTest::qWait(20);
    QCOMPARE(window.GetPaneText(0), QStringLiteral("kept"));

    clipboard->setText("last result");
    click("btnPaste2");
    QCOMPARE(window.LastResultText(), QStringLiteral("last result"));
    QCoreApplication::sendEvent(&window, &activate);
    QTest::qWait(20);
    QCOMPARE(window.GetPaneText(0), QStringLiteral("kept"));
    click("btnPaste"); // the explicit paste still pastes
    QCOMPARE(window.GetPaneText(0), QStringLiteral("last result"));

    // With AutoPaste off, activation does nothing.
    Settings.AutoPaste = false;
    clipboard->setText("ignored");
    QCoreApplication::sendEvent(&window, &activate);
    QTest::qWait(20);
    QCOMPARE(window.GetPaneText(0), QStringLiteral("last result"));
}

void TestMainWindow::enterPressesTranslate()
{
    start();
    auto *translate = child<QPushButton>("btnTrans");
    QSignalSpy clicked(translate, &QPushButton::clicked);
    auto *radio = child<QRadioButton>("rbEngToChn");
    radio->setFocus();
    QTest::keyClick(radio, Qt::Key_Return);
    QTRY_COMPARE(clicked.count(), 1);

    // In the source pane Enter starts a new line.
    pane(0)->setFocus();
    QTest::keyClicks(pane(0), "a");
    QTest::keyClick(pane(0), Qt::Key_Return);
    QTest::keyClicks(pane(0), "b");
    QTest::qWait(50);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(m_window->GetPaneText(0), QStringLiteral("a\r\nb"));
}

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
