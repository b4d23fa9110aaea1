#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `content` without ever leaving a broken
// file: the content goes to a temporary file in the same folder, is flushed,
// and is renamed over the old one. A symbolic link is followed, so the file it
// names is replaced and the link stays. An existing file keeps its permissions
// (and, when root writes it, its owner); a new one gets `newFileMode`. A file
// the process may not write is left alone (EACCES). With
// `allowInPlace`, a writable file in a folder that takes no new files is
// rewritten where it stands. Returns 0, or the errno of the failure; the file
// is then as it was.
int WriteFileAtomically(const QString &path, const QByteArray &content, unsigned newFileMode, bool allowInPlace);

// Permissions for a new document: read and write for everyone the process's
// umask lets have them.
unsigned DefaultNewFileMode();

// Reads the whole file into `out`; returns 0, or the errno of the failure:
// EISDIR for a folder, EINVAL for anything else that is not a regular file (a
// pipe, a device), EFBIG for a file of more than `limit` bytes (when `limit`
// is not negative).
int ReadFileBytes(const QString &path, QByteArray &out, qint64 limit = -1);
