#include "platform/IniFile.h"

#include "platform/AppError.h"
#include "platform/AtomicFile.h"
#include "platform/IntegerText.h"

#include <QFileInfo>

#include <cerrno>

namespace {

constexpr char Bom[] = "\xEF\xBB\xBF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v';
}

// The caller's names lose spaces only: a tab in a caller's name stays and
// then matches nothing.
QString trimSpaces(const QString &name)
{
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name.at(begin) == u' ')
        ++begin;
    while (end > begin && name.at(end - 1) == u' ')
        --end;
    return name.mid(begin, end - begin);
}

QString cutValue(QString value)
{
    if (value.size() > IniFile::MaxValueLength) {
        qsizetype length = IniFile::MaxValueLength;
        if (value.at(length - 1).isHighSurrogate())
            --length; // never leave half a character behind
        value.truncate(length);
    }
    return value;
}

} // namespace

IniFile::IniFile(const QString &path) : m_path(path) {}

void IniFile::load() const
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_bytes.clear();
    // A file that cannot be read (missing, a folder, no permission) reads like
    // a missing one; a write refuses to replace it (see writeString).
    m_loadError = ReadFileBytes(m_path, m_bytes);
    if (m_loadError == ENOENT || m_loadError == ENOTDIR)
        m_loadError = 0;
    if (m_loadError != 0)
        m_bytes.clear();
    parse();
}

void IniFile::parse() const
{
    m_lines.clear();
    const char *data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    m_bodyStart = m_bytes.startsWith(Bom) ? 3 : 0;

    qsizetype pos = m_bodyStart;
    while (pos < size) {
        Line line;
        line.begin = pos;
        qsizetype end = pos;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        line.end = end;
        if (end < size)
            line.next = (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ? end + 2 : end + 1;
        else
            line.next = end;

        qsizetype first = pos;
        while (first < end && isBlank(data[first]))
            ++first;
        if (first < end && data[first] == '[') {
            line.kind = Line::Section;
            qsizetype nameBegin = first + 1;
            qsizetype nameEnd = nameBegin;
            while (nameEnd < end && data[nameEnd] != ']')
                ++nameEnd;
            while (nameBegin < nameEnd && isBlank(data[nameBegin]))
                ++nameBegin;
            while (nameEnd > nameBegin && isBlank(data[nameEnd - 1]))
                --nameEnd;
            line.nameBegin = nameBegin;
            line.nameEnd = nameEnd;
        } else if (first < end && data[first] == ';') {
            line.kind = Line::Comment;
        } else {
            qsizetype eq = first;
            while (eq < end && data[eq] != '=')
                ++eq;
            if (eq < end) {
                line.kind = Line::Key;
                qsizetype keyEnd = eq;
                while (keyEnd > first && isBlank(data[keyEnd - 1]))
                    --keyEnd;
                line.nameBegin = first;
                line.nameEnd = keyEnd;
                qsizetype valueBegin = eq + 1;
                qsizetype valueEnd = end;
                while (valueBegin < valueEnd && isBlank(data[valueBegin]))
                    ++valueBegin;
                while (valueEnd > valueBegin && isBlank(data[valueEnd - 1]))
                    --valueEnd;
                line.valueBegin = valueBegin;
                line.valueEnd = valueEnd;
            }
        }
        m_lines.push_back(line);
        pos = line.next;
    }
}

bool IniFile::nameMatches(const Line &line, const QString &name) const
{
    const QString fileName =
        QString::fromUtf8(m_bytes.constData() + line.nameBegin, line.nameEnd - line.nameBegin);
    return fileName.compare(name, Qt::CaseInsensitive) == 0;
}

qsizetype IniFile::findSection(const QString &section) const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Line::Section && nameMatches(m_lines[i], section))
            return qsizetype(i);
    }
    return -1;
}

qsizetype IniFile::findKey(qsizetype sectionLine, const QString &key) const
{
    for (size_t i = size_t(sectionLine) + 1; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Line::Section)
            break;
        if (line.kind == Line::Key && nameMatches(line, key))
            return qsizetype(i);
    }
    return -1;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    load();
    const qsizetype sectionLine = findSection(trimSpaces(section));
    if (sectionLine < 0)
        return defaultValue;
    const qsizetype keyLine = findKey(sectionLine, trimSpaces(key));
    if (keyLine < 0)
        return defaultValue;

    const Line &line = m_lines[size_t(keyLine)];
    qsizetype begin = line.valueBegin;
    qsizetype end = line.valueEnd;
    if (end - begin >= 2) {
        const char quote = m_bytes.at(begin);
        if ((quote == '"' || quote == '\'') && m_bytes.at(end - 1) == quote) {
            ++begin;
            --end;
        }
    }
    return cutValue(QString::fromUtf8(m_bytes.constData() + begin, end - begin));
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    return ParseInteger(readString(section, key, QString())).value_or(defaultValue);
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    load();
    // A file that exists but could not be read would be replaced by one that
    // holds this key alone; a line break in the value would add lines of its
    // own (and so keys) to the file.
    if (m_loadError != 0 || value.contains(u'\r') || value.contains(u'\n'))
        throw AppError(QStringLiteral("Unable to write to %1").arg(QFileInfo(m_path).absoluteFilePath()));
    const QString sectionName = trimSpaces(section);
    const QString keyName = trimSpaces(key);
    const QByteArray valueBytes = value.toUtf8();

    QByteArray content = m_bytes;
    const qsizetype sectionLine = findSection(sectionName);
    if (sectionLine < 0) {
        // A new section goes at the end, on a line of its own.
        if (content.size() > m_bodyStart && !content.endsWith('\r') && !content.endsWith('\n'))
            content += "\r\n";
        content += '[' + sectionName.toUtf8() + "]\r\n" + keyName.toUtf8() + '=' + valueBytes + "\r\n";
    } else if (const qsizetype keyLine = findKey(sectionLine, keyName); keyLine >= 0) {
        // The existing line is replaced, keeping the key as the file spells it.
        const Line &line = m_lines[size_t(keyLine)];
        const QByteArray replacement =
            m_bytes.mid(line.nameBegin, line.nameEnd - line.nameBegin) + '=' + valueBytes + "\r\n";
        content.replace(line.begin, line.next - line.begin, replacement);
    } else {
        // A new key goes after the section's last key line, or after its header.
        qsizetype after = sectionLine;
        for (size_t i = size_t(sectionLine) + 1; i < m_lines.size(); ++i) {
            if (m_lines[i].kind == Line::Section)
                break;
            if (m_lines[i].kind == Line::Key)
                after = qsizetype(i);
        }
        const Line &line = m_lines[size_t(after)];
        QByteArray insertion = keyName.toUtf8() + '=' + valueBytes + "\r\n";
        if (line.next == line.end) // the last line of the file, without a line break
            insertion.prepend("\r\n");
        content.insert(line.next, insertion);
    }

    replaceFile(content);
    m_bytes = content;
    parse();
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::replaceFile(const QByteArray &content)
{
    if (WriteFileAtomically(m_path, content, m_newFileMode, true) != 0)
        throw AppError(QStringLiteral("Unable to write to %1").arg(QFileInfo(m_path).absoluteFilePath()));
}
