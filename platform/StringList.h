#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// A list of text lines that reports every change. Components hold such lists
// as properties (a property whose type is StringList *), which sets them apart
// from plain text properties.
//
// Each change (a line replaced, added, inserted or removed, the list assigned
// or cleared) calls the change callback once, after the change; assigning a
// whole list is one change, and clearing an empty list is none. Replacing a
// line with the text it already has still counts as a change.
//
// Lines of the form name=value: the name is the text before the first "=",
// the value everything after it (further "=" belong to the value); a line
// without "=" has no name. Names compare without regard to letter case.
//
// An index outside the list is an AppError "List index out of bounds (<index>)".
class StringList : public QObject
{
    Q_OBJECT
public:
    explicit StringList(QObject *parent = nullptr);
    explicit StringList(const QStringList &lines, QObject *parent = nullptr);

    int count() const { return int(m_lines.size()); }
    const QStringList &lines() const { return m_lines; }
    QString at(int index) const;

    void replace(int index, const QString &text);
    void append(const QString &text);
    void insert(int index, const QString &text);
    void removeAt(int index);
    void clear();
    void assign(const QStringList &lines);

    QString name(int index) const;
    QString valueFromIndex(int index) const;
    // The first line with that name, or -1.
    int indexOfName(const QString &name) const;
    // The value of the first line with that name; empty when there is none.
    QString value(const QString &name) const;
    // Replaces the value of the first line with that name, or appends a line;
    // an empty value removes the line.
    void setValue(const QString &name, const QString &value);

    // The one change callback; an empty function removes it.
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    void check(int index, int size) const;
    void changed();

    QStringList m_lines;
    std::function<void()> m_onChange;
};
