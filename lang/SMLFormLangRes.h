#pragma once

#include "lang/SMLLangRes.h"

#include <QStringList>

#include <memory>

class StringList;

// The form language resource: puts the language file's texts into the form
// (or frame) that owns it. An apply handles, in this order:
//  1. the owner's font;
//  2. the owner's text properties named in StringProperties (the line
//     "Caption", spelled exactly so, is skipped when IgnoreFormCaption is
//     set), then its string-list properties named in StringsProperties;
//  3. every component the owner owns (its named descendants in creation
//     order, an embedded frame's own excepted), each by its kind:
//     - form language resources (this one too), timers and menu items
//       (actions) are left alone, and so are the parts Qt makes inside its
//       own widgets and the components named, exactly, in IgnoreControls;
//     - a list view gets its column captions with IncludeListViewHead and its
//       items with IncludeListViewItems, and nothing else;
//     - a tree view gets its node texts with IncludeTreeViewItems, and nothing
//       else; without that switch it is handled like any other component;
//     - a header control gets its section texts, a data grid its column titles;
//     - any other component gets its properties named in StringProperties and
//       StringsProperties.
// Property names are looked up ignoring letter case and spelled in the keys as
// the lists give them. Owned by a data module, it does nothing.
//
// The three lists are the component's own: setting one of the list properties
// copies the lines, and any change of a list (set, or edited in place through
// the accessors) applies again when Active is set, as does setting any switch.
class TsmlFormLangRes : public TsmlLangRes
{
    Q_OBJECT
    Q_PROPERTY(QStringList StringProperties READ StringPropertiesLines WRITE SetStringProperties)
    Q_PROPERTY(QStringList StringsProperties READ StringsPropertiesLines WRITE SetStringsProperties)
    Q_PROPERTY(QStringList IgnoreControls READ IgnoreControlsLines WRITE SetIgnoreControls)
    Q_PROPERTY(bool IgnoreFormCaption READ IgnoreFormCaption WRITE SetIgnoreFormCaption)
    Q_PROPERTY(bool IncludeListViewItems READ IncludeListViewItems WRITE SetIncludeListViewItems)
    Q_PROPERTY(bool IncludeListViewHead READ IncludeListViewHead WRITE SetIncludeListViewHead)
    Q_PROPERTY(bool IncludeTreeViewItems READ IncludeTreeViewItems WRITE SetIncludeTreeViewItems)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
public:
    // Defaults: StringProperties "Caption"; StringsProperties "Tabs", "Items";
    // IgnoreControls empty; every switch off.
    explicit TsmlFormLangRes(QObject *owner);
    ~TsmlFormLangRes() override;

    StringList *StringProperties() const { return m_stringProperties.get(); }
    StringList *StringsProperties() const { return m_stringsProperties.get(); }
    StringList *IgnoreControls() const { return m_ignoreControls.get(); }

    QStringList StringPropertiesLines() const;
    void SetStringProperties(const QStringList &lines);
    QStringList StringsPropertiesLines() const;
    void SetStringsProperties(const QStringList &lines);
    QStringList IgnoreControlsLines() const;
    void SetIgnoreControls(const QStringList &lines);

    bool IgnoreFormCaption() const { return m_ignoreFormCaption; }
    void SetIgnoreFormCaption(bool ignore);
    bool IncludeListViewItems() const { return m_includeListViewItems; }
    void SetIncludeListViewItems(bool include);
    bool IncludeListViewHead() const { return m_includeListViewHead; }
    void SetIncludeListViewHead(bool include);
    bool IncludeTreeViewItems() const { return m_includeTreeViewItems; }
    void SetIncludeTreeViewItems(bool include);

protected:
    void ApplyLanguage() override;

private:
    void ListsChanged();
    void ApplyComponent(QObject *component, const QStringList &stringProperties,
                        const QStringList &stringsProperties);

    // Released in the order IgnoreControls, StringsProperties, StringProperties.
    std::unique_ptr<StringList> m_stringProperties;
    std::unique_ptr<StringList> m_stringsProperties;
    std::unique_ptr<StringList> m_ignoreControls;
    bool m_ignoreFormCaption = false;
    bool m_includeListViewItems = false;
    bool m_includeListViewHead = false;
    bool m_includeTreeViewItems = false;
};
