#pragma once

#include "platform/Components.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class DataGrid;
class HeaderControl;
class ListView;
class TreeView;

// One access of a language resource to its language file.
struct LangFileAccess
{
    enum Kind { Open, Read, Write };
    Kind kind = Open;
    QString path;
    QString section;
    QString key;   // empty for Open
    QString value; // as read (brackets kept; empty when the file has none) or as written
};

// The base of the language resources: non-visual components, owned by a form,
// a frame or a data module, that take texts from a language file. A language
// file is an INI file in the program's folder; a resource reads and writes the
// section named after its owner's class, one entry per text:
//   <name>_FontName, <name>_FontSize, <name>_FontCharset   the owner's font
//   <name>_<property>                                      a text property
//   <name>_<property>[i]                                   line i of a string list
//   <name>_SectionsText[i]                                 header control section i
//   <name>_ColumnCaption[i]                                list view column i
//   <name>_ItemCaption[i], <name>_SubItem[i]Caption[j]     list view item i, its sub-item j
//   <name>_ItemText[i]                                     tree view node i (all levels, top to bottom)
//   <name>_ColumnsCaption[i]                               data grid column i
//   <message name>                                         a message
// where <name> is the component's objectName. Section and key names ignore
// letter case; at most 2047 characters of a value are read.
//
// Every text follows one rule: a non-empty entry sets the text, without one
// pair of enclosing "<" ">" ("<OK>" sets "OK", "<>" empties the text). A
// missing or empty entry leaves the text alone and, with AutoCreateMode, is
// written with the current text (in brackets with AddBracket), unless the text
// is empty and IgnoreEmptyString is set. Nothing is ever reverted: a text keeps
// what the last apply gave it until a later apply finds a value for it.
//
// Every handler call opens the file once; each entry it writes reaches the
// file at once. A write that fails throws AppError "Unable to write to <path>"
// and ends the apply there, texts applied so far staying as they are. An entry
// that one INI line cannot hold (a text with a line break; a key that is
// empty, holds "=" or a control character, or starts with "[" or ";") is not
// auto-created.
//
// Published properties (each setter but AddBracket's applies the file again
// when Active is set): LangFileName, IgnoreEmptyString, AutoCreateMode,
// AddBracket; the descendants add theirs and publish Active last.
class TsmlLangRes : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString LangFileName READ LangFileName WRITE SetLangFileName)
    Q_PROPERTY(bool IgnoreEmptyString READ IgnoreEmptyString WRITE SetIgnoreEmptyString)
    Q_PROPERTY(bool AutoCreateMode READ AutoCreateMode WRITE SetAutoCreateMode)
    Q_PROPERTY(bool AddBracket READ AddBracket WRITE SetAddBracket)
public:
    ~TsmlLangRes() override;

    // The file-name part of LangFilePath.
    QString LangFileName() const;
    // The program folder joined with the name as given ("sub/x.ini" is found
    // in the folder "sub" of the program folder).
    void SetLangFileName(const QString &name);
    // The full path of the language file: the bare name "DefLang.ini" (looked
    // up in the current folder) until LangFileName is first set.
    const QString &LangFilePath() const { return m_langFilePath; }

    bool IgnoreEmptyString() const { return m_ignoreEmptyString; }
    void SetIgnoreEmptyString(bool ignore);
    bool AutoCreateMode() const { return m_autoCreateMode; }
    void SetAutoCreateMode(bool autoCreate);
    bool AddBracket() const { return m_addBracket; }
    void SetAddBracket(bool addBracket);
    bool Active() const { return m_active; }
    void SetActive(bool active);

    // Exactly one is set, at construction.
    QWidget *OwnerForm() const { return m_ownerForm; }
    DataModule *OwnerDataModule() const { return m_ownerDataModule; }
    Frame *OwnerFrame() const { return m_ownerFrame; }

    // Applies the language file when Active is set.
    void ApplyIfActive();

    // The text of the owner section's entry `key` (brackets stripped); empty
    // when the file has no usable entry, in which case the entry may be
    // auto-created with `defaultText`. The default is never the result.
    QString ReadLangString(const QString &key, const QString &defaultText);

    static QString StripBrackets(const QString &value);
    // "<" + text + ">" with AddBracket, else the text.
    QString WrapInBrackets(const QString &text) const;

    // The handlers, one per kind of text.
    // The font of a form or frame: its "font" property, its character set kept
    // on it (platform/FontProperties.h). A font size outside 1 to 1000 points
    // counts as missing.
    void ApplyFont(QObject *owner);
    // A text (QString) property; other kinds read as empty and are never set.
    void ApplyStringProperty(QObject *component, const QString &propertyName);
    // A property holding a StringList, line by line; any other is passed over.
    void ApplyStringsProperty(QObject *component, const QString &propertyName);
    void ApplyHeaderSections(HeaderControl *header);
    void ApplyListViewColumns(ListView *listView);
    void ApplyListViewItems(ListView *listView);
    void ApplyTreeViewItems(TreeView *treeView);
    void ApplyGridColumns(DataGrid *grid);

    // The folder that LangFileName is joined to: the program's folder, or the
    // one set here (an empty folder stands for the program's again).
    static QString ProgramFolder();
    static void SetProgramFolder(const QString &folder);

    // Shows every access of every language resource to its file to `watcher`,
    // in order; an empty function stops it.
    static void SetFileWatcher(std::function<void(const LangFileAccess &)> watcher);

    static constexpr int MaxFontPoints = 1000;

protected:
    // Fails with AppError "Owner must be a Form or a DataModule!" unless the
    // owner is a form (a window widget that is not a frame), a data module or
    // a frame. The owner owns the component.
    explicit TsmlLangRes(QObject *owner);

    virtual void ApplyLanguage() = 0;

private:
    class File;

    static QObject *CheckedOwner(QObject *owner);
    // The entry rule for one text: `set` receives the file's text.
    void ApplyEntry(File &file, const QString &key, const QString &current,
                    const std::function<void(const QString &)> &set, bool consultIgnoreEmpty = true);
    // The owner's class name, or empty when the owner is gone.
    QString Section() const;

    QString m_langFilePath;
    bool m_ignoreEmptyString = false;
    bool m_autoCreateMode = true;
    bool m_addBracket = false;
    bool m_active = false;
    QPointer<QObject> m_owner;
    QPointer<QWidget> m_ownerForm;
    QPointer<DataModule> m_ownerDataModule;
    QPointer<Frame> m_ownerFrame;
};
