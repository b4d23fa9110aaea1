#include "lang/SMLLangRes.h"

#include "lang/SMLPublic.h"
#include "platform/AppError.h"
#include "platform/AtomicFile.h"
#include "platform/Components.h"
#include "platform/FontProperties.h"
#include "platform/IniFile.h"
#include "platform/IntegerText.h"
#include "platform/ListControls.h"
#include "platform/Properties.h"
#include "platform/StringList.h"

#include <QCoreApplication>
#include <QFont>
#include <QWidget>

#include <optional>

namespace {

const QString DefaultLangFile = QStringLiteral("DefLang.ini");

QString &programFolderOverride()
{
    static QString folder;
    return folder;
}

std::function<void(const LangFileAccess &)> &fileWatcher()
{
    static std::function<void(const LangFileAccess &)> watcher;
    return watcher;
}

// Whether one INI line holds the entry as it is, so that reading it back gives
// the same key and text.
bool storable(const QString &key, const QString &value)
{
    const QString name = key.trimmed();
    if (name.isEmpty() || name.startsWith(u'[') || name.startsWith(u';'))
        return false;
    for (const QChar c : key) {
        if (c.unicode() < 0x20 || c == u'=')
            return false;
    }
    return !value.contains(u'\r') && !value.contains(u'\n');
}

QString indexed(const QString &key, int index)
{
    return key + u'[' + QString::number(index) + u']';
}

} // namespace

// The language file as one handler call sees it: read once, every write
// passed on to the file at once.
class TsmlLangRes::File
{
public:
    explicit File(const TsmlLangRes &owner) : m_ini(owner.m_langFilePath), m_section(owner.Section())
    {
        m_ini.setNewFilePermissions(DefaultNewFileMode());
        watch(LangFileAccess::Open, QString(), QString());
    }

    QString read(const QString &key) const
    {
        const QString value = m_ini.readString(m_section, key, QString());
        watch(LangFileAccess::Read, key, value);
        return value;
    }

    int readInteger(const QString &key, int defaultValue) const
    {
        return ParseInteger(read(key)).value_or(defaultValue);
    }

    void write(const QString &key, const QString &value)
    {
        if (!storable(key, value))
            return;
        m_ini.writeString(m_section, key, value);
        watch(LangFileAccess::Write, key, value);
    }

private:
    void watch(LangFileAccess::Kind kind, const QString &key, const QString &value) const
    {
        if (const auto &watcher = fileWatcher())
            watcher(LangFileAccess{kind, m_ini.path(), m_section, key, value});
    }

    IniFile m_ini;
    QString m_section;
};

QObject *TsmlLangRes::CheckedOwner(QObject *owner)
{
    const auto *widget = qobject_cast<QWidget *>(owner);
    const bool form = widget && widget->isWindow() && !qobject_cast<Frame *>(owner);
    if (!form && !qobject_cast<DataModule *>(owner) && !qobject_cast<Frame *>(owner))
        throw AppError(QStringLiteral("Owner must be a Form or a DataModule!"));
    return owner;
}

TsmlLangRes::TsmlLangRes(QObject *owner) : QObject(CheckedOwner(owner)), m_langFilePath(DefaultLangFile), m_owner(owner)
{
    auto *widget = qobject_cast<QWidget *>(owner);
    if (widget && widget->isWindow() && !qobject_cast<Frame *>(owner))
        m_ownerForm = widget;
    else if (auto *module = qobject_cast<DataModule *>(owner))
        m_ownerDataModule = module;
    else
        m_ownerFrame = qobject_cast<Frame *>(owner);
}

TsmlLangRes::~TsmlLangRes() = default;

QString TsmlLangRes::ProgramFolder()
{
    const QString &folder = programFolderOverride();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void TsmlLangRes::SetProgramFolder(const QString &folder)
{
    programFolderOverride() = folder;
}

void TsmlLangRes::SetFileWatcher(std::function<void(const LangFileAccess &)> watcher)
{
    fileWatcher() = std::move(watcher);
}

QString TsmlLangRes::LangFileName() const
{
    return m_langFilePath.mid(m_langFilePath.lastIndexOf(u'/') + 1);
}

void TsmlLangRes::SetLangFileName(const QString &name)
{
    QString folder = ProgramFolder();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    m_langFilePath = folder + name;
    ApplyIfActive();
}

void TsmlLangRes::SetIgnoreEmptyString(bool ignore)
{
    m_ignoreEmptyString = ignore;
    ApplyIfActive();
}

void TsmlLangRes::SetAutoCreateMode(bool autoCreate)
{
    m_autoCreateMode = autoCreate;
    ApplyIfActive();
}

void TsmlLangRes::SetAddBracket(bool addBracket)
{
    m_addBracket = addBracket;
}

void TsmlLangRes::SetActive(bool active)
{
    m_active = active;
    ApplyIfActive();
}

void TsmlLangRes::ApplyIfActive()
{
    if (m_active)
        ApplyLanguage();
}

QString TsmlLangRes::Section() const
{
    return m_owner ? QString::fromLatin1(m_owner->metaObject()->className()) : QString();
}

QString TsmlLangRes::StripBrackets(const QString &value)
{
    if (value.size() >= 2 && value.startsWith(u'<') && value.endsWith(u'>'))
        return value.mid(1, value.size() - 2);
    return value;
}

QString TsmlLangRes::WrapInBrackets(const QString &text) const
{
    return m_addBracket ? u'<' + text + u'>' : text;
}

void TsmlLangRes::ApplyEntry(File &file, const QString &key, const QString &current,
                             const std::function<void(const QString &)> &set, bool consultIgnoreEmpty)
{
    const QString value = file.read(key);
    if (!value.isEmpty()) {
        set(StripBrackets(value));
        return;
    }
    const bool wanted = !current.isEmpty() || !consultIgnoreEmpty || !m_ignoreEmptyString;
    if (wanted && m_autoCreateMode)
        file.write(key, WrapInBrackets(current));
}

QString TsmlLangRes::ReadLangString(const QString &key, const QString &defaultText)
{
    if (!m_owner)
        return QString();
    File file(*this);
    QString text;
    ApplyEntry(file, key, defaultText, [&](const QString &found) { text = found; });
    return text;
}

void TsmlLangRes::ApplyFont(QObject *owner)
{
    if (!m_owner || !HasProperty(owner, QStringLiteral("Font")))
        return;
    const QMetaProperty property = FindProperty(owner, QStringLiteral("Font"));
    if (property.metaType() != QMetaType::fromType<QFont>() || !property.isReadable() || !property.isWritable())
        return;
    const auto font = [&] { return property.read(owner).value<QFont>(); };
    const QString name = owner->objectName();
    File file(*this);

    ApplyEntry(
        file, name + QStringLiteral("_FontName"), font().family(),
        [&](const QString &face) {
            QFont changed = font();
            changed.setFamily(face);
            property.write(owner, changed);
        },
        false);

    const QString sizeKey = name + QStringLiteral("_FontSize");
    const int size = file.readInteger(sizeKey, 0);
    if (size >= 1 && size <= MaxFontPoints) {
        QFont changed = font();
        SetFontPointSize(changed, size);
        property.write(owner, changed);
    } else if (m_autoCreateMode) {
        file.write(sizeKey, QString::number(FontPointSize(font())));
    }

    const QString charsetKey = name + QStringLiteral("_FontCharset");
    const int charset = file.readInteger(charsetKey, -1);
    if (charset != -1)
        SetFontCharset(owner, charset);
    else if (m_autoCreateMode)
        file.write(charsetKey, QString::number(FontCharset(owner)));
}

void TsmlLangRes::ApplyStringProperty(QObject *component, const QString &propertyName)
{
    if (!component || !m_owner)
        return;
    File file(*this);
    ApplyEntry(file, component->objectName() + u'_' + propertyName, ReadTextProperty(component, propertyName),
               [&](const QString &text) { WriteTextProperty(component, propertyName, text); });
}

void TsmlLangRes::ApplyStringsProperty(QObject *component, const QString &propertyName)
{
    if (!component || !m_owner)
        return;
    const QPointer<StringList> lines = qobject_cast<StringList *>(ReadObjectProperty(component, propertyName));
    if (!lines)
        return;
    const QString key = component->objectName() + u'_' + propertyName;
    File file(*this);
    // The count is taken afresh each time: whoever watches the list may change it.
    for (int i = 0; lines && i < lines->count(); ++i)
        ApplyEntry(file, indexed(key, i), lines->at(i), [&](const QString &text) { lines->replace(i, text); });
}

void TsmlLangRes::ApplyHeaderSections(HeaderControl *header)
{
    if (!header || !m_owner)
        return;
    const QPointer<HeaderControl> guard(header);
    const QString key = header->objectName() + QStringLiteral("_SectionsText");
    File file(*this);
    for (int i = 0; guard && i < header->sectionCount(); ++i)
        ApplyEntry(file, indexed(key, i), header->sectionText(i),
                   [&](const QString &text) { header->setSectionText(i, text); });
}

void TsmlLangRes::ApplyListViewColumns(ListView *listView)
{
    if (!listView || !m_owner)
        return;
    const QPointer<ListView> guard(listView);
    const QString key = listView->objectName() + QStringLiteral("_ColumnCaption");
    File file(*this);
    for (int i = 0; guard && i < listView->columnCount(); ++i)
        ApplyEntry(file, indexed(key, i), listView->columnCaption(i),
                   [&](const QString &text) { listView->setColumnCaption(i, text); });
}

void TsmlLangRes::ApplyListViewItems(ListView *listView)
{
    if (!listView || !m_owner)
        return;
    const QPointer<ListView> guard(listView);
    const QString name = listView->objectName();
    File file(*this);
    for (int i = 0; guard && i < listView->itemCount(); ++i) {
        ApplyEntry(file, indexed(name + QStringLiteral("_ItemCaption"), i), listView->itemCaption(i),
                   [&](const QString &text) { listView->setItemCaption(i, text); });
        const QString subKey = indexed(name + QStringLiteral("_SubItem"), i) + QStringLiteral("Caption");
        for (int j = 0; guard && j < listView->subItemCount(i); ++j)
            ApplyEntry(file, indexed(subKey, j), listView->subItem(i, j),
                       [&](const QString &text) { listView->setSubItem(i, j, text); });
    }
}

void TsmlLangRes::ApplyTreeViewItems(TreeView *treeView)
{
    if (!treeView || !m_owner)
        return;
    const QPointer<TreeView> guard(treeView);
    const QString key = treeView->objectName() + QStringLiteral("_ItemText");
    File file(*this);
    for (int i = 0; guard && i < treeView->nodeCount(); ++i)
        ApplyEntry(file, indexed(key, i), treeView->nodeText(i),
                   [&](const QString &text) { treeView->setNodeText(i, text); });
}

void TsmlLangRes::ApplyGridColumns(DataGrid *grid)
{
    if (!grid || !m_owner)
        return;
    const QPointer<DataGrid> guard(grid);
    const QString key = grid->objectName() + QStringLiteral("_ColumnsCaption");
    File file(*this);
    for (int i = 0; guard && i < grid->columnCount(); ++i)
        ApplyEntry(file, indexed(key, i), grid->columnTitle(i),
                   [&](const QString &text) { grid->setColumnTitle(i, text); });
}
