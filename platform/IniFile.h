#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// An INI file read and written by the rules of the Windows private-profile
// functions, so that files people edit by hand and files older installs wrote
// read the same way everywhere:
//  - section and key names match without regard to letter case; the caller's
//    names lose leading and trailing spaces, the file's lose blanks (space, tab,
//    vertical tab); only the first section of a name and its first key count;
//  - a value is what follows the first "=", without blanks around it and
//    without one pair of enclosing quotes, at most 2047 characters;
//  - a line starting with ";" is a comment; a line without "=" is no key;
//  - a write changes one line (or adds one) and keeps every other byte.
// Each write replaces the file atomically (temporary file beside it, flushed,
// renamed over it), so a failed write leaves the file as it was.
//
// The file is read on the first look-up and kept in the object; writes through
// the object update what it holds. Make a new object to see changes others made.
class IniFile
{
public:
    static constexpr int MaxValueLength = 2047;

    explicit IniFile(const QString &path);

    const QString &path() const { return m_path; }

    // Permission bits of a file that a write creates (an existing file keeps its
    // own). Owner-only unless set otherwise: a settings file can hold a password.
    void setNewFilePermissions(unsigned mode) { m_newFileMode = mode; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // Numbers are read by ParseInteger (platform/IntegerText.h).
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    // Throw AppError "Unable to write to <full path>" when the file cannot be
    // created or replaced; the file is then as it was.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

private:
    struct Line
    {
        enum Kind { Other, Comment, Section, Key };
        qsizetype begin = 0;     // first byte of the line
        qsizetype end = 0;       // one past the last byte before the line break
        qsizetype next = 0;      // first byte of the next line
        Kind kind = Other;
        qsizetype nameBegin = 0; // section name or key, blanks trimmed
        qsizetype nameEnd = 0;
        qsizetype valueBegin = 0; // value after "=", blanks trimmed
        qsizetype valueEnd = 0;
    };

    void load() const;
    void parse() const;
    bool nameMatches(const Line &line, const QString &name) const;
    // Index of the first section line of that name, or -1.
    qsizetype findSection(const QString &section) const;
    // Index of the first key line of that name in the section, or -1.
    qsizetype findKey(qsizetype sectionLine, const QString &key) const;
    void replaceFile(const QByteArray &content);

    QString m_path;
    unsigned m_newFileMode = 0600;
    mutable bool m_loaded = false;
    mutable int m_loadError = 0; // errno of the last load; 0 when read or missing
    mutable QByteArray m_bytes;
    mutable qsizetype m_bodyStart = 0; // past a UTF-8 byte-order mark
    mutable std::vector<Line> m_lines;
};
