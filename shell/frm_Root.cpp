#include "shell/frm_Root.h"

#include "platform/Components.h"
#include "platform/Fonts.h"

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
