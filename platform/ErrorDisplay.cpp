#include "platform/ErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>

namespace ErrorDisplay {
namespace {

Sink &currentSink()
{
    static Sink sink;
    return sink;
}

void showBox(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Lexorvia"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText); // a failure's text is never markup
    box.exec();
}

} // namespace

void show(const QString &text)
{
    const Sink &sink = currentSink();
    if (sink)
        sink(text);
    else
        showBox(text);
}

Sink setSink(Sink sink)
{
    Sink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

} // namespace ErrorDisplay
