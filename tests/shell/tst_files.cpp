#include "panes/RichStyle.h"
#include "platform/Application.h"
#include "platform/ErrorDisplay.h"
#include "platform/FileDialog.h"
#include "platform/Printing.h"
#include "platform/Shell.h"
#include "settings/Params.h"
#include "shell/frm_Main.h"
#include "support/Files.h"

#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace testsupport;

// Open, Save, Print and links, through the main window's buttons, with the
// dialogs, the printer and the shell replaced by recorders.
class TestFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_errors;
    QStringList m_dialogs; // "open" / "save" per dialog shown
    QString m_answer;      // the path the next dialog returns ("" cancels)
    QList<QPair<QString, Shell::Window>> m_opened;
    std::unique_ptr<TfrmMain> m_window;

    TfrmMain &window() { return *m_window; }
    QTextEdit *pane(int tag) { return m_window->findChild<QTextEdit *>(tag == 0 ? "E1" : "E2"); }
    void click(const char *name)
    {
        QTest::mouseClick(m_window->findChild<QToolButton *>(QLatin1String(name)), Qt::LeftButton);
    }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    static QString pdfText(const QString &pdf)
    {
        QProcess tool;
        tool.start("pdftotext", {"-layout", pdf, "-"});
        tool.waitForFinished(10000);
        return QString::fromUtf8(tool.readAllStandardOutput());
    }
    static int pdfPages(const QString &pdf)
    {
        QProcess tool;
        tool.start("pdfinfo", {pdf});
        tool.waitForFinished(10000);
        for (const QByteArray &line : tool.readAllStandardOutput().split('\n')) {
            if (line.startsWith("Pages:"))
                return line.mid(6).trimmed().toInt();
        }
        return -1;
    }

private slots:
    void init()
    {
        m_errors.clear();
        m_dialogs.clear();
        m_opened.clear();
        m_answer.clear();
        ErrorDisplay::setSink([this](const QString &text) { m_errors << text; });
        FileDialog::setAnswer([this](const FileDialog &dialog) {
            m_dialogs << (dialog.mode() == FileDialog::Mode::Open ? "open" : "save");
            return m_answer;
        });
        Shell::setSink([this](const QString &target, Shell::Window w) { m_opened.append({target, w}); });
        Settings = TParams();
        m_window = std::make_unique<TfrmMain>();
        SettingsFileName = file("Zudadir2Evidivezav.ini");
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        ErrorDisplay::setSink({});
        FileDialog::setAnswer({});
        Shell::setSink({});
        Printing::setPdfOutput(QString());
    }

    void dialogsAsConfigured();
    void openAppends_data();
    void openAppends();
    void openCancelledOrFailing();
    void saveFormats_data();
    void saveFormats();
    void saveRoundTrip();
    void saveBlankPaneOpensNoDialog();
    void saveFailureKeepsOldFile();
    void print();
    void printWithoutPrinter();
    void linkClick_data();
    void linkClick();
    void plainTextIsNoLink();
};

void TestFiles::dialogsAsConfigured()
{
    const FileDialog *open = nullptr;
    const FileDialog *save = nullptr;
    FileDialog::setAnswer([&](const FileDialog &dialog) {
        (dialog.mode() == FileDialog::Mode::Open ? open : save) = &dialog;
        return QString();
    });
    window().SetPaneText(0, "text");
    click("btnOpen");
    click("btnSave");
    QVERIFY(open && save);
    QCOMPARE(open->filters(), QStringList{"Text Documents(*.txt)"});
    QCOMPARE(open->defaultSuffix(), QStringLiteral("txt"));
    QCOMPARE(save->filters(), QStringList({"Text Files(*.txt)", "HTML Files(*.html *.htm)"}));
    QCOMPARE(save->defaultSuffix(), QStringLiteral("txt"));
    // One save dialog serves both panes, so it remembers the last choice.
    window().SetPaneText(1, "result");
    const FileDialog *first = save;
    click("btnSave2");
    QCOMPARE(save, first);
}

void TestFiles::openAppends_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("added");
    QTest::newRow("UTF-8 Vietnamese") << QByteArray("Xin ch\xC3\xA0o\r\nth\xE1\xBA\xBF gi\xE1\xBB\x9Bi\r\n")
                                      << QString::fromUtf8("Xin chào\r\nthế giới");
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0", 10) << "a\r\nb";
    QTest::newRow("Windows-1252") << QByteArray("na\xEFve") << QString::fromUtf8("naïve");
    QTest::newRow("LF lines and a tab") << QByteArray("a\tb\nc") << "a\tb\r\nc";
}

void TestFiles::openAppends()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, added);
    writeBytes(file("in.txt"), bytes);
    window().SetPaneText(0, "already here");
    m_answer = file("in.txt");
    click("btnOpen");
    QCOMPARE(m_dialogs, QStringList{"open"});
    QCOMPARE(window().GetPaneText(0), "already here\r\n" + added);
    QCOMPARE(pane(0)->document()->blockCount(), 2); // the file is one new paragraph
    QVERIFY(m_errors.isEmpty());
}

void TestFiles::openCancelledOrFailing()
{
    window().SetPaneText(0, "keep me");
    m_answer.clear();
    click("btnOpen");
    QCOMPARE(window().GetPaneText(0), QStringLiteral("keep me"));
    QVERIFY(m_errors.isEmpty());

    m_answer = file("missing.txt");
    click("btnOpen");
    QCOMPARE(m_errors, QStringList{"Cannot read " + m_answer + ": No such file or directory"});
    QCOMPARE(window().GetPaneText(0), QStringLiteral("keep me"));
}

void TestFiles::saveFormats_data()
{
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("text");
    QTest::newRow("result as txt") << 1 << "out.txt" << true;
    QTest::newRow("source as TXT") << 0 << "OUT.TXT" << true;
    QTest::newRow("html") << 1 << "report.final.html" << false;
    QTest::newRow("htm") << 0 << "page.HTM" << false;
    QTest::newRow("doc is HTML") << 1 << "letter.doc" << false;
    QTest::newRow("no extension is HTML") << 1 << "plain" << false;
}

void TestFiles::saveFormats()
{
    QFETCH(int, tag);
    QFETCH(QString, name);
    QFETCH(bool, text);
    window().SetPaneText(0, "x");
    window().SetPaneText(1, "x");
    m_answer = file(name);
    writeBytes(m_answer, "an older file of that name");
    click(tag == 0 ? "btnSave" : "btnSave2");
    QCOMPARE(m_dialogs, QStringList{"save"});
    const QByteArray written = readBytes(m_answer);
    if (text) {
        QCOMPARE(written, QByteArray("\xFF\xFEx\0", 4));
    } else {
        QVERIFY(written.startsWith("<!DOCTYPE html>"));
        const qsizetype dot = name.lastIndexOf('.');
        QVERIFY(written.contains("<title>" + (dot < 0 ? name : name.left(dot)).toUtf8() + "</title>"));
        QVERIFY(written.contains(">x</span>"));
    }
    QVERIFY(m_errors.isEmpty());
}

void TestFiles::saveRoundTrip()
{
    const QString text = QString::fromUtf8("Dòng một\r\n\r\nDòng\tba");
    window().SetPaneText(1, text);
    m_answer = file("round.txt");
    click("btnSave2");
    window().SetPaneText(0, "");
    click("btnOpen");
    QCOMPARE(window().GetPaneText(0), text);
}

void TestFiles::saveBlankPaneOpensNoDialog()
{
    window().SetPaneText(0, "   \r\n\t ");
    m_answer = file("never.txt");
    click("btnSave");
    click("btnSave2");
    QVERIFY(m_dialogs.isEmpty());
    QVERIFY(!QFile::exists(m_answer));
}

void TestFiles::saveFailureKeepsOldFile()
{
    writeBytes(file("plain"), "a regular file");
    window().SetPaneText(1, "result");
    m_answer = file("plain/out.txt");
    click("btnSave2");
    QCOMPARE(m_errors, QStringList{"Cannot write " + m_answer + ": Not a directory"});
    QCOMPARE(readBytes(file("plain")), QByteArray("a regular file"));
}

void TestFiles::print()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext is not installed");
    const QString pdf = file("printed.pdf");
    Printing::setPdfOutput(pdf);
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << QStringLiteral("Line %1 of the translation").arg(i);
    window().SetPaneText(1, lines.join("\r\n"));
    // The user last worked in the source pane: Print still prints the result.
    window().SetPaneText(0, "SOURCE PANE TEXT");
    pane(0)->setFocus();
    click("btnPrint");
    QVERIFY(m_errors.isEmpty());
    const QString text = pdfText(pdf);
    QVERIFY(text.contains("Line 1 of the translation"));
    QVERIFY(text.contains("Line 150 of the translation"));
    QVERIFY(!text.contains("SOURCE PANE TEXT"));
    QVERIFY2(pdfPages(pdf) >= 3, qPrintable(QString::number(pdfPages(pdf))));

    // An empty result pane prints nothing.
    QFile::remove(pdf);
    click("btnClear2");
    click("btnPrint");
    QVERIFY(!QFile::exists(pdf));
}

void TestFiles::printWithoutPrinter()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a default printer");
    window().SetPaneText(1, "something");
    click("btnPrint");
    QCOMPARE(m_errors, QStringList{"No default printer is available."});
}

void TestFiles::linkClick_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("opened");
    QTest::newRow("web address") << 4 << "http://example.com/a" << "http://example.com/a";
    QTest::newRow("www") << 5 << "WWW.example.com" << "WWW.example.com";
    QTest::newRow("mailto unchanged") << 4 << "MAILTO:a@b.org" << "MAILTO:a@b.org";
    QTest::newRow("bare mail address") << 4 << "someone@example.com" << "mailto:someone@example.com";
    QTest::newRow("dot before @ only") << 5 << "first.last@host" << "first.last@host";
}

void TestFiles::linkClick()
{
    QFETCH(int, style);
    QFETCH(QString, text);
    QFETCH(QString, opened);
    // The program itself makes no link items; build one as a document could hold it.
    QTextCursor cursor(pane(1)->document());
    cursor.insertText("See ", window().RVStyle1()->charFormat(0));
    QTextCharFormat link = window().RVStyle1()->charFormat(style);
    link.setAnchorHref(text);
    cursor.insertText(text, link);
    cursor.insertText(" now.", window().RVStyle1()->charFormat(0));

    QTextCursor probe(pane(1)->document());
    probe.setPosition(6);
    const QRect where = pane(1)->cursorRect(probe);
    QTest::mouseClick(pane(1)->viewport(), Qt::LeftButton, {}, where.center() + QPoint(2, 0));
    QCOMPARE(m_opened, (QList<QPair<QString, Shell::Window>>{{opened, Shell::Window::Maximized}}));
}

void TestFiles::plainTextIsNoLink()
{
    window().SetPaneText(1, "http://example.com is plain text here");
    QTextCursor probe(pane(1)->document());
    probe.setPosition(3);
    QTest::mouseClick(pane(1)->viewport(), Qt::LeftButton, {}, pane(1)->cursorRect(probe).center());
    QVERIFY(m_opened.isEmpty());
}

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_files.moc"
