#include "platform/AppError.h"
#include "settings/Params.h"
#include "settings/untIni.h"
#include "support/Files.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;

class TestSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString settingsWith(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QString::fromLatin1(SettingsBaseName));
        QFile::remove(path);
        if (!bytes.isNull() && !writeBytes(path, bytes))
            qFatal("cannot write the fixture");
        return path;
    }

private slots:
    void readDefaults_data();
    void readDefaults();
    void eachCallSeesTheFileAsItIsNow();
    void failedWriteNamesTheFile();

    void load_data();
    void load();
    void loadWithoutFileWritesNothing();

    void location_data();
    void location();
    void locationKeepsWritableFileInLockedFolder();
};

void TestSettings::readDefaults_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("string");
    QTest::newRow("no file") << QByteArray() << "";
    QTest::newRow("no section") << QByteArray("[Other]\r\nk=5\r\n") << "";
    QTest::newRow("no key") << QByteArray("[s]\r\nj=5\r\n") << "";
    QTest::newRow("no number") << QByteArray("[s]\r\nk=five\r\n") << "five";
}

void TestSettings::readDefaults()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, string);
    const QString path = settingsWith(file);
    QCOMPARE(IniReadBool(path, "s", "k"), false);
    QCOMPARE(IniReadInteger(path, "s", "k"), 0);
    QCOMPARE(IniReadString(path, "s", "k"), string);
}

void TestSettings::eachCallSeesTheFileAsItIsNow()
{
    const QString path = settingsWith("[General]\r\nDirection=1\r\n");
    QCOMPARE(IniReadInteger(path, "General", "Direction"), 1);
    QVERIFY(writeBytes(path, "[General]\r\nDirection=0\r\n"));
    QCOMPARE(IniReadInteger(path, "General", "Direction"), 0);

    IniWriteInteger(path, "General", "Direction", 1);
    IniWriteBool(path, "General", "AutoCopy", true);
    IniWriteString(path, "Connection", "Port", "8080");
    QCOMPARE(readBytes(path), QByteArray("[General]\r\nDirection=1\r\nAutoCopy=1\r\n[Connection]\r\nPort=8080\r\n"));
    QCOMPARE(IniReadBool(path, "general", "autocopy"), true);
    QCOMPARE(IniReadString(path, "CONNECTION", "port"), QStringLiteral("8080"));
}

void TestSettings::failedWriteNamesTheFile()
{
    QVERIFY(writeBytes(m_dir.filePath("file"), "x"));
    const QString path = m_dir.filePath("file/Zudadir2Evidivezav.ini");
    try {
        IniWriteInteger(path, "General", "Direction", 1);
        QFAIL("the write should have failed");
    } catch (const std::exception &e) {
        QCOMPARE(QString::fromUtf8(e.what()), "Unable to write to " + path);
    }
    QVERIFY_THROWS_EXCEPTION(AppError, IniWriteBool(path, "General", "AutoCopy", true));
    QVERIFY_THROWS_EXCEPTION(AppError, IniWriteString(path, "Connection", "Port", "1"));
    QCOMPARE(readBytes(m_dir.filePath("file")), QByteArray("x"));
}

void TestSettings::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("autoPaste");
    QTest::addColumn<bool>("autoCopy");
    QTest::addColumn<bool>("noProxy");

    QTest::newRow("no file") << QByteArray() << 0 << false << false << true;
    QTest::newRow("empty file") << QByteArray("") << 0 << false << false << true;
    QTest::newRow("direction 1") << QByteArray("[General]\r\nDirection=1\r\n") << 1 << false << false << true;
    QTest::newRow("direction 5 kept as read") << QByteArray("[General]\r\nDirection=5\r\n") << 5 << false << false
                                              << true;
    QTest::newRow("direction letters") << QByteArray("[General]\r\nDirection=abc\r\n") << 0 << false << false
                                       << true;
    QTest::newRow("switches on, other case")
        << QByteArray("[general]\r\nautopaste=1\r\nAUTOCOPY=2\r\n") << 0 << true << true << true;
    QTest::newRow("AutoCopy true is no number") << QByteArray("[General]\r\nAutoCopy=true\r\n") << 0 << false
                                                << false << true;
    QTest::newRow("NoProxy empty") << QByteArray("[Connection]\r\nNoProxy=\r\n") << 0 << false << false << true;
    QTest::newRow("NoProxy quoted empty") << QByteArray("[Connection]\r\nNoProxy=\"\"\r\n") << 0 << false << false
                                          << true;
    QTest::newRow("NoProxy 0") << QByteArray("[Connection]\r\nNoProxy=0\r\n") << 0 << false << false << false;
    QTest::newRow("NoProxy word") << QByteArray("[Connection]\r\nNoProxy=off\r\n") << 0 << false << false << false;
    QTest::newRow("NoProxy 2") << QByteArray("[Connection]\r\nNoProxy=2\r\n") << 0 << false << false << true;
    QTest::newRow("NoProxy 0x1") << QByteArray("[Connection]\r\nNoProxy=0x1\r\n") << 0 << false << false << true;
    QTest::newRow("NoProxy in the wrong section")
        << QByteArray("[General]\r\nNoProxy=0\r\n") << 0 << false << false << true;
}

void TestSettings::load()
{
    QFETCH(QByteArray, file);
    QFETCH(int, direction);
    QFETCH(bool, autoPaste);
    QFETCH(bool, autoCopy);
    QFETCH(bool, noProxy);

    TParams params;
    params.Translator = 3;
    params.Address = "stale";
    ReadSettings(settingsWith(file), params);
    QCOMPARE(params.Translator, 0);
    QCOMPARE(params.Direction, direction);
    QCOMPARE(params.AutoPaste, autoPaste);
    QCOMPARE(params.AutoCopy, autoCopy);
    QCOMPARE(params.NoProxy, noProxy);
    QCOMPARE(params.Address, QString());
}

void TestSettings::loadWithoutFileWritesNothing()
{
    const QString path = settingsWith(QByteArray());
    TParams params;
    ReadSettings(path, params);
    QVERIFY(!QFileInfo::exists(path));

    // The strings come back as stored, the password exactly as typed.
    const QByteArray stored = "[General]\r\nTranslator=7\r\nDisplayLanguage=English\r\n"
                              "[Connection]\r\nNoProxy=1\r\nAddress=proxy.local\r\nPort=abc\r\n"
                              "UserName=me\r\nPassword=\" p=;#w \"\r\n";
    ReadSettings(settingsWith(stored), params);
    QCOMPARE(params.Translator, 0);
    QCOMPARE(params.DisplayLanguage, QStringLiteral("English"));
    QCOMPARE(params.NoProxy, true); // filled-in fields do not turn the proxy on
    QCOMPARE(params.Address, QStringLiteral("proxy.local"));
    QCOMPARE(params.Port, QStringLiteral("abc"));
    QCOMPARE(params.UserName, QStringLiteral("me"));
    QCOMPARE(params.Password, QStringLiteral(" p=;#w "));

    const QString written = settingsWith(QByteArray());
    IniWriteString(written, "Connection", "Password", "s3cr=t;x");
    ReadSettings(written, params);
    QCOMPARE(params.Password, QStringLiteral("s3cr=t;x"));
    IniWriteString(written, "General", "DisplayLanguage", QString(3000, u'L'));
    ReadSettings(written, params);
    QCOMPARE(params.DisplayLanguage, QString(2047, u'L'));
}

void TestSettings::location_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<bool>("besideProgram");
    QTest::newRow("writable program folder") << m_dir.filePath("program") << true;
    QTest::newRow("program folder missing") << m_dir.filePath("gone/program") << false;
    QTest::newRow("program folder under a file") << m_dir.filePath("plain/program") << false;
}

void TestSettings::location()
{
    QFETCH(QString, programFolder);
    QFETCH(bool, besideProgram);
    QDir(m_dir.path()).mkpath("program");
    QVERIFY(writeBytes(m_dir.filePath("plain"), "x"));
    const QString user = m_dir.filePath("config/Lexorvia");

    const QString chosen = ChooseSettingsFileName(programFolder, user);
    const QString expectedFolder = besideProgram ? programFolder : user;
    QCOMPARE(chosen, expectedFolder + "/Zudadir2Evidivezav.ini");
}

void TestSettings::locationKeepsWritableFileInLockedFolder()
{
    QTemporaryDir program;
    QVERIFY(::chmod(QFile::encodeName(program.path()).constData(), 0755) == 0);
    const QString user = m_dir.filePath("config/Lexorvia");
    const QString beside = program.filePath("Zudadir2Evidivezav.ini");

    // As an ordinary user: the folder takes no files, so the per-user folder is
    // used, until a writable settings file is already there.
    const int withoutFile = runAsNobody([&] { return ChooseSettingsFileName(program.path(), user) == beside ? 1 : 0; });
    if (withoutFile < 0)
        QSKIP("needs root to act as an unprivileged user");
    QCOMPARE(withoutFile, 0);

    QVERIFY(writeBytes(beside, "[General]\r\nDirection=1\r\n"));
    QVERIFY(::chmod(QFile::encodeName(beside).constData(), 0666) == 0);
    QCOMPARE(runAsNobody([&] { return ChooseSettingsFileName(program.path(), user) == beside ? 1 : 0; }), 1);

    QVERIFY(::chmod(QFile::encodeName(beside).constData(), 0644) == 0);
    QCOMPARE(runAsNobody([&] { return ChooseSettingsFileName(program.path(), user) == beside ? 1 : 0; }), 0);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
