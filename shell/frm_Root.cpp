#include "shell/frm_Root.h"

#include "platform/Components.h"
#include "platform/ErrorDisplay.h"
#include "platform/Fonts.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>

#include <QGuiApplication>
#include <QScreen>

TfrmRoot::TfrmRoot(QWidget *parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    EnsureFormFonts();
    setObjectName(QStringLiteral("frmRoot"));
    setWindowTitle(QStringLiteral("frmRoot"));
    QFont formFont(QStringLiteral("Tahoma"));
    formFont.setPixelSize(12);
    setFont(formFont);
    setBackgroundRole(QPalette::Window);
}

void TfrmRoot::FormCreate()
{
    const QColor face = palette().color(QPalette::Window);
    for (QObject *component : OwnedComponents(this)) {
        auto *panel = qobject_cast<Panel *>(component);
        if (panel && panel->palette().color(panel->backgroundRole()) != face)
            panel->setAutoFillBackground(true);
    }
}

void TfrmRoot::setFixedClientSize(int width, int height)
{
    setFixedSize(width, height);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width) / 2, area.y() + (area.height() - height) / 2);
    }
}

int TfrmRoot::ShowModal()
{
    setWindowModality(Qt::ApplicationModal);
    m_modalResult = mrNone;
    show();
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_modalLoop = nullptr;
    return m_modalResult;
}

void TfrmRoot::setModalResult(int result)
{
    m_modalResult = result;
    if (!close())
        m_modalResult = mrNone;
}

void TfrmRoot::setDefaultButton(QPushButton *button)
{
    m_defaultButton = button;
}

void TfrmRoot::setCancelButton(QPushButton *button)
{
    m_cancelButton = button;
}

void TfrmRoot::FormClose(bool &)
{
}

void TfrmRoot::closeEvent(QCloseEvent *event)
{
    bool allow = true;
    bool failed = true;
    ErrorDisplay::run([&] {
        FormClose(allow);
        failed = false;
    });
    if (failed || !allow) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TfrmRoot::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (m_modalLoop)
        m_modalLoop->quit();
}

void TfrmRoot::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget()); focused && focused->isEnabled()) {
            focused->animateClick();
            return;
        }
        if (m_defaultButton && m_defaultButton->isEnabled()) {
            m_defaultButton->animateClick();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (m_cancelButton && m_cancelButton->isEnabled()) {
            m_cancelButton->animateClick();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}
