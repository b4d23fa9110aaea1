// The language resource base: owner check, file location, the entry rule and
// the bracket rules, and every handler, driven through the form and message
// resources on small forms with one language file per case.
#include "LangFixture.h"

#include "lang/SMLFormLangRes.h"
#include "lang/SMLMsgLangRes.h"
#include "platform/AppError.h"
#include "platform/Components.h"
#include "platform/Controls.h"
#include "platform/FontProperties.h"
#include "platform/ListControls.h"
#include "shell/frm_Root.h"

#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QtTest>

#include <memory>

using namespace langtest;

namespace {

class TfrmEntry : public TfrmRoot
{
    Q_OBJECT
public:
    TfrmEntry()
    {
        setObjectName("frmEntry");
        btnOk = new Button("OK", this);
        btnOk->setObjectName("btnOk");
    }
    Button *btnOk;
};

class TfrmFont : public TfrmRoot
{
    Q_OBJECT
public:
    TfrmFont() { setObjectName("frmFont"); }
};

class TfrmLists : public TfrmRoot
{
    Q_OBJECT
public:
    TfrmLists()
    {
        setObjectName("frmLists");
        ListView1 = new ListView(this);
        ListView1->setObjectName("ListView1");
        ListView1->setColumnCaptions({"Name", "Size"});
        ListView1->addItem("a", {"1", "x"});
        ListView1->addItem("b");
        ListView1->addItem("c", {"3"});

        TreeView1 = new TreeView(this);
        TreeView1->setObjectName("TreeView1");
        auto *a = new QTreeWidgetItem(TreeView1, QStringList{"A"});
        auto *a1 = new QTreeWidgetItem(a, QStringList{"A1"});
        new QTreeWidgetItem(a1, QStringList{"A1a"});
        new QTreeWidgetItem(a, QStringList{"A2"});
        new QTreeWidgetItem(TreeView1, QStringList{"B"});
        TreeView1->collapseAll();

        HeaderControl1 = new HeaderControl(this);
        HeaderControl1->setObjectName("HeaderControl1");
        HeaderControl1->addSection("H0");
        HeaderControl1->addSection("H1");

        DBGrid1 = new DataGrid(this);
        DBGrid1->setObjectName("DBGrid1");
        auto *data = new QStandardItemModel(2, 3, DBGrid1);
        data->setHorizontalHeaderItem(0, new QStandardItem("Id"));
        data->setHorizontalHeaderItem(2, new QStandardItem("Price"));
        DBGrid1->setModel(data);
    }
    ListView *ListView1;
    TreeView *TreeView1;
    HeaderControl *HeaderControl1;
    DataGrid *DBGrid1;
};

// Properties of every kind, for the string-list handler.
class Holder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER m_caption)
    Q_PROPERTY(QObject *Other READ other CONSTANT)
    Q_PROPERTY(QStringList Plain MEMBER m_plain)
    Q_PROPERTY(StringList *Lines READ lines CONSTANT)
public:
    explicit Holder(QObject *parent) : QObject(parent), m_other(new QObject(this)), m_lines(new StringList(this))
    {
        setObjectName("holder");
        m_caption = "text";
        m_plain = QStringList{"p"};
        m_lines->assign({"l0", "l1"});
    }
    QObject *other() const { return m_other; }
    StringList *lines() const { return m_lines; }

private:
    QString m_caption;
    QObject *m_other;
    QStringList m_plain;
    StringList *m_lines;
};

// A component whose "Font" is no font.
class FakeFont : public TfrmRoot
{
    Q_OBJECT
    Q_PROPERTY(QString Font MEMBER m_font)
public:
    FakeFont() { setObjectName("fake"); }

private:
    QString m_font = "Tahoma";
};

} // namespace

class TestLangRes : public QObject
{
    Q_OBJECT

private slots:
    void ownerCheck_data();
    void ownerCheck();

    void langFileName_data();
    void langFileName();
    void bareNameIsLookedUpInTheCurrentFolder();
    void emptyNameReadsNothingAndCannotBeWritten();
    void writeFailureReachesTheSetter();

    void entryRule_data();
    void entryRule();
    void readLangString_data();
    void readLangString();
    void entriesOneLineCannotHoldAreNotCreated_data();
    void entriesOneLineCannotHoldAreNotCreated();

    void fontEntries_data();
    void fontEntries();
    void fontNeedsAFontProperty();

    void stringListProperty();
    void stringsPropertyKinds_data();
    void stringsPropertyKinds();

    void collectionKeys();
    void collectionTexts();

    void brokenFiles_data();
    void brokenFiles();
    void noFileHarmsTheForm();
};

void TestLangRes::ownerCheck_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QString>("kind"); // form, frame, module, or empty for a failure

    QTest::newRow("form") << "form" << "form";
    QTest::newRow("plain window") << "window" << "form";
    QTest::newRow("dialog window inside a form") << "child window" << "form";
    QTest::newRow("frame in a form") << "frame" << "frame";
    QTest::newRow("frame on its own") << "lone frame" << "frame";
    QTest::newRow("data module") << "module" << "module";
    QTest::newRow("control") << "control" << "";
    QTest::newRow("plain object") << "object" << "";
    QTest::newRow("no owner") << "none" << "";
}

void TestLangRes::ownerCheck()
{
    QFETCH(QString, owner);
    QFETCH(QString, kind);

    TfrmEntry form;
    std::unique_ptr<QObject> own;
    QObject *target = nullptr;
    if (owner == "form")
        target = &form;
    else if (owner == "window")
        own.reset(target = new QWidget);
    else if (owner == "child window")
        target = new QWidget(&form, Qt::Dialog);
    else if (owner == "frame")
        target = new Frame(&form);
    else if (owner == "lone frame")
        own.reset(target = new Frame);
    else if (owner == "module")
        own.reset(target = new DataModule);
    else if (owner == "control")
        target = form.btnOk;
    else if (owner == "object")
        own.reset(target = new QObject);

    Accesses accesses;
    const qsizetype children = target ? target->children().size() : 0;
    for (int resource = 0; resource < 2; ++resource) {
        std::unique_ptr<TsmlLangRes> res;
        try {
            if (resource == 0)
                res = std::make_unique<TsmlFormLangRes>(target);
            else
                res = std::make_unique<TsmlMsgLangRes>(target);
        } catch (const AppError &error) {
            QVERIFY2(kind.isEmpty(), qPrintable(error.text()));
            QCOMPARE(error.text(), "Owner must be a Form or a DataModule!");
            if (target)
                QCOMPARE(target->children().size(), children);
            continue;
        }
        QVERIFY2(!kind.isEmpty(), "the owner should have been refused");
        QCOMPARE(res->parent(), target);
        QCOMPARE(res->OwnerForm() == target, kind == "form");
        QCOMPARE(res->OwnerFrame() == target, kind == "frame");
        QCOMPARE(res->OwnerDataModule() == target, kind == "module");
        QCOMPARE(int(!!res->OwnerForm()) + int(!!res->OwnerFrame()) + int(!!res->OwnerDataModule()), 1);
        QCOMPARE(res->Active(), false);
        QCOMPARE(res->LangFilePath(), "DefLang.ini");
        QCOMPARE(res->LangFileName(), "DefLang.ini");
        QCOMPARE(res->IgnoreEmptyString(), false);
        QCOMPARE(res->AutoCreateMode(), true);
        QCOMPARE(res->AddBracket(), false);
    }
    QCOMPARE(accesses.all().size(), 0);
}

void TestLangRes::langFileName_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("relativePath"); // where the file is, from the program folder
    QTest::addColumn<QString>("name");

    QTest::newRow("plain name") << "English.ini" << "English.ini" << "English.ini";
    QTest::newRow("subfolder") << "lang/Tieng Viet.ini" << "lang/Tieng Viet.ini" << "Tieng Viet.ini";
    QTest::newRow("full path joined as given") << "/nested/x.ini" << "nested/x.ini" << "x.ini";
    QTest::newRow("up and down again") << "../" + QString("%1") + "/up.ini" << "up.ini" << "up.ini";
}

void TestLangRes::langFileName()
{
    QFETCH(QString, value);
    QFETCH(QString, relativePath);
    QFETCH(QString, name);

    ProgramFolder program;
    value = value.arg(QFileInfo(program.folder()).fileName());
    program.write(relativePath, "[TfrmEntry]\r\nbtnOk_Caption=Found\r\n");

    TfrmEntry form;
    TsmlFormLangRes res(&form);
    res.SetAutoCreateMode(false);
    res.setProperty("LangFileName", value);
    QCOMPARE(res.LangFilePath(), program.folder() + "/" + value);
    QCOMPARE(res.property("LangFileName").toString(), name);
    QCOMPARE(form.btnOk->text(), "OK"); // not active yet
    res.setProperty("Active", true);
    QCOMPARE(form.btnOk->text(), "Found");
}

void TestLangRes::bareNameIsLookedUpInTheCurrentFolder()
{
    ProgramFolder program;
    program.write("cwd/DefLang.ini", "[TfrmEntry]\r\nbtnOk_Caption=Here\r\n");
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(program.path("cwd")));

    TfrmEntry form;
    TsmlFormLangRes res(&form);
    res.SetAutoCreateMode(false);
    res.SetActive(true);
    QDir::setCurrent(before);
    QCOMPARE(form.btnOk->text(), "Here");
}

void TestLangRes::emptyNameReadsNothingAndCannotBeWritten()
{
    ProgramFolder program;
    TfrmEntry form;
    TsmlFormLangRes res(&form);
    res.SetAutoCreateMode(false);
    res.SetLangFileName("");
    QCOMPARE(res.LangFileName(), "");
    res.SetActive(true);
    QCOMPARE(form.btnOk->text(), "OK");

    try {
        res.SetAutoCreateMode(true);
        QFAIL("auto-creation in the program folder itself should fail");
    } catch (const AppError &error) {
        QVERIFY2(error.text().startsWith("Unable to write to " + program.folder()), qPrintable(error.text()));
    }
}

void TestLangRes::writeFailureReachesTheSetter()
{
    ProgramFolder program;
    QVERIFY(QDir().mkpath(program.path("taken.ini")));
    TfrmEntry form;
    TsmlMsgLangRes messages(&form);
    TsmlFormLangRes res(&form);
    res.SetLangFileName("taken.ini");
    try {
        res.setProperty("Active", true);
        QFAIL("the write should have failed");
    } catch (const AppError &error) {
        QCOMPARE(error.text(), "Unable to write to " + program.path("taken.ini"));
    }
    QCOMPARE(res.Active(), true);
    QCOMPARE(form.btnOk->text(), "OK");
}

void TestLangRes::entryRule_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("autoCreate");
    QTest::addColumn<bool>("ignoreEmpty");
    QTest::addColumn<bool>("addBracket");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QByteArray>("expectedFile"); // null: no file

    const QByteArray head = "[TfrmEntry]\r\n";
    const auto with = [&](const QByteArray &value) { return head + "btnOk_Caption=" + value + "\r\n"; };

    QTest::newRow("value") << with("Okay") << "OK" << true << false << false << "Okay" << with("Okay");
    QTest::newRow("brackets, AddBracket off") << with("<Okay>") << "OK" << false << false << false << "Okay"
                                              << with("<Okay>");
    QTest::newRow("brackets, AddBracket on") << with("<Okay>") << "OK" << false << false << true << "Okay"
                                             << with("<Okay>");
    QTest::newRow("empty brackets empty the text") << with("<>") << "OK" << true << false << false << ""
                                                   << with("<>");
    QTest::newRow("one pair only") << with("<<a>>") << "OK" << false << false << false << "<a>" << with("<<a>>");
    QTest::newRow("lone <") << with("<") << "OK" << false << false << false << "<" << with("<");
    QTest::newRow("lone >") << with(">") << "OK" << false << false << false << ">" << with(">");
    QTest::newRow("unbalanced") << with("<a") << "OK" << false << false << false << "<a" << with("<a");
    QTest::newRow("quoted brackets") << with("\"<Okay>\"") << "OK" << false << false << false << "Okay"
                                     << with("\"<Okay>\"");
    QTest::newRow("names ignore case") << QByteArray("[tfrmentry]\r\nBTNOK_CAPTION=Okay\r\n") << "OK" << true
                                       << false << false << "Okay"
                                       << QByteArray("[tfrmentry]\r\nBTNOK_CAPTION=Okay\r\n");
    QTest::newRow("other section, no auto") << QByteArray("[TfrmOther]\r\nbtnOk_Caption=Okay\r\n") << "OK"
                                            << false << false << false << "OK"
                                            << QByteArray("[TfrmOther]\r\nbtnOk_Caption=Okay\r\n");
    QTest::newRow("no file, no auto") << QByteArray() << "OK" << false << false << false << "OK" << QByteArray();
    QTest::newRow("no file, auto") << QByteArray() << "OK" << true << false << false << "OK" << with("OK");
    QTest::newRow("no file, auto, brackets") << QByteArray() << "Default" << true << false << true << "Default"
                                             << with("<Default>");
    QTest::newRow("empty value, no auto") << with("") << "OK" << false << false << false << "OK" << with("");
    QTest::newRow("empty value, auto overwrites") << with("") << "OK" << true << true << false << "OK"
                                                  << with("OK");
    QTest::newRow("blank value, auto overwrites") << with("   ") << "OK" << true << false << true << "OK"
                                                  << with("<OK>");
    QTest::newRow("empty text, IgnoreEmptyString") << QByteArray() << "" << true << true << false << ""
                                                   << QByteArray();
    QTest::newRow("empty text, IgnoreEmptyString, empty entry")
        << with("") << "" << true << true << true << "" << with("");
    QTest::newRow("empty text gets an empty entry") << QByteArray() << "" << true << false << false << ""
                                                    << with("");
    QTest::newRow("empty text gets <>") << QByteArray() << "" << true << false << true << "" << with("<>");
    QTest::newRow("IgnoreEmptyString alone writes nothing") << QByteArray() << "" << false << false << false << ""
                                                            << QByteArray();
}

void TestLangRes::entryRule()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, caption);
    QFETCH(bool, autoCreate);
    QFETCH(bool, ignoreEmpty);
    QFETCH(bool, addBracket);
    QFETCH(QString, expected);
    QFETCH(QByteArray, expectedFile);

    ProgramFolder program;
    program.write("lang.ini", file);
    TfrmEntry form;
    form.btnOk->setText(caption);
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(autoCreate);
    res.SetIgnoreEmptyString(ignoreEmpty);
    res.SetAddBracket(addBracket);

    // A second apply finds what the first one wrote and changes nothing more.
    for (int pass = 0; pass < 2; ++pass) {
        Accesses accesses;
        res.ApplyStringProperty(form.btnOk, "Caption");
        QCOMPARE(accesses.opens(), 1);
        QCOMPARE(accesses.reads(), QStringList{"btnOk_Caption"});
        QCOMPARE(form.btnOk->text(), expected);
        QCOMPARE(program.read("lang.ini"), expectedFile);
    }
}

void TestLangRes::readLangString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<bool>("autoCreate");
    QTest::addColumn<bool>("ignoreEmpty");
    QTest::addColumn<bool>("addBracket");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QByteArray>("expectedFile");

    QTest::newRow("entry") << QByteArray("[TfrmEntry]\r\nstrInfo=<Info>\r\n") << "Information" << true << false
                           << false << "Info" << QByteArray("[TfrmEntry]\r\nstrInfo=<Info>\r\n");
    QTest::newRow("absent: never the default") << QByteArray() << "Information" << false << false << false << ""
                                               << QByteArray();
    QTest::newRow("absent, auto") << QByteArray() << "Information" << true << false << true << ""
                                  << QByteArray("[TfrmEntry]\r\nstrInfo=<Information>\r\n");
    QTest::newRow("absent, empty default, IgnoreEmptyString") << QByteArray() << "" << true << true << false << ""
                                                              << QByteArray();
    QTest::newRow("absent, empty default") << QByteArray() << "" << true << false << false << ""
                                           << QByteArray("[TfrmEntry]\r\nstrInfo=\r\n");
}

void TestLangRes::readLangString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, defaultText);
    QFETCH(bool, autoCreate);
    QFETCH(bool, ignoreEmpty);
    QFETCH(bool, addBracket);
    QFETCH(QString, expected);
    QFETCH(QByteArray, expectedFile);

    ProgramFolder program;
    program.write("lang.ini", file);
    TfrmEntry form;
    TsmlMsgLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(autoCreate);
    res.SetIgnoreEmptyString(ignoreEmpty);
    res.SetAddBracket(addBracket);
    QCOMPARE(res.ReadLangString("strInfo", defaultText), expected);
    QCOMPARE(program.read("lang.ini"), expectedFile);
}

void TestLangRes::entriesOneLineCannotHoldAreNotCreated_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("written");

    QTest::newRow("plain") << "btnOk" << "Two words" << true;
    QTest::newRow("text with a line break") << "btnOk" << "Line one\nLine two" << false;
    QTest::newRow("text with a carriage return") << "btnOk" << "Line one\rLine two" << false;
    QTest::newRow("name with =") << "btn=Ok" << "OK" << false;
    QTest::newRow("name like a section") << "[btnOk" << "OK" << false;
    QTest::newRow("name like a comment") << ";btnOk" << "OK" << false;
    QTest::newRow("name with a tab") << "btn\tOk" << "OK" << false;
}

void TestLangRes::entriesOneLineCannotHoldAreNotCreated()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, written);

    ProgramFolder program;
    const QByteArray original = "[TfrmEntry]\r\nother=1\r\n[Next]\r\nx=y\r\n";
    program.write("lang.ini", original);
    TfrmEntry form;
    form.btnOk->setObjectName(name);
    form.btnOk->setText(caption);
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetIgnoreFormCaption(true);
    res.SetActive(true);
    res.SetActive(true);
    QCOMPARE(form.btnOk->text(), caption);
    const QByteArray fontKeys = "frmEntry_FontName=Tahoma\r\nfrmEntry_FontSize=9\r\nfrmEntry_FontCharset=0\r\n";
    const QByteArray entry = written ? (name + "_Caption=" + caption + "\r\n").toUtf8() : QByteArray();
    QCOMPARE(program.read("lang.ini"), "[TfrmEntry]\r\nother=1\r\n" + fontKeys + entry + "[Next]\r\nx=y\r\n");
}

void TestLangRes::fontEntries_data()
{
    QTest::addColumn<QString>("designedFace");
    QTest::addColumn<QByteArray>("entries"); // null: no file
    QTest::addColumn<bool>("autoCreate");
    QTest::addColumn<bool>("addBracket");
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("charset");
    QTest::addColumn<QByteArray>("expectedEntries"); // null: no file

    const QByteArray designed = "frmFont_FontName=Tahoma\r\nfrmFont_FontSize=9\r\nfrmFont_FontCharset=0\r\n";
    QTest::newRow("no file") << "Tahoma" << QByteArray() << false << false << "Tahoma" << 9 << 0 << QByteArray();
    QTest::newRow("no file, auto") << "Tahoma" << QByteArray() << true << false << "Tahoma" << 9 << 0 << designed;
    QTest::newRow("auto wraps the face alone")
        << "Tahoma" << QByteArray() << true << true << "Tahoma" << 9 << 0
        << QByteArray("frmFont_FontName=<Tahoma>\r\nfrmFont_FontSize=9\r\nfrmFont_FontCharset=0\r\n");
    QTest::newRow("empty face written despite IgnoreEmptyString")
        << "" << QByteArray() << true << false << "" << 9 << 0
        << QByteArray("frmFont_FontName=\r\nfrmFont_FontSize=9\r\nfrmFont_FontCharset=0\r\n");
    QTest::newRow("all three") << "Tahoma"
                               << QByteArray("frmFont_FontName=<Arial>\r\nfrmFont_FontSize=12\r\n"
                                             "frmFont_FontCharset=163\r\n")
                               << true << false << "Arial" << 12 << 163 << QByteArray();

    const auto size = [](const char *value) { return QByteArray("frmFont_FontSize=") + value + "\r\n"; };
    QTest::newRow("size 0x0B") << "Tahoma" << size("0x0B") << false << false << "Tahoma" << 11 << 0 << QByteArray();
    QTest::newRow("size $10") << "Tahoma" << size("$10") << false << false << "Tahoma" << 16 << 0 << QByteArray();
    QTest::newRow("size 1000") << "Tahoma" << size("1000") << false << false << "Tahoma" << 1000 << 0
                               << QByteArray();
    QTest::newRow("size 0") << "Tahoma" << size("0") << false << false << "Tahoma" << 9 << 0 << QByteArray();
    QTest::newRow("size 0, auto rewrites")
        << "Tahoma" << size("0") << true << false << "Tahoma" << 9 << 0
        << QByteArray("frmFont_FontSize=9\r\nfrmFont_FontName=Tahoma\r\nfrmFont_FontCharset=0\r\n");
    QTest::newRow("size letters, auto rewrites")
        << "Tahoma" << size("big") << true << false << "Tahoma" << 9 << 0
        << QByteArray("frmFont_FontSize=9\r\nfrmFont_FontName=Tahoma\r\nfrmFont_FontCharset=0\r\n");
    QTest::newRow("size 1.5") << "Tahoma" << size("1.5") << false << false << "Tahoma" << 9 << 0 << QByteArray();
    QTest::newRow("size -12") << "Tahoma" << size("-12") << false << false << "Tahoma" << 9 << 0 << QByteArray();
    QTest::newRow("size 1001") << "Tahoma" << size("1001") << false << false << "Tahoma" << 9 << 0 << QByteArray();
    QTest::newRow("size 2147483647") << "Tahoma" << size("2147483647") << false << false << "Tahoma" << 9 << 0
                                     << QByteArray();
    QTest::newRow("size <12>") << "Tahoma" << size("<12>") << false << false << "Tahoma" << 9 << 0 << QByteArray();

    const auto charset = [](const char *value) { return QByteArray("frmFont_FontCharset=") + value + "\r\n"; };
    QTest::newRow("charset 163") << "Tahoma" << charset("163") << false << false << "Tahoma" << 9 << 163
                                 << QByteArray();
    QTest::newRow("charset 0") << "Tahoma" << charset("0") << true << false << "Tahoma" << 9 << 0
                               << QByteArray("frmFont_FontCharset=0\r\nfrmFont_FontName=Tahoma\r\n"
                                             "frmFont_FontSize=9\r\n");
    QTest::newRow("charset -1, auto rewrites")
        << "Tahoma" << charset("-1") << true << false << "Tahoma" << 9 << 0
        << QByteArray("frmFont_FontCharset=0\r\nfrmFont_FontName=Tahoma\r\nfrmFont_FontSize=9\r\n");
    QTest::newRow("charset 419 keeps the low byte") << "Tahoma" << charset("419") << false << false << "Tahoma"
                                                    << 9 << 163 << QByteArray();
    QTest::newRow("charset 256") << "Tahoma" << charset("256") << false << false << "Tahoma" << 9 << 0
                                 << QByteArray();
    QTest::newRow("charset -2") << "Tahoma" << charset("-2") << false << false << "Tahoma" << 9 << 254
                                << QByteArray();
    QTest::newRow("charset 0xA3") << "Tahoma" << charset("0xA3") << false << false << "Tahoma" << 9 << 163
                                  << QByteArray();
    QTest::newRow("charset letters") << "Tahoma" << charset("ANSI") << false << false << "Tahoma" << 9 << 0
                                     << QByteArray();
}

void TestLangRes::fontEntries()
{
    QFETCH(QString, designedFace);
    QFETCH(QByteArray, entries);
    QFETCH(bool, autoCreate);
    QFETCH(bool, addBracket);
    QFETCH(QString, face);
    QFETCH(int, points);
    QFETCH(int, charset);
    QFETCH(QByteArray, expectedEntries);

    ProgramFolder program;
    const QByteArray head = "[TfrmFont]\r\n";
    program.write("lang.ini", entries.isNull() ? QByteArray() : head + entries);
    TfrmFont form;
    QFont designed = form.font();
    designed.setFamily(designedFace);
    form.setFont(designed);

    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(autoCreate);
    res.SetAddBracket(addBracket);
    res.SetIgnoreEmptyString(true);
    Accesses accesses;
    res.ApplyFont(&form);
    QCOMPARE(accesses.opens(), 1);
    QCOMPARE(accesses.reads(), QStringList({"frmFont_FontName", "frmFont_FontSize", "frmFont_FontCharset"}));
    QCOMPARE(form.font().family(), face);
    QCOMPARE(FontPointSize(form.font()), points);
    QCOMPARE(FontCharset(&form), charset);
    if (expectedEntries.isNull() && !entries.isNull())
        expectedEntries = entries;
    QCOMPARE(program.read("lang.ini"), expectedEntries.isNull() ? QByteArray() : head + expectedEntries);
}

void TestLangRes::fontNeedsAFontProperty()
{
    ProgramFolder program;
    DataModule module;
    module.setObjectName("dmMain");
    FakeFont fake;
    TsmlMsgLangRes res(&module);
    TsmlMsgLangRes other(&fake);
    Accesses accesses;
    res.ApplyFont(&module);
    other.ApplyFont(&fake);
    res.ApplyFont(nullptr);
    QCOMPARE(accesses.all().size(), 0);
    QVERIFY(!QFileInfo::exists("DefLang.ini"));
}

void TestLangRes::stringListProperty()
{
    ProgramFolder program;
    program.write("lang.ini", "[TfrmEntry]\r\ncmbLang_Items[0]=<Uno>\r\ncmbLang_Items[3]=\r\n");
    TfrmEntry form;
    auto *combo = new ComboBox(&form);
    combo->setObjectName("cmbLang");
    combo->items()->assign({"One", "", "Three", "Four"});
    combo->setCurrentIndex(2);

    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetIgnoreEmptyString(true);
    Accesses accesses;
    res.ApplyStringsProperty(combo, "Items");
    QCOMPARE(accesses.opens(), 1);
    QCOMPARE(accesses.reads(),
             QStringList({"cmbLang_Items[0]", "cmbLang_Items[1]", "cmbLang_Items[2]", "cmbLang_Items[3]"}));
    QCOMPARE(combo->items()->lines(), QStringList({"Uno", "", "Three", "Four"}));
    QCOMPARE(combo->itemText(0), "Uno");
    QCOMPARE(combo->currentIndex(), 2);
    QCOMPARE(program.read("lang.ini"),
             "[TfrmEntry]\r\ncmbLang_Items[0]=<Uno>\r\ncmbLang_Items[3]=Four\r\ncmbLang_Items[2]=Three\r\n");
}

void TestLangRes::stringsPropertyKinds_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QStringList>("writes");

    QTest::newRow("string list, name in other case") << "lines" << QStringList({"holder_lines[0]", "holder_lines[1]"});
    QTest::newRow("text") << "Caption" << QStringList();
    QTest::newRow("other object") << "Other" << QStringList();
    QTest::newRow("list value, no object") << "Plain" << QStringList();
    QTest::newRow("no such property") << "Missing" << QStringList();
}

void TestLangRes::stringsPropertyKinds()
{
    QFETCH(QString, property);
    QFETCH(QStringList, writes);

    ProgramFolder program;
    TfrmEntry form;
    auto *holder = new Holder(&form);
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    Accesses accesses;
    res.ApplyStringsProperty(holder, property);
    QCOMPARE(accesses.writes(), writes);
    QCOMPARE(accesses.opens(), writes.isEmpty() ? 0 : 1);
}

void TestLangRes::collectionKeys()
{
    ProgramFolder program;
    TfrmLists form;
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    Accesses accesses;
    res.ApplyListViewColumns(form.ListView1);
    res.ApplyListViewItems(form.ListView1);
    res.ApplyTreeViewItems(form.TreeView1);
    res.ApplyHeaderSections(form.HeaderControl1);
    res.ApplyGridColumns(form.DBGrid1);
    QCOMPARE(accesses.opens(), 5);
    QCOMPARE(program.read("lang.ini"), QByteArray("[TfrmLists]\r\n"
                                                  "ListView1_ColumnCaption[0]=Name\r\n"
                                                  "ListView1_ColumnCaption[1]=Size\r\n"
                                                  "ListView1_ItemCaption[0]=a\r\n"
                                                  "ListView1_SubItem[0]Caption[0]=1\r\n"
                                                  "ListView1_SubItem[0]Caption[1]=x\r\n"
                                                  "ListView1_ItemCaption[1]=b\r\n"
                                                  "ListView1_ItemCaption[2]=c\r\n"
                                                  "ListView1_SubItem[2]Caption[0]=3\r\n"
                                                  "TreeView1_ItemText[0]=A\r\n"
                                                  "TreeView1_ItemText[1]=A1\r\n"
                                                  "TreeView1_ItemText[2]=A1a\r\n"
                                                  "TreeView1_ItemText[3]=A2\r\n"
                                                  "TreeView1_ItemText[4]=B\r\n"
                                                  "HeaderControl1_SectionsText[0]=H0\r\n"
                                                  "HeaderControl1_SectionsText[1]=H1\r\n"
                                                  "DBGrid1_ColumnsCaption[0]=Id\r\n"
                                                  "DBGrid1_ColumnsCaption[1]=2\r\n"
                                                  "DBGrid1_ColumnsCaption[2]=Price\r\n"));
}

void TestLangRes::collectionTexts()
{
    ProgramFolder program;
    program.write("lang.ini", "[TfrmLists]\r\n"
                              "ListView1_ColumnCaption[1]=<Grootte>\r\n"
                              "ListView1_ItemCaption[2]=Ce\r\n"
                              "ListView1_SubItem[0]Caption[1]=Iks\r\n"
                              "ListView1_SubItem[1]Caption[0]=none\r\n"
                              "TreeView1_ItemText[2]=A-een-a\r\n"
                              "TreeView1_ItemText[4]=Be\r\n"
                              "HeaderControl1_SectionsText[1]=Kop\r\n"
                              "HeaderControl1_SectionsText[2]=none\r\n"
                              "DBGrid1_ColumnsCaption[1]=Naam\r\n"
                              "DBGrid1_ColumnsCaption[2]=\r\n");
    const QByteArray before = program.read("lang.ini");
    TfrmLists form;
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(false);
    res.ApplyListViewColumns(form.ListView1);
    res.ApplyListViewItems(form.ListView1);
    res.ApplyTreeViewItems(form.TreeView1);
    res.ApplyHeaderSections(form.HeaderControl1);
    res.ApplyGridColumns(form.DBGrid1);

    QCOMPARE(form.ListView1->columnCaption(0), "Name");
    QCOMPARE(form.ListView1->columnCaption(1), "Grootte");
    QCOMPARE(form.ListView1->itemCaption(2), "Ce");
    QCOMPARE(form.ListView1->subItem(0, 1), "Iks");
    QCOMPARE(form.ListView1->subItemCount(1), 0);
    QCOMPARE(form.TreeView1->topLevelItem(0)->child(0)->child(0)->text(0), "A-een-a");
    QCOMPARE(form.TreeView1->topLevelItem(1)->text(0), "Be");
    QCOMPARE(form.TreeView1->topLevelItem(0)->text(0), "A");
    QCOMPARE(form.HeaderControl1->sectionText(1), "Kop");
    QCOMPARE(form.HeaderControl1->sectionCount(), 2);
    QCOMPARE(form.DBGrid1->columnTitle(0), "Id");
    QCOMPARE(form.DBGrid1->columnTitle(1), "Naam");
    QCOMPARE(form.DBGrid1->columnTitle(2), "Price");
    QCOMPARE(program.read("lang.ini"), before);
}

void TestLangRes::brokenFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("caption");

    QTest::newRow("value cut at 2047 characters")
        << QByteArray("[TfrmEntry]\r\nbtnOk_Caption=" + QByteArray(5000, 'x') + "\r\n") << QString(2047, u'x');
    QTest::newRow("bytes that are no UTF-8") << QByteArray("[TfrmEntry]\r\nbtnOk_Caption=\xff\xfe\x80\r\n")
                                             << QString::fromUtf8("\xff\xfe\x80");
    QTest::newRow("NUL bytes") << testsupport::bytesOf("[TfrmEntry]\0\r\nbtnOk_Caption=a\0b\r\n")
                               << QString::fromUtf8(testsupport::bytesOf("a\0b"));
    QTest::newRow("no section") << QByteArray("btnOk_Caption=x") << "OK";
    QTest::newRow("header without ]") << QByteArray("[TfrmEntry\rbtnOk_Caption=x") << "x";
    QTest::newRow("only junk") << testsupport::bytesOf("\0\0\0\xff[\x01=\n\n\r=") << "OK";
    QTest::newRow("empty file") << QByteArray("") << "OK";
}

void TestLangRes::brokenFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, caption);

    ProgramFolder program;
    program.write("lang.ini", file);
    TfrmEntry form;
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(false);
    res.SetActive(true);
    QCOMPARE(form.btnOk->text(), caption);
    QCOMPARE(program.read("lang.ini"), file);
}

// Language files made of junk and of entries with any values at all, for a
// form with every kind of control: nothing crashes, nothing is written.
void TestLangRes::noFileHarmsTheForm()
{
    ProgramFolder program;
    TfrmLists form;
    auto *combo = new ComboBox(&form);
    combo->setObjectName("cmbLang");
    combo->items()->assign({"a", "b"});
    auto *tabs = new TabControl(&form);
    tabs->setObjectName("tcMain");
    tabs->tabs()->assign({"x", "y"});
    auto *button = new Button("OK", &form);
    button->setObjectName("btnOk");

    const QList<QByteArray> keys = {"frmLists_FontName", "frmLists_FontSize", "frmLists_FontCharset",
                                    "frmLists_Caption", "btnOk_Caption", "cmbLang_Items[0]", "cmbLang_Items[1]",
                                    "tcMain_Tabs[1]", "ListView1_ColumnCaption[0]", "ListView1_ItemCaption[1]",
                                    "ListView1_SubItem[0]Caption[1]", "TreeView1_ItemText[3]",
                                    "HeaderControl1_SectionsText[0]", "DBGrid1_ColumnsCaption[2]"};
    const QList<QByteArray> values = {"", "<", ">", "<>", "0", "-1", "0x", "$", "$FFFFFFFF", "2147483648",
                                      "99999999", "-2147483648", "<<>>", "\"", "''", "=", "[x]", ";"};
    QRandomGenerator random(20240607);
    TsmlFormLangRes res(&form);
    res.SetLangFileName("lang.ini");
    res.SetAutoCreateMode(false);
    res.SetIncludeListViewHead(true);
    res.SetIncludeListViewItems(true);
    res.SetIncludeTreeViewItems(true);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes = "[TfrmLists]\r\n";
        const int lines = int(random.bounded(30));
        for (int line = 0; line < lines; ++line) {
            switch (random.bounded(3)) {
            case 0: {
                QByteArray junk(int(random.bounded(40)), '\0');
                for (char &c : junk)
                    c = char(random.bounded(256));
                bytes += junk;
                break;
            }
            case 1:
                bytes += keys.at(random.bounded(keys.size())) + '=' + values.at(random.bounded(values.size()));
                break;
            default:
                bytes += keys.at(random.bounded(keys.size())) + '=' + QByteArray::number(random.generate());
                break;
            }
            bytes += QList<QByteArray>{"\r\n", "\n", "\r", ""}.at(random.bounded(4));
        }
        program.write("lang.ini", bytes);
        res.SetActive(true);
        QCOMPARE(program.read("lang.ini"), bytes);
        const int size = FontPointSize(form.font());
        QVERIFY2(size >= 1 && size <= TsmlLangRes::MaxFontPoints, qPrintable(QString::number(size)));
        QVERIFY(FontCharset(&form) >= 0 && FontCharset(&form) <= 255);
    }
    QCOMPARE(combo->count(), 2);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(form.TreeView1->nodeCount(), 5);
}

QTEST_MAIN(TestLangRes)
#include "tst_langres.moc"
