#pragma once

#include "lang/SMLLangRes.h"
#include "support/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

namespace langtest {

// A temporary program folder for the language resources, for one test.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        if (!m_dir.isValid())
            qFatal("no temporary folder");
        TsmlLangRes::SetProgramFolder(m_dir.path());
    }
    ~ProgramFolder() { TsmlLangRes::SetProgramFolder(QString()); }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString folder() const { return m_dir.path(); }

    // Writes a language file; a null array removes it.
    void write(const QString &name, const QByteArray &bytes) const
    {
        const QString file = path(name);
        QFile::remove(file);
        QDir().mkpath(QFileInfo(file).path());
        if (!bytes.isNull() && !testsupport::writeBytes(file, bytes))
            qFatal("cannot write the fixture");
    }
    // The file's bytes; a null array when there is no file.
    QByteArray read(const QString &name) const
    {
        return QFileInfo::exists(path(name)) ? testsupport::readBytes(path(name)) : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

// Every access of every language resource to its file while it lives.
class Accesses
{
public:
    Accesses()
    {
        TsmlLangRes::SetFileWatcher([this](const LangFileAccess &access) { m_all.append(access); });
    }
    ~Accesses() { TsmlLangRes::SetFileWatcher({}); }

    const QList<LangFileAccess> &all() const { return m_all; }
    void clear() { m_all.clear(); }
    int opens() const { return int(keys(LangFileAccess::Open).size()); }
    QStringList reads() const { return keys(LangFileAccess::Read); }
    QStringList writes() const { return keys(LangFileAccess::Write); }

private:
    QStringList keys(LangFileAccess::Kind kind) const
    {
        QStringList out;
        for (const LangFileAccess &access : m_all) {
            if (access.kind == kind)
                out.append(access.key);
        }
        return out;
    }

    QList<LangFileAccess> m_all;
};

} // namespace langtest
