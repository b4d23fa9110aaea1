#include "platform/Application.h"

#include "platform/ErrorDisplay.h"

#include <exception>
#include <malloc.h>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    // Large buffers (a long reply, a big file) go back to the system as soon
    // as they are freed, instead of staying with the allocator after a peak.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    setApplicationName(QStringLiteral("Lexorvia"));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ErrorDisplay::show(QString::fromUtf8(e.what()));
    } catch (...) {
        ErrorDisplay::show(QStringLiteral("An unknown error occurred."));
    }
    return false;
}
