#pragma once

// Helpers shared by the fuzzing targets. Each target is one .cpp file with
// LLVMFuzzerTestOneInput (and LLVMFuzzerInitialize where it needs set-up); it
// is linked either with libFuzzer or with replay_main.cpp, which runs it over
// a saved corpus. A target reports a broken rule by aborting, so both count
// it as a crash.

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QCoreApplication>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// Aborts with a message: a broken rule is a finding like a crash.
[[noreturn]] inline void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

inline void check(bool ok, const char *what, const QString &detail = QString())
{
    if (!ok)
        fail(what, detail);
}

// A printable view of a text for failure messages: the first characters, with
// anything outside printable ASCII as \uXXXX.
inline QString shown(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size() && i < 200; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x20 && c < 0x7F)
            out += QChar(c);
        else
            out += QStringLiteral("\\u%1").arg(unsigned(c), 4, 16, QChar(u'0'));
    }
    if (text.size() > 200)
        out += QStringLiteral("...");
    return out;
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Whether the bytes are well-formed UTF-8: no stray continuation byte, no
// truncated sequence, no overlong form, no surrogate, nothing past U+10FFFF.
inline bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

// Qt's warnings would flood the fuzzer's output; fatal messages still end the run.
inline void quietQt()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "Qt fatal: %s\n", message.toUtf8().constData());
            std::abort();
        }
    });
}

// A private folder for the files a target writes, on a memory file system when
// there is one (the atomic file writes flush to disk): lexorvia-fuzz-<pid>.
// libFuzzer does not always end the process through exit(), and a crash never
// does, so each start first removes the folders of processes that are gone.
inline QString scratchFolder()
{
    // Never destroyed: the exit handler below still needs it.
    static const QString *const folder = [] {
        const QString base = QFileInfo(QStringLiteral("/dev/shm")).isDir() && QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm")
                                 : QDir::tempPath();
        const QString prefix = QStringLiteral("lexorvia-fuzz-");
        for (const QString &name : QDir(base).entryList({prefix + u'*'}, QDir::Dirs | QDir::NoDotAndDotDot)) {
            bool number = false;
            const qint64 pid = name.mid(prefix.size()).toLongLong(&number);
            if (number && pid > 0 && !QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)))
                QDir(base + u'/' + name).removeRecursively();
        }
        const QString path = base + u'/' + prefix + QString::number(QCoreApplication::applicationPid());
        QDir(path).removeRecursively();
        if (!QDir().mkpath(path))
            fail("no scratch folder", path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        auto *kept = new QString(path);
        std::atexit([] { QDir(*folder).removeRecursively(); });
        return kept;
    }();
    return *folder;
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write a scratch file", path);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// The application object that widgets need, offscreen, made once.
inline void ensureApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = scratchFolder() + QStringLiteral("/runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
    static int argc = 1;
    static char name[] = "lexorvia-fuzz";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv); // the replay driver deletes it at the end
}

} // namespace fuzz
