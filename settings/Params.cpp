#include "settings/Params.h"

#include "settings/untIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <unistd.h>

TParams Settings;
QString SettingsFileName;
QString CurrentLangFileName;
QString TranslateBaseUrl = QString::fromLatin1(DefaultServiceUrl);

QString ReadServiceUrl(const QString &path)
{
    QString value = IniReadString(path, QStringLiteral("Connection"), QStringLiteral("ServiceUrl"));
    while (value.endsWith(u'/'))
        value.chop(1);
    const QUrl url(value, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (value.isEmpty() || !url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty()
        || url.hasQuery() || url.hasFragment() || !url.userInfo().isEmpty())
        return QString::fromLatin1(DefaultServiceUrl);
    return value;
}

void ReadSettings(const QString &path, TParams &params)
{
    const QString general = QStringLiteral("General");
    const QString connection = QStringLiteral("Connection");

    params.Translator = 0;
    params.Direction = IniReadInteger(path, general, QStringLiteral("Direction"));
    params.AutoPaste = IniReadBool(path, general, QStringLiteral("AutoPaste"));
    params.AutoCopy = IniReadBool(path, general, QStringLiteral("AutoCopy"));
    params.DisplayLanguage = IniReadString(path, general, QStringLiteral("DisplayLanguage"));
    // A missing or empty "NoProxy" means a direct connection; "0" or a word
    // that is no number means the manual proxy.
    params.NoProxy = IniReadBool(path, connection, QStringLiteral("NoProxy"));
    if (IniReadString(path, connection, QStringLiteral("NoProxy")).isEmpty())
        params.NoProxy = true;
    params.Address = IniReadString(path, connection, QStringLiteral("Address"));
    params.Port = IniReadString(path, connection, QStringLiteral("Port"));
    params.UserName = IniReadString(path, connection, QStringLiteral("UserName"));
    params.Password = IniReadString(path, connection, QStringLiteral("Password"));
}

namespace {

bool writable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

} // namespace

QString ChooseSettingsFileName(const QString &programFolder, const QString &userConfigFolder)
{
    const QString besideProgram = QDir(programFolder).filePath(QString::fromLatin1(SettingsBaseName));
    if (writable(programFolder) || writable(besideProgram))
        return besideProgram;
    return QDir(userConfigFolder).filePath(QString::fromLatin1(SettingsBaseName));
}

QString LocateSettingsFile()
{
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QString path = ChooseSettingsFileName(QCoreApplication::applicationDirPath(), userFolder);
    if (QFileInfo(path).absolutePath() == QDir(userFolder).absolutePath())
        QDir().mkpath(userFolder);
    return path;
}
