#include "platform/AppError.h"
#include "platform/Application.h"
#include "platform/ResourceLibrary.h"
#include "shell/untCommon.h"
#include "support/Files.h"

#include <QLabel>
#include <QLibrary>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QMovie>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <dlfcn.h>
#include <functional>
#include <memory>

using namespace testsupport;

namespace {

// The visible message box, if any.
QMessageBox *visibleBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box && box->isVisible())
            return box;
    }
    return nullptr;
}

// Waits (from timers, while a modal box runs its own loop) for the box to
// appear, then hands it to the handler. A box that appears too late is closed
// so that the test does not hang.
void whenBoxShown(std::function<void(QMessageBox *)> handler, int attemptsLeft = 200)
{
    QTimer::singleShot(10, [handler = std::move(handler), attemptsLeft]() mutable {
        if (QMessageBox *box = visibleBox()) {
            handler(box);
        } else if (attemptsLeft > 0) {
            whenBoxShown(std::move(handler), attemptsLeft - 1);
        }
    });
}

// How a box is dismissed.
enum class Dismiss { Ok, Cancel, Escape, CloseButton };

} // namespace

Q_DECLARE_METATYPE(Dismiss)

namespace {

void dismiss(QMessageBox *box, Dismiss how)
{
    switch (how) {
    case Dismiss::Ok:
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        break;
    case Dismiss::Cancel:
        QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
        break;
    case Dismiss::Escape:
        QTest::keyClick(box, Qt::Key_Escape);
        break;
    case Dismiss::CloseButton:
        box->close();
        break;
    }
}

// What a box looked like when it was on screen.
struct SeenBox
{
    bool seen = false;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
    Qt::TextFormat format = Qt::AutoText;
};

SeenBox look(QMessageBox *box)
{
    return {true,
            box->windowTitle(),
            box->text(),
            box->icon(),
            box->standardButtons(),
            box->isModal() || box->windowModality() != Qt::NonModal,
            box->textFormat()};
}

// A thread that calls ShowMsg once and keeps its answer. It gives up waiting
// when it is destroyed, so that a failed test does not leave it hanging.
class MsgThread
{
public:
    MsgThread(const QString &text, int kind)
    {
        m_thread.reset(QThread::create([this, text, kind] { m_answer = ShowMsg(text, kind, &m_cancel); }));
        m_thread->start();
    }
    ~MsgThread()
    {
        m_cancel = true;
        m_thread->wait();
    }

    bool running() const { return m_thread->isRunning(); }
    int answer() const { return m_answer; }
    void cancel() { m_cancel = true; }

private:
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_answer{-1};
    std::unique_ptr<QThread> m_thread;
};

// A plain window with one button, to show that the program's windows stay
// usable while a box is open.
struct OtherWindow
{
    QWidget window;
    QPushButton *button = new QPushButton(QStringLiteral("Press"), &window);
    int clicks = 0;

    OtherWindow()
    {
        window.resize(200, 100);
        button->setGeometry(10, 10, 120, 40);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the window did not show");
    }

    // A click through the window system, so that modality applies to it.
    void click()
    {
        const QPoint centre = button->mapTo(&window, button->rect().center());
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, centre);
    }
};

QString moduleBesideProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/MorvaneSys.DLL");
}

// Whether the module at this path is mapped into the process.
bool moduleMapped(const QString &path)
{
    void *handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return false;
    ::dlclose(handle);
    return true;
}

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const AppError &e) {
        return e.text();
    }
    return QString();
}

} // namespace

class TestCommon : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        MessageBoxes::setSink({});
        while (QMessageBox *box = visibleBox())
            delete box;
    }

    // --- ShowMsg ---

    void showMsg_box_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Dismiss>("how");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QMessageBox::StandardButtons>("buttons");
        QTest::addColumn<int>("answer");

        const QMessageBox::StandardButtons ok = QMessageBox::Ok;
        const QMessageBox::StandardButtons okCancel = QMessageBox::Ok | QMessageBox::Cancel;
        QTest::newRow("warning") << 0 << Dismiss::Ok << QMessageBox::Warning << ok << 1;
        QTest::newRow("error") << 1 << Dismiss::Ok << QMessageBox::Critical << ok << 1;
        QTest::newRow("information") << 2 << Dismiss::Ok << QMessageBox::Information << ok << 1;
        QTest::newRow("question, OK") << 3 << Dismiss::Ok << QMessageBox::Question << okCancel << 1;
        QTest::newRow("question, Cancel") << 3 << Dismiss::Cancel << QMessageBox::Question << okCancel << 2;
        QTest::newRow("question, Esc") << 3 << Dismiss::Escape << QMessageBox::Question << okCancel << 2;
        QTest::newRow("question, closed") << 3 << Dismiss::CloseButton << QMessageBox::Question << okCancel << 2;
        QTest::newRow("warning, Esc") << 0 << Dismiss::Escape << QMessageBox::Warning << ok << 1;
        QTest::newRow("error, closed") << 1 << Dismiss::CloseButton << QMessageBox::Critical << ok << 1;
        QTest::newRow("kind 4") << 4 << Dismiss::Ok << QMessageBox::NoIcon << ok << 1;
        QTest::newRow("kind -1") << -1 << Dismiss::Ok << QMessageBox::NoIcon << ok << 1;
    }

    // On the GUI thread the box is modal.
    void showMsg_box()
    {
        QFETCH(int, kind);
        QFETCH(Dismiss, how);
        SeenBox seen;
        bool wasActiveModal = false;
        whenBoxShown([&](QMessageBox *box) {
            seen = look(box);
            wasActiveModal = QApplication::activeModalWidget() == box;
            dismiss(box, how);
        });

        // A server's status line is shown as it came: markup in it is text,
        // never a link.
        const QString failure = QStringLiteral("HTTP/1.1 403 <a href=\"https://x.example/\">Restore</a>");
        const int answer = ShowMsg(failure, kind);

        QVERIFY(seen.seen);
        QCOMPARE(seen.caption, QStringLiteral("Lexorvia"));
        QCOMPARE(seen.text, failure);
        QCOMPARE(seen.format, Qt::PlainText);
        QTEST(seen.icon, "icon");
        QTEST(seen.buttons, "buttons");
        QVERIFY(seen.modal);
        QVERIFY(wasActiveModal);
        QTEST(answer, "answer");
        QTRY_VERIFY(!visibleBox());
    }

    // The evidence the worker tests rely on: a click through the window system
    // does not reach a window blocked by a modal box.
    void showMsg_modalBoxBlocksOtherWindows()
    {
        OtherWindow other;
        int clicksWhileOpen = -1;
        whenBoxShown([&](QMessageBox *box) {
            other.click();
            QCoreApplication::processEvents();
            clicksWhileOpen = other.clicks;
            dismiss(box, Dismiss::Ok);
        });
        ShowMsg(QStringLiteral("modal"), 0);
        QCOMPARE(clicksWhileOpen, 0);
        other.click();
        QTRY_COMPARE(other.clicks, 1);
    }

    void showMsg_fromWorker_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Dismiss>("how");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<int>("answer");

        QTest::newRow("error, OK") << 1 << Dismiss::Ok << QMessageBox::Critical << 1;
        QTest::newRow("error, closed") << 1 << Dismiss::CloseButton << QMessageBox::Critical << 1;
        QTest::newRow("question, OK") << 3 << Dismiss::Ok << QMessageBox::Question << 1;
        QTest::newRow("question, Cancel") << 3 << Dismiss::Cancel << QMessageBox::Question << 2;
        QTest::newRow("question, Esc") << 3 << Dismiss::Escape << QMessageBox::Question << 2;
        QTest::newRow("question, closed") << 3 << Dismiss::CloseButton << QMessageBox::Question << 2;
    }

    // From another thread the GUI thread shows the box without modality; the
    // program's windows and timers go on working while the thread waits.
    void showMsg_fromWorker()
    {
        QFETCH(int, kind);
        QFETCH(Dismiss, how);
        OtherWindow other;
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(10);

        MsgThread worker(QStringLiteral("The server did not answer."), kind);
        QTRY_VERIFY(visibleBox());
        QMessageBox *box = visibleBox();
        QCOMPARE(box->thread(), QCoreApplication::instance()->thread());
        const SeenBox seen = look(box);
        QCOMPARE(seen.caption, QStringLiteral("Lexorvia"));
        QCOMPARE(seen.text, QStringLiteral("The server did not answer."));
        QTEST(seen.icon, "icon");
        QVERIFY(!seen.modal);
        QVERIFY(!QApplication::activeModalWidget());

        const int ticksBefore = ticks;
        other.click();
        QTRY_COMPARE(other.clicks, 1);
        QTRY_VERIFY(ticks > ticksBefore + 3);
        QVERIFY(worker.running());
        QCOMPARE(worker.answer(), -1);

        dismiss(box, how);
        QTRY_VERIFY(!worker.running());
        QTEST(worker.answer(), "answer");
        QTRY_VERIFY(!visibleBox());
    }

    // Setting the cancel flag (the main window closing) closes the box and ends
    // the wait with Cancel.
    void showMsg_fromWorker_cancelled()
    {
        MsgThread worker(QStringLiteral("Connection lost."), 1);
        QTRY_VERIFY(visibleBox());
        QPointer<QMessageBox> box = visibleBox();
        QTest::qWait(100);
        QVERIFY(worker.running());

        worker.cancel();
        QTRY_VERIFY_WITH_TIMEOUT(!worker.running(), 1000);
        QCOMPARE(worker.answer(), 2);
        QTRY_VERIFY(box.isNull());
    }

    // A flag that is already set: no box at all.
    void showMsg_cancelledBeforehand()
    {
        int sinkCalls = 0;
        MessageBoxes::setSink([&](const QString &, int) { return ++sinkCalls; });
        std::atomic<bool> cancel{true};
        QCOMPARE(ShowMsg(QStringLiteral("late"), 0, &cancel), 2);
        std::atomic<int> answer{-1};
        std::unique_ptr<QThread> thread(QThread::create([&] { answer = ShowMsg(QStringLiteral("late"), 0, &cancel); }));
        thread->start();
        QTRY_VERIFY(thread->isFinished());
        QCOMPARE(answer.load(), 2);
        QCoreApplication::processEvents();
        QCOMPARE(sinkCalls, 0);
    }

    // The owner window of a worker's box goes away: the wait ends with Cancel.
    void showMsg_fromWorker_boxDestroyed()
    {
        MsgThread worker(QStringLiteral("gone"), 3);
        QTRY_VERIFY(visibleBox());
        delete visibleBox();
        QTRY_VERIFY(!worker.running());
        QCOMPARE(worker.answer(), 2);
    }

    // A worker's box that comes while a dialog of the program (an About box,
    // owned by nobody) is the active window outlives that dialog: it belongs
    // to the main window.
    void showMsg_fromWorker_outlivesDialog()
    {
        QWidget main;
        main.show();
        auto *dialog = new QWidget(nullptr, Qt::Dialog);
        dialog->show();
        QApplication::setActiveWindow(dialog);
        QTRY_COMPARE(QApplication::activeWindow(), dialog);

        MsgThread worker(QStringLiteral("Connection refused."), 1);
        QTRY_VERIFY(visibleBox());
        delete dialog;
        QCoreApplication::processEvents();
        QVERIFY(visibleBox());
        QVERIFY(worker.running());
        visibleBox()->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!worker.running());
        QCOMPARE(worker.answer(), 1);
    }

    void showMsg_sink_data()
    {
        QTest::addColumn<bool>("fromWorker");
        QTest::addColumn<int>("sinkAnswer");
        QTest::newRow("GUI thread") << false << 2;
        QTest::newRow("worker thread") << true << 2;
        QTest::newRow("worker thread, OK") << true << 1;
    }

    // The sink replaces the box, and always runs on the GUI thread.
    void showMsg_sink()
    {
        QFETCH(bool, fromWorker);
        QFETCH(int, sinkAnswer);
        QList<bool> onGuiThread;
        QStringList texts;
        QList<int> kinds;
        MessageBoxes::setSink([&](const QString &text, int kind) {
            onGuiThread << (QThread::currentThread() == QCoreApplication::instance()->thread());
            texts << text;
            kinds << kind;
            return sinkAnswer;
        });

        int answer = -1;
        if (fromWorker) {
            MsgThread worker(QStringLiteral("Proxy refused."), 3);
            QTRY_VERIFY(!worker.running());
            answer = worker.answer();
        } else {
            answer = ShowMsg(QStringLiteral("Proxy refused."), 3);
        }

        QCOMPARE(answer, sinkAnswer);
        QCOMPARE(onGuiThread, QList<bool>{true});
        QCOMPARE(texts, QStringList{QStringLiteral("Proxy refused.")});
        QCOMPARE(kinds, QList<int>{3});
        QVERIFY(!visibleBox());
    }

    void showMsg_setSinkReturnsPrevious()
    {
        MessageBoxes::setSink([](const QString &, int) { return 7; });
        MessageBoxes::Sink previous = MessageBoxes::setSink([](const QString &, int) { return 8; });
        QVERIFY(previous);
        QCOMPARE(previous(QString(), 0), 7);
        QCOMPARE(ShowMsg(QString(), 0), 8);
    }

    // --- The resource module ---

    // The module hands out the picture byte for byte.
    void resourceModule_holdsTheSourcePicture()
    {
        const QString source = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../resources/loading.gif");
        const QByteArray expected = readBytes(source);
        QVERIFY2(!expected.isEmpty(), qPrintable(source));
        const std::optional<QByteArray> bytes = ResourceLibrary::read(moduleBesideProgram(), "GIF", QStringLiteral("LOADING"));
        QVERIFY(bytes.has_value());
        QCOMPARE(*bytes, expected);
    }

    void resourceModule_lookup_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        QTest::newRow("GIF LOADING") << QByteArray("GIF") << QStringLiteral("LOADING") << true;
        QTest::newRow("name not upper-cased") << QByteArray("GIF") << QStringLiteral("Loading") << false;
        QTest::newRow("type in lower case") << QByteArray("gif") << QStringLiteral("LOADING") << false;
        QTest::newRow("other type") << QByteArray("PNG") << QStringLiteral("LOADING") << false;
        QTest::newRow("unknown name") << QByteArray("GIF") << QStringLiteral("NOSUCH") << false;
        QTest::newRow("prefix of a name") << QByteArray("GIF") << QStringLiteral("LOAD") << false;
        QTest::newRow("empty name") << QByteArray("GIF") << QString() << false;
    }

    void resourceModule_lookup()
    {
        QFETCH(QByteArray, type);
        QFETCH(QString, name);
        QFETCH(bool, found);
        const std::optional<QByteArray> bytes = ResourceLibrary::read(moduleBesideProgram(), type, name);
        QCOMPARE(bytes.has_value(), found);
        if (found)
            QVERIFY(bytes->startsWith("GIF89a"));
    }

    // The module is loaded only while one resource is read.
    void resourceLibrary_unloadsTheModule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("found") << QStringLiteral("LOADING");
        QTest::newRow("not found") << QStringLiteral("NOSUCH");
    }

    void resourceLibrary_unloadsTheModule()
    {
        QFETCH(QString, name);
        const QString path = moduleBesideProgram();
        {
            // The probe does see a loaded module.
            QLibrary holder(path);
            QVERIFY2(holder.load(), qPrintable(holder.errorString()));
            QVERIFY(moduleMapped(path));
            holder.unload();
        }
        QVERIFY(!moduleMapped(path));
        ResourceLibrary::read(path, "GIF", name);
        QVERIFY(!moduleMapped(path));
        QVERIFY(!QLibrary(path).isLoaded());
    }

    void resourceLibrary_unusableModule_data()
    {
        QTest::addColumn<QString>("module");
        QTest::newRow("missing") << QStringLiteral("missing");
        QTest::newRow("not a library") << QStringLiteral("text");
        QTest::newRow("library without the lookup function") << QStringLiteral("other library");
        QTest::newRow("a folder") << QStringLiteral("folder");
        QTest::newRow("empty path") << QStringLiteral("empty");
    }

    void resourceLibrary_unusableModule()
    {
        QFETCH(QString, module);
        QTemporaryDir dir;
        const QString path = module == QLatin1String("empty") ? QString() : dir.filePath(QStringLiteral("MorvaneSys.DLL"));
        if (module == QLatin1String("text")) {
            QVERIFY(writeBytes(path, "GIF LOADING GIF89a"));
        } else if (module == QLatin1String("other library")) {
            const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/imageformats/libqgif.so");
            if (!QFile::exists(plugin))
                QSKIP("no library to stand in for the module");
            QVERIFY(QFile::copy(plugin, path));
        } else if (module == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        }
        QVERIFY(!ResourceLibrary::read(path, "GIF", QStringLiteral("LOADING")).has_value());
        if (!path.isEmpty())
            QVERIFY(!moduleMapped(path));
    }

    // --- LoadResGif and ClearImage ---

    void loadResGif_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("mixed case") << QStringLiteral("Loading");
        QTest::newRow("upper case") << QStringLiteral("LOADING");
        QTest::newRow("lower case") << QStringLiteral("loading");
    }

    void loadResGif()
    {
        QFETCH(QString, name);
        QWidget window;
        auto *image = new QLabel(&window);
        image->setGeometry(10, 10, 44, 16);
        image->hide();
        window.show();

        QCOMPARE(errorOf([&] { LoadResGif(image, name); }), QString());

        QMovie *movie = image->movie();
        QVERIFY(movie);
        QCOMPARE(movie->parent(), image);
        QVERIFY(movie->isValid());
        QCOMPARE(movie->frameCount(), 12);
        QCOMPARE(movie->state(), QMovie::Running);
        QCOMPARE(movie->currentImage().size(), QSize(44, 16));
        QCOMPARE(image->alignment(), Qt::Alignment(Qt::AlignCenter));
        QVERIFY(image->isVisible());
        // The animation runs: the frames advance on their own.
        const int first = movie->currentFrameNumber();
        QTRY_VERIFY(movie->currentFrameNumber() != first);
        // At most one frame's time (80 ms) to the next frame; what is left of
        // it depends on when we look.
        QVERIFY(movie->nextFrameDelay() > 0 && movie->nextFrameDelay() <= 80);
    }

    // Loading again replaces the picture and frees the former one.
    void loadResGif_again()
    {
        QLabel image;
        LoadResGif(&image, QStringLiteral("Loading"));
        QPointer<QMovie> first = image.movie();
        LoadResGif(&image, QStringLiteral("Loading"));
        QVERIFY(first.isNull());
        QVERIFY(image.movie());
        QCOMPARE(image.movie()->state(), QMovie::Running);
        QCOMPARE(image.findChildren<QMovie *>().size(), 1);
    }

    void loadResGif_missing_data()
    {
        QTest::addColumn<bool>("moduleThere");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::newRow("no module") << false << QStringLiteral("Loading") << QStringLiteral("Resource LOADING not found");
        QTest::newRow("no module, other name") << false << QStringLiteral("busy") << QStringLiteral("Resource BUSY not found");
        QTest::newRow("unknown name") << true << QStringLiteral("NoSuch") << QStringLiteral("Resource NOSUCH not found");
    }

    // A failure leaves the label as it was: a running picture, or a text.
    void loadResGif_missing()
    {
        QFETCH(bool, moduleThere);
        QFETCH(QString, name);
        QFETCH(QString, error);
        QTemporaryDir emptyFolder;
        const QString module = moduleThere ? moduleBesideProgram() : emptyFolder.filePath(QStringLiteral("MorvaneSys.DLL"));

        QLabel showing;
        LoadResGif(&showing, QStringLiteral("Loading"));
        QMovie *before = showing.movie();
        QCOMPARE(errorOf([&] { LoadResGifFrom(module, &showing, name); }), error);
        QCOMPARE(showing.movie(), before);
        QCOMPARE(before->state(), QMovie::Running);

        QLabel text(QStringLiteral("idle"));
        text.setAlignment(Qt::AlignRight);
        QCOMPARE(errorOf([&] { LoadResGifFrom(module, &text, name); }), error);
        QVERIFY(!text.movie());
        QCOMPARE(text.text(), QStringLiteral("idle"));
        QCOMPARE(text.alignment(), Qt::Alignment(Qt::AlignRight));
        QVERIFY(text.findChildren<QMovie *>().isEmpty());
    }

    // The program's own LoadResGif looks beside the program.
    void loadResGif_unknownName()
    {
        QLabel image;
        QCOMPARE(errorOf([&] { LoadResGif(&image, QStringLiteral("NoSuch")); }), QStringLiteral("Resource NOSUCH not found"));
        QVERIFY(!image.movie());
    }

    void showGifData_damaged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray gif = ResourceLibrary::read(moduleBesideProgram(), "GIF", QStringLiteral("LOADING")).value_or(QByteArray());
        QTest::newRow("no picture") << QByteArray("not a picture at all");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << gif.left(13);
        QTest::newRow("PNG signature") << QByteArray("\x89PNG\r\n\x1a\n");
    }

    void showGifData_damaged()
    {
        QFETCH(QByteArray, bytes);
        QLabel image(QStringLiteral("idle"));
        QString error;
        try {
            ShowGifData(&image, bytes);
        } catch (const AppError &e) {
            error = e.text();
        }
        QVERIFY(!error.isEmpty());
        QVERIFY(!image.movie());
        QCOMPARE(image.text(), QStringLiteral("idle"));
        QVERIFY(image.findChildren<QMovie *>().isEmpty());
    }

    void clearImage()
    {
        QWidget window;
        auto *image = new QLabel(&window);
        window.show();
        LoadResGif(image, QStringLiteral("Loading"));
        QPointer<QMovie> movie = image->movie();

        ClearImage(image);

        QVERIFY(movie.isNull());
        QVERIFY(!image->movie());
        QVERIFY(image->pixmap().isNull());
        QVERIFY(image->text().isEmpty());
        QVERIFY(image->isVisible());
        QVERIFY(image->findChildren<QMovie *>().isEmpty());
    }

    void clearImage_emptyLabel()
    {
        QWidget window;
        auto *image = new QLabel(&window);
        window.show();
        ClearImage(image);
        QVERIFY(!image->movie());
        QVERIFY(image->pixmap().isNull());
        QVERIFY(image->text().isEmpty());
        QVERIFY(image->isVisible());
        // And a picture can be shown after it.
        LoadResGif(image, QStringLiteral("loading"));
        QVERIFY(image->movie());
    }

    // A movie the label does not own is stopped, not freed.
    void clearImage_foreignMovie()
    {
        QLabel image;
        QMovie movie;
        image.setMovie(&movie);
        ClearImage(&image);
        QVERIFY(!image.movie());
        QCOMPARE(movie.state(), QMovie::NotRunning);
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestCommon test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_common.moc"
