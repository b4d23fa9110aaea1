#include "platform/Components.h"

namespace {

void collect(const QObject *parent, QList<QObject *> &out)
{
    for (QObject *child : parent->children()) {
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
