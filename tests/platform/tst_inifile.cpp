#include "platform/AppError.h"
#include "platform/IniFile.h"
#include "platform/IntegerText.h"
#include "support/Files.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace testsupport;

// A value that no file in these tables holds, to tell "default" from "empty".
static const QString Missing = QStringLiteral("<default>");

class TestIniFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString fileWith(const QByteArray &bytes, const QString &name = QStringLiteral("t.ini"))
    {
        const QString path = m_dir.filePath(name);
        QFile::remove(path);
        if (!writeBytes(path, bytes))
            qFatal("cannot write the fixture");
        return path;
    }

private slots:
    void readString_data();
    void readString();
    void readStringIgnoresJunk_data();
    void readStringIgnoresJunk();
    void longValueIsCut();
    void unreadableFileReadsAsMissing();

    void parseInteger_data();
    void parseInteger();
    void readIntegerAndBool_data();
    void readIntegerAndBool();

    void write_data();
    void write();
    void newKeysKeepTheirOrder();
    void writeNumbers();
    void writeThenReadRoundTrip_data();
    void writeThenReadRoundTrip();

    void failedWrite_data();
    void failedWrite();
    void fullDiskLeavesFileIntact();
    void permissions();
    void writeThroughSymlinkKeepsLink();
    void writableFileInLockedFolderIsRewrittenInPlace();
    void unreadableFileIsNotReplaced();
};

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray simple = "[General]\r\nKey=Value\r\n";
    QTest::newRow("plain") << simple << "General" << "Key" << "Value";
    QTest::newRow("names ignore case") << simple << "gEnErAl" << "KEY" << "Value";
    QTest::newRow("value keeps case") << QByteArray("[s]\r\nk=MiXeD\r\n") << "S" << "K" << "MiXeD";
    QTest::newRow("caller spaces trimmed") << simple << "  General " << " Key  " << "Value";
    QTest::newRow("caller tab matches nothing") << simple << "\tGeneral" << "Key" << Missing;
    QTest::newRow("caller key tab matches nothing") << simple << "General" << "Key\t" << Missing;
    QTest::newRow("blanks in the file") << QByteArray(" \t[ \vGeneral\t ]\r\n\t Key \v=\t Value \t\r\n")
                                        << "General" << "Key" << "Value";
    QTest::newRow("text after ] ignored") << QByteArray("[General] junk ; here\r\nKey=V\r\n") << "General"
                                          << "Key" << "V";
    QTest::newRow("header without ]") << QByteArray("[General\r\nKey=V\r\n") << "General" << "Key" << "V";
    QTest::newRow("name ends at first ]") << QByteArray("[Gen]eral]\r\nKey=V\r\n") << "Gen" << "Key" << "V";
    QTest::newRow("value after first =") << QByteArray("[s]\r\nk = a = b\r\n") << "s" << "k" << "a = b";
    QTest::newRow("empty value is not the default") << QByteArray("[s]\r\nk=\r\n") << "s" << "k" << "";
    QTest::newRow("double quotes removed") << QByteArray("[s]\r\nk=\"  x  \"\r\n") << "s" << "k" << "  x  ";
    QTest::newRow("single quotes removed") << QByteArray("[s]\r\nk='x'\r\n") << "s" << "k" << "x";
    QTest::newRow("only one pair removed") << QByteArray("[s]\r\nk=\"\"x\"\"\r\n") << "s" << "k" << "\"x\"";
    QTest::newRow("empty quotes") << QByteArray("[s]\r\nk=\"\"\r\n") << "s" << "k" << "";
    QTest::newRow("lone quote stays") << QByteArray("[s]\r\nk=\"\r\n") << "s" << "k" << "\"";
    QTest::newRow("mismatched quotes stay") << QByteArray("[s]\r\nk=\"x'\r\n") << "s" << "k" << "\"x'";
    QTest::newRow("quotes after trimming") << QByteArray("[s]\r\nk=  'a b'  \r\n") << "s" << "k" << "a b";
    QTest::newRow("comment line") << QByteArray("[s]\r\n;k=v\r\n") << "s" << ";k" << Missing;
    QTest::newRow("comment not found by key") << QByteArray("[s]\r\n ;k=v\r\n") << "s" << "k" << Missing;
    QTest::newRow("no end-of-line comment") << QByteArray("[s]\r\nk=a ;b\r\n") << "s" << "k" << "a ;b";
    QTest::newRow("hash is no comment") << QByteArray("[s]\r\n#k=v\r\n") << "s" << "#k" << "v";
    QTest::newRow("line without =") << QByteArray("[s]\r\nk\r\n") << "s" << "k" << Missing;
    QTest::newRow("first key wins") << QByteArray("[s]\r\nk=1\r\nK=2\r\n") << "s" << "k" << "1";
    QTest::newRow("only first section searched")
        << QByteArray("[s]\r\na=1\r\n[t]\r\n[S]\r\nb=2\r\n") << "s" << "b" << Missing;
    QTest::newRow("first section's key") << QByteArray("[s]\r\na=1\r\n[S]\r\na=2\r\n") << "s" << "a" << "1";
    QTest::newRow("key of the next section not found") << QByteArray("[s]\r\n[t]\r\nk=1\r\n") << "s" << "k"
                                                       << Missing;
    QTest::newRow("lines before first section") << QByteArray("k=v\r\n[s]\r\n") << "s" << "k" << Missing;
    QTest::newRow("LF line ends") << QByteArray("[s]\nk=v\nj=w\n") << "s" << "j" << "w";
    QTest::newRow("CR line ends") << QByteArray("[s]\rk=v\rj=w") << "s" << "j" << "w";
    QTest::newRow("LF CR is two line ends") << QByteArray("[s]\n\rk=v\n\r") << "s" << "k" << "v";
    QTest::newRow("no final line end") << QByteArray("[s]\r\nk=v") << "s" << "k" << "v";
    QTest::newRow("byte-order mark skipped") << QByteArray("\xEF\xBB\xBF[s]\r\nk=v\r\n") << "s" << "k" << "v";
    QTest::newRow("UTF-8 value") << QByteArray("[s]\r\nk=Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t\r\n") << "s" << "k"
                                 << QString::fromUtf8("Tiếng Việt");
    QTest::newRow("UTF-8 names ignore case") << QByteArray("[\xC3\x89T\xC3\x89]\r\nk=v\r\n")
                                             << QString::fromUtf8("été") << "k" << "v";
    QTest::newRow("missing section") << simple << "Other" << "Key" << Missing;
    QTest::newRow("missing key") << simple << "General" << "Other" << Missing;
    QTest::newRow("empty file") << QByteArray() << "General" << "Key" << Missing;
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniFile ini(fileWith(file));
    QCOMPARE(ini.readString(section, key, Missing), expected);
}

void TestIniFile::readStringIgnoresJunk_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");

    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk += char((i * 7919) & 0xFF);
    QTest::newRow("binary junk before") << junk + "\r\n[s]\r\nk=v\r\n" << "v";
    QTest::newRow("NUL bytes around") << bytesOf("\0\0\r\n[s]\r\nk=v\r\n\0") << "v";
    QTest::newRow("NUL inside value") << bytesOf("[s]\r\nk=a\0b\r\n") << QString::fromLatin1("a\0b", 3);
    QTest::newRow("very long line") << QByteArray(1 << 20, 'x') + "\r\n[s]\r\nk=v" << "v";
    QTest::newRow("invalid UTF-8 elsewhere") << QByteArray("[s]\r\nj=\xFF\xFE\r\nk=v\r\n") << "v";
    QTest::newRow("lone [") << QByteArray("[\r\n[s]\r\nk=v") << "v";
}

void TestIniFile::readStringIgnoresJunk()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    const IniFile ini(fileWith(file));
    QCOMPARE(ini.readString("s", "k", Missing), expected);
}

void TestIniFile::longValueIsCut()
{
    const QByteArray value(3000, 'a');
    const IniFile ini(fileWith("[s]\r\nk=" + value + "\r\n"));
    QCOMPARE(ini.readString("s", "k", Missing), QString(2047, u'a'));

    // A cut never splits a character that takes two UTF-16 units.
    QByteArray wide = QByteArray(2046, 'a') + "\xF0\x9F\x98\x80" + "tail";
    const IniFile emoji(fileWith("[s]\r\nk=" + wide + "\r\n"));
    QCOMPARE(emoji.readString("s", "k", Missing), QString(2046, u'a'));

    // The quotes go before the cut.
    const IniFile quoted(fileWith("[s]\r\nk=\"" + QByteArray(2047, 'b') + "\"\r\n"));
    QCOMPARE(quoted.readString("s", "k", Missing), QString(2047, u'b'));
}

void TestIniFile::unreadableFileReadsAsMissing()
{
    QCOMPARE(IniFile(m_dir.filePath("nothing.ini")).readString("s", "k", Missing), Missing);
    QCOMPARE(IniFile(m_dir.path()).readString("s", "k", Missing), Missing); // a folder
    QCOMPARE(IniFile(QString()).readInteger("s", "k", 42), 42);
}

void TestIniFile::parseInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("decimal") << "42" << true << 42;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("minus") << "-5" << true << -5;
    QTest::newRow("minus zero") << "-0" << true << 0;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("min") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("over max") << "2147483648" << false << 0;
    QTest::newRow("under min") << "-2147483649" << false << 0;
    QTest::newRow("huge") << "99999999999999999999999" << false << 0;
    QTest::newRow("leading spaces") << "   5" << true << 5;
    QTest::newRow("leading tab") << "\t5" << false << 0;
    QTest::newRow("trailing space") << "5 " << false << 0;
    QTest::newRow("space after sign") << "- 5" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("lone sign") << "-" << false << 0;
    QTest::newRow("fraction") << "1.5" << false << 0;
    QTest::newRow("word") << "true" << false << 0;
    QTest::newRow("dollar hex") << "$FF" << true << 255;
    QTest::newRow("x hex") << "x1A" << true << 26;
    QTest::newRow("X hex") << "X1a" << true << 26;
    QTest::newRow("0x hex") << "0x10" << true << 16;
    QTest::newRow("0X hex") << "0XfF" << true << 255;
    QTest::newRow("0x one digit") << "0x1" << true << 1;
    QTest::newRow("0x alone") << "0x" << false << 0;
    QTest::newRow("dollar alone") << "$" << false << 0;
    QTest::newRow("x alone") << "x" << false << 0;
    QTest::newRow("negative hex") << "-$10" << true << -16;
    QTest::newRow("hex wraps into sign") << "$FFFFFFFF" << true << -1;
    QTest::newRow("hex high bit") << "$80000000" << true << int(-2147483647 - 1);
    QTest::newRow("hex leading zeros") << "$0000000000001" << true << 1;
    QTest::newRow("hex nine digits") << "$100000000" << false << 0;
    QTest::newRow("hex bad digit") << "$FG" << false << 0;
    QTest::newRow("0x after sign is not a prefix") << "-0x10" << false << 0;
    QTest::newRow("0x after space is not a prefix") << " 0x10" << false << 0;
    QTest::newRow("spaces then hex") << "  $a" << true << 10;
    QTest::newRow("full-width digit") << QString::fromUtf8("１") << false << 0;
}

void TestIniFile::parseInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const std::optional<int> parsed = ParseInteger(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestIniFile::readIntegerAndBool_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("integer"); // read with default -7
    QTest::addColumn<bool>("boolFalse"); // read with default false
    QTest::addColumn<bool>("boolTrue");  // read with default true

    QTest::newRow("1") << QByteArray("1") << 1 << true << true;
    QTest::newRow("0") << QByteArray("0") << 0 << false << false;
    QTest::newRow("2") << QByteArray("2") << 2 << true << true;
    QTest::newRow("-1") << QByteArray("-1") << -1 << true << true;
    QTest::newRow("0x1") << QByteArray("0x1") << 1 << true << true;
    QTest::newRow("true") << QByteArray("true") << -7 << false << true;
    QTest::newRow("yes") << QByteArray("yes") << -7 << false << true;
    QTest::newRow("empty") << QByteArray("") << -7 << false << true;
    QTest::newRow("quoted with space") << QByteArray("\" 12\"") << 12 << true << true;
    QTest::newRow("quoted trailing space") << QByteArray("\"12 \"") << -7 << false << true;
    QTest::newRow("blanks around") << QByteArray("  \t12\t ") << 12 << true << true;
}

void TestIniFile::readIntegerAndBool()
{
    QFETCH(QByteArray, value);
    QFETCH(int, integer);
    QFETCH(bool, boolFalse);
    QFETCH(bool, boolTrue);
    const IniFile ini(fileWith("[s]\r\nk=" + value + "\r\n"));
    QCOMPARE(ini.readInteger("s", "k", -7), integer);
    QCOMPARE(ini.readBool("s", "k", false), boolFalse);
    QCOMPARE(ini.readBool("s", "k", true), boolTrue);
    QCOMPARE(ini.readBool("s", "missing", true), true);
    QCOMPARE(ini.readInteger("s", "missing", 9), 9);
}

void TestIniFile::write_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("missing file is created")
        << false << QByteArray() << "General" << "Direction" << "1" << QByteArray("[General]\r\nDirection=1\r\n");
    QTest::newRow("empty file")
        << true << QByteArray() << "s" << "k" << "v" << QByteArray("[s]\r\nk=v\r\n");
    QTest::newRow("existing key keeps its spelling")
        << true << QByteArray("[S]\r\n  KEY = old \r\nz=1\r\n") << "s" << "key" << "new"
        << QByteArray("[S]\r\nKEY=new\r\nz=1\r\n");
    QTest::newRow("replaced line gets CR LF, others keep LF")
        << true << QByteArray("[s]\nk=1\nz=2\n") << "s" << "k" << "5" << QByteArray("[s]\nk=5\r\nz=2\n");
    QTest::newRow("replaced last line without line end")
        << true << QByteArray("[s]\r\nk=1") << "s" << "k" << "2" << QByteArray("[s]\r\nk=2\r\n");
    QTest::newRow("first of two equal keys replaced")
        << true << QByteArray("[s]\r\nk=1\r\nk=2\r\n") << "s" << "k" << "3" << QByteArray("[s]\r\nk=3\r\nk=2\r\n");
    QTest::newRow("new key after last key, comments below it")
        << true << QByteArray("[s]\r\na=1\r\n;note\r\n\r\n[t]\r\nb=2\r\n") << "s" << "k" << "v"
        << QByteArray("[s]\r\na=1\r\nk=v\r\n;note\r\n\r\n[t]\r\nb=2\r\n");
    QTest::newRow("new key after last key, odd lines below it")
        << true << QByteArray("[s]\r\na=1\r\nodd line\r\nb=2\r\njunk\r\n") << "s" << "k" << "v"
        << QByteArray("[s]\r\na=1\r\nodd line\r\nb=2\r\nk=v\r\njunk\r\n");
    QTest::newRow("new key in empty section goes after the header")
        << true << QByteArray("[s]\r\n;note\r\n[t]\r\n") << "s" << "k" << "v"
        << QByteArray("[s]\r\nk=v\r\n;note\r\n[t]\r\n");
    QTest::newRow("new key after header without line end")
        << true << QByteArray("[s]") << "s" << "k" << "v" << QByteArray("[s]\r\nk=v\r\n");
    QTest::newRow("new key after last key without line end")
        << true << QByteArray("[s]\r\na=1") << "s" << "k" << "v" << QByteArray("[s]\r\na=1\r\nk=v\r\n");
    QTest::newRow("new section at the end, no blank line")
        << true << QByteArray("[t]\r\nx=1\r\n") << "s" << "k" << "v"
        << QByteArray("[t]\r\nx=1\r\n[s]\r\nk=v\r\n");
    QTest::newRow("new section after a file without final line end")
        << true << QByteArray("[t]\r\nx=1") << "s" << "k" << "v" << QByteArray("[t]\r\nx=1\r\n[s]\r\nk=v\r\n");
    QTest::newRow("new section after LF file")
        << true << QByteArray("[t]\nx=1\n") << "s" << "k" << "v" << QByteArray("[t]\nx=1\n[s]\r\nk=v\r\n");
    QTest::newRow("only the first section of a name")
        << true << QByteArray("[S]\r\n[t]\r\n[s]\r\nk=1\r\n") << "s" << "k" << "2"
        << QByteArray("[S]\r\nk=2\r\n[t]\r\n[s]\r\nk=1\r\n");
    QTest::newRow("caller names lose spaces")
        << false << QByteArray() << "  s " << " k  " << "v" << QByteArray("[s]\r\nk=v\r\n");
    QTest::newRow("value written exactly")
        << false << QByteArray() << "s" << "k" << " \"v\" " << QByteArray("[s]\r\nk= \"v\" \r\n");
    QTest::newRow("UTF-8 value")
        << false << QByteArray() << "s" << "k" << QString::fromUtf8("Tiếng") << QByteArray("[s]\r\nk=Ti\xE1\xBA\xBFng\r\n");
    QTest::newRow("byte-order mark kept")
        << true << QByteArray("\xEF\xBB\xBF[s]\r\nk=1\r\n") << "s" << "k" << "2"
        << QByteArray("\xEF\xBB\xBF[s]\r\nk=2\r\n");
    QTest::newRow("byte-order mark alone")
        << true << QByteArray("\xEF\xBB\xBF") << "s" << "k" << "v" << QByteArray("\xEF\xBB\xBF[s]\r\nk=v\r\n");
    QTest::newRow("lines before the first section kept")
        << true << QByteArray("k=top\r\n; c\r\n[s]\r\n") << "s" << "k" << "v"
        << QByteArray("k=top\r\n; c\r\n[s]\r\nk=v\r\n");
    const QByteArray odd = bytesOf("\t[ s ] junk\r\n  a =  1  \r\n;c=1\r\n\0\xFF\r\n[x\r\n");
    QTest::newRow("other bytes untouched")
        << true << odd << "x" << "n" << "v" << odd + "n=v\r\n";
}

void TestIniFile::write()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    const QString path = m_dir.filePath("w.ini");
    QFile::remove(path);
    if (exists)
        QVERIFY(writeBytes(path, before));
    IniFile ini(path);
    ini.writeString(section, key, value);
    QCOMPARE(readBytes(path), after);
    // The object that wrote reads what a fresh reader of the file reads.
    QCOMPARE(ini.readString(section, key, Missing), IniFile(path).readString(section, key, Missing));
}

void TestIniFile::newKeysKeepTheirOrder()
{
    const QString path = fileWith("[General]\r\nTranslator=0\r\n; end of general\r\n[Connection]\r\n");
    IniFile ini(path);
    ini.writeString("General", "AutoPaste", "1");
    ini.writeString("General", "AutoCopy", "0");
    ini.writeString("Connection", "NoProxy", "1");
    ini.writeString("Connection", "Address", "proxy");
    ini.writeString("general", "autopaste", "0");
    QCOMPARE(readBytes(path), QByteArray("[General]\r\nTranslator=0\r\nAutoPaste=0\r\nAutoCopy=0\r\n"
                                         "; end of general\r\n[Connection]\r\nNoProxy=1\r\nAddress=proxy\r\n"));
}

void TestIniFile::writeNumbers()
{
    const QString path = m_dir.filePath("n.ini");
    QFile::remove(path);
    IniFile ini(path);
    ini.writeInteger("s", "neg", -5);
    ini.writeInteger("s", "min", int(-2147483647 - 1));
    ini.writeBool("s", "yes", true);
    ini.writeBool("s", "no", false);
    QCOMPARE(readBytes(path), QByteArray("[s]\r\nneg=-5\r\nmin=-2147483648\r\nyes=1\r\nno=0\r\n"));
    const IniFile again(path);
    QCOMPARE(again.readInteger("s", "min", 0), int(-2147483647 - 1));
    QCOMPARE(again.readBool("s", "yes", false), true);
    QCOMPARE(again.readBool("s", "no", true), false);
}

void TestIniFile::writeThenReadRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("password as typed") << "p@ss w;rd=#[x]" << "p@ss w;rd=#[x]";
    QTest::newRow("outer blanks are lost") << "  v  " << "v";
    QTest::newRow("outer quotes are lost") << "'quoted'" << "quoted";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("Vietnamese") << QString::fromUtf8("Mật khẩu") << QString::fromUtf8("Mật khẩu");
}

void TestIniFile::writeThenReadRoundTrip()
{
    QFETCH(QString, value);
    QFETCH(QString, readBack);
    const QString path = m_dir.filePath("r.ini");
    QFile::remove(path);
    IniFile(path).writeString("Connection", "Password", value);
    QCOMPARE(IniFile(path).readString("Connection", "Password", Missing), readBack);
}

void TestIniFile::failedWrite_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("value");
    // Root writes into read-only folders all the same, so these fail by shape.
    QTest::newRow("parent is a regular file") << m_dir.filePath("plain/settings.ini") << "2";
    QTest::newRow("parent does not exist") << m_dir.filePath("nowhere/deeper/settings.ini") << "2";
    QTest::newRow("path is a folder") << m_dir.filePath("folder") << "2";
    // A line break would put a line of its own, here a second key, in the file.
    QTest::newRow("value with LF") << m_dir.filePath("plain") << "2\nk2=3";
    QTest::newRow("value with CR") << m_dir.filePath("plain") << "2\rk2=3";
    QTest::newRow("value with CR LF") << m_dir.filePath("plain") << "2\r\n[t]";
}

void TestIniFile::failedWrite()
{
    QFETCH(QString, path);
    QFETCH(QString, value);
    QVERIFY(writeBytes(m_dir.filePath("plain"), "[s]\r\nk=1\r\n"));
    QDir(m_dir.path()).mkpath("folder");
    const QStringList entriesBefore = folderEntries(m_dir.path());

    IniFile ini(path);
    const QString before = ini.readString("s", "k", Missing);
    try {
        ini.writeString("s", "k", value);
        QFAIL("the write should have failed");
    } catch (const AppError &e) {
        QCOMPARE(e.text(), QStringLiteral("Unable to write to %1").arg(QFileInfo(path).absoluteFilePath()));
        QCOMPARE(QString::fromUtf8(e.what()), e.text());
    }
    QCOMPARE(folderEntries(m_dir.path()), entriesBefore);
    QCOMPARE(readBytes(m_dir.filePath("plain")), QByteArray("[s]\r\nk=1\r\n"));
    QCOMPARE(ini.readString("s", "k", Missing), before); // the object did not take the failed value
}

void TestIniFile::fullDiskLeavesFileIntact()
{
    QTemporaryDir mountPoint;
    const QString where = mountPoint.path();
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", where}) != 0)
        QSKIP("cannot mount a small file system here");
    auto unmount = qScopeGuard([&] { QProcess::execute("umount", {where}); });

    const QString path = where + "/settings.ini";
    const QByteArray original = "[General]\r\nDirection=0\r\n";
    QVERIFY(writeBytes(path, original));
    QFile filler(where + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();

    IniFile ini(path);
    QVERIFY_THROWS_EXCEPTION(AppError, ini.writeString("General", "Big", QString(40000, u'v')));
    QCOMPARE(readBytes(path), original);
    QCOMPARE(folderEntries(where), QStringList({"filler", "settings.ini"}));
}

void TestIniFile::permissions()
{
    const QString created = m_dir.filePath("new.ini");
    QFile::remove(created);
    IniFile(created).writeString("Connection", "Password", "secret");
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(created).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0600u);

    const QString shared = fileWith("[s]\r\nk=1\r\n", "shared.ini");
    QVERIFY(::chmod(QFile::encodeName(shared).constData(), 0644) == 0);
    IniFile(shared).writeString("s", "k", "2");
    QCOMPARE(::stat(QFile::encodeName(shared).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0644u);

    const QString lang = m_dir.filePath("lang.ini");
    QFile::remove(lang);
    IniFile langFile(lang);
    langFile.setNewFilePermissions(0644);
    langFile.writeString("TfrmOptions", "btnOk_Caption", "OK");
    QCOMPARE(::stat(QFile::encodeName(lang).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0644u);
}

void TestIniFile::writeThroughSymlinkKeepsLink()
{
    const QString real = fileWith("[s]\r\nk=1\r\n", "real.ini");
    const QString link = m_dir.filePath("link.ini");
    QFile::remove(link);
    QVERIFY(QFile::link(real, link));
    IniFile(link).writeString("s", "k", "2");
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(real), QByteArray("[s]\r\nk=2\r\n"));
}

namespace {

// Writes s/k as the unprivileged user: 0 when the write went through, 1 when
// it failed, -1 when the tests cannot act as that user.
int writeAsNobody(const QString &path, const QString &value)
{
    return runAsNobody([&] {
        try {
            IniFile(path).writeString("s", "k", value);
            return 0;
        } catch (const AppError &) {
            return 1;
        }
    });
}

} // namespace

void TestIniFile::writableFileInLockedFolderIsRewrittenInPlace()
{
    QTemporaryDir locked;
    const QString path = locked.filePath("settings.ini");
    QVERIFY(writeBytes(path, "[s]\r\nk=1\r\n"));
    QVERIFY(::chmod(QFile::encodeName(locked.path()).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0666) == 0);

    const int result = writeAsNobody(path, "2");
    if (result < 0)
        QSKIP("needs root to act as an unprivileged user");
    QCOMPARE(result, 0);
    QCOMPARE(readBytes(path), QByteArray("[s]\r\nk=2\r\n"));
    QCOMPARE(folderEntries(locked.path()), QStringList{"settings.ini"});

    // A file that is not writable either still fails, and stays as it was.
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
    const int denied = writeAsNobody(path, "3");
    QCOMPARE(denied, 1);
    QCOMPARE(readBytes(path), QByteArray("[s]\r\nk=2\r\n"));
}

void TestIniFile::unreadableFileIsNotReplaced()
{
    // A file the user may write but not read: a write must not replace it by a
    // file that holds the one key written.
    QTemporaryDir open;
    QVERIFY(::chmod(QFile::encodeName(open.path()).constData(), 0777) == 0);
    const QString path = open.filePath("settings.ini");
    const QByteArray content = "[s]\r\nk=1\r\n[Connection]\r\nPassword=secret\r\n";
    QVERIFY(writeBytes(path, content));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0602) == 0);

    const int result = writeAsNobody(path, "2");
    if (result < 0)
        QSKIP("needs root to act as an unprivileged user");
    QCOMPARE(result, 1);
    QCOMPARE(readBytes(path), content);
    QCOMPARE(folderEntries(open.path()), QStringList{"settings.ini"});
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
