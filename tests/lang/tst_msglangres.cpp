// The message language resource: loading the message list from the language
// file, reloading on every change, and reading a message by name.
#include "LangFixture.h"

#include "lang/SMLMsgLangRes.h"
#include "platform/AppError.h"
#include "platform/Components.h"
#include "shell/frm_Root.h"

#include <QtTest>

using namespace langtest;

namespace {

class TfrmOptions : public TfrmRoot
{
    Q_OBJECT
public:
    TfrmOptions() { setObjectName("frmOptions"); }
};

} // namespace

class TestMsgLangRes : public QObject
{
    Q_OBJECT

private slots:
    void load_data();
    void load();
    void readingAMessage_data();
    void readingAMessage();
    void everyChangeLoadsOnce();
    void switchingFilesKeepsTheLastText();
    void failedLoadLoadsAgainLater();
    void dataModuleOwner();
};

void TestMsgLangRes::load_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<bool>("autoCreate");
    QTest::addColumn<bool>("ignoreEmpty");
    QTest::addColumn<bool>("addBracket");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QByteArray>("expectedFile");

    const QStringList info{"strInfomation=Information"};
    const QByteArray head = "[TfrmOptions]\r\n";

    QTest::newRow("entry") << info << head + "strInfomation=Info\r\n" << false << false << false
                           << QStringList{"strInfomation=Info"} << head + "strInfomation=Info\r\n";
    QTest::newRow("no entry, file untouched")
        << info << head + "btnOk_Caption=OK\r\n" << false << false << false << info << head + "btnOk_Caption=OK\r\n";
    QTest::newRow("no file") << info << QByteArray() << false << false << false << info << QByteArray();
    QTest::newRow("brackets") << info << head + "strInfomation=<Info>\r\n" << false << false << false
                              << QStringList{"strInfomation=Info"} << head + "strInfomation=<Info>\r\n";
    QTest::newRow("empty brackets keep the line")
        << info << head + "strInfomation=<>\r\n" << false << false << false << info << head + "strInfomation=<>\r\n";
    QTest::newRow("name ignores case in the file")
        << info << QByteArray("[tfrmoptions]\r\nSTRINFOMATION=Info\r\n") << false << false << false
        << QStringList{"strInfomation=Info"} << QByteArray("[tfrmoptions]\r\nSTRINFOMATION=Info\r\n");
    QTest::newRow("text holding =, auto")
        << QStringList{"strInfomation=x=y"} << QByteArray() << true << false << false
        << QStringList{"strInfomation=x=y"} << head + "strInfomation=x=y\r\n";
    QTest::newRow("text holding =, entry") << QStringList{"strInfomation=x=y"} << head + "strInfomation=z\r\n"
                                           << false << false << false << QStringList{"strInfomation=z"}
                                           << head + "strInfomation=z\r\n";
    QTest::newRow("auto creates the file") << info << QByteArray() << true << false << false << info
                                           << head + "strInfomation=Information\r\n";
    QTest::newRow("auto with brackets") << info << QByteArray() << true << false << true << info
                                        << head + "strInfomation=<Information>\r\n";
    QTest::newRow("empty text, IgnoreEmptyString") << QStringList{"strEmpty="} << QByteArray() << true << true
                                                   << false << QStringList{"strEmpty="} << QByteArray();
    QTest::newRow("empty text") << QStringList{"strEmpty="} << QByteArray() << true << false << false
                                << QStringList{"strEmpty="} << head + "strEmpty=\r\n";
    QTest::newRow("several, in order")
        << QStringList({"strA=Alpha", "strB=Beta", "strC=Gamma"}) << head + "strB=Bee\r\n" << true << false << false
        << QStringList({"strA=Alpha", "strB=Bee", "strC=Gamma"}) << head + "strB=Bee\r\nstrA=Alpha\r\nstrC=Gamma\r\n";
    QTest::newRow("lines without a name are left alone")
        << QStringList({"hello", "=world", " =blank", "strA=Alpha"}) << head + "=Entry\r\n" << true << false << false
        << QStringList({"hello", "=world", " =blank", "strA=Alpha"}) << head + "=Entry\r\nstrA=Alpha\r\n";
    QTest::newRow("a name one line cannot hold is not written")
        << QStringList({"[Other]=x", "strA=Alpha"}) << QByteArray() << true << false << false
        << QStringList({"[Other]=x", "strA=Alpha"}) << head + "strA=Alpha\r\n";
}

void TestMsgLangRes::load()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, file);
    QFETCH(bool, autoCreate);
    QFETCH(bool, ignoreEmpty);
    QFETCH(bool, addBracket);
    QFETCH(QStringList, expected);
    QFETCH(QByteArray, expectedFile);

    ProgramFolder program;
    program.write("English.ini", file);
    TfrmOptions form;
    TsmlMsgLangRes res(&form);
    // As the dialog sets them, Active last.
    res.setProperty("LangFileName", "English.ini");
    res.setProperty("IgnoreEmptyString", ignoreEmpty);
    res.setProperty("AutoCreateMode", autoCreate);
    res.setProperty("AddBracket", addBracket);
    res.setProperty("MsgList", lines);
    QCOMPARE(program.read("English.ini"), file); // nothing read or written before Active
    res.setProperty("Active", true);
    QCOMPARE(res.property("MsgList").toStringList(), expected);
    QCOMPARE(program.read("English.ini"), expectedFile);
}

void TestMsgLangRes::readingAMessage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("as spelled") << "strInfomation" << "Info";
    QTest::newRow("other case") << "STRINFOMATION" << "Info";
    QTest::newRow("first of two") << "strTwice" << "one";
    QTest::newRow("text holding =") << "strSum" << "a=b";
    QTest::newRow("unknown") << "strNone" << "";
    QTest::newRow("a line without = has no name") << "hello" << "";
    QTest::newRow("empty name") << "" << "nameless";
}

void TestMsgLangRes::readingAMessage()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    ProgramFolder program;
    program.write("English.ini", "[TfrmOptions]\r\nstrInfomation=<Info>\r\n");
    TfrmOptions form;
    TsmlMsgLangRes res(&form);
    res.SetLangFileName("English.ini");
    res.SetAutoCreateMode(false);
    res.SetMsgList({"hello", "strInfomation=Information", "strTwice=one", "STRTWICE=two", "strSum=a=b",
                    "=nameless"});
    res.SetActive(true);
    QCOMPARE(res.MsgList()->value(name), text);
}

void TestMsgLangRes::everyChangeLoadsOnce()
{
    ProgramFolder program;
    program.write("English.ini", "[TfrmOptions]\r\nstrA=Alpha\r\nstrB=Beta\r\nstrC=Gamma\r\nstrD=Delta\r\n");
    TfrmOptions form;
    TsmlMsgLangRes res(&form);
    res.SetLangFileName("English.ini");
    res.SetAutoCreateMode(false);
    res.SetMsgList({"strA=a", "strB=b", "strC=c"});
    Accesses accesses;
    res.SetActive(true);
    // Each replaced line is a change of the list; none of them starts a load.
    QCOMPARE(accesses.reads(), QStringList({"strA", "strB", "strC"}));
    QCOMPARE(res.MsgListLines(), QStringList({"strA=Alpha", "strB=Beta", "strC=Gamma"}));

    program.write("English.ini", "[TfrmOptions]\r\nstrA=Un\r\nstrD=Quatre\r\n");
    accesses.clear();
    res.MsgList()->append("strD=d");
    QCOMPARE(accesses.reads(), QStringList({"strA", "strB", "strC", "strD"}));
    QCOMPARE(res.MsgListLines(), QStringList({"strA=Un", "strB=Beta", "strC=Gamma", "strD=Quatre"}));

    accesses.clear();
    res.MsgList()->removeAt(0);
    QCOMPARE(accesses.reads(), QStringList({"strB", "strC", "strD"}));
    accesses.clear();
    res.MsgList()->replace(0, "strA=again");
    QCOMPARE(accesses.reads(), QStringList({"strA", "strC", "strD"}));
    QCOMPARE(res.MsgList()->value("stra"), "Un");
    accesses.clear();
    for (const char *name : {"LangFileName", "IgnoreEmptyString", "AutoCreateMode", "MsgList", "Active"})
        res.setProperty(name, res.property(name));
    QCOMPARE(accesses.reads().size(), 5 * 3);
    accesses.clear();
    res.SetAddBracket(true);
    res.SetActive(false);
    res.MsgList()->append("strE=e");
    QCOMPARE(accesses.all().size(), 0);
}

void TestMsgLangRes::switchingFilesKeepsTheLastText()
{
    ProgramFolder program;
    program.write("one.ini", "[TfrmOptions]\r\nstrA=One\r\nstrB=Bee\r\n");
    program.write("two.ini", "[TfrmOptions]\r\nstrA=Two\r\n");
    TfrmOptions form;
    TsmlMsgLangRes res(&form);
    res.SetLangFileName("one.ini");
    res.SetMsgList({"strA=a", "strB=b"});
    res.SetActive(true);
    res.SetLangFileName("two.ini");
    QCOMPARE(res.MsgListLines(), QStringList({"strA=Two", "strB=Bee"}));
    QCOMPARE(program.read("two.ini"), "[TfrmOptions]\r\nstrA=Two\r\nstrB=Bee\r\n");
}

void TestMsgLangRes::failedLoadLoadsAgainLater()
{
    ProgramFolder program;
    QVERIFY(QDir().mkpath(program.path("English.ini")));
    TfrmOptions form;
    TsmlMsgLangRes res(&form);
    res.SetLangFileName("English.ini");
    res.SetMsgList({"strA=Alpha", "strB=Beta"});
    QVERIFY_THROWS_EXCEPTION(AppError, res.SetActive(true));

    QVERIFY(QDir().rmdir(program.path("English.ini")));
    res.MsgList()->append("strC=Gamma");
    QCOMPARE(program.read("English.ini"), "[TfrmOptions]\r\nstrA=Alpha\r\nstrB=Beta\r\nstrC=Gamma\r\n");
}

void TestMsgLangRes::dataModuleOwner()
{
    ProgramFolder program;
    program.write("English.ini", "[DataModule]\r\nstrA=Alpha\r\n");
    DataModule module;
    TsmlMsgLangRes res(&module);
    QCOMPARE(res.OwnerDataModule(), &module);
    res.SetLangFileName("English.ini");
    res.SetMsgList({"strA=a"});
    res.SetActive(true);
    QCOMPARE(res.MsgList()->value("strA"), "Alpha");
}

QTEST_MAIN(TestMsgLangRes)
#include "tst_msglangres.moc"
