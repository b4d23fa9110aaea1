// The Open command on arbitrary file contents: DecodeTextFile, then
// AppendFileText into the source pane, first into an empty pane and then once
// more after what it holds, and PaneText. Rules checked:
//  - no NUL survives decoding;
//  - without a byte-order mark, well-formed UTF-8 reads as UTF-8 and anything
//    else as Windows-1252, one character per byte;
//  - the pane then reads as the file's text with every line break (CR LF,
//    LF CR, CR, LF, form feed, U+2028, U+2029) as CR LF and U+FDD0, U+FDD1 as
//    U+FFFD (never as a new paragraph), and a second file after a first reads
//    as the first, a line break, and the second.
#include "FuzzSupport.h"

#include "panes/Documents.h"
#include "panes/Panes.h"
#include "panes/RichStyle.h"

#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

TRVStyle *style = nullptr;

// Windows-1252 read by hand: the 0x80 to 0x9F block, the five bytes it leaves
// undefined as their own code points.
char16_t fromWindows1252(unsigned char byte)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    return byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : char16_t(byte);
}

// The text as the pane shows it, before its ends are trimmed.
QString asPaneLines(const QString &text)
{
    QString out;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            const QChar other = c == u'\r' ? u'\n' : u'\r';
            if (i + 1 < n && text.at(i + 1) == other)
                ++i;
            out += QStringLiteral("\r\n");
        } else if (c == u'\f' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            out += QStringLiteral("\r\n");
        } else if (c == QChar(0xFDD0) || c == QChar(0xFDD1)) {
            out += QChar::ReplacementCharacter; // what the document would take for frame marks
        } else if (c != QChar::ObjectReplacementCharacter) { // PaneText leaves pictures out
            out += c;
        }
    }
    return out;
}

void checkDecoding(const QByteArray &bytes, const QString &text)
{
    fuzz::check(!text.contains(QChar(u'\0')), "a NUL survived decoding");
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return;
    if (fuzz::isValidUtf8(bytes)) {
        QString expected = QString::fromUtf8(bytes);
        expected.replace(QChar(u'\0'), QChar(u'?'));
        fuzz::check(text == expected, "well-formed UTF-8 read otherwise", fuzz::shown(text));
    } else {
        fuzz::check(text.size() == bytes.size(), "Windows-1252 not one character per byte");
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const char16_t want = bytes.at(i) == '\0' ? u'?' : fromWindows1252(static_cast<unsigned char>(bytes.at(i)));
            fuzz::check(text.at(i).unicode() == want, "Windows-1252 byte read otherwise",
                        QStringLiteral("byte %1 at %2").arg(static_cast<unsigned char>(bytes.at(i))).arg(i));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::quietQt();
    fuzz::ensureApplication();
    style = new TRVStyle;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString text = DecodeTextFile(bytes);
    checkDecoding(bytes, text);

    const QString lines = asPaneLines(text);
    auto pane = std::make_unique<TRichViewEdit>();
    style->attach(pane.get());

    AppendFileText(pane.get(), text, *style);
    const QString once = PaneText(*pane->document());
    fuzz::check(once == TrimPaneEnds(lines), "the pane reads otherwise than the file",
                fuzz::shown(once) + QStringLiteral("\n  expected ") + fuzz::shown(TrimPaneEnds(lines)));

    // Opened a second time, after what the pane holds: a new paragraph.
    AppendFileText(pane.get(), text, *style);
    const QString twice = PaneText(*pane->document());
    const QString expected = text.isEmpty() ? QString() : TrimPaneEnds(lines + QStringLiteral("\r\n") + lines);
    fuzz::check(twice == expected, "the pane reads otherwise after a second file",
                fuzz::shown(twice) + QStringLiteral("\n  expected ") + fuzz::shown(expected));
    return 0;
}
