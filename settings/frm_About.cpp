#include "settings/frm_About.h"

#include "shell/untCommon.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel *centredLabel(QWidget *parent, const char *name, const QRect &bounds, int pointSize, bool bold)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(bounds);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    if (pointSize > 0) {
        QFont font = label->font();
        font.setPointSize(pointSize);
        font.setBold(bold);
        label->setFont(font);
    }
    return label;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *parent)
    : TfrmRoot(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFixedClientSize(367, 192);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 350, 145);
    labProduct = centredLabel(GroupBox1, "labProduct", QRect(6, 25, 339, 21), 12, true);
    labVer = centredLabel(GroupBox1, "labVer", QRect(9, 64, 332, 14), 9, true);
    labCopy = centredLabel(GroupBox1, "labCopy", QRect(5, 116, 340, 14), 0, false);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(145, 159, 75, 25);
    setCancelButton(btnOk);
    connect(btnOk, &QPushButton::clicked, this, [this] { setModalResult(mrOk); });

    FormCreate();
    btnOk->setFocus();
}

void TfrmAbout::FormCreate()
{
    TfrmRoot::FormCreate();
    labProduct->setText(QStringLiteral("Lexorvia"));
    labVer->setText(QStringLiteral("Ver 4.0.0 (Build 20160809)"));
    labCopy->setText(CopyrightNotice());
}
