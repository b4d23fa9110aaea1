#include "panes/Documents.h"
#include "panes/LinkTests.h"
#include "panes/Panes.h"
#include "panes/RichStyle.h"
#include "platform/AppError.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

using namespace testsupport;

// Reading text files into a pane, writing a pane as text or HTML, and the
// link tests.
class TestDocuments : public QObject
{
    Q_OBJECT

    TRVStyle m_style;
    QTemporaryDir m_dir;

private slots:
    void decode_data();
    void decode();
    void append_data();
    void append();
    void appendKeepsWhatThePaneHolds();

    void textFormat_data();
    void textFormat();
    void savedTextReadsBack();
    void html();
    void fileNames_data();
    void fileNames();
    void fileFailures();
    void openRefusesWhatIsNoTextFile();
    void saveLeavesReadOnlyFileAlone();

    void urlPrefix_data();
    void urlPrefix();
    void mailAddress_data();
    void mailAddress();
};

void TestDocuments::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ASCII") << QByteArray("plain text") << "plain text";
    QTest::newRow("UTF-8 Vietnamese") << QByteArray("Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t") << QString::fromUtf8("Tiếng Việt");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBFTi\xE1\xBA\xBFng") << QString::fromUtf8("Tiếng");
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFEx\0\xE9\0", 6) << QString::fromUtf8("xé");
    QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF\0x\0\xE9", 6) << QString::fromUtf8("xé");
    QTest::newRow("Windows-1252") << QByteArray("caf\xE9 \x80 \x93quoted\x94") << QString::fromUtf8("café € “quoted”");
    QTest::newRow("undefined Windows-1252 byte") << QByteArray("a\x81z") << QString::fromUtf8("a\u0081z");
    QTest::newRow("NUL becomes ?") << bytesOf("a\0b") << "a?b";
    QTest::newRow("NUL in UTF-16") << QByteArray("\xFF\xFE" "a\0\0\0b\0", 8) << "a?b";
    // A damaged file's dangling last byte shows as a replacement character.
    QTest::newRow("UTF-16 LE of odd length") << QByteArray("\xFF\xFE" "a\0b", 5) << QString::fromUtf8("a\uFFFD");
    QTest::newRow("UTF-16 BE of odd length") << QByteArray("\xFE\xFF\0a\0", 5) << QString::fromUtf8("a\uFFFD");
    QTest::newRow("empty") << QByteArray() << "";
}

void TestDocuments::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DecodeTextFile(bytes), text);
}

void TestDocuments::append_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("lines");     // lines in the one paragraph
    QTest::addColumn<QString>("paneText");

    QTest::newRow("CR LF with a final break") << "a\r\nb\r\n" << 3 << "a\r\nb";
    QTest::newRow("LF only") << "a\nb\nc" << 3 << "a\r\nb\r\nc";
    QTest::newRow("CR only") << "a\rb" << 2 << "a\r\nb";
    QTest::newRow("LF CR is one break") << "a\n\rb" << 2 << "a\r\nb";
    QTest::newRow("form feed") << "page one\fpage two" << 2 << "page one\r\npage two";
    QTest::newRow("tab stays in its line") << "a\tb" << 1 << "a\tb";
    QTest::newRow("blank lines kept inside") << "a\r\n\r\nb" << 3 << "a\r\n\r\nb";
}

void TestDocuments::append()
{
    QFETCH(QString, file);
    QFETCH(int, lines);
    QFETCH(QString, paneText);
    TRichViewEdit pane;
    m_style.attach(&pane);
    AppendFileText(&pane, file, m_style);
    QCOMPARE(pane.document()->blockCount(), 1);
    QCOMPARE(pane.document()->begin().text().split(QChar::LineSeparator).size(), lines);
    QCOMPARE(PaneText(*pane.document()), paneText);
}

void TestDocuments::appendKeepsWhatThePaneHolds()
{
    TRichViewEdit pane;
    m_style.attach(&pane);
    FillPane(&pane, "kept\r\nhere", m_style);
    AppendFileText(&pane, "from\r\nfile", m_style);
    QCOMPARE(pane.document()->blockCount(), 3);
    QCOMPARE(PaneText(*pane.document()), QStringLiteral("kept\r\nhere\r\nfrom\r\nfile"));
    AppendFileText(&pane, "", m_style); // an empty file adds nothing
    QCOMPARE(pane.document()->blockCount(), 3);
}

void TestDocuments::textFormat_data()
{
    QTest::addColumn<QStringList>("paragraphs");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("one paragraph x") << QStringList{"x"} << QByteArray("\xFF\xFEx\0", 4);
    QTest::newRow("two paragraphs") << QStringList{"a", "b"} << QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0", 10);
    QTest::newRow("empty lines are written too") << QStringList{"", "a", ""}
                                                 << QByteArray("\xFF\xFE\r\0\n\0a\0\r\0\n\0", 12);
    QTest::newRow("tab") << QStringList{"a\tb"} << QByteArray("\xFF\xFE" "a\0\t\0b\0", 8);
    QTest::newRow("Vietnamese") << QStringList{QString::fromUtf8("ệ")} << QByteArray("\xFF\xFE\xC7\x1E", 4);
}

void TestDocuments::textFormat()
{
    QFETCH(QStringList, paragraphs);
    QFETCH(QByteArray, bytes);
    TRichView pane;
    m_style.attach(&pane);
    FillPane(&pane, paragraphs.join("\r\n") + (paragraphs.last().isEmpty() ? "\r\n" : ""), m_style);
    QCOMPARE(DocumentAsText(*pane.document()), bytes);
}

void TestDocuments::savedTextReadsBack()
{
    // What Save writes, Open reads back unchanged.
    TRichView source;
    m_style.attach(&source);
    const QString text = QString::fromUtf8("Xin chào\r\nthế giới\tvà\r\n\r\nbạn");
    FillPane(&source, text, m_style);
    const QString path = m_dir.filePath("round.txt");
    WriteWholeFile(path, DocumentAsText(*source.document()));

    TRichViewEdit target;
    m_style.attach(&target);
    AppendFileText(&target, DecodeTextFile(ReadWholeFile(path)), m_style);
    QCOMPARE(PaneText(*target.document()), text);
}

void TestDocuments::html()
{
    TRichView pane;
    m_style.attach(&pane);
    QTextCursor cursor(pane.document());
    cursor.insertText("Tom & \"Jerry\" <3 'x'", m_style.charFormat(0));
    cursor.insertText(" heading", m_style.charFormat(1));
    cursor.insertBlock(m_style.blockFormat(1), m_style.charFormat(0));
    cursor.insertText(QString::fromUtf8("tab\there") + QChar(QChar::LineSeparator) + QString::fromUtf8("dòng"),
                      m_style.charFormat(0));
    cursor.insertBlock(m_style.blockFormat(0), m_style.charFormat(0));

    const QString page = QString::fromUtf8(DocumentAsHtml(*pane.document(), "a<b>&c", m_style));
    QVERIFY(page.contains("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"));
    QVERIFY(page.contains("<title>a&lt;b&gt;&amp;c</title>"));
    QVERIFY(page.contains("Tom &amp; &quot;Jerry&quot; &lt;3 &#39;x&#39;"));
    QVERIFY(page.contains("font-family: 'Tahoma'; font-size: 14pt; color: #000000\">Tom"));
    QVERIFY(page.contains("font-family: 'Arial'; font-size: 10pt; color: #0000ff; font-weight: bold\"> heading"));
    QVERIFY(page.contains("text-align: center\"><span"));
    QVERIFY(page.contains(QString::fromUtf8("tab\there<br>dòng")));
    QCOMPARE(page.count("<p "), 3);
    QVERIFY(page.contains("<p style=\"margin: 0\"><br></p>")); // the empty last paragraph
    QVERIFY(!page.contains("<script"));
}

void TestDocuments::fileNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("txt") << "/x/notes.txt" << true << "notes";
    QTest::newRow("TXT") << "/x/NOTES.TXT" << true << "NOTES";
    QTest::newRow("tXt") << "/x/a.tXt" << true << "a";
    QTest::newRow("html") << "/x/report.final.html" << false << "report.final";
    QTest::newRow("htm") << "/x/page.htm" << false << "page";
    QTest::newRow("doc") << "/x/letter.doc" << false << "letter";
    QTest::newRow("no extension") << "/x/readme" << false << "readme";
    QTest::newRow("dot in folder only") << "/x.txt/readme" << false << "readme";
    QTest::newRow("txt in the middle") << "/x/a.txt.html" << false << "a.txt";
}

void TestDocuments::fileNames()
{
    QFETCH(QString, path);
    QFETCH(bool, text);
    QFETCH(QString, title);
    QCOMPARE(IsTextFileName(path), text);
    QCOMPARE(HtmlTitleFor(path), title);
}

void TestDocuments::fileFailures()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("plain"), "x");
    const QString old = dir.filePath("old.txt");
    writeBytes(old, "old content");

    // Root writes into read-only folders, so these fail by their shape.
    for (const QString &path : {dir.filePath("plain/out.txt"), dir.filePath("missing/out.txt")}) {
        try {
            WriteWholeFile(path, "data");
            QFAIL("the write should have failed");
        } catch (const AppError &e) {
            QVERIFY2(e.text().startsWith("Cannot write " + path + ": "), qPrintable(e.text()));
            QVERIFY(e.text().contains(path.contains("plain/") ? "Not a directory" : "No such file or directory"));
        }
    }
    try {
        WriteWholeFile(dir.path(), "data");
        QFAIL("writing over a folder should have failed");
    } catch (const AppError &e) {
        QCOMPARE(e.text(), "Cannot write " + dir.path() + ": Is a directory");
    }
    QCOMPARE(readBytes(old), QByteArray("old content"));

    for (const QString &path : {dir.filePath("nothing.txt"), dir.path()}) {
        try {
            ReadWholeFile(path);
            QFAIL("the read should have failed");
        } catch (const AppError &e) {
            QVERIFY2(e.text().startsWith("Cannot read " + path + ": "), qPrintable(e.text()));
        }
    }
    WriteWholeFile(old, "new");
    QCOMPARE(ReadWholeFile(old), QByteArray("new"));
    QCOMPARE(folderEntries(dir.path()), QStringList({"old.txt", "plain"}));

    // A name at the length limit is saved like any other.
    const QString longName = dir.filePath(QString(251, u'n') + ".txt");
    WriteWholeFile(longName, "long");
    QCOMPARE(ReadWholeFile(longName), QByteArray("long"));
    QFile::remove(longName);
}

void TestDocuments::openRefusesWhatIsNoTextFile()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.txt");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString big = dir.filePath("big.txt");
    QVERIFY(writeBytes(big, QByteArray(MaxOpenFileSize + 1, 'x')));
    const QString limit = dir.filePath("limit.txt");
    QVERIFY(writeBytes(limit, QByteArray(MaxOpenFileSize, 'x')));

    // A pipe with no writer would hold the window at open; a device like
    // /dev/zero has no end and would fill the memory.
    const QList<std::pair<QString, QString>> refused = {
        {fifo, "Cannot read " + fifo + ": Not a regular file"},
        {"/dev/zero", "Cannot read /dev/zero: Not a regular file"},
        {big, "Cannot read " + big + ": File too large (more than 2 MiB)"},
    };
    for (const auto &[path, message] : refused) {
        try {
            ReadWholeFile(path);
            QFAIL(qPrintable("reading " + path + " should have failed"));
        } catch (const AppError &e) {
            QCOMPARE(e.text(), message);
        }
    }
    QCOMPARE(ReadWholeFile(limit).size(), MaxOpenFileSize);
}

void TestDocuments::saveLeavesReadOnlyFileAlone()
{
    // Root writes read-only files all the same; a user does not.
    QTemporaryDir dir;
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0);
    const QString kept = dir.filePath("kept.txt");
    QVERIFY(writeBytes(kept, "precious"));
    QVERIFY(::chown(QFile::encodeName(kept).constData(), 65534, 65534) == 0 || ::geteuid() != 0);
    QVERIFY(::chmod(QFile::encodeName(kept).constData(), 0444) == 0);
    const int result = runAsNobody([&] {
        try {
            WriteWholeFile(kept, "new");
            return 0;
        } catch (const AppError &e) {
            return e.text() == "Cannot write " + kept + ": Permission denied" ? 1 : 2;
        }
    });
    if (result < 0)
        QSKIP("needs root to act as an unprivileged user");
    QCOMPARE(result, 1);
    QCOMPARE(readBytes(kept), QByteArray("precious"));
    QCOMPARE(folderEntries(dir.path()), QStringList{"kept.txt"});
}

void TestDocuments::urlPrefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("prefix");
    QTest::newRow("http") << "http://example.com" << true;
    QTest::newRow("HTTPS upper") << "HTTPS://EXAMPLE.COM" << true;
    QTest::newRow("mixed case www") << "wWw.example.com" << true;
    QTest::newRow("ftp dot") << "ftp.example.com" << true;
    QTest::newRow("ftp scheme") << "Ftp://host/file" << true;
    QTest::newRow("file") << "file:///tmp/x" << true;
    QTest::newRow("gopher") << "gopher://x" << true;
    QTest::newRow("mailto") << "MailTo:someone@example.com" << true;
    QTest::newRow("mailto slashes") << "mailto://x" << true;
    QTest::newRow("news") << "news:comp.lang" << true;
    QTest::newRow("telnet") << "telnet:host" << true;
    QTest::newRow("wais") << "wais:x" << true;
    QTest::newRow("prefix alone") << "HTTP://" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("too short") << "http:/" << false;
    QTest::newRow("not at the start") << " http://x" << false;
    QTest::newRow("mail address") << "someone@example.com" << false;
    QTest::newRow("dotless i is no i") << QString::fromUtf8("fıle://x") << false;
}

void TestDocuments::urlPrefix()
{
    QFETCH(QString, text);
    QFETCH(bool, prefix);
    QCOMPARE(HasUrlPrefix(text), prefix);
}

void TestDocuments::mailAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("mail");
    QTest::newRow("address") << "someone@example.com" << true;
    QTest::newRow("dot before and after") << "first.last@mail.example.org" << true;
    QTest::newRow("dot only before @") << "first.last@localhost" << false;
    QTest::newRow("no dot") << "someone@example" << false;
    QTest::newRow("no @") << "example.com" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("two @") << "a@b@c.d" << true;
}

void TestDocuments::mailAddress()
{
    QFETCH(QString, text);
    QFETCH(bool, mail);
    QCOMPARE(LooksLikeMailAddress(text), mail);
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
