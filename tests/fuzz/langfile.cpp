// A language file applied to forms. The input is the file; it is applied
//  1. as English.ini to the Options dialog, the way the program applies it
//     (nothing auto-created): the file must stay as it was, and every text of
//     the dialog must be the file's entry (one pair of "<" ">" taken off) where
//     the INI reader finds a non-empty one, and the designed text elsewhere (a
//     message also where the entry is only "<>");
//  2. to a small form holding every kind of component the form resource
//     handles, with a message resource beside it, creating missing entries
//     (in brackets): applying both a second time must then write nothing and
//     change no text, since every text was either read from the file or
//     written to it.
#include "FuzzSupport.h"

#include "lang/SMLFormLangRes.h"
#include "lang/SMLMsgLangRes.h"
#include "platform/AppError.h"
#include "platform/Components.h"
#include "platform/Controls.h"
#include "platform/IniFile.h"
#include "platform/ListControls.h"
#include "settings/frm_Options.h"
#include "shell/frm_Root.h"

#include <QAction>
#include <QHash>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

template <typename T>
T *named(T *object, const char *name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

class TfraWalk : public Frame
{
    Q_OBJECT
public:
    explicit TfraWalk(QWidget *parent) : Frame(parent)
    {
        setObjectName(QStringLiteral("Frame1"));
        named(new Label(QStringLiteral("Inside"), this), "Label2");
    }
};

// A small form with one component of each kind.
class TfrmWalk : public TfrmRoot
{
    Q_OBJECT
public:
    TfrmWalk()
    {
        setObjectName(QStringLiteral("frmWalk"));
        setWindowTitle(QStringLiteral("Walk"));
        auto *panel = named(new Panel(this), "Panel1");
        named(new Label(QStringLiteral("First"), panel), "Label1");
        auto *button = named(new Button(QStringLiteral("Press"), this), "Button1");
        button->setToolTip(QStringLiteral("Press it"));
        named(new CheckBox(QStringLiteral("Check"), this), "CheckBox1");
        auto *group = named(new GroupBox(QStringLiteral("Group"), this), "GroupBox1");
        named(new RadioButton(QStringLiteral("Radio"), group), "RadioButton1");
        named(new QTimer(this), "Timer1");
        auto *menu = named(new PopupMenu(this), "PopupMenu1");
        menu->setTitle(QStringLiteral("Menu"));
        named(new QAction(QStringLiteral("Open"), menu), "miOpen");
        named(new ComboBox(this), "ComboBox1")->items()->assign({QStringLiteral("x"), QStringLiteral("y")});
        named(new TabControl(this), "TabControl1")->tabs()->assign({QStringLiteral("t0"), QStringLiteral("t1")});
        auto *pages = named(new PageControl(this), "PageControl1");
        auto *sheet = named(new TabSheet(QStringLiteral("Sheet"), this), "ts1");
        pages->addSheet(sheet);
        named(new CheckBox(QStringLiteral("On a sheet"), sheet), "CheckBox2");
        pages->addSheet(named(new TabSheet(QStringLiteral("Other"), this), "ts2"));
        auto *list = named(new ListView(this), "ListView1");
        list->setColumnCaptions({QStringLiteral("C0"), QStringLiteral("C1")});
        list->addItem(QStringLiteral("i0"), {QStringLiteral("s0")});
        list->addItem(QStringLiteral("i1"));
        auto *tree = named(new TreeView(this), "TreeView1");
        new QTreeWidgetItem(new QTreeWidgetItem(tree, QStringList{QStringLiteral("A")}), QStringList{QStringLiteral("B")});
        new QTreeWidgetItem(tree, QStringList{QStringLiteral("C")});
        auto *header = named(new HeaderControl(this), "HeaderControl1");
        header->addSection(QStringLiteral("H0"));
        header->addSection(QStringLiteral("H1"));
        auto *grid = named(new DataGrid(this), "DBGrid1");
        auto *model = new QStandardItemModel(0, 2, grid);
        model->setHorizontalHeaderLabels({QStringLiteral("G0"), QStringLiteral("G1")});
        grid->setModel(model);
        new TfraWalk(this);
        named(new QLineEdit(QStringLiteral("typed"), this), "Edit1");
    }
};

// Every text of the walk form and its messages, in one list.
QStringList textsOf(TfrmWalk &form, TsmlMsgLangRes &messages)
{
    QStringList texts{form.windowTitle(), form.font().family(), QString::number(form.font().pixelSize())};
    for (QObject *object : form.findChildren<QObject *>()) {
        const QString name = object->objectName() + u':';
        for (const char *property : {"Caption", "Hint", "text"}) {
            const QVariant value = object->property(property);
            if (value.isValid())
                texts << name + value.toString();
        }
        if (auto *combo = qobject_cast<ComboBox *>(object))
            texts << name + combo->items()->lines().join(u'|');
        if (auto *tabs = qobject_cast<TabControl *>(object))
            texts << name + tabs->tabs()->lines().join(u'|');
        if (auto *pages = qobject_cast<PageControl *>(object)) {
            for (int i = 0; i < pages->count(); ++i)
                texts << name + pages->tabText(i);
        }
        if (auto *list = qobject_cast<ListView *>(object)) {
            for (int i = 0; i < list->columnCount(); ++i)
                texts << name + list->columnCaption(i);
            for (int i = 0; i < list->itemCount(); ++i) {
                texts << name + list->itemCaption(i);
                for (int j = 0; j < list->subItemCount(i); ++j)
                    texts << name + list->subItem(i, j);
            }
        } else if (auto *tree = qobject_cast<TreeView *>(object)) {
            for (int i = 0; i < tree->nodeCount(); ++i)
                texts << name + tree->nodeText(i);
        }
        if (auto *header = qobject_cast<HeaderControl *>(object)) {
            for (int i = 0; i < header->sectionCount(); ++i)
                texts << name + header->sectionText(i);
        }
        if (auto *grid = qobject_cast<DataGrid *>(object)) {
            for (int i = 0; i < grid->columnCount(); ++i)
                texts << name + grid->columnTitle(i);
        }
    }
    texts << messages.MsgList()->lines();
    return texts;
}

QString withoutBrackets(const QString &value)
{
    if (value.size() >= 2 && value.front() == u'<' && value.back() == u'>')
        return value.mid(1, value.size() - 2);
    return value;
}

const char *const OptionsControls[] = {
    "tsGeneral",  "chkAutoCopy",  "chkAutoPaste",     "rgLang",    "labLang",          "tsConnection",
    "rgProxySettings", "labAddress", "labPort",      "labUserName", "labPassword", "rbNoProxy",
    "rbManuallyProxy", "btnOk",      "btnDefault",
};

QString programFolder;
QHash<QString, QString> designedOptions; // control name -> designed caption
QString designedFontFamily;

QHash<QString, QString> optionsCaptions(const QWidget &dialog)
{
    QHash<QString, QString> captions;
    for (const char *name : OptionsControls) {
        const QObject *control = dialog.findChild<QObject *>(QLatin1String(name));
        if (!control)
            fuzz::fail("the Options dialog lacks a control", QLatin1String(name));
        captions.insert(QLatin1String(name), control->property("Caption").toString());
    }
    return captions;
}

void applyToOptionsDialog(const QByteArray &bytes)
{
    const QString path = programFolder + QStringLiteral("/English.ini");
    fuzz::writeFile(path, bytes);
    const auto dialog = std::make_unique<TfrmOptions>();
    fuzz::check(fuzz::readFile(path) == bytes, "the Options dialog changed its language file");

    const IniFile ini(path);
    const QString section = QStringLiteral("TfrmOptions");
    const QHash<QString, QString> captions = optionsCaptions(*dialog);
    for (const char *name : OptionsControls) {
        const QString key = QLatin1String(name);
        const QString value = ini.readString(section, key + QStringLiteral("_Caption"), QString());
        const QString expected = value.isEmpty() ? designedOptions.value(key) : withoutBrackets(value);
        fuzz::check(captions.value(key) == expected, "an Options caption is not the file's",
                    key + QStringLiteral(": ") + fuzz::shown(captions.value(key)) + QStringLiteral(" expected ")
                        + fuzz::shown(expected));
    }
    const auto *pages = dialog->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    fuzz::check(pages && pages->count() == 2 && pages->tabText(0) == captions.value(QStringLiteral("tsGeneral"))
                    && pages->tabText(1) == captions.value(QStringLiteral("tsConnection")),
                "the Options tabs do not show their sheets' captions");

    const QString family = ini.readString(section, QStringLiteral("frmOptions_FontName"), QString());
    const QString expectedFamily = family.isEmpty() ? designedFontFamily : withoutBrackets(family);
    fuzz::check(dialog->font().family() == expectedFamily, "the Options font is not the file's",
                fuzz::shown(dialog->font().family()) + QStringLiteral(" expected ") + fuzz::shown(expectedFamily));

    const auto *messages = dialog->findChild<TsmlMsgLangRes *>(QStringLiteral("smlMsgLangRes1"));
    fuzz::check(messages != nullptr, "the Options dialog has no message resource");
    const QString message = ini.readString(section, QStringLiteral("strInfomation"), QString());
    // A message keeps its text when the file's entry is empty, brackets taken off.
    const QString expectedMessage =
        withoutBrackets(message).isEmpty() ? QStringLiteral("Information") : withoutBrackets(message);
    fuzz::check(messages->MsgList()->value(QStringLiteral("strInfomation")) == expectedMessage,
                "an Options message is not the file's");
}

void applyToWalkForm(const QByteArray &bytes)
{
    const QString path = programFolder + QStringLiteral("/Walk.ini");
    fuzz::writeFile(path, bytes);

    TfrmWalk form;
    auto *formRes = named(new TsmlFormLangRes(&form), "smlFormLangRes1");
    auto *msgRes = named(new TsmlMsgLangRes(&form), "smlMsgLangRes1");
    try {
        formRes->SetLangFileName(QStringLiteral("Walk.ini"));
        formRes->SetAddBracket(true);
        formRes->SetStringProperties({QStringLiteral("Caption"), QStringLiteral("Hint")});
        formRes->SetStringsProperties({QStringLiteral("Tabs"), QStringLiteral("Items")});
        formRes->SetIncludeListViewHead(true);
        formRes->SetIncludeListViewItems(true);
        formRes->SetIncludeTreeViewItems(true);
        formRes->SetActive(true);

        msgRes->SetLangFileName(QStringLiteral("Walk.ini"));
        msgRes->SetAddBracket(true);
        msgRes->SetMsgList({QStringLiteral("strHello=Hello"), QStringLiteral("strEmpty="),
                            QStringLiteral("no name"), QStringLiteral("strSum=a=b")});
        msgRes->SetActive(true);
    } catch (const AppError &error) {
        fuzz::fail("applying the language file failed", error.text());
    }

    const QStringList texts = textsOf(form, *msgRes);
    const QByteArray file = fuzz::readFile(path);
    int writes = 0;
    TsmlLangRes::SetFileWatcher([&writes](const LangFileAccess &access) {
        if (access.kind == LangFileAccess::Write)
            ++writes;
    });
    formRes->SetActive(true);
    msgRes->SetActive(true);
    TsmlLangRes::SetFileWatcher({});
    fuzz::check(writes == 0, "a second apply wrote entries again");
    fuzz::check(fuzz::readFile(path) == file, "a second apply changed the file");
    const QStringList again = textsOf(form, *msgRes);
    for (qsizetype i = 0; i < texts.size() && i < again.size(); ++i)
        fuzz::check(texts.at(i) == again.at(i), "a second apply changed a text",
                    fuzz::shown(texts.at(i)) + QStringLiteral(" became ") + fuzz::shown(again.at(i)));
    fuzz::check(texts.size() == again.size(), "a second apply changed the number of texts");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::quietQt();
    fuzz::ensureApplication();
    programFolder = fuzz::scratchFolder() + QStringLiteral("/program");
    QDir().mkpath(programFolder);
    TsmlLangRes::SetProgramFolder(programFolder);
    // The dialog's own texts, without a language file.
    QFile::remove(programFolder + QStringLiteral("/English.ini"));
    const TfrmOptions designed;
    designedOptions = optionsCaptions(designed);
    designedFontFamily = designed.font().family();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    applyToOptionsDialog(bytes);
    applyToWalkForm(bytes);
    return 0;
}

#include "langfile.moc"
