// Loaded into the installed program (LD_PRELOAD) by check-install.sh. Once the
// main window is up it reports the folder the program believes it runs from,
// types a word into the upper pane and presses Translate, then reports whether
// the loading animation came out of the resource module. Every report is one
// line on standard error starting with "install-probe:".

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMovie>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <exception>

namespace {

void report(const QString &line)
{
    std::fprintf(stderr, "install-probe: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

QWidget *mainWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frmMain") && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void pressTranslate(QWidget *window)
{
    report(QStringLiteral("program folder %1").arg(QCoreApplication::applicationDirPath()));

    auto *source = window->findChild<QTextEdit *>(QStringLiteral("E1"));
    auto *translate = window->findChild<QAbstractButton *>(QStringLiteral("btnTrans"));
    auto *animation = window->findChild<QLabel *>(QStringLiteral("ImgLoad"));
    if (!source || !translate || !animation) {
        report(QStringLiteral("controls not found (E1, btnTrans, ImgLoad)"));
        return;
    }
    source->setPlainText(QStringLiteral("hello"));
    // A failure is shown in a modal box, whose own event loop keeps this
    // timer going: it reports the box's text.
    auto *boxes = new QTimer(qApp);
    QObject::connect(boxes, &QTimer::timeout, boxes, [boxes] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible()) {
                boxes->stop();
                report(QStringLiteral("message box: %1").arg(box->text()));
            }
        }
    });
    boxes->start(50);
    try {
        // The request goes out on a worker thread and its outcome comes back as
        // an event, so right after the click the window still shows the
        // request running.
        translate->click();
    } catch (const std::exception &e) {
        report(QStringLiteral("translate failed: %1").arg(QString::fromUtf8(e.what())));
        return;
    }
    QMovie *movie = animation->movie();
    if (movie && movie->isValid() && !translate->isEnabled())
        report(QStringLiteral("animation shown, %1 frames").arg(movie->frameCount()));
    else
        report(QStringLiteral("no animation while translating"));
}

void start()
{
    // Polls until the window is shown; the program has no other hook.
    auto *timer = new QTimer(qApp);
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        if (QWidget *window = mainWindow()) {
            timer->stop();
            timer->deleteLater();
            pressTranslate(window);
        }
    });
    timer->start();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(start)
