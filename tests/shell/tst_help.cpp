#include "platform/Application.h"
#include "platform/Components.h"
#include "platform/ErrorDisplay.h"
#include "platform/Shell.h"
#include "settings/Params.h"
#include "settings/frm_About.h"
#include "shell/frm_Main.h"

#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

// The Help button's menu, its link commands, the promotional label and the
// About box.
class TestHelp : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_errors;
    QList<QPair<QString, Shell::Window>> m_opened;
    std::unique_ptr<TfrmMain> m_window;

    PopupMenu *menu() const { return m_window->findChild<PopupMenu *>("pmHelp"); }
    QAction *item(const char *name) const { return menu()->findChild<QAction *>(QLatin1String(name)); }
    QPushButton *helpButton() const { return m_window->findChild<QPushButton *>("btnHelp"); }

private slots:
    void init()
    {
        m_errors.clear();
        m_opened.clear();
        ErrorDisplay::setSink([this](const QString &text) { m_errors << text; });
        Shell::setSink([this](const QString &target, Shell::Window w) { m_opened.append({target, w}); });
        Settings = TParams();
        m_window = std::make_unique<TfrmMain>();
        SettingsFileName = m_dir.filePath("Zudadir2Evidivezav.ini");
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        ErrorDisplay::setSink({});
        Shell::setSink({});
    }

    void menuItems();
    void menuOpensUnderTheButton();
    void links_data();
    void links();
    void promotionalLabel();
    void aboutBox();
};

void TestHelp::menuItems()
{
    QStringList shown;
    for (QAction *action : menu()->actions()) {
        shown << (action->isSeparator() ? "-" : action->text());
        if (!action->isSeparator())
            QVERIFY2(!action->icon().pixmap(16, 16).isNull(), qPrintable(action->text()));
    }
    QCOMPARE(shown, QStringList({"Options", "-", "Try Morvane Translator Pro", "-", "Visit Home", "Contact Us", "-",
                                 "About"}));
}

void TestHelp::menuOpensUnderTheButton()
{
    for (const QPoint &windowAt : {QPoint(10, 10), QPoint(200, 40)}) {
        m_window->move(windowAt);
        QTest::qWait(20);
        QTest::mouseClick(helpButton(), Qt::LeftButton);
        QTRY_VERIFY(menu()->isVisible());
        const QPoint expected =
            helpButton()->mapToGlobal(QPoint(0, helpButton()->height())) + QPoint(0, 2);
        QVERIFY(expected.y() + menu()->height() <= m_window->screen()->availableGeometry().bottom());
        QCOMPARE(menu()->pos(), expected);
        menu()->hide();
    }
}

void TestHelp::links_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("maximized");
    QTest::newRow("Try") << "miTry" << "http://www.lexorvia.example/morvane-translator-pro.html?src=freeware" << true;
    QTest::newRow("Visit Home") << "miWebSite" << "http://www.lexorvia.example/" << true;
    QTest::newRow("Contact Us") << "miContactUs"
                                << "mailto:support@lexorvia.example?subject=Question%20for%20Lexorvia" << false;
}

void TestHelp::links()
{
    QFETCH(QString, item);
    QFETCH(QString, target);
    QFETCH(bool, maximized);
    this->item(qPrintable(item))->trigger();
    QCOMPARE(m_opened, (QList<QPair<QString, Shell::Window>>{
                           {target, maximized ? Shell::Window::Maximized : Shell::Window::Normal}}));
}

void TestHelp::promotionalLabel()
{
    auto *label = m_window->findChild<QLabel *>("lbl1");
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(label->toolTip(), QStringLiteral("Quick translation your content between 72 international languages."));
    QVERIFY(label->font().underline());
    QTest::mouseClick(label, Qt::LeftButton);
    item("miTry")->trigger();
    QCOMPARE(m_opened.size(), 2);
    QCOMPARE(m_opened.at(0), m_opened.at(1)); // the same page, maximized
}

void TestHelp::aboutBox()
{
    QStringList seen;
    int boxes = 0;
    auto inspect = [&] {
        auto *about = qobject_cast<TfrmAbout *>(QApplication::activeModalWidget());
        QVERIFY(about);
        ++boxes;
        seen = {about->windowTitle(), about->findChild<QLabel *>("labProduct")->text(),
                about->findChild<QLabel *>("labVer")->text(), about->findChild<QLabel *>("labCopy")->text()};
        QCOMPARE(about->size(), QSize(367, 192));
        QVERIFY(about->findChild<QLabel *>("labProduct")->font().bold());
        QTest::keyClick(about, Qt::Key_Escape); // Esc closes it
    };
    QTimer::singleShot(0, this, inspect);
    item("miAbout")->trigger();
    QCOMPARE(boxes, 1);
    QCOMPARE(seen, QStringList({"About", "Lexorvia", "Ver 4.0.0 (Build 20160809)",
                                QStringLiteral("Copyright © 2016-%1 Lexorvia").arg(QDate::currentDate().year())}));
    QVERIFY(!QApplication::activeModalWidget());

    // Each command makes a fresh box; OK closes it too.
    QTimer::singleShot(0, this, [&] {
        auto *about = qobject_cast<TfrmAbout *>(QApplication::activeModalWidget());
        QVERIFY(about);
        ++boxes;
        QTest::mouseClick(about->findChild<QPushButton *>("btnOk"), Qt::LeftButton);
    });
    item("miAbout")->trigger();
    QCOMPARE(boxes, 2);
    QVERIFY(m_window->findChildren<TfrmAbout *>().isEmpty());
    QVERIFY(m_errors.isEmpty());
}

int main(int argc, char **argv)
{
    // A screen tall enough for the menu to open below the Help button.
    QTemporaryDir config;
    const QString screens = config.filePath("screens.json");
    QFile file(screens);
    file.open(QIODevice::WriteOnly);
    file.write(R"({"screens": [{"name": "tall", "x": 0, "y": 0, "width": 1280, "height": 1024,
                   "logicalDpiX": 96, "logicalDpiY": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.toLocal8Bit());
    Application app(argc, argv);
    TestHelp test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_help.moc"
