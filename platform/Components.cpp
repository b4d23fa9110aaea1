#include "platform/Components.h"

#include <QStackedLayout>

namespace {

// A widget's children are kept in stacking order, which raise() and lower()
// change: a stacked layout lowers every page it is given but the first. Its
// pages are therefore listed in page order, the order they were added in,
// each in a place where one of the pages stands.
QObjectList inOrder(const QObject *parent)
{
    QObjectList children = parent->children();
    const auto *widget = qobject_cast<const QWidget *>(parent);
    const auto *stack = widget ? qobject_cast<const QStackedLayout *>(widget->layout()) : nullptr;
    if (!stack)
        return children;
    QObjectList pages;
    for (int i = 0; i < stack->count(); ++i) {
        if (QWidget *page = stack->widget(i); page && page->parent() == parent)
            pages.append(page);
    }
    qsizetype next = 0;
    for (QObject *&child : children) {
        if (next < pages.size() && pages.contains(child))
            child = pages.at(next++);
    }
    return children;
}

void collect(const QObject *parent, QList<QObject *> &out)
{
    for (QObject *child : inOrder(parent)) {
        if (!child->objectName().isEmpty())
            out.append(child);
        if (!qobject_cast<Frame *>(child))
            collect(child, out);
    }
}

} // namespace

QList<QObject *> OwnedComponents(const QObject *owner)
{
    QList<QObject *> out;
    collect(owner, out);
    return out;
}
