// The platform pieces the language resources stand on: properties by name,
// the string list, the controls that publish texts, the list controls, fonts
// and the ownership order.
#include "lang/SMLFormLangRes.h"
#include "lang/SMLPublic.h"
#include "platform/AppError.h"
#include "platform/Components.h"
#include "platform/Controls.h"
#include "platform/FontProperties.h"
#include "platform/ListControls.h"
#include "platform/StringList.h"
#include "shell/frm_Root.h"

#include <QLineEdit>
#include <QStandardItemModel>
#include <QtTest>

#include <memory>

class TestLangControls : public QObject
{
    Q_OBJECT

private slots:
    void hasProperty_data();
    void hasProperty();

    void stringListChanges_data();
    void stringListChanges();
    void stringListBounds();
    void nameValue_data();
    void nameValue();

    void comboBoxItems();
    void tabControlTabs();
    void tabSheetCaption();
    void pagesInPageOrder();

    void treeViewNumbering();
    void listView();
    void headerControl();
    void dataGridTitles();

    void fontSizes_data();
    void fontSizes();
    void fontCharset();
};

void TestLangControls::hasProperty_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("has");

    QTest::newRow("label Caption") << "label" << "Caption" << true;
    QTest::newRow("label caption") << "label" << "caption" << true;
    QTest::newRow("label CAPTION") << "label" << "CAPTION" << true;
    QTest::newRow("label Hint") << "label" << "hint" << true;
    QTest::newRow("Qt's own text") << "label" << "Text" << true;
    QTest::newRow("Qt's own font") << "label" << "Font" << true;
    QTest::newRow("inherited objectName") << "label" << "OBJECTNAME" << true;
    QTest::newRow("label Items") << "label" << "Items" << false;
    QTest::newRow("part of a name") << "label" << "Capt" << false;
    QTest::newRow("empty name") << "label" << "" << false;
    QTest::newRow("group box Caption") << "group" << "Caption" << true;
    QTest::newRow("combo Items") << "combo" << "items" << true;
    QTest::newRow("combo Caption") << "combo" << "Caption" << false;
    QTest::newRow("page control Caption") << "pages" << "Caption" << false;
    QTest::newRow("page control Tabs") << "pages" << "Tabs" << false;
    QTest::newRow("tab control Tabs") << "tabs" << "TABS" << true;
    QTest::newRow("tab sheet Caption") << "sheet" << "caption" << true;
    QTest::newRow("form Caption") << "form" << "Caption" << true;
    QTest::newRow("plain widget Caption") << "widget" << "Caption" << false;
    QTest::newRow("edit Caption") << "edit" << "Caption" << false;
    QTest::newRow("edit text") << "edit" << "text" << true;
    QTest::newRow("language resource Active") << "resource" << "active" << true;
    QTest::newRow("no component") << "none" << "Caption" << false;
}

void TestLangControls::hasProperty()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(bool, has);

    TfrmRoot form;
    QObject *component = nullptr;
    if (kind == "label")
        component = new Label(&form);
    else if (kind == "group")
        component = new GroupBox(&form);
    else if (kind == "combo")
        component = new ComboBox(&form);
    else if (kind == "pages")
        component = new PageControl(&form);
    else if (kind == "tabs")
        component = new TabControl(&form);
    else if (kind == "sheet")
        component = new TabSheet(&form);
    else if (kind == "form")
        component = &form;
    else if (kind == "widget")
        component = new QWidget(&form);
    else if (kind == "edit")
        component = new QLineEdit(&form);
    else if (kind == "resource")
        component = new TsmlFormLangRes(&form);
    QCOMPARE(HasProperty(component, name), has);
}

void TestLangControls::stringListChanges_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("replace with the same text") << "replace same" << 1 << QStringList({"a", "b=2"});
    QTest::newRow("append") << "append" << 1 << QStringList({"a", "b=2", "c"});
    QTest::newRow("insert at the end") << "insert end" << 1 << QStringList({"a", "b=2", "c"});
    QTest::newRow("remove") << "remove" << 1 << QStringList{"b=2"};
    QTest::newRow("assign") << "assign" << 1 << QStringList({"x", "y", "z"});
    QTest::newRow("assign the same lines") << "assign same" << 1 << QStringList({"a", "b=2"});
    QTest::newRow("clear") << "clear" << 1 << QStringList();
    QTest::newRow("clear twice") << "clear twice" << 1 << QStringList();
    QTest::newRow("set a new value") << "set new" << 1 << QStringList({"a", "b=2", "c=3"});
    QTest::newRow("set a value, other case") << "set existing" << 1 << QStringList({"a", "B=9"});
    QTest::newRow("empty value removes") << "set empty" << 1 << QStringList{"a"};
    QTest::newRow("empty value for no line") << "set empty absent" << 0 << QStringList({"a", "b=2"});
}

void TestLangControls::stringListChanges()
{
    QFETCH(QString, operation);
    QFETCH(int, changes);
    QFETCH(QStringList, lines);

    StringList list({"a", "b=2"});
    int seen = 0;
    list.setOnChange([&] { ++seen; });
    if (operation == "replace same")
        list.replace(0, "a");
    else if (operation == "append")
        list.append("c");
    else if (operation == "insert end")
        list.insert(2, "c");
    else if (operation == "remove")
        list.removeAt(0);
    else if (operation == "assign")
        list.assign({"x", "y", "z"});
    else if (operation == "assign same")
        list.assign({"a", "b=2"});
    else if (operation == "clear")
        list.clear();
    else if (operation == "clear twice") {
        list.clear();
        list.clear();
    } else if (operation == "set new")
        list.setValue("c", "3");
    else if (operation == "set existing")
        list.setValue("B", "9");
    else if (operation == "set empty")
        list.setValue("b", "");
    else if (operation == "set empty absent")
        list.setValue("c", "");
    QCOMPARE(seen, changes);
    QCOMPARE(list.lines(), lines);
}

void TestLangControls::stringListBounds()
{
    StringList list({"a"});
    int seen = 0;
    list.setOnChange([&] { ++seen; });
    try {
        list.replace(1, "x");
        QFAIL("an index past the end should fail");
    } catch (const AppError &error) {
        QCOMPARE(error.text(), "List index out of bounds (1)");
    }
    QVERIFY_THROWS_EXCEPTION(AppError, list.at(-1));
    QVERIFY_THROWS_EXCEPTION(AppError, list.removeAt(1));
    QVERIFY_THROWS_EXCEPTION(AppError, list.insert(2, "x"));
    QVERIFY_THROWS_EXCEPTION(AppError, list.name(5));
    QCOMPARE(seen, 0);
    QCOMPARE(list.lines(), QStringList{"a"});
}

void TestLangControls::nameValue_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("value");

    QTest::newRow("exact") << "strA" << 1 << "Alpha";
    QTest::newRow("other case") << "STRA" << 1 << "Alpha";
    QTest::newRow("first of two") << "strB" << 2 << "one";
    QTest::newRow("value holding =") << "strC" << 4 << "x=y";
    QTest::newRow("line without =") << "plain" << -1 << "";
    QTest::newRow("empty name") << "" << 5 << "nameless";
    QTest::newRow("unknown") << "strZ" << -1 << "";
    QTest::newRow("prefix only") << "str" << -1 << "";
}

void TestLangControls::nameValue()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, value);

    const StringList list({"plain", "strA=Alpha", "strB=one", "STRB=two", "strC=x=y", "=nameless"});
    QCOMPARE(list.indexOfName(name), index);
    QCOMPARE(list.value(name), value);
    if (index >= 0) {
        QCOMPARE(list.valueFromIndex(index), value);
        QCOMPARE(list.name(index).compare(name, Qt::CaseInsensitive), 0);
    }
}

void TestLangControls::comboBoxItems()
{
    ComboBox combo;
    combo.items()->assign({"one", "two", "three"});
    QCOMPARE(combo.count(), 3);
    combo.setCurrentIndex(1);

    // Same number of lines: texts change in place, the selection stays.
    combo.items()->replace(1, "deux");
    QCOMPARE(combo.itemText(1), "deux");
    QCOMPARE(combo.currentIndex(), 1);
    QCOMPARE(combo.currentText(), "deux");

    // The control's own item calls reach the list.
    combo.addItem("four");
    combo.setItemText(0, "un");
    combo.removeItem(2);
    QCOMPARE(combo.items()->lines(), QStringList({"un", "deux", "four"}));

    combo.items()->removeAt(0);
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.itemText(0), "deux");

    auto *model = new QStandardItemModel(&combo);
    model->appendRow(new QStandardItem("model"));
    combo.setModel(model);
    QCOMPARE(combo.items()->lines(), QStringList{"model"});
    model->appendRow(new QStandardItem("more"));
    QCOMPARE(combo.items()->lines(), QStringList({"model", "more"}));
}

void TestLangControls::tabControlTabs()
{
    TabControl bar;
    bar.tabs()->assign({"a", "b", "c"});
    QCOMPARE(bar.count(), 3);
    bar.setTabText(1, "changed");
    QCOMPARE(bar.tabs()->lines(), QStringList({"a", "changed", "c"}));
    bar.tabs()->replace(2, "C");
    QCOMPARE(bar.tabText(2), "C");
    bar.tabs()->assign({"only"});
    QCOMPARE(bar.count(), 1);
    QCOMPARE(bar.tabText(0), "only");
    bar.addTab("added");
    QCOMPARE(bar.tabs()->lines(), QStringList({"only", "added"}));
}

void TestLangControls::tabSheetCaption()
{
    PageControl pages;
    auto *sheet = new TabSheet("General");
    QCOMPARE(sheet->pageControl(), nullptr);
    sheet->setProperty("Caption", "Allgemein");
    pages.addSheet(sheet);
    QCOMPARE(sheet->pageControl(), &pages);
    QCOMPARE(pages.tabText(0), "Allgemein");
    sheet->setProperty("Caption", "Chung");
    QCOMPARE(pages.tabText(0), "Chung");
    pages.setTabText(0, "Tab");
    QCOMPARE(sheet->property("Caption").toString(), "Tab");

    // A sheet placed on another sheet is no page of that page control.
    auto *inner = new TabSheet("Inner", sheet);
    QCOMPARE(inner->pageControl(), nullptr);
    inner->setCaption("Still inner");
    QCOMPARE(pages.tabText(0), "Tab");
}

void TestLangControls::pagesInPageOrder()
{
    TfrmRoot form;
    form.setObjectName("form");
    auto *pages = new PageControl(&form);
    pages->setObjectName("pages");
    QStringList expected{"pages"};
    for (const char *name : {"first", "second", "third"}) {
        auto *sheet = new TabSheet(&form);
        sheet->setObjectName(name);
        new QLabel(sheet); // unnamed: not listed
        auto *inside = new Label(sheet);
        inside->setObjectName(QString(name) + "Label");
        pages->addSheet(sheet);
        expected << name << QString(name) + "Label";
    }
    auto *after = new Button(&form);
    after->setObjectName("after");
    pages->setCurrentIndex(2);
    pages->widget(0)->raise();

    QStringList names;
    for (QObject *component : OwnedComponents(&form)) {
        if (!component->objectName().startsWith("qt_") && !qobject_cast<QTabBar *>(component->parent()))
            names << component->objectName();
    }
    QCOMPARE(names, expected << "after");
}

void TestLangControls::treeViewNumbering()
{
    TreeView tree;
    auto *a = new QTreeWidgetItem(&tree, QStringList{"A"});
    new QTreeWidgetItem(a, QStringList{"A1"});
    auto *b = new QTreeWidgetItem(&tree, QStringList{"B"});
    QCOMPARE(tree.nodeCount(), 3);
    QCOMPARE(tree.nodeText(2), "B");

    // The numbering follows every change of the tree's shape.
    new QTreeWidgetItem(b, QStringList{"B1"});
    a->insertChild(0, new QTreeWidgetItem(QStringList{"A0"}));
    QCOMPARE(tree.nodeCount(), 5);
    QStringList texts;
    for (int i = 0; i < tree.nodeCount(); ++i)
        texts << tree.nodeText(i);
    QCOMPARE(texts, QStringList({"A", "A0", "A1", "B", "B1"}));

    delete a;
    QCOMPARE(tree.nodeCount(), 2);
    QCOMPARE(tree.nodeText(0), "B");
    tree.setNodeText(1, "Bee one");
    QCOMPARE(b->child(0)->text(0), "Bee one");

    tree.clear();
    QCOMPARE(tree.nodeCount(), 0);
    QCOMPARE(tree.nodeText(0), "");
    tree.setNodeText(0, "nothing"); // nothing there: no harm
}

void TestLangControls::listView()
{
    ListView view;
    view.setColumnCaptions({"Name", "Size", "Kind"});
    view.addItem("a", {"1"});
    QCOMPARE(view.columnCount(), 3);
    QCOMPARE(view.subItemCount(0), 1);
    view.setSubItem(0, 0, "one");
    view.setSubItem(0, 1, "beyond"); // no such sub-item
    QCOMPARE(view.subItem(0, 0), "one");
    QCOMPARE(view.subItemCount(0), 1);
    view.setColumnCaption(2, "Type");
    QCOMPARE(view.headerItem()->text(2), "Type");
    QCOMPARE(view.itemCaption(5), "");
}

void TestLangControls::headerControl()
{
    HeaderControl header;
    QCOMPARE(header.addSection("One"), 0);
    QCOMPARE(header.addSection("Two"), 1);
    QCOMPARE(header.sectionCount(), 2);
    header.setSectionText(1, "Deux");
    QCOMPARE(header.sectionText(1), "Deux");
    QCOMPARE(header.model()->headerData(1, Qt::Horizontal).toString(), "Deux");
    header.setSectionText(2, "none");
    QCOMPARE(header.sectionCount(), 2);
}

void TestLangControls::dataGridTitles()
{
    DataGrid grid;
    QCOMPARE(grid.columnCount(), 0);
    QCOMPARE(grid.columnTitle(0), "");

    auto *data = new QStandardItemModel(1, 3, &grid);
    data->setHorizontalHeaderLabels({"Id", "Name", "Price"});
    grid.setModel(data);
    QCOMPARE(grid.dataModel(), data);
    QCOMPARE(grid.columnTitle(1), "Name");

    grid.setColumnTitle(1, "Naam");
    QCOMPARE(grid.columnTitle(1), "Naam");
    QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), "Naam");
    QCOMPARE(data->headerData(1, Qt::Horizontal).toString(), "Name");

    // The title follows its column.
    data->insertColumn(0);
    QCOMPARE(grid.columnTitle(2), "Naam");
    QCOMPARE(grid.columnTitle(1), "Id");
    data->removeColumns(0, 2);
    QCOMPARE(grid.columnTitle(0), "Naam");
    QCOMPARE(grid.columnTitle(1), "Price");

    auto *other = new QStandardItemModel(0, 1, &grid);
    grid.setModel(other);
    QCOMPARE(grid.columnTitle(0), "1");
    grid.setColumnTitle(3, "beyond");
    QCOMPARE(grid.columnCount(), 1);
}

void TestLangControls::fontSizes_data()
{
    QTest::addColumn<int>("pixels");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("size");

    QTest::newRow("12 pixels") << 12 << 0.0 << 9;
    QTest::newRow("15 pixels") << 15 << 0.0 << 11;
    QTest::newRow("13 pixels rounds") << 13 << 0.0 << 10;
    QTest::newRow("11 points") << 0 << 11.0 << 11;
}

void TestLangControls::fontSizes()
{
    QFETCH(int, pixels);
    QFETCH(double, points);
    QFETCH(int, size);

    QFont font;
    if (pixels > 0)
        font.setPixelSize(pixels);
    else
        font.setPointSizeF(points);
    QCOMPARE(FontPointSize(font), size);
    SetFontPointSize(font, size);
    QCOMPARE(FontPointSize(font), size);
}

void TestLangControls::fontCharset()
{
    QWidget form;
    QCOMPARE(FontCharset(&form), 0);
    SetFontCharset(&form, 163);
    QCOMPARE(FontCharset(&form), 163);
    SetFontCharset(&form, 0x1FF);
    QCOMPARE(FontCharset(&form), 255);
    SetFontCharset(&form, -1);
    QCOMPARE(FontCharset(&form), 255);
    QCOMPARE(FontCharset(nullptr), 0);
}

QTEST_MAIN(TestLangControls)
#include "tst_langcontrols.moc"
