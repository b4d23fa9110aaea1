// SetPaneText of a 1 MB text of 20,000 lines into the result pane, then
// GetPaneText of that pane, through the main window as the program uses them.
#include "common.h"
#include "platform/Application.h"
#include "shell/frm_Main.h"

#include <QTemporaryDir>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    QTemporaryDir dir;
    TfrmMain window;
    window.show();
    QCoreApplication::processEvents();

    // 20,000 lines of about 50 characters: 1 MB.
    QString text;
    const QString line = QStringLiteral("The quick brown fox jumps over the lazy dog %1 ok");
    for (int i = 0; i < 20000; ++i)
        text += line.arg(i, 5, 10, QChar(u'0')) + QStringLiteral("\r\n");
    std::printf("text: %lld characters, 20000 lines\n", static_cast<long long>(text.size()));

    QString back;
    for (int tag : {0, 1}) {
        const double set = bench::medianMs(7, [&] {
            window.SetPaneText(tag, text);
            QCoreApplication::processEvents(); // lay out and paint as the user sees it
        });
        const double get = bench::medianMs(7, [&] { back = window.GetPaneText(tag); });
        std::printf("%s pane: SetPaneText %.1f ms, GetPaneText %.1f ms (median of 7)\n",
                    tag == 0 ? "source" : "result", set, get);
    }
    if (back + QStringLiteral("\r\n") != text) {
        std::printf("GetPaneText did not return the text\n");
        return 1;
    }
    double now = 0, peak = 0;
    bench::residentMiB(now, peak);
    std::printf("resident memory: %.1f MiB now, %.1f MiB peak\n", now, peak);
    return 0;
}
