// The form language resource: which components its walk reaches and how, its
// lists and switches, re-applying, and the Options dialog's configuration.
#include "LangFixture.h"

#include "lang/SMLFormLangRes.h"
#include "lang/SMLMsgLangRes.h"
#include "platform/Components.h"
#include "platform/Controls.h"
#include "platform/FontProperties.h"
#include "platform/ListControls.h"
#include "shell/frm_Root.h"

#include <QAction>
#include <QLineEdit>
#include <QMetaProperty>
#include <QStandardItemModel>
#include <QTimer>
#include <QtTest>

using namespace langtest;

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
        setObjectName("Frame1");
        Label2 = named(new Label("Inside", this), "Label2");
    }
    Label *Label2;
};

// Every kind of component a form can own.
class TfrmWalk : public TfrmRoot
{
    Q_OBJECT
public:
    TfrmWalk()
    {
        setObjectName("frmWalk");
        setWindowTitle("Walk");
        auto *panel = named(new Panel(this), "Panel1");
        Label1 = named(new Label("First", panel), "Label1");
        Button1 = named(new Button("Press", this), "Button1");
        named(new QTimer(this), "Timer1");
        auto *menu = named(new PopupMenu(this), "PopupMenu1");
        menu->setTitle("Menu");
        named(new QAction("Open", menu), "miOpen");
        ComboBox1 = named(new ComboBox(this), "ComboBox1");
        ComboBox1->items()->assign({"x", "y"});
        TabControl1 = named(new TabControl(this), "TabControl1");
        TabControl1->tabs()->assign({"t0", "t1"});
        PageControl1 = named(new PageControl(this), "PageControl1");
        ts1 = named(new TabSheet("Sheet", this), "ts1");
        PageControl1->addSheet(ts1);
        named(new CheckBox("Check", ts1), "CheckBox1");
        ListView1 = named(new ListView(this), "ListView1");
        ListView1->setColumnCaptions({"C0"});
        ListView1->addItem("i0");
        TreeView1 = named(new TreeView(this), "TreeView1");
        new QTreeWidgetItem(new QTreeWidgetItem(TreeView1, QStringList{"A"}), QStringList{"B"});
        TreeView1->setToolTip("Tree");
        HeaderControl1 = named(new HeaderControl(this), "HeaderControl1");
        HeaderControl1->addSection("H");
        auto *grid = named(new DataGrid(this), "DBGrid1");
        auto *data = new QStandardItemModel(0, 1, grid);
        data->setHorizontalHeaderLabels({"G"});
        grid->setModel(data);
        Frame1 = new TfraWalk(this);
        named(new QLineEdit("typed", this), "Edit1");
    }
    Label *Label1;
    Button *Button1;
    ComboBox *ComboBox1;
    TabControl *TabControl1;
    PageControl *PageControl1;
    TabSheet *ts1;
    ListView *ListView1;
    TreeView *TreeView1;
    HeaderControl *HeaderControl1;
    TfraWalk *Frame1;
};

class TfrmSmall : public TfrmRoot
{
    Q_OBJECT
public:
    TfrmSmall()
    {
        setObjectName("frmSmall");
        setWindowTitle("Small");
        btnOk = named(new Button("OK", this), "btnOk");
        labName = named(new Label("Name", this), "labName");
        lvItems = named(new ListView(this), "lvItems");
        lvItems->setColumnCaptions({"Column"});
        lvItems->addItem("Item");
    }
    Button *btnOk;
    Label *labName;
    ListView *lvItems;
};

// The Options dialog as the configuration table knows it: its class, its
// controls' names, kinds and texts, in the order it creates them.
class TfrmOptions : public TfrmRoot
{
    Q_OBJECT
public:
    TfrmOptions()
    {
        setObjectName("frmOptions");
        setWindowTitle("Options");
        PageControl1 = named(new PageControl(this), "PageControl1");
        tsGeneral = named(new TabSheet("General", this), "tsGeneral");
        PageControl1->addSheet(tsGeneral);
        chkAutoCopy = named(new CheckBox("Auto copy to clipboard in target language.", tsGeneral), "chkAutoCopy");
        chkAutoPaste =
            named(new CheckBox("Auto paste from clipboard in source language.", tsGeneral), "chkAutoPaste");
        rgLang = named(new GroupBox("Infterface language setting", tsGeneral), "rgLang");
        rgLang->hide();
        labLang = named(new Label("Please select a default Language :", rgLang), "labLang");
        cmbLang = named(new ComboBox(rgLang), "cmbLang");
        cmbLang->items()->assign({"English"});
        tsConnection = named(new TabSheet("Connection", this), "tsConnection");
        PageControl1->addSheet(tsConnection);
        rgProxySettings = named(new GroupBox("Proxy Settings", tsConnection), "rgProxySettings");
        labAddress = named(new Label("Address :", rgProxySettings), "labAddress");
        named(new QLineEdit(rgProxySettings), "edtAddress");
        labPort = named(new Label("Port :", rgProxySettings), "labPort");
        named(new QLineEdit(rgProxySettings), "edtPort");
        labUserName = named(new Label("User name :", rgProxySettings), "labUserName");
        named(new QLineEdit(rgProxySettings), "edtUserName");
        labPassword = named(new Label("Password :", rgProxySettings), "labPassword");
        named(new QLineEdit(rgProxySettings), "edtPassword");
        rbNoProxy = named(new RadioButton("No Proxy (direct connection)", rgProxySettings), "rbNoProxy");
        rbManuallyProxy =
            named(new RadioButton("Manually enter proxy settings", rgProxySettings), "rbManuallyProxy");
        btnOk = named(new Button("&OK", this), "btnOk");
        btnDefault = named(new Button("Default", this), "btnDefault");
    }

    // The texts the key table names, in its order.
    QStringList texts() const
    {
        return {PageControl1->tabText(0), chkAutoCopy->text(), chkAutoPaste->text(), rgLang->title(),
                labLang->text(), PageControl1->tabText(1), rgProxySettings->title(), labAddress->text(),
                labPort->text(), labUserName->text(), labPassword->text(), rbNoProxy->text(),
                rbManuallyProxy->text(), btnOk->text(), btnDefault->text()};
    }

    PageControl *PageControl1;
    TabSheet *tsGeneral, *tsConnection;
    CheckBox *chkAutoCopy, *chkAutoPaste;
    GroupBox *rgLang, *rgProxySettings;
    Label *labLang, *labAddress, *labPort, *labUserName, *labPassword;
    ComboBox *cmbLang;
    RadioButton *rbNoProxy, *rbManuallyProxy;
    Button *btnOk, *btnDefault;
};

} // namespace

class TestFormLangRes : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void walkOrder();
    void componentsVisited();
    void listAndTreeSwitches_data();
    void listAndTreeSwitches();
    void ignoreListsCompareExactly_data();
    void ignoreListsCompareExactly();
    void emptyStringPropertiesLeavesCaptions();
    void textLinesNamingOtherKinds();

    void everySetterReapplies_data();
    void everySetterReapplies();
    void newlyIgnoredControlKeepsItsText();
    void switchingFilesRevertsNothing();
    void listPropertiesAreCopies();

    void dataModuleOwnerChangesNothing();
    void frameOwnsItsControls();
    void secondResourceAppliesOnItsOwn();

    void optionsDialog_data();
    void optionsDialog();
};

void TestFormLangRes::defaults()
{
    TfrmSmall form;
    TsmlFormLangRes res(&form);
    QCOMPARE(res.property("StringProperties").toStringList(), QStringList{"Caption"});
    QCOMPARE(res.property("StringsProperties").toStringList(), QStringList({"Tabs", "Items"}));
    QCOMPARE(res.property("IgnoreControls").toStringList(), QStringList());
    for (const char *name : {"IgnoreFormCaption", "IncludeListViewItems", "IncludeListViewHead",
                             "IncludeTreeViewItems", "Active"})
        QCOMPARE(res.property(name), QVariant(false));
}

void TestFormLangRes::walkOrder()
{
    ProgramFolder program;
    TfrmWalk form;
    auto *res = named(new TsmlFormLangRes(&form), "smlFormLangRes1");
    res->SetLangFileName("lang.ini");
    res->SetIncludeListViewHead(true);
    res->SetIncludeListViewItems(true);
    res->SetIncludeTreeViewItems(true);
    res->SetActive(true);
    QCOMPARE(program.read("lang.ini"), QByteArray("[TfrmWalk]\r\n"
                                                  "frmWalk_FontName=Tahoma\r\n"
                                                  "frmWalk_FontSize=9\r\n"
                                                  "frmWalk_FontCharset=0\r\n"
                                                  "frmWalk_Caption=Walk\r\n"
                                                  "Label1_Caption=First\r\n"
                                                  "Button1_Caption=Press\r\n"
                                                  "ComboBox1_Items[0]=x\r\n"
                                                  "ComboBox1_Items[1]=y\r\n"
                                                  "TabControl1_Tabs[0]=t0\r\n"
                                                  "TabControl1_Tabs[1]=t1\r\n"
                                                  "ts1_Caption=Sheet\r\n"
                                                  "CheckBox1_Caption=Check\r\n"
                                                  "ListView1_ColumnCaption[0]=C0\r\n"
                                                  "ListView1_ItemCaption[0]=i0\r\n"
                                                  "TreeView1_ItemText[0]=A\r\n"
                                                  "TreeView1_ItemText[1]=B\r\n"
                                                  "HeaderControl1_SectionsText[0]=H\r\n"
                                                  "DBGrid1_ColumnsCaption[0]=G\r\n"));

    // What was written reads back as the same texts.
    const QByteArray written = program.read("lang.ini");
    res->SetActive(true);
    QCOMPARE(program.read("lang.ini"), written);
    QCOMPARE(form.ts1->caption(), "Sheet");
    QCOMPARE(form.PageControl1->tabText(0), "Sheet");
}

// Every component the walk reaches gets its "objectName" entry (the walk's
// text properties include Qt's own), so the entries written list them in order.
void TestFormLangRes::componentsVisited()
{
    ProgramFolder program;
    TfrmWalk form;
    named(new TsmlMsgLangRes(&form), "smlMsgLangRes1");
    auto *res = named(new TsmlFormLangRes(&form), "smlFormLangRes1");
    named(new TsmlFormLangRes(&form), "smlFormLangRes2");
    res->SetLangFileName("lang.ini");
    res->SetStringProperties({"objectName"});
    res->SetStringsProperties({});
    Accesses accesses;
    res->SetActive(true);
    QStringList visited;
    for (const QString &key : accesses.writes()) {
        if (!key.contains("_Font"))
            visited.append(key);
    }
    QCOMPARE(visited, QStringList({"frmWalk_objectName", "Panel1_objectName", "Label1_objectName",
                                   "Button1_objectName", "PopupMenu1_objectName", "ComboBox1_objectName",
                                   "TabControl1_objectName", "PageControl1_objectName", "ts1_objectName",
                                   "CheckBox1_objectName", "TreeView1_objectName", "HeaderControl1_SectionsText[0]",
                                   "DBGrid1_ColumnsCaption[0]", "Frame1_objectName", "Edit1_objectName",
                                   "smlMsgLangRes1_objectName"}));
}

void TestFormLangRes::listAndTreeSwitches_data()
{
    QTest::addColumn<bool>("head");
    QTest::addColumn<bool>("items");
    QTest::addColumn<bool>("tree");
    QTest::addColumn<QStringList>("reads");

    QTest::newRow("all off: the list view is left alone, the tree is ordinary")
        << false << false << false << QStringList{"TreeView1_toolTip"};
    QTest::newRow("head") << true << false << false
                          << QStringList({"ListView1_ColumnCaption[0]", "TreeView1_toolTip"});
    QTest::newRow("items") << false << true << false
                           << QStringList({"ListView1_ItemCaption[0]", "TreeView1_toolTip"});
    QTest::newRow("tree nodes, nothing else")
        << true << true << true
        << QStringList({"ListView1_ColumnCaption[0]", "ListView1_ItemCaption[0]", "TreeView1_ItemText[0]",
                        "TreeView1_ItemText[1]"});
}

void TestFormLangRes::listAndTreeSwitches()
{
    QFETCH(bool, head);
    QFETCH(bool, items);
    QFETCH(bool, tree);
    QFETCH(QStringList, reads);

    ProgramFolder program;
    program.write("lang.ini", "[TfrmWalk]\r\nTreeView1_toolTip=Boom\r\nListView1_toolTip=Lijst\r\n"
                              "ListView1_ColumnCaption[0]=Kolom\r\nTreeView1_ItemText[1]=Be\r\n");
    TfrmWalk form;
    form.ListView1->setToolTip("List");
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(false);
    res.SetStringProperties({"toolTip"});
    res.SetIncludeListViewHead(head);
    res.SetIncludeListViewItems(items);
    res.SetIncludeTreeViewItems(tree);
    Accesses accesses;
    res.SetActive(true);
    QStringList seen;
    for (const QString &key : accesses.reads()) {
        if (key.startsWith("ListView1") || key.startsWith("TreeView1"))
            seen.append(key);
    }
    QCOMPARE(seen, reads);
    QCOMPARE(form.ListView1->toolTip(), "List");
    QCOMPARE(form.TreeView1->toolTip(), tree ? "Tree" : "Boom");
    QCOMPARE(form.TreeView1->nodeText(1), tree ? "Be" : "B");
    QCOMPARE(form.ListView1->columnCaption(0), head ? "Kolom" : "C0");
}

void TestFormLangRes::ignoreListsCompareExactly_data()
{
    QTest::addColumn<QStringList>("ignoreControls");
    QTest::addColumn<QStringList>("stringProperties");
    QTest::addColumn<bool>("ignoreFormCaption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("button");

    QTest::newRow("button ignored") << QStringList{"btnOk"} << QStringList{"Caption"} << false << "Title" << "OK";
    QTest::newRow("other case protects nothing") << QStringList{"btnok"} << QStringList{"Caption"} << false
                                                 << "Title" << "Okay";
    QTest::newRow("blank around the name protects nothing") << QStringList{"btnOk "} << QStringList{"Caption"}
                                                            << false << "Title" << "Okay";
    QTest::newRow("the owner is never ignored") << QStringList{"frmSmall"} << QStringList{"Caption"} << false
                                                << "Title" << "Okay";
    QTest::newRow("form caption skipped") << QStringList() << QStringList{"Caption"} << true << "Small" << "Okay";
    QTest::newRow("lower-case caption line is not skipped")
        << QStringList() << QStringList{"caption"} << true << "Title" << "Okay";
}

void TestFormLangRes::ignoreListsCompareExactly()
{
    QFETCH(QStringList, ignoreControls);
    QFETCH(QStringList, stringProperties);
    QFETCH(bool, ignoreFormCaption);
    QFETCH(QString, title);
    QFETCH(QString, button);

    ProgramFolder program;
    program.write("lang.ini", "[TfrmSmall]\r\nfrmSmall_Caption=Title\r\nbtnOk_Caption=Okay\r\n");
    TfrmSmall form;
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(false);
    res.SetIgnoreControls(ignoreControls);
    res.SetStringProperties(stringProperties);
    res.SetIgnoreFormCaption(ignoreFormCaption);
    Accesses accesses;
    res.SetActive(true);
    QCOMPARE(form.windowTitle(), title);
    QCOMPARE(form.btnOk->text(), button);
    // The key is spelled as the list spells the property.
    const QString property = stringProperties.first();
    QCOMPARE(accesses.reads().contains("frmSmall_" + property), !ignoreFormCaption || property != "Caption");
    for (const QString &key : accesses.reads()) {
        if (!key.contains("_Font"))
            QVERIFY2(key.endsWith("_" + stringProperties.first()), qPrintable(key));
    }
}

void TestFormLangRes::emptyStringPropertiesLeavesCaptions()
{
    ProgramFolder program;
    program.write("lang.ini", "[TfrmWalk]\r\nfrmWalk_FontName=Arial\r\nButton1_Caption=Druk\r\n"
                              "frmWalk_Caption=Loop\r\nComboBox1_Items[1]=Ypsilon\r\n"
                              "HeaderControl1_SectionsText[0]=Kop\r\nDBGrid1_ColumnsCaption[0]=Gee\r\n"
                              "ListView1_ColumnCaption[0]=Kolom\r\nTreeView1_ItemText[0]=Aa\r\n");
    TfrmWalk form;
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(false);
    res.SetStringProperties({});
    res.SetIncludeListViewHead(true);
    res.SetIncludeTreeViewItems(true);
    res.SetActive(true);
    QCOMPARE(form.windowTitle(), "Walk");
    QCOMPARE(form.Button1->text(), "Press");
    QCOMPARE(form.font().family(), "Arial");
    QCOMPARE(form.ComboBox1->itemText(1), "Ypsilon");
    QCOMPARE(form.HeaderControl1->sectionText(0), "Kop");
    QCOMPARE(form.ListView1->columnCaption(0), "Kolom");
    QCOMPARE(form.TreeView1->nodeText(0), "Aa");
    QCOMPARE(form.findChild<DataGrid *>("DBGrid1")->columnTitle(0), "Gee");
}

void TestFormLangRes::textLinesNamingOtherKinds()
{
    ProgramFolder program;
    program.write("lang.ini", "[TfrmSmall]\r\nbtnOk_enabled=false\r\n");
    TfrmSmall form;
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    // A number-like property in the text list, a font in the string-list list.
    res.SetStringProperties({"enabled"});
    res.SetStringsProperties({"font", "Caption"});
    res.SetActive(true);
    QVERIFY(form.btnOk->isEnabled());
    QCOMPARE(program.read("lang.ini"), QByteArray("[TfrmSmall]\r\nbtnOk_enabled=false\r\n"
                                                  "frmSmall_FontName=Tahoma\r\nfrmSmall_FontSize=9\r\n"
                                                  "frmSmall_FontCharset=0\r\nfrmSmall_enabled=\r\n"
                                                  "labName_enabled=\r\n"));
}

void TestFormLangRes::everySetterReapplies_data()
{
    QTest::addColumn<bool>("activeFirst");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("expected");

    const QStringList reapplying = {"LangFileName", "IgnoreEmptyString", "AutoCreateMode", "StringProperties",
                                    "StringsProperties", "IgnoreControls", "IgnoreFormCaption",
                                    "IncludeListViewItems", "IncludeListViewHead", "IncludeTreeViewItems", "Active",
                                    "StringProperties appended", "StringsProperties removed",
                                    "IgnoreControls appended", "StringProperties line replaced"};
    for (const QString &change : reapplying)
        QTest::newRow(qPrintable(change)) << true << change << "Second";
    QTest::newRow("AddBracket") << true << "AddBracket" << "First";
    QTest::newRow("Active off") << true << "Active off" << "First";
    QTest::newRow("inactive, list changed") << false << "StringProperties appended" << "OK";
    QTest::newRow("inactive, switch set") << false << "IgnoreFormCaption" << "OK";
    QTest::newRow("inactive, activated") << false << "Active" << "Second";
}

void TestFormLangRes::everySetterReapplies()
{
    QFETCH(bool, activeFirst);
    QFETCH(QString, change);
    QFETCH(QString, expected);

    ProgramFolder program;
    program.write("lang.ini", "[TfrmSmall]\r\nbtnOk_Caption=First\r\n");
    TfrmSmall form;
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(false);
    if (activeFirst) {
        res.SetActive(true);
        QCOMPARE(form.btnOk->text(), "First");
    }
    program.write("lang.ini", "[TfrmSmall]\r\nbtnOk_Caption=Second\r\n");

    // Each property is set to the value it already has.
    if (change == "StringProperties appended")
        res.StringProperties()->append("Hint");
    else if (change == "StringsProperties removed")
        res.StringsProperties()->removeAt(0);
    else if (change == "IgnoreControls appended")
        res.IgnoreControls()->append("nothing");
    else if (change == "StringProperties line replaced")
        res.StringProperties()->replace(0, "Caption");
    else if (change == "Active off")
        res.SetActive(false);
    else if (change == "LangFileName")
        QVERIFY(res.setProperty("LangFileName", "lang.ini"));
    else if (change == "Active")
        QVERIFY(res.setProperty("Active", true));
    else
        QVERIFY(res.setProperty(qPrintable(change), res.property(qPrintable(change))));
    QCOMPARE(form.btnOk->text(), expected);
}

void TestFormLangRes::newlyIgnoredControlKeepsItsText()
{
    ProgramFolder program;
    program.write("lang.ini", "[TfrmSmall]\r\nbtnOk_Caption=Okay\r\nlabName_Caption=Naam\r\n");
    TfrmSmall form;
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(false);
    res.SetActive(true);
    QCOMPARE(form.btnOk->text(), "Okay");

    program.write("lang.ini", "[TfrmSmall]\r\nbtnOk_Caption=Ja\r\nlabName_Caption=Nom\r\n");
    res.IgnoreControls()->append("btnOk");
    QCOMPARE(form.btnOk->text(), "Okay");
    QCOMPARE(form.labName->text(), "Nom");
}

void TestFormLangRes::switchingFilesRevertsNothing()
{
    ProgramFolder program;
    program.write("one.ini", "[TfrmSmall]\r\nbtnOk_Caption=One\r\nlabName_Caption=Uno\r\n");
    program.write("two.ini", "[TfrmSmall]\r\nbtnOk_Caption=Two\r\nlabName_Caption=\r\n");
    TfrmSmall form;
    TsmlFormLangRes res(&form);
    res.SetAutoCreateMode(false);
    res.SetLangFileName("one.ini");
    res.SetActive(true);
    res.setProperty("LangFileName", "two.ini");
    QCOMPARE(form.btnOk->text(), "Two");
    QCOMPARE(form.labName->text(), "Uno");
    QCOMPARE(res.LangFileName(), "two.ini");
}

void TestFormLangRes::listPropertiesAreCopies()
{
    ProgramFolder program;
    program.write("lang.ini", "[TfrmSmall]\r\nbtnOk_Caption=Okay\r\n");
    TfrmSmall form;
    TsmlFormLangRes res(&form);
    StringList *own = res.IgnoreControls();
    QStringList lines{"btnOk"};
    res.setProperty("IgnoreControls", lines);
    lines.clear();
    QCOMPARE(res.IgnoreControls(), own);
    QCOMPARE(own->lines(), QStringList{"btnOk"});
    res.SetAutoCreateMode(false);
    res.SetLangFileName("lang.ini");
    res.SetActive(true);
    QCOMPARE(form.btnOk->text(), "OK");
}

void TestFormLangRes::dataModuleOwnerChangesNothing()
{
    ProgramFolder program;
    DataModule module;
    module.setObjectName("dmMain");
    auto *child = named(new Label("Text"), "labChild");
    child->setParent(nullptr);
    TsmlFormLangRes res(&module);
    Accesses accesses;
    res.SetLangFileName("lang.ini");
    res.SetStringProperties({"objectName"});
    res.SetIncludeTreeViewItems(true);
    res.SetActive(true);
    QCOMPARE(accesses.all().size(), 0);
    QCOMPARE(program.read("lang.ini"), QByteArray());
    delete child;
}

void TestFormLangRes::frameOwnsItsControls()
{
    ProgramFolder program;
    TfrmWalk form;
    auto *formRes = new TsmlFormLangRes(&form);
    auto *frameRes = new TsmlFormLangRes(form.Frame1);
    QCOMPARE(frameRes->OwnerFrame(), form.Frame1);
    for (TsmlFormLangRes *res : {formRes, frameRes}) {
        res->SetLangFileName("lang.ini");
        res->SetStringsProperties({});
        res->SetIgnoreFormCaption(true);
    }
    Accesses accesses;
    frameRes->SetActive(true);
    QCOMPARE(accesses.reads(), QStringList({"Frame1_FontName", "Frame1_FontSize", "Frame1_FontCharset",
                                            "Label2_Caption"}));
    QCOMPARE(accesses.all().first().section, "TfraWalk");
    accesses.clear();
    formRes->SetActive(true);
    QVERIFY(!accesses.reads().contains("Label2_Caption"));
    QVERIFY(accesses.reads().contains("Label1_Caption"));
    QVERIFY(program.read("lang.ini").startsWith("[TfraWalk]\r\nFrame1_FontName=Tahoma\r\n"));
}

void TestFormLangRes::secondResourceAppliesOnItsOwn()
{
    ProgramFolder program;
    program.write("one.ini", "[TfrmSmall]\r\nbtnOk_Caption=One\r\n");
    program.write("two.ini", "[TfrmSmall]\r\nlabName_Caption=Two\r\nbtnOk_Caption=Deux\r\n");
    TfrmSmall form;
    auto *first = named(new TsmlFormLangRes(&form), "smlFormLangRes1");
    auto *second = named(new TsmlFormLangRes(&form), "smlFormLangRes2");
    first->SetAutoCreateMode(false);
    second->SetAutoCreateMode(false);
    first->SetStringProperties({"Caption", "LangFileName"});
    first->SetLangFileName("one.ini");
    second->SetLangFileName("two.ini");
    second->SetIgnoreControls({"btnOk"});
    first->SetActive(true);
    QCOMPARE(form.btnOk->text(), "One");
    QCOMPARE(form.labName->text(), "Name");
    QCOMPARE(second->LangFileName(), "two.ini");
    second->SetActive(true);
    QCOMPARE(form.labName->text(), "Two");
    QCOMPARE(form.btnOk->text(), "One");
}

void TestFormLangRes::optionsDialog_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("message");

    const QStringList designed = TfrmOptions().texts();
    QTest::newRow("no file") << QByteArray() << designed << "Information";
    QTest::newRow("keys without values") << QByteArray("[TfrmOptions]\r\ntsGeneral_Caption=\r\nbtnOk_Caption=\r\n"
                                                       "strInfomation=\r\n")
                                         << designed << "Information";

    const QStringList translated = {"Chung", "Tu dong chep", "Tu dong dan", "Ngon ngu", "Chon ngon ngu :",
                                    "Ket noi", "May chu trung gian", "Dia chi :", "Cong :", "Ten :",
                                    "Mat khau :", "Khong", "Tu nhap", "&Dong y", "Mac dinh"};
    const QStringList keys = {"tsGeneral", "chkAutoCopy", "chkAutoPaste", "rgLang", "labLang", "tsConnection",
                              "rgProxySettings", "labAddress", "labPort", "labUserName", "labPassword",
                              "rbNoProxy", "rbManuallyProxy", "btnOk", "btnDefault"};
    QByteArray file = "[TfrmOptions]\r\nfrmOptions_Caption=Tuy chon\r\nfrmOptions_FontName=Arial\r\n"
                      "frmOptions_FontSize=10\r\nfrmOptions_FontCharset=163\r\ncmbLang_Items[0]=Anh\r\n"
                      "edtPort_Caption=8080\r\nedtPort_Text=8080\r\nPageControl1_Tabs[0]=x\r\n"
                      "strInfomation=<Thong tin>\r\n";
    for (int i = 0; i < keys.size(); ++i)
        file += (keys.at(i) + "_Caption=" + translated.at(i) + "\r\n").toUtf8();
    QTest::newRow("translated") << file << translated << "Thong tin";
}

void TestFormLangRes::optionsDialog()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, texts);
    QFETCH(QString, message);

    ProgramFolder program;
    program.write("English.ini", file);
    TfrmOptions form;
    auto *smlFormLangRes1 = named(new TsmlFormLangRes(&form), "smlFormLangRes1");

    // The dialog's settings, set by name in the order the component publishes them.
    const QList<QPair<QByteArray, QVariant>> settings = {
        {"LangFileName", QString("English.ini")},  {"IgnoreEmptyString", true},
        {"AutoCreateMode", false},                 {"AddBracket", false},
        {"StringProperties", QStringList{"Caption"}}, {"StringsProperties", QStringList{"Tabs"}},
        {"IgnoreControls", QStringList{"rbTransNo2"}}, {"IgnoreFormCaption", true},
        {"IncludeListViewItems", false},           {"IncludeListViewHead", true},
        {"IncludeTreeViewItems", false},           {"Active", true}};
    const QMetaObject *meta = smlFormLangRes1->metaObject();
    QCOMPARE(meta->propertyCount() - QObject::staticMetaObject.propertyCount(), settings.size());
    Accesses accesses;
    for (int i = 0; i < settings.size(); ++i) {
        const QMetaProperty property = meta->property(QObject::staticMetaObject.propertyCount() + i);
        QCOMPARE(QByteArray(property.name()), settings.at(i).first);
        QCOMPARE(property.metaType(), settings.at(i).second.metaType());
        QVERIFY(property.write(smlFormLangRes1, settings.at(i).second));
    }

    const QStringList table = {"frmOptions_FontName", "frmOptions_FontSize", "frmOptions_FontCharset",
                               "tsGeneral_Caption", "chkAutoCopy_Caption", "chkAutoPaste_Caption",
                               "rgLang_Caption", "labLang_Caption", "tsConnection_Caption",
                               "rgProxySettings_Caption", "labAddress_Caption", "labPort_Caption",
                               "labUserName_Caption", "labPassword_Caption", "rbNoProxy_Caption",
                               "rbManuallyProxy_Caption", "btnOk_Caption", "btnDefault_Caption"};
    QCOMPARE(accesses.reads(), table);
    QCOMPARE(accesses.writes(), QStringList());
    for (const LangFileAccess &access : accesses.all()) {
        QCOMPARE(access.path, program.path("English.ini"));
        QCOMPARE(access.section, "TfrmOptions");
    }
    QCOMPARE(form.texts(), texts);
    QCOMPARE(form.windowTitle(), "Options");
    QCOMPARE(form.cmbLang->itemText(0), "English");
    const bool translated = texts != TfrmOptions().texts();
    QCOMPARE(form.font().family(), translated ? "Arial" : "Tahoma");
    QCOMPARE(FontPointSize(form.font()), translated ? 10 : 9);
    QCOMPARE(FontCharset(&form), translated ? 163 : 0);

    // The message resource, made after it, with its own settings.
    auto *smlMsgLangRes1 = named(new TsmlMsgLangRes(&form), "smlMsgLangRes1");
    accesses.clear();
    smlMsgLangRes1->setProperty("LangFileName", "English.ini");
    smlMsgLangRes1->setProperty("IgnoreEmptyString", false);
    smlMsgLangRes1->setProperty("AutoCreateMode", false);
    smlMsgLangRes1->setProperty("AddBracket", false);
    smlMsgLangRes1->setProperty("MsgList", QStringList{"strInfomation=Information"});
    smlMsgLangRes1->setProperty("Active", true);
    QCOMPARE(accesses.reads(), QStringList{"strInfomation"});
    QCOMPARE(smlMsgLangRes1->MsgList()->value("strInfomation"), message);

    // A later apply, with the message resource among the components, reads the same.
    accesses.clear();
    smlFormLangRes1->SetActive(true);
    QCOMPARE(accesses.reads(), table);
    QCOMPARE(accesses.writes(), QStringList());
    QCOMPARE(program.read("English.ini"), file);
}

QTEST_MAIN(TestFormLangRes)
#include "tst_formlangres.moc"
