#pragma once

#include <QString>
#include <QtGlobal>

// The settings record. The main window fills it from the settings file when it
// is first shown and again after the Options dialog; everything else reads it.
struct TParams
{
    qint32 Translator = 0;
    qint32 Direction = 0; // 0: English to Vietnamese, anything else: Vietnamese to English
    bool AutoPaste = false;
    bool AutoCopy = false;
    QString DisplayLanguage;
    bool NoProxy = false;
    QString Address;
    QString Port; // text; it becomes a number only when the proxy is applied
    QString UserName;
    QString Password;
};

// The one settings record of the program and the full path of its settings file.
extern TParams Settings;
extern QString SettingsFileName;

// The language file the Options dialog hands its language resources when the
// interface language changes; nothing chooses one yet, so it stays empty.
extern QString CurrentLangFileName;

inline constexpr char SettingsBaseName[] = "Zudadir2Evidivezav.ini";

// The translation service's base address, scheme and host without a trailing
// slash; set once when the main window is created.
extern QString TranslateBaseUrl;
inline constexpr char DefaultServiceUrl[] = "https://translate.googleapis.com";

// The service address for the settings file: "ServiceUrl" in "Connection"
// when it holds an absolute http:// or https:// address (without its trailing
// slashes), otherwise the public service.
QString ReadServiceUrl(const QString &path);

// Reads every setting from the file into the record, key by key. A missing
// file, section or key gives the defaults: direction 0, both clipboard switches
// off, no proxy, empty strings.
void ReadSettings(const QString &path, TParams &params);

// Where the settings file lives: in the program's folder when that folder is
// writable, or when the file already exists there and is writable; otherwise in
// the per-user configuration folder.
QString ChooseSettingsFileName(const QString &programFolder, const QString &userConfigFolder);

// ChooseSettingsFileName for the running program; creates the per-user folder
// when that is where the file goes.
QString LocateSettingsFile();
