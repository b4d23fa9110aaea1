#include "panes/Panes.h"

#include "panes/RichStyle.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

TRichViewEdit::TRichViewEdit(QWidget *parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(false);
}

bool TRichViewEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText();
}

void TRichViewEdit::insertFromMimeData(const QMimeData *source)
{
    if (source->hasText())
        textCursor().insertText(WithoutFrameMarks(source->text()));
}

TRichView::TRichView(QWidget *parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    connect(this, &QTextBrowser::anchorClicked, this, &TRichView::reportLink);
}

void TRichView::mousePressEvent(QMouseEvent *event)
{
    m_pressedAt = cursorForPosition(event->position().toPoint()).position();
    QTextBrowser::mousePressEvent(event);
}

void TRichView::reportLink(const QUrl &link)
{
    // The item clicked: the link run under the press, or, when the link was
    // chosen with the keyboard, the selected one.
    const QString href = link.toString();
    QTextCursor selection = textCursor();
    const int at = selection.hasSelection() ? selection.selectionStart() : m_pressedAt;
    const QTextBlock block = document()->findBlock(qMax(0, at));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int start = fragment.position();
        const int end = start + fragment.length();
        if (fragment.charFormat().isAnchor() && at >= start && at <= end) {
            emit linkActivated(fragment.text());
            return;
        }
    }
    emit linkActivated(href);
}

namespace {

bool trimmable(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
        return true;
    default:
        break;
    }
    const QChar::Direction direction = QChar::direction(c);
    return direction == QChar::DirS || direction == QChar::DirWS;
}

// Replaces the pane's content with text whose paragraphs are separated by
// U+2029, all in style 0.
void replaceContent(QTextEdit *pane, const QString &input, const TRVStyle &style)
{
    const QString text = WithoutFrameMarks(input);
    QTextDocument *document = pane->document();
    const QTextCharFormat charFormat = style.charFormat(0);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setBlockFormat(style.blockFormat(0));
    cursor.setBlockCharFormat(charFormat);
    cursor.setCharFormat(charFormat);
    if (!text.isEmpty())
        cursor.insertText(text, charFormat);
    cursor.endEditBlock();
    pane->setCurrentCharFormat(charFormat);
}

} // namespace

QString WithoutFrameMarks(QString text)
{
    text.replace(QChar(0xFDD0), QChar::ReplacementCharacter);
    text.replace(QChar(0xFDD1), QChar::ReplacementCharacter);
    return text;
}

QString TrimPaneEnds(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end) {
        char32_t c = text.at(begin).unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(c) && begin + 1 < end && text.at(begin + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(begin), text.at(begin + 1));
            width = 2;
        }
        if (!trimmable(c))
            break;
        begin += width;
    }
    while (end > begin) {
        char32_t c = text.at(end - 1).unicode();
        qsizetype width = 1;
        if (QChar::isLowSurrogate(c) && end - 2 >= begin && text.at(end - 2).isHighSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(end - 2), text.at(end - 1));
            width = 2;
        }
        if (!trimmable(c))
            break;
        end -= width;
    }
    return text.mid(begin, end - begin);
}

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n' && c != QChar::ParagraphSeparator && c != QChar::LineSeparator)
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (n > 0)
        lines << text.mid(start);
    return lines;
}

QString PaneText(const QTextDocument &document)
{
    QString result;
    result.reserve(document.characterCount() + document.blockCount());
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (!first)
            result += QLatin1String("\r\n");
        first = false;
        const QString line = block.text();
        for (const QChar c : line) {
            if (c == QChar::LineSeparator)
                result += QLatin1String("\r\n");
            else if (c != QChar::ObjectReplacementCharacter) // a picture has no text
                result += c;
        }
    }
    return TrimPaneEnds(result);
}

void FillPane(QTextEdit *pane, const QString &text, const TRVStyle &style)
{
    // Lines become paragraphs; a final line break ends the last line instead
    // of starting an empty one.
    QStringList lines = SplitLines(text);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    replaceContent(pane, lines.join(QChar::ParagraphSeparator), style);
}

void ShowMessageInPane(QTextEdit *pane, const QString &text, const TRVStyle &style)
{
    // One paragraph; its line breaks become breaks inside it.
    replaceContent(pane, SplitLines(text).join(QChar::LineSeparator), style);
}

void ClearPane(QTextEdit *pane, const TRVStyle &style)
{
    replaceContent(pane, QString(), style);
}

QString ReadClipboardText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return QString();
    return data->text();
}

void WriteClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}
