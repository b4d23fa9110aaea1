#pragma once

#include <QString>

#include <functional>

// The desktop's "open" for a web address, a mail link or a file: the program
// registered for it takes over, and nothing waits for it.
namespace Shell {

enum class Window { Normal, Maximized };

// Opens the target. A bare "www." address is opened as "http://" followed by
// it and a bare "ftp." address as "ftp://" followed by it; everything else
// goes to the desktop unchanged. The window state is a wish the desktop may
// not be able to honour. Failures are the desktop's own affair.
void open(const QString &target, Window window);

// Tests record the calls instead of starting programs.
using Sink = std::function<void(const QString &target, Window window)>;
Sink setSink(Sink sink);

} // namespace Shell
