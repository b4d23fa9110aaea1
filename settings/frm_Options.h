#pragma once

#include "shell/frm_Root.h"

class Button;
class CheckBox;
class ComboBox;
class GroupBox;
class Label;
class PageControl;
class QLineEdit;
class RadioButton;
class TabSheet;
class TsmlFormLangRes;
class TsmlMsgLangRes;

// The Options dialog: the clipboard switches and the proxy. It fills its
// controls from the settings record when shown and writes them to the
// settings file when it closes; it never changes the record itself.
class TfrmOptions : public TfrmRoot
{
    Q_OBJECT
public:
    // Placed at the centre of `centreOn` (the main window), owned by nobody.
    explicit TfrmOptions(QWidget *centreOn = nullptr);
    ~TfrmOptions() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate() override;
    void FormShow();
    void FormClose(bool &allow) override;
    void LoadOptions();
    void SaveOptions();
    void rbNoProxyClick();
    void btnDefaultClick();
    void cmbLangChange();
    void ApplyLangFile();
    // Keeps the right-aligned labels' right edges where the form put them.
    void alignLabels();

    PageControl *PageControl1 = nullptr;
    TabSheet *tsGeneral = nullptr;
    CheckBox *chkAutoPaste = nullptr;
    CheckBox *chkAutoCopy = nullptr;
    GroupBox *rgLang = nullptr;
    Label *labLang = nullptr;
    ComboBox *cmbLang = nullptr;
    TabSheet *tsConnection = nullptr;
    GroupBox *rgProxySettings = nullptr;
    RadioButton *rbNoProxy = nullptr;
    RadioButton *rbManuallyProxy = nullptr;
    Label *labAddress = nullptr;
    QLineEdit *edtAddress = nullptr;
    Label *labPort = nullptr;
    QLineEdit *edtPort = nullptr;
    Label *labUserName = nullptr;
    QLineEdit *edtUserName = nullptr;
    Label *labPassword = nullptr;
    QLineEdit *edtPassword = nullptr;
    Button *btnDefault = nullptr;
    Button *btnOk = nullptr;
    TsmlFormLangRes *smlFormLangRes1 = nullptr;
    TsmlMsgLangRes *smlMsgLangRes1 = nullptr;

    int m_addressRight = 0;  // right edges of the right-aligned labels
    int m_userNameRight = 0;
    bool m_closingByOk = false;
    bool m_saveFailed = false;
};
