#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace Shell {
namespace {

Sink &currentSink()
{
    static Sink sink;
    return sink;
}

} // namespace

void open(const QString &target, Window window)
{
    if (currentSink()) {
        currentSink()(target, window);
        return;
    }
    QString address = target;
    if (address.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        address.prepend(QLatin1String("http://"));
    else if (address.startsWith(QLatin1String("ftp."), Qt::CaseInsensitive))
        address.prepend(QLatin1String("ftp://"));
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

Sink setSink(Sink sink)
{
    Sink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

} // namespace Shell
