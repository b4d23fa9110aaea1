#pragma once

#include <QString>

class QObject;

// Whether the component publishes a property of that name: one of its class's
// or its ancestors' Qt properties, Qt's own included ("text", "font", ...).
// The name is compared without regard to letter case. No component has none.
bool HasProperty(const QObject *component, const QString &name);
