#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;
class QTextEdit;
class TRVStyle;

// The text of a file as people have it: a UTF-8, UTF-16 LE or UTF-16 BE
// byte-order mark says how it is written; without one the bytes are read as
// UTF-8 when they are valid UTF-8 and as Windows-1252 otherwise. A NUL that
// survives decoding becomes "?".
QString DecodeTextFile(const QByteArray &bytes);

// Appends text read from a file to the end of the pane, after what it holds:
// the text becomes one new paragraph whose lines (ended by CR LF, LF CR, CR,
// LF or a form feed; a final break gives a final empty line) are lines inside
// that paragraph, in the plain styles.
void AppendFileText(QTextEdit *pane, const QString &text, const TRVStyle &style);

// The pane's document as a text file: UTF-16 LE with its byte-order mark, the
// lines joined by CR LF, nothing after the last one.
QByteArray DocumentAsText(const QTextDocument &document);

// The pane's document as an HTML page in UTF-8: the title, then each
// paragraph with each run in the font, size and colour of its text style.
QByteArray DocumentAsHtml(const QTextDocument &document, const QString &title, const TRVStyle &style);

// Whether a chosen file name asks for the text format: its extension (after
// the last "." of the name itself) is "txt" in any letter case. Anything else
// is saved as HTML.
bool IsTextFileName(const QString &path);

// The HTML title for a chosen file name: the name without folder and extension.
QString HtmlTitleFor(const QString &path);

// The largest file Open reads. The whole file becomes one paragraph of the
// source pane, which is laid out again on every edit; beyond this size each
// keystroke would hold the window for a noticeable time.
inline constexpr qint64 MaxOpenFileSize = 2 * 1024 * 1024;

// Whole-file reading and writing with failures that say what went wrong:
// "Cannot read <path>: <reason>", "Cannot write <path>: <reason>". Reading
// takes regular files of at most MaxOpenFileSize bytes. A write replaces the
// file in one step, so a failed one leaves the old file as it was.
QByteArray ReadWholeFile(const QString &path);
void WriteWholeFile(const QString &path, const QByteArray &bytes);
