#pragma once

#include "shell/frm_Root.h"

class QGroupBox;
class QLabel;
class QPushButton;

// The About box: the product's name, version and copyright notice, closed by
// OK or Esc.
class TfrmAbout : public TfrmRoot
{
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);

private:
    void FormCreate() override;

    QGroupBox *GroupBox1 = nullptr;
    QLabel *labProduct = nullptr;
    QLabel *labVer = nullptr;
    QLabel *labCopy = nullptr;
    QPushButton *btnOk = nullptr;
};
