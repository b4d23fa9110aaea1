#include "platform/Properties.h"

#include <QMetaObject>
#include <QObject>
#include <QVariant>

namespace {

bool isText(const QMetaProperty &property)
{
    return property.isValid() && property.metaType() == QMetaType::fromType<QString>();
}

} // namespace

QMetaProperty FindProperty(const QObject *object, const QString &name)
{
    if (!object || name.isEmpty())
        return QMetaProperty();
    const QMetaObject *meta = object->metaObject();
    // A derived class's properties come after its ancestors', so walking
    // backwards finds the most derived one first.
    for (int i = meta->propertyCount() - 1; i >= 0; --i) {
        const QMetaProperty property = meta->property(i);
        if (QString::compare(QLatin1String(property.name()), name, Qt::CaseInsensitive) == 0)
            return property;
    }
    return QMetaProperty();
}

QString ReadTextProperty(const QObject *object, const QString &name)
{
    const QMetaProperty property = FindProperty(object, name);
    if (!isText(property) || !property.isReadable())
        return QString();
    return property.read(object).toString();
}

bool WriteTextProperty(QObject *object, const QString &name, const QString &text)
{
    const QMetaProperty property = FindProperty(object, name);
    if (!isText(property) || !property.isWritable())
        return false;
    return property.write(object, QVariant(text));
}

QObject *ReadObjectProperty(const QObject *object, const QString &name)
{
    const QMetaProperty property = FindProperty(object, name);
    if (!property.isValid() || !property.isReadable()
        || !(property.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    const QVariant value = property.read(object);
    if (!(value.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    return *static_cast<QObject *const *>(value.constData());
}
