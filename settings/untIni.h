#pragma once

#include <QString>

// One read or one write of one key of an INI file. Each call opens the file,
// does its one operation and lets go of it again; nothing is kept between calls.
// Reads never fail: a missing file, section, key or a value that is not of the
// kind asked for gives false, 0 or an empty string. A write that fails throws
// AppError "Unable to write to <path>" and leaves the file as it was.

bool    IniReadBool    (const QString &path, const QString &section, const QString &key);
int     IniReadInteger (const QString &path, const QString &section, const QString &key);
QString IniReadString  (const QString &path, const QString &section, const QString &key);
void    IniWriteBool   (const QString &path, const QString &section, const QString &key, bool value);
void    IniWriteInteger(const QString &path, const QString &section, const QString &key, int value);
void    IniWriteString (const QString &path, const QString &section, const QString &key, const QString &value);
