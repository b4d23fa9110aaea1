#include "shell/untCommon.h"

#include "platform/AppError.h"
#include "platform/ResourceLibrary.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QDate>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QMovie>
#include <QPointer>
#include <chrono>
#include <semaphore>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

QString CopyrightNotice()
{
    return QStringLiteral("Copyright © 2016-%1 Lexorvia").arg(QDate::currentDate().year());
}

// ---------------------------------------------------------------------------
// ShowMsg

namespace {

// How often a waiting thread looks at its cancel flag, and how often a box
// shown for a thread looks whether that thread gave up waiting.
constexpr int pollMs = 25;

MessageBoxes::Sink &currentSink()
{
    static MessageBoxes::Sink sink;
    return sink;
}

QMessageBox *createBox(const QString &text, int kind, QWidget *parent)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (kind) {
    case MsgWarning:
        icon = QMessageBox::Warning;
        break;
    case MsgError:
        icon = QMessageBox::Critical;
        break;
    case MsgInformation:
        icon = QMessageBox::Information;
        break;
    case MsgQuestion:
        icon = QMessageBox::Question;
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    default:
        break;
    }
    auto *box = new QMessageBox(icon, QStringLiteral("Lexorvia"), text, buttons, parent);
    // The text may come from a server (a status line): it is shown as text,
    // never as markup with links in it.
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::Ok);
    return box;
}

// The button the user chose. A box closed without a click (Esc, the close
// button) counts as Cancel when it has one, as OK otherwise.
int answerOf(const QMessageBox *box)
{
    if (QAbstractButton *clicked = box->clickedButton())
        return box->standardButton(clicked) == QMessageBox::Cancel ? MsgCancel : MsgOk;
    return box->button(QMessageBox::Cancel) ? MsgCancel : MsgOk;
}

bool onGuiThread(const QCoreApplication *app)
{
    return QThread::currentThread() == app->thread();
}

// --- Boxes shown for other threads ---

// One ShowMsg call from another thread. The calling thread waits on
// `answered`; the GUI thread releases it once, with the answer set.
struct PendingMsg
{
    QString text;
    int kind = MsgWarning;
    std::counting_semaphore<> answered{0};
    std::atomic<int> answer{MsgCancel};
    std::atomic<bool> abandoned{false}; // the calling thread stopped waiting

    // GUI thread only.
    bool done = false;
    QPointer<QMessageBox> box;
};

// The boxes on screen for waiting threads (GUI thread only); closed when the
// application ends, so that no thread waits for a box that is gone.
std::vector<std::shared_ptr<PendingMsg>> &openBoxes()
{
    static std::vector<std::shared_ptr<PendingMsg>> boxes;
    return boxes;
}

void finish(const std::shared_ptr<PendingMsg> &pending, int answer)
{
    if (pending->done)
        return;
    pending->done = true;
    auto &boxes = openBoxes();
    boxes.erase(std::remove(boxes.begin(), boxes.end(), pending), boxes.end());
    pending->answer = answer;
    pending->answered.release();
}

bool closeAtShutdownAdded = false;

// Runs in the application's destructor, before the windows go.
void closeBoxesAtShutdown()
{
    closeAtShutdownAdded = false;
    std::vector<std::shared_ptr<PendingMsg>> boxes;
    boxes.swap(openBoxes());
    for (const auto &pending : boxes) {
        finish(pending, MsgCancel);
        delete pending->box.data();
    }
}

// The main window (the window the active one belongs to), so that the box
// appears over it; none when no window of the program is active. A dialog
// that belongs to no window (the About box, the Options dialog) is not
// taken: the box would go with it when it closes, before the user could read
// it. The program's ordinary window is taken then.
QWidget *ownerWindow()
{
    QWidget *window = QApplication::activeWindow();
    while (window && window->parentWidget())
        window = window->parentWidget()->window();
    if (window && window->windowType() == Qt::Dialog) {
        for (QWidget *candidate : QApplication::topLevelWidgets()) {
            if (!candidate->parentWidget() && candidate->windowType() == Qt::Window && candidate->isVisible())
                return candidate;
        }
    }
    return window;
}

// On the GUI thread: answers a pending call through the sink, or shows its
// box without modality.
void presentPending(const std::shared_ptr<PendingMsg> &pending)
{
    if (pending->abandoned)
        return;
    if (const MessageBoxes::Sink &sink = currentSink()) {
        int answer = MsgCancel;
        try {
            answer = sink(pending->text, pending->kind);
        } catch (...) {
            finish(pending, MsgCancel);
            throw;
        }
        finish(pending, answer);
        return;
    }

    if (!closeAtShutdownAdded) {
        qAddPostRoutine(closeBoxesAtShutdown);
        closeAtShutdownAdded = true;
    }
    openBoxes().push_back(pending);

    QMessageBox *box = createBox(pending->text, pending->kind, ownerWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->setWindowModality(Qt::NonModal);
    pending->box = box;
    QObject::connect(box, &QDialog::finished, box, [box, pending] { finish(pending, answerOf(box)); });
    // Deleted with its owner window: nobody will answer.
    QObject::connect(box, &QObject::destroyed, [pending] { finish(pending, MsgCancel); });
    // The waiting thread gave up (its cancel flag was set): close the box.
    auto *watch = new QTimer(box);
    QObject::connect(watch, &QTimer::timeout, box, [box, pending] {
        if (!pending->abandoned)
            return;
        finish(pending, MsgCancel);
        box->hide();
        box->deleteLater();
    });
    watch->start(pollMs);
    box->show();
}

// Travels with the queued call to the GUI thread. When the call is dropped
// without running (the application ends first), the waiting thread is let go.
struct PendingTicket
{
    std::shared_ptr<PendingMsg> pending;
    bool delivered = false;

    ~PendingTicket()
    {
        if (!delivered) {
            pending->answer = MsgCancel;
            pending->answered.release();
        }
    }
};

int showFromOtherThread(QCoreApplication *app, const QString &text, int kind, const std::atomic<bool> *cancel)
{
    auto pending = std::make_shared<PendingMsg>();
    pending->text = text;
    pending->kind = kind;
    {
        auto ticket = std::make_shared<PendingTicket>();
        ticket->pending = pending;
        QMetaObject::invokeMethod(
            app,
            [ticket] {
                ticket->delivered = true;
                presentPending(ticket->pending);
            },
            Qt::QueuedConnection);
    }
    for (;;) {
        if (pending->answered.try_acquire_for(std::chrono::milliseconds(pollMs)))
            return pending->answer;
        if (cancel && cancel->load()) {
            pending->abandoned = true;
            return MsgCancel;
        }
    }
}

int showModal(const QString &text, int kind)
{
    if (const MessageBoxes::Sink &sink = currentSink())
        return sink(text, kind);
    QPointer<QMessageBox> box = createBox(text, kind, QApplication::activeWindow());
    box->exec();
    if (!box)
        return MsgCancel;
    const int answer = answerOf(box);
    delete box.data();
    return answer;
}

} // namespace

int ShowMsg(const QString &text, int kind, const std::atomic<bool> *cancel)
{
    if (cancel && cancel->load())
        return MsgCancel;
    QCoreApplication *app = QCoreApplication::instance();
    if (!qobject_cast<QApplication *>(app))
        return MsgCancel;
    if (onGuiThread(app))
        return QCoreApplication::closingDown() ? MsgCancel : showModal(text, kind);
    return showFromOtherThread(app, text, kind, cancel);
}

namespace MessageBoxes {

Sink setSink(Sink sink)
{
    Sink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

} // namespace MessageBoxes

// ---------------------------------------------------------------------------
// Pictures

namespace {

QString &modulePathOverride()
{
    static QString path;
    return path;
}

} // namespace

QString ResourceModulePath()
{
    if (!modulePathOverride().isEmpty())
        return modulePathOverride();
    return QCoreApplication::applicationDirPath() + QStringLiteral("/MorvaneSys.DLL");
}

void SetResourceModulePath(const QString &path)
{
    modulePathOverride() = path;
}

void LoadResGif(QLabel *image, const QString &name)
{
    LoadResGifFrom(ResourceModulePath(), image, name);
}

void LoadResGifFrom(const QString &modulePath, QLabel *image, const QString &name)
{
    const QString resourceName = name.toUpper();
    const std::optional<QByteArray> gif = ResourceLibrary::read(modulePath, QByteArrayLiteral("GIF"), resourceName);
    if (!gif)
        throw AppError(QStringLiteral("Resource %1 not found").arg(resourceName));
    ShowGifData(image, *gif);
}

void ShowGifData(QLabel *image, const QByteArray &gif)
{
    // Reading the first frame is what tells a damaged file from a good one.
    {
        QBuffer probe;
        probe.setData(gif);
        probe.open(QIODevice::ReadOnly);
        QImageReader reader(&probe, QByteArrayLiteral("gif"));
        if (reader.read().isNull()) {
            QString reason = reader.errorString();
            if (reason.isEmpty() || reason == QLatin1String("Unknown error"))
                reason = QStringLiteral("The picture could not be read");
            throw AppError(reason);
        }
    }

    auto movie = std::make_unique<QMovie>();
    auto *buffer = new QBuffer(movie.get());
    buffer->setData(gif);
    buffer->open(QIODevice::ReadOnly);
    movie->setFormat(QByteArrayLiteral("gif"));
    movie->setDevice(buffer);
    movie->setCacheMode(QMovie::CacheAll);
    if (!movie->isValid())
        throw AppError(movie->lastErrorString());

    QMovie *previous = image->movie();
    image->setAlignment(Qt::AlignCenter);
    image->setMovie(movie.get());
    movie->setParent(image);
    QMovie *shown = movie.release();
    if (previous && previous->parent() == image)
        delete previous;
    image->setVisible(true);
    shown->start();
}

void ClearImage(QLabel *image)
{
    QMovie *movie = image->movie();
    image->clear();
    if (movie) {
        movie->stop();
        if (movie->parent() == image)
            delete movie;
    }
}
