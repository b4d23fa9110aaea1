#include "lang/SMLPublic.h"

#include "platform/Properties.h"

bool HasProperty(const QObject *component, const QString &name)
{
    return FindProperty(component, name).isValid();
}
