// Start-up: the program's own main, which quits as soon as the main window has
// been painted and the event queue has run dry. Prints the time from process
// start (LEXORVIA_BENCH_T0, nanoseconds of the real-time clock, set by the
// caller just before it starts the process) and the resident memory.
#include "common.h"
#include "platform/Application.h"
#include "shell/frm_Main.h"

#include <QTimer>

#include <ctime>

namespace {

qint64 nowNs()
{
    timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

class FirstPaint : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            QTimer::singleShot(0, [] {
                const qint64 t0 = qgetenv("LEXORVIA_BENCH_T0").toLongLong();
                double now = 0, peak = 0;
                bench::residentMiB(now, peak);
                if (t0 > 0)
                    std::printf("shown and idle after %.1f ms; ", double(nowNs() - t0) / 1e6);
                std::printf("resident %.1f MiB (peak %.1f MiB)\n", now, peak);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TfrmMain window;
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    return app.exec();
}
