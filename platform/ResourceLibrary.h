#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reads resources out of a resource module (MorvaneSys.DLL). The module is
// loaded only for the moment of one read and unloaded again on every path.
namespace ResourceLibrary {

// The name of the one function a resource module exports.
inline constexpr const char *lookupFunction = "MorvaneResource";

// A copy of the bytes of the resource of this type and name in the module at
// this full path. Nothing when the module is missing or cannot be loaded, when
// it lacks the lookup function, or when it has no such resource. Type and name
// are compared exactly.
std::optional<QByteArray> read(const QString &modulePath, const QByteArray &type, const QString &name);

} // namespace ResourceLibrary
