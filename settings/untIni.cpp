#include "settings/untIni.h"

#include "platform/IniFile.h"

bool IniReadBool(const QString &path, const QString &section, const QString &key)
{
    return IniFile(path).readBool(section, key, false);
}

int IniReadInteger(const QString &path, const QString &section, const QString &key)
{
    return IniFile(path).readInteger(section, key, 0);
}

QString IniReadString(const QString &path, const QString &section, const QString &key)
{
    return IniFile(path).readString(section, key, QString());
}

void IniWriteBool(const QString &path, const QString &section, const QString &key, bool value)
{
    IniFile(path).writeBool(section, key, value);
}

void IniWriteInteger(const QString &path, const QString &section, const QString &key, int value)
{
    IniFile(path).writeInteger(section, key, value);
}

void IniWriteString(const QString &path, const QString &section, const QString &key, const QString &value)
{
    IniFile(path).writeString(section, key, value);
}
