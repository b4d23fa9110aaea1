#pragma once

#include <QString>

#include <functional>

// The application's default error display: one message box with the failure's
// text and the caption "Lexorvia". Tests put a recorder in its place.
namespace ErrorDisplay {

using Sink = std::function<void(const QString &text)>;

// Shows the text through the current sink (a message box unless replaced).
void show(const QString &text);

// Replaces the sink; an empty function restores the message box. Returns the
// sink that was in force.
Sink setSink(Sink sink);

} // namespace ErrorDisplay
