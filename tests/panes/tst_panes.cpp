#include "panes/Panes.h"
#include "panes/RichStyle.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QtTest>

namespace {

// A pane's paragraphs as the user sees them, line breaks inside a paragraph
// shown as "|".
QStringList paragraphs(const QTextEdit &pane)
{
    QStringList out;
    const QTextDocument *document = pane.document();
    if (document->isEmpty())
        return out;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        out << block.text().replace(QChar::LineSeparator, u'|');
    return out;
}

// Builds a pane from paragraphs; inside a paragraph, "|" is a line break.
void build(QTextEdit &pane, const TRVStyle &style, const QStringList &paras)
{
    pane.clear();
    QTextCursor cursor(pane.document());
    bool first = true;
    for (QString para : paras) {
        if (!first)
            cursor.insertBlock(style.blockFormat(0), style.charFormat(0));
        first = false;
        cursor.insertText(para.replace(u'|', QChar::LineSeparator), style.charFormat(0));
    }
}

} // namespace

class TestPanes : public QObject
{
    Q_OBJECT

    TRVStyle m_style;
    TRichViewEdit m_pane;

private slots:
    void initTestCase() { m_style.attach(&m_pane); }

    void paneText_data();
    void paneText();
    void paneTextJoinsRunsOfOneLine();
    void trimEnds_data();
    void trimEnds();

    void fillPane_data();
    void fillPane();
    void messageIsOneParagraph();
    void clear();
    void styleChangeKeepsContent();
    void sourcePanePastesPlainText();
};

void TestPanes::paneText_data()
{
    QTest::addColumn<QStringList>("paras");
    QTest::addColumn<QString>("text");

    QTest::newRow("trimmed at both ends") << QStringList{"  a", "b  ", ""} << "a\r\nb";
    QTest::newRow("only blanks") << QStringList{"  ", "", " \t "} << "";
    QTest::newRow("empty pane") << QStringList{} << "";
    QTest::newRow("inner empty lines stay") << QStringList{"a", "", "b"} << "a\r\n\r\nb";
    QTest::newRow("tab inside a line") << QStringList{"a\tb"} << "a\tb";
    QTest::newRow("line break inside a paragraph") << QStringList{"a|b", "c"} << "a\r\nb\r\nc";
    QTest::newRow("inner blanks untouched") << QStringList{"a \u00A0 b"} << QString::fromUtf8("a \u00A0 b");
    QTest::newRow("picture has no text") << QStringList{QString(QChar::ObjectReplacementCharacter) + "x"} << "x";
}

void TestPanes::paneText()
{
    QFETCH(QStringList, paras);
    QFETCH(QString, text);
    build(m_pane, m_style, paras);
    QCOMPARE(PaneText(*m_pane.document()), text);
}

void TestPanes::paneTextJoinsRunsOfOneLine()
{
    // Two differently styled runs and a tab on one line stay one line.
    m_pane.clear();
    QTextCursor cursor(m_pane.document());
    cursor.insertText("Hello ", m_style.charFormat(0));
    cursor.insertText("world", m_style.charFormat(1));
    cursor.insertText("\tagain", m_style.charFormat(3));
    QCOMPARE(PaneText(*m_pane.document()), QStringLiteral("Hello world\tagain"));
}

void TestPanes::trimEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("nothing to trim") << "abc" << "abc";
    QTest::newRow("spaces tabs line ends") << " \t\r\nabc\r\n\t " << "abc";
    QTest::newRow("no-break space and BOM") << QString::fromUtf8("\u00A0\uFEFFabc\u00A0") << "abc";
    QTest::newRow("ideographic space") << QString::fromUtf8("\u3000abc\u3000") << "abc";
    QTest::newRow("zero width space and joiners") << QString::fromUtf8("\u200Babc\u200D") << "abc";
    QTest::newRow("line and paragraph separators") << QString::fromUtf8("\u2028abc\u2029") << "abc";
    QTest::newRow("controls") << QString::fromUtf8("\u0001\u007Fabc\u0085") << "abc";
    QTest::newRow("format character beyond the BMP") << QString::fromUtf8("\U000E0001abc\U000E0001") << "abc";
    QTest::newRow("emoji at the ends stay") << QString::fromUtf8("\U0001F600abc\U0001F600")
                                            << QString::fromUtf8("\U0001F600abc\U0001F600");
    QTest::newRow("inside untouched") << QString::fromUtf8(" a \u00A0\t b ") << QString::fromUtf8("a \u00A0\t b");
    QTest::newRow("all trimmable") << QString::fromUtf8(" \u00A0\t\r\n\uFEFF") << "";
    QTest::newRow("lone surrogate stays") << QString(QChar(0xD800)) + " " << QString(QChar(0xD800));
}

void TestPanes::trimEnds()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(TrimPaneEnds(text), trimmed);
}

void TestPanes::fillPane_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("paras");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("empty") << "" << QStringList{} << "";
    QTest::newRow("one line") << "x" << QStringList{"x"} << "x";
    QTest::newRow("final break ends the line") << "x\r\n" << QStringList{"x"} << "x";
    QTest::newRow("final empty line kept once") << "a\r\n\r\n" << QStringList{"a", ""} << "a";
    QTest::newRow("two lines") << "a\r\nb" << QStringList{"a", "b"} << "a\r\nb";
    QTest::newRow("leading empty lines") << "\r\n\r\na" << QStringList{"", "", "a"} << "a";
    QTest::newRow("lone LF and CR") << "a\nb\rc" << QStringList{"a", "b", "c"} << "a\r\nb\r\nc";
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"} << "a\r\n\r\nb";
    QTest::newRow("tabs and blanks kept") << "  a\tb  " << QStringList{"  a\tb  "} << "a\tb";
    QTest::newRow("frame marks are no frames") << QString::fromUtf8("a\uFDD0b\uFDD1c")
                                               << QStringList{QString::fromUtf8("a\uFFFDb\uFFFDc")}
                                               << QString::fromUtf8("a\uFFFDb\uFFFDc");
    QTest::newRow("Vietnamese") << QString::fromUtf8("Xin chào\r\nthế giới")
                                << QStringList{QString::fromUtf8("Xin chào"), QString::fromUtf8("thế giới")}
                                << QString::fromUtf8("Xin chào\r\nthế giới");
}

void TestPanes::fillPane()
{
    QFETCH(QString, text);
    QFETCH(QStringList, paras);
    QFETCH(QString, readBack);
    build(m_pane, m_style, {"old", "content"});
    FillPane(&m_pane, text, m_style);
    QCOMPARE(paragraphs(m_pane), paras);
    QCOMPARE(PaneText(*m_pane.document()), readBack);
    for (QTextBlock block = m_pane.document()->begin(); block.isValid(); block = block.next()) {
        QCOMPARE(block.blockFormat().intProperty(TRVStyle::ParaStyleProperty), 0);
        for (auto it = block.begin(); !it.atEnd(); ++it)
            QCOMPARE(it.fragment().charFormat().intProperty(TRVStyle::TextStyleProperty), 0);
    }
}

void TestPanes::messageIsOneParagraph()
{
    ShowMessageInPane(&m_pane, "a\r\nb", m_style);
    QCOMPARE(paragraphs(m_pane), QStringList{"a|b"});
    QCOMPARE(PaneText(*m_pane.document()), QStringLiteral("a\r\nb"));

    const QString wait = QStringLiteral("Translation, please wait ...");
    ShowMessageInPane(&m_pane, wait, m_style);
    QCOMPARE(paragraphs(m_pane), QStringList{wait});

    FillPane(&m_pane, "a\r\nb", m_style);
    QCOMPARE(paragraphs(m_pane), QStringList({"a", "b"}));
}

void TestPanes::clear()
{
    FillPane(&m_pane, "some\r\ntext", m_style);
    ClearPane(&m_pane, m_style);
    QVERIFY(m_pane.document()->isEmpty());
    QCOMPARE(PaneText(*m_pane.document()), QString());
    ClearPane(&m_pane, m_style); // an empty pane stays empty
    QVERIFY(m_pane.document()->isEmpty());
}

void TestPanes::styleChangeKeepsContent()
{
    TRVStyle style;
    TRichViewEdit first;
    TRichView second;
    style.attach(&first);
    style.attach(&second);
    QCOMPARE(first.font().family(), QStringLiteral("Tahoma"));

    FillPane(&first, "one\r\ntwo", style);
    QTextCursor cursor(second.document());
    cursor.insertText("plain ", style.charFormat(0));
    cursor.insertText("heading", style.charFormat(1));

    style.setTextStyleFont(0, "Arial", 14);
    for (QTextEdit *pane : {static_cast<QTextEdit *>(&first), static_cast<QTextEdit *>(&second)}) {
        QCOMPARE(pane->font().family(), QStringLiteral("Arial"));
        QCOMPARE(pane->font().pointSize(), 14);
        QCOMPARE(pane->document()->defaultFont().family(), QStringLiteral("Arial"));
        const QFontInfo shown(pane->document()->begin().begin().fragment().charFormat().font());
        QCOMPARE(shown.pointSize(), 14);
    }
    QCOMPARE(PaneText(*first.document()), QStringLiteral("one\r\ntwo"));
    QCOMPARE(PaneText(*second.document()), QStringLiteral("plain heading"));

    // Another style's runs take its new font; plain runs keep the plain one.
    style.setTextStyleFont(1, "Liberation Serif", 20);
    const QTextBlock block = second.document()->begin();
    auto it = block.begin();
    QCOMPARE(it.fragment().charFormat().font().pointSize(), 14);
    ++it;
    QCOMPARE(it.fragment().text(), QStringLiteral("heading"));
    QCOMPARE(it.fragment().charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Liberation Serif"));
    QCOMPARE(it.fragment().charFormat().fontPointSize(), 20.0);
    QVERIFY(it.fragment().charFormat().fontWeight() >= QFont::Bold);
}

void TestPanes::sourcePanePastesPlainText()
{
    TRichViewEdit pane;
    auto *data = new QMimeData;
    data->setHtml("<b>bold</b> <a href='http://x'>link</a>");
    data->setText("bold link");
    QApplication::clipboard()->setMimeData(data);
    pane.paste();
    QCOMPARE(pane.toPlainText(), QStringLiteral("bold link"));
    QTextCursor cursor(pane.document());
    cursor.setPosition(2);
    QVERIFY(!cursor.charFormat().isAnchor());
    QVERIFY(cursor.charFormat().fontWeight() <= QFont::Normal);

    // Frame marks from the clipboard or a drop stay text: the pane remains one
    // frame of plain paragraphs.
    pane.clear();
    auto *marks = new QMimeData;
    marks->setText(QString::fromUtf8("a\uFDD0b\uFDD1c"));
    QApplication::clipboard()->setMimeData(marks);
    pane.paste();
    QCOMPARE(pane.toPlainText(), QString::fromUtf8("a\uFFFDb\uFFFDc"));
    QVERIFY(pane.document()->rootFrame()->childFrames().isEmpty());
    QCOMPARE(pane.document()->blockCount(), 1);
}

QTEST_MAIN(TestPanes)
#include "tst_panes.moc"
