#include "platform/StringList.h"

#include "platform/AppError.h"

StringList::StringList(QObject *parent) : QObject(parent) {}

StringList::StringList(const QStringList &lines, QObject *parent) : QObject(parent), m_lines(lines) {}

void StringList::check(int index, int size) const
{
    if (index < 0 || index >= size)
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

void StringList::changed()
{
    if (m_onChange)
        m_onChange();
}

QString StringList::at(int index) const
{
    check(index, count());
    return m_lines.at(index);
}

void StringList::replace(int index, const QString &text)
{
    check(index, count());
    m_lines[index] = text;
    changed();
}

void StringList::append(const QString &text)
{
    m_lines.append(text);
    changed();
}

void StringList::insert(int index, const QString &text)
{
    check(index, count() + 1);
    m_lines.insert(index, text);
    changed();
}

void StringList::removeAt(int index)
{
    check(index, count());
    m_lines.removeAt(index);
    changed();
}

void StringList::clear()
{
    if (m_lines.isEmpty())
        return;
    m_lines.clear();
    changed();
}

void StringList::assign(const QStringList &lines)
{
    m_lines = lines;
    changed();
}

QString StringList::name(int index) const
{
    const QString line = at(index);
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.left(eq);
}

QString StringList::valueFromIndex(int index) const
{
    const QString line = at(index);
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.mid(eq + 1);
}

int StringList::indexOfName(const QString &name) const
{
    for (int i = 0; i < count(); ++i) {
        const QString &line = m_lines.at(i);
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).left(eq).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString StringList::value(const QString &name) const
{
    const int index = indexOfName(name);
    return index < 0 ? QString() : valueFromIndex(index);
}

void StringList::setValue(const QString &name, const QString &value)
{
    const int index = indexOfName(name);
    if (value.isEmpty()) {
        if (index >= 0)
            removeAt(index);
    } else if (index >= 0) {
        replace(index, name + u'=' + value);
    } else {
        append(name + u'=' + value);
    }
}
