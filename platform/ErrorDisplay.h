#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <utility>

// The application's default error display: one message box with the failure's
// text and the caption "Lexorvia". Tests put a recorder in its place.
namespace ErrorDisplay {

using Sink = std::function<void(const QString &text)>;

// Shows the text through the current sink (a message box unless replaced).
void show(const QString &text);

// Replaces the sink; an empty function restores the message box. Returns the
// sink that was in force.
Sink setSink(Sink sink);

// Runs a handler and shows what it throws, so that a failure never travels
// through the toolkit's own frames.
template <typename Handler>
void run(Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception &e) {
        show(QString::fromUtf8(e.what()));
    }
}

// A slot that runs the handler as run() does.
template <typename Handler>
auto guarded(Handler handler)
{
    return [handler = std::move(handler)](auto &&...) { run(handler); };
}

} // namespace ErrorDisplay
