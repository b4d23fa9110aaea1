#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

// The bytes of a string literal, NULs included, without the terminating one.
template <std::size_t N>
QByteArray bytesOf(const char (&literal)[N])
{
    return QByteArray(literal, qsizetype(N - 1));
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

// Names of the files in a folder, hidden ones included (temporary files of an
// atomic write start with a dot).
inline QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs the function in a child process as the unprivileged user "nobody" and
// returns its result, or -1 when the process could not drop its privileges (the
// tests are not running as root).
inline int runAsNobody(const std::function<int()> &body)
{
    if (::geteuid() != 0)
        return -1;
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(200);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 200)
        return -1;
    return WEXITSTATUS(status);
}

} // namespace testsupport
