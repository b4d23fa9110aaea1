#include "panes/Documents.h"

#include "panes/Panes.h"
#include "panes/RichStyle.h"
#include "platform/AppError.h"
#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

// Windows-1252 for the bytes 0x80 to 0x9F; the five it leaves undefined keep
// their own code points, as Windows reads them.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? Cp1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

QString decodeStrict(QStringConverter::Encoding encoding, const QByteArray &bytes, bool *ok)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    *ok = !decoder.hasError();
    return text;
}

QString htmlEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString cssColor(const QColor &color)
{
    return color.isValid() ? color.name(QColor::HexRgb) : QStringLiteral("#000000");
}

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString DecodeTextFile(const QByteArray &bytes)
{
    QString text;
    bool ok = true;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    else if (bytes.startsWith("\xFF\xFE"))
        text = QStringDecoder(QStringConverter::Utf16LE, QStringDecoder::Flag::Stateless).decode(bytes.mid(2));
    else if (bytes.startsWith("\xFE\xFF"))
        text = QStringDecoder(QStringConverter::Utf16BE, QStringDecoder::Flag::Stateless).decode(bytes.mid(2));
    else {
        text = decodeStrict(QStringConverter::Utf8, bytes, &ok);
        if (!ok)
            text = fromWindows1252(bytes);
    }
    text.replace(QChar(u'\0'), QChar(u'?'));
    return text;
}

void AppendFileText(QTextEdit *pane, const QString &text, const TRVStyle &style)
{
    if (text.isEmpty())
        return; // an empty file adds nothing
    QString lines;
    lines.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            // CR LF and LF CR are one break; a lone CR or LF is one too.
            const QChar other = c == u'\r' ? u'\n' : u'\r';
            if (i + 1 < n && text.at(i + 1) == other)
                ++i;
            lines += QChar::LineSeparator;
        } else if (c == u'\f' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            lines += QChar::LineSeparator;
        } else {
            lines += c;
        }
    }

    lines = WithoutFrameMarks(std::move(lines));
    QTextDocument *document = pane->document();
    const QTextCharFormat format = style.charFormat(0);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    if (document->isEmpty()) {
        cursor.setBlockFormat(style.blockFormat(0));
        cursor.setBlockCharFormat(format);
    } else {
        cursor.insertBlock(style.blockFormat(0), format);
    }
    cursor.insertText(lines, format);
    cursor.endEditBlock();
}

QByteArray DocumentAsText(const QTextDocument &document)
{
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            text += QLatin1String("\r\n");
        for (const QChar c : block.text()) {
            if (c == QChar::LineSeparator)
                text += QLatin1String("\r\n");
            else if (c != QChar::ObjectReplacementCharacter)
                text += c;
        }
    }
    QByteArray bytes("\xFF\xFE", 2);
    bytes += QStringEncoder(QStringConverter::Utf16LE).encode(text);
    return bytes;
}

QByteArray DocumentAsHtml(const QTextDocument &document, const QString &title, const TRVStyle &style)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n"
                                  "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
                                  "<title>%1</title>\n</head>\n<body style=\"white-space: pre-wrap\">\n")
                       .arg(htmlEscaped(title));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int paraStyle =
            qBound(0, block.blockFormat().intProperty(TRVStyle::ParaStyleProperty), style.paraStyleCount() - 1);
        const bool centred = style.paraStyle(paraStyle).alignment & Qt::AlignHCenter;
        html += centred ? QStringLiteral("<p style=\"margin: 0; text-align: center\">")
                        : QStringLiteral("<p style=\"margin: 0\">");
        bool empty = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QString text = fragment.text();
            text.remove(QChar::ObjectReplacementCharacter);
            if (text.isEmpty())
                continue;
            empty = false;
            const int no =
                qBound(0, fragment.charFormat().intProperty(TRVStyle::TextStyleProperty), style.textStyleCount() - 1);
            const TRVStyle::TextStyle &s = style.textStyle(no);
            QString css = QStringLiteral("font-family: '%1'; font-size: %2pt; color: %3")
                              .arg(htmlEscaped(s.fontName))
                              .arg(s.size)
                              .arg(cssColor(s.color));
            if (s.bold)
                css += QLatin1String("; font-weight: bold");
            if (s.italic)
                css += QLatin1String("; font-style: italic");
            if (s.underline)
                css += QLatin1String("; text-decoration: underline");
            html += QStringLiteral("<span style=\"%1\">%2</span>")
                        .arg(css, htmlEscaped(text).replace(QChar::LineSeparator, QLatin1String("<br>")));
        }
        if (empty)
            html += QLatin1String("<br>");
        html += QLatin1String("</p>\n");
    }
    html += QLatin1String("</body>\n</html>\n");
    return html.toUtf8();
}

bool IsTextFileName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && name.mid(dot).compare(QLatin1String(".txt"), Qt::CaseInsensitive) == 0;
}

QString HtmlTitleFor(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 ? name.left(dot) : name;
}

QByteArray ReadWholeFile(const QString &path)
{
    QByteArray bytes;
    const int error = ReadFileBytes(path, bytes, MaxOpenFileSize);
    if (error == EINVAL)
        throw AppError(QStringLiteral("Cannot read %1: Not a regular file").arg(path));
    if (error == EFBIG)
        throw AppError(QStringLiteral("Cannot read %1: File too large (more than %2 MiB)")
                           .arg(path)
                           .arg(MaxOpenFileSize / (1024 * 1024)));
    if (error != 0)
        throw AppError(QStringLiteral("Cannot read %1: %2").arg(path, reason(error)));
    return bytes;
}

void WriteWholeFile(const QString &path, const QByteArray &bytes)
{
    const int error = WriteFileAtomically(path, bytes, DefaultNewFileMode(), false);
    if (error != 0)
        throw AppError(QStringLiteral("Cannot write %1: %2").arg(path, reason(error)));
}
