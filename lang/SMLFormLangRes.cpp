#include "lang/SMLFormLangRes.h"

#include "lang/SMLPublic.h"
#include "platform/Components.h"
#include "platform/ListControls.h"
#include "platform/StringList.h"

#include <QAction>
#include <QPointer>
#include <QTabBar>
#include <QTimer>
#include <QWidget>

namespace {

// Objects that Qt makes inside its own widgets are no components of the form:
// they carry names starting "qt_" (a tab widget's page stack, a scroll area's
// viewport), except a tab bar's scroll buttons, named after their task.
bool isQtPart(const QObject *object)
{
    return object->objectName().startsWith(QLatin1String("qt_")) || qobject_cast<QTabBar *>(object->parent());
}

} // namespace

TsmlFormLangRes::TsmlFormLangRes(QObject *owner)
    : TsmlLangRes(owner),
      m_stringProperties(std::make_unique<StringList>(QStringList{QStringLiteral("Caption")})),
      m_stringsProperties(std::make_unique<StringList>(QStringList{QStringLiteral("Tabs"), QStringLiteral("Items")})),
      m_ignoreControls(std::make_unique<StringList>())
{
    for (StringList *list : {m_stringProperties.get(), m_stringsProperties.get(), m_ignoreControls.get()})
        list->setOnChange([this] { ListsChanged(); });
}

TsmlFormLangRes::~TsmlFormLangRes()
{
    m_ignoreControls.reset();
    m_stringsProperties.reset();
    m_stringProperties.reset();
}

QStringList TsmlFormLangRes::StringPropertiesLines() const
{
    return m_stringProperties->lines();
}

void TsmlFormLangRes::SetStringProperties(const QStringList &lines)
{
    m_stringProperties->assign(lines);
}

QStringList TsmlFormLangRes::StringsPropertiesLines() const
{
    return m_stringsProperties->lines();
}

void TsmlFormLangRes::SetStringsProperties(const QStringList &lines)
{
    m_stringsProperties->assign(lines);
}

QStringList TsmlFormLangRes::IgnoreControlsLines() const
{
    return m_ignoreControls->lines();
}

void TsmlFormLangRes::SetIgnoreControls(const QStringList &lines)
{
    m_ignoreControls->assign(lines);
}

void TsmlFormLangRes::SetIgnoreFormCaption(bool ignore)
{
    m_ignoreFormCaption = ignore;
    ApplyIfActive();
}

void TsmlFormLangRes::SetIncludeListViewItems(bool include)
{
    m_includeListViewItems = include;
    ApplyIfActive();
}

void TsmlFormLangRes::SetIncludeListViewHead(bool include)
{
    m_includeListViewHead = include;
    ApplyIfActive();
}

void TsmlFormLangRes::SetIncludeTreeViewItems(bool include)
{
    m_includeTreeViewItems = include;
    ApplyIfActive();
}

void TsmlFormLangRes::ListsChanged()
{
    ApplyIfActive();
}

void TsmlFormLangRes::ApplyLanguage()
{
    QObject *owner = OwnerForm() ? static_cast<QObject *>(OwnerForm()) : static_cast<QObject *>(OwnerFrame());
    if (!owner)
        return;

    // The lists as they are when the apply starts.
    const QStringList stringProperties = m_stringProperties->lines();
    const QStringList stringsProperties = m_stringsProperties->lines();
    const QStringList ignoreControls = m_ignoreControls->lines();

    ApplyFont(owner);
    for (const QString &property : stringProperties) {
        if (m_ignoreFormCaption && property == QLatin1String("Caption"))
            continue;
        if (HasProperty(owner, property))
            ApplyStringProperty(owner, property);
    }
    for (const QString &property : stringsProperties) {
        if (HasProperty(owner, property))
            ApplyStringsProperty(owner, property);
    }

    const QList<QObject *> owned = OwnedComponents(owner);
    QList<QPointer<QObject>> components;
    for (QObject *component : owned)
        components.append(component);
    for (const QPointer<QObject> &component : components) {
        if (!component || isQtPart(component))
            continue;
        if (qobject_cast<TsmlFormLangRes *>(component) || qobject_cast<QTimer *>(component)
            || qobject_cast<QAction *>(component))
            continue;
        if (ignoreControls.contains(component->objectName(), Qt::CaseSensitive))
            continue;
        ApplyComponent(component, stringProperties, stringsProperties);
    }
}

void TsmlFormLangRes::ApplyComponent(QObject *component, const QStringList &stringProperties,
                                     const QStringList &stringsProperties)
{
    if (auto *listView = qobject_cast<ListView *>(component)) {
        const QPointer<ListView> guard(listView);
        if (m_includeListViewHead)
            ApplyListViewColumns(listView);
        if (guard && m_includeListViewItems)
            ApplyListViewItems(listView);
        return;
    }
    if (auto *treeView = qobject_cast<TreeView *>(component); treeView && m_includeTreeViewItems) {
        ApplyTreeViewItems(treeView);
        return;
    }
    if (auto *header = qobject_cast<HeaderControl *>(component)) {
        ApplyHeaderSections(header);
        return;
    }
    if (auto *grid = qobject_cast<DataGrid *>(component)) {
        ApplyGridColumns(grid);
        return;
    }
    const QPointer<QObject> guard(component);
    for (const QString &property : stringProperties) {
        if (guard && HasProperty(component, property))
            ApplyStringProperty(component, property);
    }
    for (const QString &property : stringsProperties) {
        if (guard && HasProperty(component, property))
            ApplyStringsProperty(component, property);
    }
}
