#include "platform/ResourceLibrary.h"

#include <QFileInfo>
#include <QLibrary>

namespace ResourceLibrary {
namespace {

using LookupFunction = const unsigned char *(*)(const char *type, const char *name, unsigned long *size);

// Unloads the module when the read ends, whichever way it ends.
class LoadedModule
{
public:
    explicit LoadedModule(const QString &path) : m_library(path) { m_loaded = m_library.load(); }
    ~LoadedModule()
    {
        if (m_loaded)
            m_library.unload();
    }
    LoadedModule(const LoadedModule &) = delete;
    LoadedModule &operator=(const LoadedModule &) = delete;

    bool loaded() const { return m_loaded; }
    QFunctionPointer resolve(const char *symbol) { return m_library.resolve(symbol); }

private:
    QLibrary m_library;
    bool m_loaded = false;
};

} // namespace

std::optional<QByteArray> read(const QString &modulePath, const QByteArray &type, const QString &name)
{
    // QLibrary would also try other spellings of the file name (lib prefix,
    // .so suffix); only the module at exactly this path counts.
    if (modulePath.isEmpty() || !QFileInfo(modulePath).isFile())
        return std::nullopt;

    LoadedModule module(modulePath);
    if (!module.loaded())
        return std::nullopt;
    const auto lookup = reinterpret_cast<LookupFunction>(module.resolve(lookupFunction));
    if (!lookup)
        return std::nullopt;

    const QByteArray nameBytes = name.toUtf8();
    unsigned long size = 0;
    const unsigned char *data = lookup(type.constData(), nameBytes.constData(), &size);
    if (!data)
        return std::nullopt;
    // The bytes belong to the module: copy them before it is unloaded.
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace ResourceLibrary
