// The INI reader on arbitrary file contents. The input is the file. It is
// looked up under the section and key names that the file itself spells (as
// far as a plain reading of its lines finds them) and under the program's own,
// and then written to, once in place, once as a new key and once as a new
// section. Rules checked:
//  - a value is at most 2047 UTF-16 units and never ends in half a character;
//  - the caller's names lose their spaces, and ASCII letter case never matters;
//  - readInteger gives the default exactly when the value is no number, and
//    readBool is readInteger's answer compared with zero;
//  - a written value reads back as written from a fresh object, and every other
//    entry read before reads the same afterwards.
#include "FuzzSupport.h"

#include "platform/AppError.h"
#include "platform/IniFile.h"

#include <QList>
#include <QPair>

#include <cstddef>
#include <cstdint>

namespace {

using Entry = QPair<QString, QString>; // section, key

const QString Missing = QStringLiteral("\x01missing\x01");
const QString Written = QStringLiteral("written value \u1EA1");
constexpr int MaxEntries = 48;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v';
}

QByteArray trimmedBlanks(const QByteArray &bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes.at(begin)))
        ++begin;
    while (end > begin && isBlank(bytes.at(end - 1)))
        --end;
    return bytes.mid(begin, end - begin);
}

// Section and key names as the file's lines spell them, in file order.
QList<Entry> namesInFile(const QByteArray &bytes)
{
    QList<Entry> entries;
    QByteArray section;
    qsizetype pos = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < bytes.size() && entries.size() < MaxEntries) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
            ++end;
        const QByteArray line = trimmedBlanks(bytes.mid(pos, end - pos));
        if (line.startsWith('[')) {
            qsizetype close = line.indexOf(']');
            section = trimmedBlanks(line.mid(1, close < 0 ? -1 : close - 1));
        } else if (!line.startsWith(';') && line.contains('=')) {
            entries.append({QString::fromUtf8(section), QString::fromUtf8(trimmedBlanks(line.left(line.indexOf('='))))});
        }
        pos = end + 1;
    }
    return entries;
}

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

QString swappedCase(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
        else if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return out;
}

// Whether one line of the file can hold the name as the caller gives it:
// nothing that ends a line or a name, no blanks at its ends (the file's names
// lose them, the caller's only lose spaces).
bool writableName(const QString &name, bool section)
{
    if (name.isEmpty() || name.startsWith(u'[') || name.startsWith(u';') || name.contains(QChar::ReplacementCharacter))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c == u'=' || (section && c == u']'))
            return false;
    }
    return !name.front().isSpace() && !name.back().isSpace();
}

void checkValue(const QString &value, const Entry &entry)
{
    const QString where = entry.first + QStringLiteral(" / ") + entry.second;
    fuzz::check(value.size() <= IniFile::MaxValueLength, "value longer than 2047", fuzz::shown(where));
    fuzz::check(value.isEmpty() || !value.back().isHighSurrogate(), "value ends in half a character",
                fuzz::shown(where));
}

// Whether two names given by a caller reach the same entry: the reader drops
// the caller's spaces at both ends and ignores letter case. (A name read from
// the file may keep a space at its start: QString::fromUtf8 drops a
// byte-order mark in front of it.)
bool matches(const Entry &a, const Entry &b)
{
    auto same = [](const QString &x, const QString &y) {
        auto spaceless = [](const QString &name) {
            qsizetype begin = 0;
            qsizetype end = name.size();
            while (begin < end && name.at(begin) == u' ')
                ++begin;
            while (end > begin && name.at(end - 1) == u' ')
                --end;
            return name.mid(begin, end - begin);
        };
        return spaceless(x).compare(spaceless(y), Qt::CaseInsensitive) == 0;
    };
    return same(a.first, b.first) && same(a.second, b.second);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::quietQt();
    fuzz::scratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString path = fuzz::scratchFolder() + QStringLiteral("/fuzz.ini");
    fuzz::writeFile(path, bytes);

    QList<Entry> entries = namesInFile(bytes);
    entries.append({QStringLiteral("General"), QStringLiteral("Direction")});
    entries.append({QStringLiteral("Connection"), QStringLiteral("ServiceUrl")});
    entries.append({QStringLiteral("Connection"), QStringLiteral("NoProxy")});

    IniFile ini(path);
    QList<QString> before;
    for (const Entry &entry : entries) {
        const QString value = ini.readString(entry.first, entry.second, Missing);
        before.append(value);
        if (value != Missing)
            checkValue(value, entry);

        const QString spaced = QStringLiteral("  %1 ");
        fuzz::check(ini.readString(spaced.arg(entry.first), spaced.arg(entry.second), Missing) == value,
                    "the caller's spaces matter", fuzz::shown(entry.first + u'/' + entry.second));
        if (isAscii(entry.first) && isAscii(entry.second))
            fuzz::check(ini.readString(swappedCase(entry.first), swappedCase(entry.second), Missing) == value,
                        "letter case matters", fuzz::shown(entry.first + u'/' + entry.second));

        const int low = ini.readInteger(entry.first, entry.second, -7);
        const int high = ini.readInteger(entry.first, entry.second, 7);
        fuzz::check(low == high || (low == -7 && high == 7), "readInteger depends on its default");
        fuzz::check(ini.readBool(entry.first, entry.second, true) == (high != 0), "readBool differs from readInteger");
        fuzz::check(ini.readBool(entry.first, entry.second, false) == (ini.readInteger(entry.first, entry.second, 0) != 0),
                    "readBool differs from readInteger");
    }

    // Writes: an existing key, a new key in an existing section, a new section.
    QList<Entry> writes;
    for (const Entry &entry : entries) {
        if (writableName(entry.first, true) && writableName(entry.second, false)) {
            writes.append(entry);
            writes.append({entry.first, QStringLiteral("FuzzNewKey")});
            break;
        }
    }
    writes.append({QStringLiteral("FuzzNewSection"), QStringLiteral("FuzzKey")});

    IniFile writer(path);
    QList<Entry> done;
    for (const Entry &entry : writes) {
        try {
            writer.writeString(entry.first, entry.second, Written);
        } catch (const AppError &error) {
            fuzz::fail("write failed", error.text());
        }
        done.append(entry);
        const IniFile fresh(path);
        fuzz::check(fresh.readString(entry.first, entry.second, Missing) == Written, "a written value reads back otherwise",
                    fuzz::shown(entry.first + u'/' + entry.second));
        fuzz::check(writer.readString(entry.first, entry.second, Missing) == Written,
                    "the writing object reads back otherwise", fuzz::shown(entry.first + u'/' + entry.second));
        for (qsizetype i = 0; i < entries.size(); ++i) {
            bool changed = false;
            for (const Entry &write : done)
                changed = changed || matches(entries.at(i), write);
            if (changed)
                continue;
            fuzz::check(fresh.readString(entries.at(i).first, entries.at(i).second, Missing) == before.at(i),
                        "a write changed another entry",
                        fuzz::shown(entries.at(i).first + u'/' + entries.at(i).second + QStringLiteral(" after writing ")
                                    + entry.first + u'/' + entry.second));
        }
    }
    return 0;
}
