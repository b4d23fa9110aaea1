#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Reads what is left of an open file; 0 or the errno of the failure.
int readRest(int fd, QByteArray &out)
{
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        out.append(buffer, got);
    }
}

// Rewrites an existing file through its own inode. When that fails half-way,
// the former bytes are put back as well as they can be.
bool rewriteInPlace(const QByteArray &path, const QByteArray &content)
{
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    QByteArray former;
    if (readRest(fd, former) != 0) {
        ::close(fd);
        return false;
    }
    auto put = [fd](const QByteArray &bytes) {
        return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes.constData(), bytes.size())
               && ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
    };
    const bool ok = put(content);
    if (!ok)
        put(former);
    ::close(fd);
    return ok;
}

} // namespace

int ReadFileBytes(const QString &path, QByteArray &out, qint64 limit)
{
    // Without blocking, so that a named pipe cannot hold the caller at open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    struct stat status {};
    int error = 0;
    if (::fstat(fd, &status) != 0)
        error = errno;
    else if (S_ISDIR(status.st_mode))
        error = EISDIR;
    else if (!S_ISREG(status.st_mode))
        error = EINVAL; // a pipe, a socket or a device: no end to wait for
    else if (limit >= 0 && status.st_size > limit)
        error = EFBIG;
    if (error == 0) {
        if (status.st_size > 0)
            out.reserve(qsizetype(status.st_size));
        error = readRest(fd, out);
        if (error == 0 && limit >= 0 && out.size() > limit) // grew while read
            error = EFBIG;
    }
    ::close(fd);
    return error;
}

unsigned DefaultNewFileMode()
{
    static const unsigned mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return unsigned(0666 & ~mask);
    }();
    return mode;
}

int WriteFileAtomically(const QString &path, const QByteArray &content, unsigned newFileMode, bool allowInPlace)
{
    const QFileInfo info(path);
    // A link is followed, so that the file it names is replaced and the link stays.
    QString target = info.absoluteFilePath();
    if (info.isSymLink()) {
        const QString resolved = info.canonicalFilePath();
        target = resolved.isEmpty() ? info.symLinkTarget() : resolved;
    }
    const QByteArray targetPath = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());

    struct stat existing {};
    const bool exists = ::stat(targetPath.constData(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return S_ISDIR(existing.st_mode) ? EISDIR : EINVAL;
    // A file its owner made read-only is not replaced behind its back.
    if (exists && ::faccessat(AT_FDCWD, targetPath.constData(), W_OK, AT_EACCESS) != 0)
        return errno;

    // A short name of its own, so that a file name near the length limit
    // still leaves room for it.
    QByteArray tempPath = folder + "/.lexorvia-XXXXXX";
    const int fd = ::mkstemp(tempPath.data());
    if (fd < 0) {
        const int error = errno;
        // A writable file in a folder that takes no new files can only be
        // rewritten where it stands.
        if (allowInPlace && exists && (error == EACCES || error == EPERM) && rewriteInPlace(targetPath, content))
            return 0;
        return error;
    }

    bool ok = true;
    if (exists) {
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
        if (ok && ::geteuid() == 0) // keep the owner when root writes someone's file
            (void)!::fchown(fd, existing.st_uid, existing.st_gid);
    } else {
        ok = ::fchmod(fd, newFileMode & 07777) == 0;
    }
    ok = ok && writeAll(fd, content.constData(), content.size());
    ok = ok && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(tempPath.constData(), targetPath.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(tempPath.constData());
        return error ? error : EIO;
    }
    return 0;
}
