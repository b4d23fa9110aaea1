#include "platform/AppError.h"
#include "platform/Application.h"
#include "platform/ErrorDisplay.h"

#include <QMessageBox>
#include <QKeyEvent>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

namespace {

// An object whose handler throws whatever it is told to.
class Thrower : public QObject
{
public:
    std::function<void()> onEvent;
    int handled = 0;

    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User) {
            ++handled;
            if (onEvent)
                onEvent();
            return true;
        }
        return QObject::event(e);
    }
};

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

    QStringList m_shown;

private slots:
    void init()
    {
        m_shown.clear();
        ErrorDisplay::setSink([this](const QString &text) { m_shown << text; });
    }
    void cleanup() { ErrorDisplay::setSink({}); }

    void exceptionFromHandlerIsShown_data();
    void exceptionFromHandlerIsShown();
    void programCarriesOnAfterFailure();
    void failureInWidgetHandler();
    void defaultDisplayIsMessageBox();
};

void TestApplication::exceptionFromHandlerIsShown_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("our error") << 0 << "Unable to write to /x/Zudadir2Evidivezav.ini";
    QTest::newRow("our error, not ASCII") << 1 << QString::fromUtf8("Không thể ghi – ©");
    QTest::newRow("standard exception") << 2 << "'abc' is not a valid integer value";
    QTest::newRow("anything else") << 3 << "An unknown error occurred.";
}

void TestApplication::exceptionFromHandlerIsShown()
{
    QFETCH(int, kind);
    QFETCH(QString, expected);
    Thrower thrower;
    thrower.onEvent = [kind, expected] {
        switch (kind) {
        case 0:
        case 1:
            throw AppError(expected);
        case 2:
            throw std::runtime_error(expected.toStdString());
        default:
            throw 42;
        }
    };
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&thrower);
    QCOMPARE(m_shown, QStringList{expected});
}

void TestApplication::programCarriesOnAfterFailure()
{
    Thrower thrower;
    bool fail = true;
    thrower.onEvent = [&fail] {
        if (fail)
            throw AppError("first");
    };
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&thrower);
    fail = false;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&thrower);
    QCOMPARE(thrower.handled, 3);
    QCOMPARE(m_shown, QStringList({"first", "first"}));
}

void TestApplication::failureInWidgetHandler()
{
    // A widget whose key handler fails: the failure is shown, the widget and
    // the program go on taking keys.
    struct Failing : QWidget
    {
        int keys = 0;
        void keyPressEvent(QKeyEvent *) override
        {
            ++keys;
            throw AppError("typed");
        }
    } widget;
    widget.setFocusPolicy(Qt::StrongFocus);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTest::keyClick(&widget, Qt::Key_A);
    QTest::keyClick(&widget, Qt::Key_B);
    QCOMPARE(widget.keys, 2);
    QCOMPARE(m_shown, QStringList({"typed", "typed"}));
}

void TestApplication::defaultDisplayIsMessageBox()
{
    ErrorDisplay::setSink({});
    QString caption;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        box->accept();
    });
    Thrower thrower;
    // Markup in a failure's text (a server's reply, a file name) stays text.
    thrower.onEvent = [] { throw AppError("Something <b>failed</b>"); };
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&thrower);
    QCOMPARE(caption, QStringLiteral("Lexorvia"));
    QCOMPARE(text, QStringLiteral("Something <b>failed</b>"));
    QCOMPARE(format, Qt::PlainText);
}

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
