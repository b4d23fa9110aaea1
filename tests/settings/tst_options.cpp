#include "lang/SMLLangRes.h"
#include "platform/Application.h"
#include "platform/Components.h"
#include "platform/ErrorDisplay.h"
#include "settings/Params.h"
#include "settings/frm_Options.h"
#include "shell/frm_Main.h"
#include "support/Files.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace testsupport;

// The Options dialog as the user drives it from the help menu, and what the
// main window does after it.
class TestOptions : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_errors;
    std::unique_ptr<TfrmMain> m_window;

    void start(const QByteArray &settings)
    {
        m_window = std::make_unique<TfrmMain>();
        SettingsFileName = m_dir.filePath("Zudadir2Evidivezav.ini");
        QFile::remove(SettingsFileName);
        if (!settings.isNull())
            writeBytes(SettingsFileName, settings);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // Opens the dialog from the help menu and lets `drive` work in it while
    // it is shown; returns once the dialog has closed.
    void withDialog(const std::function<void(TfrmOptions &)> &drive)
    {
        bool driven = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<TfrmOptions *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            driven = true;
            drive(*dialog);
            if (dialog->isVisible() && QApplication::activeModalWidget() == dialog)
                dialog->close(); // the close box, when the test left it open
        });
        m_window->findChild<PopupMenu *>("pmHelp")->findChild<QAction *>("miOptions")->trigger();
        QVERIFY(driven);
    }

    template <typename T>
    static T *in(TfrmOptions &dialog, const char *name)
    {
        T *found = dialog.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    static void ok(TfrmOptions &dialog) { QTest::mouseClick(in<QPushButton>(dialog, "btnOk"), Qt::LeftButton); }
    QByteArray file() const { return readBytes(SettingsFileName); }

private slots:
    void init()
    {
        m_errors.clear();
        ErrorDisplay::setSink([this](const QString &text) { m_errors << text; });
        Settings = TParams();
        TsmlLangRes::SetProgramFolder(m_dir.path());
        QFile::remove(m_dir.filePath("English.ini"));
    }
    void cleanup()
    {
        m_window.reset();
        TsmlLangRes::SetProgramFolder(QString());
        ErrorDisplay::setSink({});
    }

    void opensAsStored();
    void saveWritesNineKeysInOrder();
    void pastedLineBreaksAreDropped();
    void requiredProxyFields_data();
    void requiredProxyFields();
    void defaultThenOk();
    void switchToNoProxyKeepsTexts();
    void noProxyKeepsStoredValues();
    void closeBoxSavesLikeOk();
    void unwritableSettings();
    void windowReloadsAfterwards();
    void languageFile();
};

void TestOptions::opensAsStored()
{
    start("[General]\r\nAutoPaste=1\r\nAutoCopy=0\r\n[Connection]\r\nNoProxy=0\r\nAddress=proxy.lan\r\n"
          "Port=3128\r\nUserName=me\r\nPassword=pw\r\n");
    withDialog([](TfrmOptions &d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Options"));
        QCOMPARE(d.size(), QSize(457, 283));
        QCOMPARE(in<QTabWidget>(d, "PageControl1")->currentIndex(), 0);
        QVERIFY(in<QCheckBox>(d, "chkAutoPaste")->isChecked());
        QVERIFY(!in<QCheckBox>(d, "chkAutoCopy")->isChecked());
        QVERIFY(!in<QGroupBox>(d, "rgLang")->isVisibleTo(&d));
        QVERIFY(in<QRadioButton>(d, "rbManuallyProxy")->isChecked());
        QCOMPARE(in<QLineEdit>(d, "edtAddress")->text(), QStringLiteral("proxy.lan"));
        QCOMPARE(in<QLineEdit>(d, "edtPort")->text(), QStringLiteral("3128"));
        QCOMPARE(in<QLineEdit>(d, "edtPassword")->echoMode(), QLineEdit::Password);
        QVERIFY(!in<QLineEdit>(d, "edtAddress")->isReadOnly());
        QCOMPARE(in<QGroupBox>(d, "rgProxySettings")->geometry(), QRect(10, 7, 407, 178));
        QCOMPARE(in<QPushButton>(d, "btnOk")->geometry(), QRect(365, 246, 75, 25));
        // Neither Enter nor Esc alone closes it.
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        ok(d);
        QVERIFY(!d.isVisible());
    });
}

void TestOptions::saveWritesNineKeysInOrder()
{
    start("[General]\r\nTranslator=7\r\nDirection=1\r\n");
    withDialog([](TfrmOptions &d) {
        QTest::mouseClick(in<QCheckBox>(d, "chkAutoCopy"), Qt::LeftButton);
        ok(d);
    });
    QCOMPARE(file(), QByteArray("[General]\r\nTranslator=0\r\nDirection=1\r\nAutoPaste=0\r\nAutoCopy=1\r\n"
                                "DisplayLanguage=\r\n[Connection]\r\nNoProxy=1\r\nAddress=\r\nPort=\r\n"
                                "UserName=\r\nPassword=\r\n"));
    QVERIFY(m_errors.isEmpty());
}

void TestOptions::pastedLineBreaksAreDropped()
{
    // A password copied with its line end, an address pasted with a second
    // line: the edits keep one line, and the file one line per key.
    start("[Connection]\r\nNoProxy=0\r\nAddress=a\r\nPort=1\r\n");
    withDialog([](TfrmOptions &d) {
        in<QTabWidget>(d, "PageControl1")->setCurrentIndex(1);
        auto paste = [&d](const char *name, const QString &text) {
            QLineEdit *line = in<QLineEdit>(d, name);
            QApplication::clipboard()->setText(text);
            line->setFocus();
            line->selectAll();
            line->paste();
            return line->text();
        };
        QCOMPARE(paste("edtAddress", "proxy.lan\r\nPort=9999"), QStringLiteral("proxy.lanPort=9999"));
        QCOMPARE(paste("edtPort", "3128\n"), QStringLiteral("3128"));
        QCOMPARE(paste("edtPassword", "pa\rss\n"), QStringLiteral("pass"));
        // The text around a pasted break stays, the cursor after the paste.
        QLineEdit *user = in<QLineEdit>(d, "edtUserName");
        user->setText("meyou");
        user->setCursorPosition(2);
        QApplication::clipboard()->setText("\nand\r\n");
        user->paste();
        QCOMPARE(user->text(), QStringLiteral("meandyou"));
        QCOMPARE(user->cursorPosition(), 5);
        ok(d);
    });
    QCOMPARE(file(), QByteArray("[Connection]\r\nNoProxy=0\r\nAddress=proxy.lanPort=9999\r\nPort=3128\r\n"
                                "UserName=meandyou\r\nPassword=pass\r\n[General]\r\nTranslator=0\r\n"
                                "AutoPaste=0\r\nAutoCopy=0\r\nDisplayLanguage=\r\n"));
    QVERIFY(m_errors.isEmpty());
}

void TestOptions::requiredProxyFields_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("focused"); // "" when the dialog closes
    QTest::newRow("empty address") << "" << "8080" << "edtAddress";
    QTest::newRow("empty port") << "proxy" << "" << "edtPort";
    QTest::newRow("both empty") << "" << "" << "edtAddress";
    QTest::newRow("three blanks pass") << "   " << "x" << "";
}

void TestOptions::requiredProxyFields()
{
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QString, focused);
    start(QByteArray());
    bool stayedOpen = false;
    QString focus;
    int page = -1;
    withDialog([&](TfrmOptions &d) {
        QTest::mouseClick(in<QRadioButton>(d, "rbManuallyProxy"), Qt::LeftButton);
        in<QLineEdit>(d, "edtAddress")->setText(address);
        in<QLineEdit>(d, "edtPort")->setText(port);
        in<QTabWidget>(d, "PageControl1")->setCurrentIndex(0);
        ok(d);
        stayedOpen = d.isVisible();
        page = in<QTabWidget>(d, "PageControl1")->currentIndex();
        focus = d.focusWidget() ? d.focusWidget()->objectName() : QString();
        if (stayedOpen) { // leave properly
            QTest::mouseClick(in<QRadioButton>(d, "rbNoProxy"), Qt::LeftButton);
            QVERIFY(!QFile::exists(SettingsFileName)); // nothing written yet
            ok(d);
        }
    });
    QCOMPARE(stayedOpen, !focused.isEmpty());
    if (stayedOpen) {
        QCOMPARE(page, 1);
        QCOMPARE(focus, focused);
    } else {
        QVERIFY(file().contains("Address=   \r\n"));
    }
}

void TestOptions::defaultThenOk()
{
    start("[General]\r\nAutoPaste=1\r\nAutoCopy=1\r\nDisplayLanguage=English\r\n[Connection]\r\nNoProxy=0\r\n"
          "Address=a\r\nPort=1\r\nUserName=u\r\nPassword=p\r\n");
    withDialog([](TfrmOptions &d) {
        QTest::mouseClick(in<QPushButton>(d, "btnDefault"), Qt::LeftButton);
        QVERIFY(in<QLineEdit>(d, "edtAddress")->isReadOnly());
        ok(d);
    });
    QCOMPARE(file(), QByteArray("[General]\r\nAutoPaste=0\r\nAutoCopy=0\r\nDisplayLanguage=\r\nTranslator=0\r\n"
                                "[Connection]\r\nNoProxy=1\r\nAddress=a\r\nPort=1\r\nUserName=u\r\nPassword=p\r\n"));
}

void TestOptions::switchToNoProxyKeepsTexts()
{
    start("[Connection]\r\nNoProxy=0\r\nAddress=proxy\r\nPort=80\r\n");
    withDialog([](TfrmOptions &d) {
        QTest::mouseClick(in<QRadioButton>(d, "rbNoProxy"), Qt::LeftButton);
        QVERIFY(in<QLineEdit>(d, "edtPort")->isReadOnly());
        QCOMPARE(in<QLineEdit>(d, "edtPort")->text(), QStringLiteral("80"));
        ok(d);
    });
    QVERIFY(file().contains("NoProxy=1\r\nAddress=proxy\r\nPort=80\r\n"));
}

void TestOptions::noProxyKeepsStoredValues()
{
    // Merely opening and closing the dialog keeps the stored proxy.
    start("[Connection]\r\nNoProxy=1\r\nAddress=proxy.lan\r\nPort=3128\r\nUserName=me\r\nPassword=pw\r\n");
    withDialog([](TfrmOptions &d) {
        QCOMPARE(in<QLineEdit>(d, "edtAddress")->text(), QStringLiteral("proxy.lan"));
        for (const char *name : {"edtAddress", "edtPort", "edtUserName", "edtPassword"}) {
            QVERIFY(in<QLineEdit>(d, name)->isReadOnly());
            QVERIFY(in<QLineEdit>(d, name)->isEnabled());
        }
        ok(d);
    });
    QVERIFY(file().contains("NoProxy=1\r\nAddress=proxy.lan\r\nPort=3128\r\nUserName=me\r\nPassword=pw\r\n"));
}

void TestOptions::closeBoxSavesLikeOk()
{
    start(QByteArray());
    withDialog([](TfrmOptions &d) {
        QTest::mouseClick(in<QCheckBox>(d, "chkAutoPaste"), Qt::LeftButton);
        d.close();
    });
    QVERIFY(file().contains("AutoPaste=1\r\n"));
    QVERIFY(Settings.AutoPaste); // reloaded by the window
}

void TestOptions::unwritableSettings()
{
    start(QByteArray());
    writeBytes(m_dir.filePath("plain"), "x");
    SettingsFileName = m_dir.filePath("plain/Zudadir2Evidivezav.ini");
    bool stayedOpen = false;
    withDialog([&](TfrmOptions &d) {
        ok(d);
        stayedOpen = d.isVisible();
        // The way out: the close box, after the failure, closes without saving.
        d.close();
        QVERIFY(!d.isVisible());
    });
    QVERIFY(stayedOpen);
    QCOMPARE(m_errors, QStringList{"Unable to write to " + SettingsFileName});
    QCOMPARE(readBytes(m_dir.filePath("plain")), QByteArray("x"));
}

void TestOptions::windowReloadsAfterwards()
{
    start(QByteArray());
    withDialog([](TfrmOptions &d) {
        QTest::mouseClick(in<QRadioButton>(d, "rbManuallyProxy"), Qt::LeftButton);
        in<QLineEdit>(d, "edtAddress")->setText("proxy.lan");
        in<QLineEdit>(d, "edtPort")->setText("8080");
        in<QLineEdit>(d, "edtUserName")->setText("me");
        QTest::mouseClick(in<QCheckBox>(d, "chkAutoCopy"), Qt::LeftButton);
        ok(d);
    });
    QVERIFY(Settings.AutoCopy);
    QVERIFY(!Settings.NoProxy);
    QCOMPARE(m_window->HTTP().settings().proxyServer, QStringLiteral("proxy.lan"));
    QCOMPARE(m_window->HTTP().settings().proxyPort, 8080);
    QCOMPARE(m_window->HTTP().settings().proxyUserName, QStringLiteral("me"));

    // A port that is no number is saved as typed and reported by the window.
    withDialog([](TfrmOptions &d) {
        in<QLineEdit>(d, "edtPort")->setText("80a");
        ok(d);
    });
    QCOMPARE(m_errors, QStringList{"'80a' is not a valid integer value"});
    QVERIFY(file().contains("Port=80a\r\n"));
    QVERIFY(QApplication::topLevelWidgets().size() >= 1);
    QVERIFY(m_window->findChildren<TfrmOptions *>().isEmpty());
}

void TestOptions::languageFile()
{
    writeBytes(m_dir.filePath("English.ini"),
               "[TfrmOptions]\r\nfrmOptions_Caption=Tuy chon\r\ntsGeneral_Caption=Chung\r\n"
               "tsConnection_Caption=<Ket noi>\r\nchkAutoCopy_Caption=Tu dong sao chep\r\n"
               "labAddress_Caption=Dia chi cua may chu :\r\nbtnOk_Caption=&Dong y\r\nbtnDefault_Caption=\r\n"
               "strInfomation=Thong tin\r\n");
    start(QByteArray());
    const QByteArray before = readBytes(m_dir.filePath("English.ini"));
    withDialog([](TfrmOptions &d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Options")); // the title is not translated
        auto *pages = in<QTabWidget>(d, "PageControl1");
        QCOMPARE(pages->tabText(0), QStringLiteral("Chung"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Ket noi"));
        QCOMPARE(in<QCheckBox>(d, "chkAutoCopy")->text(), QStringLiteral("Tu dong sao chep"));
        QCOMPARE(in<QCheckBox>(d, "chkAutoPaste")->text(),
                 QStringLiteral("Auto paste from clipboard in source language."));
        QCOMPARE(in<QPushButton>(d, "btnOk")->text(), QStringLiteral("&Dong y"));
        QCOMPARE(in<QPushButton>(d, "btnDefault")->text(), QStringLiteral("Default"));
        // A right-aligned label keeps its right edge with a longer text.
        auto *address = in<QLabel>(d, "labAddress");
        QCOMPARE(address->text(), QStringLiteral("Dia chi cua may chu :"));
        QCOMPARE(address->width(), address->sizeHint().width());
        ok(d);
    });
    QCOMPARE(readBytes(m_dir.filePath("English.ini")), before); // nothing written
}

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestOptions test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_options.moc"
