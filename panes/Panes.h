#pragma once

#include <QTextBrowser>
#include <QTextEdit>

class TRVStyle;

// The source pane: an editor that takes pasted and dropped text as plain text.
class TRichViewEdit : public QTextEdit
{
    Q_OBJECT
    Q_PROPERTY(int Tag MEMBER m_tag)
public:
    explicit TRichViewEdit(QWidget *parent = nullptr);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    int m_tag = 0;
};

// The result pane: a read-only view. A click on a link item (a run in a link
// style) is reported with the item's text; the view itself follows nothing.
class TRichView : public QTextBrowser
{
    Q_OBJECT
    Q_PROPERTY(int Tag MEMBER m_tag)
public:
    explicit TRichView(QWidget *parent = nullptr);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

signals:
    void linkActivated(const QString &text);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void reportLink(const QUrl &link);

    int m_tag = 0;
    int m_pressedAt = -1; // document position of the last press
};

// The whole text of a pane: its lines (paragraphs and the line breaks inside
// them) joined by CR LF, a tab as a tab character, and then white space,
// control and format characters removed from both ends.
QString PaneText(const QTextDocument &document);

// The lines of a text: it breaks at CR LF, a lone CR, a lone LF and the
// Unicode line and paragraph separators. A final break gives a final empty
// line; the empty text has no line.
QStringList SplitLines(const QString &text);

// Replaces the pane's content by the text, one paragraph per line in the plain
// styles. Lines break at CR LF, a lone CR and a lone LF; a last empty line
// (after a final line break) is dropped, so "" leaves the pane empty.
void FillPane(QTextEdit *pane, const QString &text, const TRVStyle &style);

// Replaces the pane's content by one paragraph that holds the whole text; its
// line breaks become breaks inside that paragraph.
void ShowMessageInPane(QTextEdit *pane, const QString &text, const TRVStyle &style);

// Empties the pane.
void ClearPane(QTextEdit *pane, const TRVStyle &style);

// Removes white space, control and format characters (Zs, Zl, Zp, Cc, Cf and
// the bidirectional segment separators and white space) from both ends.
QString TrimPaneEnds(const QString &text);

// The text with U+FDD0 and U+FDD1 written as U+FFFD. A pane's document takes
// these two noncharacters for frame marks: text that holds them (a file, a
// reply, the clipboard) would break the pane's structure.
QString WithoutFrameMarks(QString text);

// The clipboard's text, or the empty string when it holds none.
QString ReadClipboardText();
// Puts the text on the clipboard, replacing what was there.
void WriteClipboardText(const QString &text);
