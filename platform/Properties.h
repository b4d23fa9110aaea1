#pragma once

#include <QMetaProperty>
#include <QString>

class QObject;

// Published properties by name: an object's Qt properties (its class's, its
// ancestors', Qt's own such as "text" or "font"), found by a name compared
// without regard to letter case. When two names differ only in case, the
// property of the most derived class wins. An invalid QMetaProperty means none.
QMetaProperty FindProperty(const QObject *object, const QString &name);

// A text property is a QString property. Reading any other kind, or a property
// that is not there, gives an empty text; writing one (or a read-only one)
// changes nothing and gives false.
QString ReadTextProperty(const QObject *object, const QString &name);
bool WriteTextProperty(QObject *object, const QString &name, const QString &text);

// The object that a property holds when its type is a pointer to a QObject
// class; nullptr for any other property and for a property that is not there.
QObject *ReadObjectProperty(const QObject *object, const QString &name);
