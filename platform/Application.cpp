#include "platform/Application.h"

#include "platform/ErrorDisplay.h"

#include <exception>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
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
