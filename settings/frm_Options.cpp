#include "settings/frm_Options.h"

#include "lang/SMLFormLangRes.h"
#include "lang/SMLMsgLangRes.h"
#include "platform/Controls.h"
#include "platform/ErrorDisplay.h"
#include "settings/Params.h"
#include "settings/untIni.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>

namespace {

Label *autoLabel(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *label = new Label(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit *edit(QWidget *parent, const char *name, const QRect &bounds)
{
    auto *line = new Edit(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(bounds);
    return line;
}

template <typename Control>
Control *control(QWidget *parent, const char *name, const QString &caption, const QRect &bounds)
{
    auto *widget = new Control(caption, parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(bounds);
    return widget;
}

} // namespace

TfrmOptions::TfrmOptions(QWidget *centreOn)
    : TfrmRoot(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                            | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setFixedClientSize(457, 283);
    if (centreOn)
        move(centreOn->geometry().center() - QPoint(width() / 2, height() / 2));

    PageControl1 = new PageControl(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(8, 14, 438, 226);

    tsGeneral = new TabSheet(QStringLiteral("General"));
    tsGeneral->setObjectName(QStringLiteral("tsGeneral"));
    PageControl1->addSheet(tsGeneral);
    chkAutoPaste = control<CheckBox>(tsGeneral, "chkAutoPaste",
                                     QStringLiteral("Auto paste from clipboard in source language."), {10, 12, 407, 17});
    chkAutoCopy = control<CheckBox>(tsGeneral, "chkAutoCopy", QStringLiteral("Auto copy to clipboard in target language."),
                                    {10, 35, 407, 17});
    rgLang = control<GroupBox>(tsGeneral, "rgLang", QStringLiteral("Infterface language setting"), {10, 67, 407, 55});
    rgLang->hide();
    labLang = autoLabel(rgLang, "labLang", QStringLiteral("Please select a default Language :"), 12, 27);
    cmbLang = new ComboBox(rgLang);
    cmbLang->setObjectName(QStringLiteral("cmbLang"));
    cmbLang->setGeometry(253, 23, 136, 22);
    cmbLang->setEditable(false);

    tsConnection = new TabSheet(QStringLiteral("Connection"));
    tsConnection->setObjectName(QStringLiteral("tsConnection"));
    PageControl1->addSheet(tsConnection);
    rgProxySettings = control<GroupBox>(tsConnection, "rgProxySettings", QStringLiteral("Proxy Settings"),
                                        {10, 7, 407, 178});
    rbNoProxy = control<RadioButton>(rgProxySettings, "rbNoProxy", QStringLiteral("No Proxy (direct connection)"),
                                     {29, 32, 218, 17});
    rbNoProxy->setChecked(true);
    rbManuallyProxy = control<RadioButton>(rgProxySettings, "rbManuallyProxy",
                                           QStringLiteral("Manually enter proxy settings"), {29, 68, 218, 17});
    labAddress = autoLabel(rgProxySettings, "labAddress", QStringLiteral("Address :"), 28, 103);
    edtAddress = edit(rgProxySettings, "edtAddress", {85, 100, 121, 22});
    labPort = autoLabel(rgProxySettings, "labPort", QStringLiteral("Port :"), 240, 103);
    edtPort = edit(rgProxySettings, "edtPort", {277, 100, 121, 22});
    labUserName = autoLabel(rgProxySettings, "labUserName", QStringLiteral("User name :"), 13, 140);
    edtUserName = edit(rgProxySettings, "edtUserName", {85, 136, 121, 22});
    labPassword = autoLabel(rgProxySettings, "labPassword", QStringLiteral("Password :"), 212, 140);
    edtPassword = edit(rgProxySettings, "edtPassword", {277, 136, 121, 22});
    edtPassword->setEchoMode(QLineEdit::Password);
    m_addressRight = labAddress->x() + labAddress->width();
    m_userNameRight = labUserName->x() + labUserName->width();

    btnDefault = control<Button>(this, "btnDefault", QStringLiteral("Default"), {12, 246, 75, 25});
    btnOk = control<Button>(this, "btnOk", QStringLiteral("&OK"), {365, 246, 75, 25});
    btnDefault->setAutoDefault(false);
    btnOk->setAutoDefault(false);

    setTabOrder(PageControl1, btnDefault);
    setTabOrder(btnDefault, btnOk);
    setTabOrder(chkAutoPaste, chkAutoCopy);
    setTabOrder(rbNoProxy, rbManuallyProxy);
    setTabOrder(rbManuallyProxy, edtAddress);
    setTabOrder(edtAddress, edtPort);
    setTabOrder(edtPort, edtUserName);
    setTabOrder(edtUserName, edtPassword);

    // Checking a radio button, by the user or from code, runs its click handler.
    for (RadioButton *button : {rbNoProxy, rbManuallyProxy}) {
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                rbNoProxyClick();
        });
    }
    connect(btnDefault, &QPushButton::clicked, this, ErrorDisplay::guarded([this] { btnDefaultClick(); }));
    connect(btnOk, &QPushButton::clicked, this, [this] {
        m_closingByOk = true;
        setModalResult(mrOk);
        m_closingByOk = false;
    });
    // The user's choice of a language (not a selection made by code).
    connect(cmbLang, &QComboBox::activated, this, ErrorDisplay::guarded([this] { cmbLangChange(); }));

    // The dialog's texts come from the language file from the start; the form
    // resource applies once its settings are in place, before the message
    // resource exists.
    smlFormLangRes1 = new TsmlFormLangRes(this);
    smlFormLangRes1->setObjectName(QStringLiteral("smlFormLangRes1"));
    smlFormLangRes1->setProperty("LangFileName", QStringLiteral("English.ini"));
    smlFormLangRes1->setProperty("IgnoreEmptyString", true);
    smlFormLangRes1->setProperty("AutoCreateMode", false);
    smlFormLangRes1->setProperty("AddBracket", false);
    smlFormLangRes1->setProperty("StringProperties", QStringList{QStringLiteral("Caption")});
    smlFormLangRes1->setProperty("StringsProperties", QStringList{QStringLiteral("Tabs")});
    smlFormLangRes1->setProperty("IgnoreControls", QStringList{QStringLiteral("rbTransNo2")});
    smlFormLangRes1->setProperty("IgnoreFormCaption", true);
    smlFormLangRes1->setProperty("IncludeListViewItems", false);
    smlFormLangRes1->setProperty("IncludeListViewHead", true);
    smlFormLangRes1->setProperty("IncludeTreeViewItems", false);
    smlFormLangRes1->setProperty("Active", true);

    smlMsgLangRes1 = new TsmlMsgLangRes(this);
    smlMsgLangRes1->setObjectName(QStringLiteral("smlMsgLangRes1"));
    smlMsgLangRes1->setProperty("LangFileName", QStringLiteral("English.ini"));
    smlMsgLangRes1->setProperty("IgnoreEmptyString", false);
    smlMsgLangRes1->setProperty("AutoCreateMode", false);
    smlMsgLangRes1->setProperty("AddBracket", false);
    smlMsgLangRes1->setProperty("MsgList", QStringList{QStringLiteral("strInfomation=Information")});
    smlMsgLangRes1->setProperty("Active", true);

    FormCreate();
}

TfrmOptions::~TfrmOptions() = default;

void TfrmOptions::FormCreate()
{
    TfrmRoot::FormCreate();
    PageControl1->setCurrentIndex(0);
    alignLabels();
}

void TfrmOptions::alignLabels()
{
    for (Label *label : {labLang, labAddress, labPort, labUserName, labPassword})
        label->adjustSize();
    labAddress->move(m_addressRight - labAddress->width(), labAddress->y());
    labUserName->move(m_userNameRight - labUserName->width(), labUserName->y());
}

void TfrmOptions::showEvent(QShowEvent *event)
{
    TfrmRoot::showEvent(event);
    FormShow();
}

void TfrmOptions::FormShow()
{
    LoadOptions();
}

void TfrmOptions::LoadOptions()
{
    chkAutoPaste->setChecked(Settings.AutoPaste);
    chkAutoCopy->setChecked(Settings.AutoCopy);
    cmbLang->setCurrentIndex(cmbLang->findText(Settings.DisplayLanguage, Qt::MatchExactly));
    // The proxy fields show what is stored whichever way the user connects;
    // with "No Proxy" they are only read-only, so opening and closing the
    // dialog never loses a stored proxy.
    if (Settings.NoProxy) {
        rbNoProxy->setChecked(true);
        rbManuallyProxy->setChecked(false);
    } else {
        rbNoProxy->setChecked(false);
        rbManuallyProxy->setChecked(true);
    }
    edtAddress->setText(Settings.Address);
    edtPort->setText(Settings.Port);
    edtUserName->setText(Settings.UserName);
    edtPassword->setText(Settings.Password);
    rbNoProxyClick();
}

void TfrmOptions::rbNoProxyClick()
{
    auto setEditable = [this](bool editable) {
        for (QLineEdit *line : {edtAddress, edtPort, edtUserName, edtPassword}) {
            line->setReadOnly(!editable);
            QPalette palette = line->palette();
            palette.setColor(QPalette::Base, QApplication::palette().color(editable ? QPalette::Base : QPalette::Button));
            line->setPalette(palette);
        }
    };
    if (rbNoProxy->isChecked())
        setEditable(false);
    if (rbManuallyProxy->isChecked())
        setEditable(true);
}

void TfrmOptions::btnDefaultClick()
{
    chkAutoPaste->setChecked(false);
    chkAutoCopy->setChecked(false);
    cmbLang->setCurrentIndex(cmbLang->findText(QStringLiteral("English"), Qt::MatchExactly));
    rbNoProxy->setChecked(true);
    rbManuallyProxy->setChecked(false);
}

void TfrmOptions::FormClose(bool &allow)
{
    // After a failed save, the close box leaves without saving: the user's
    // way out when the settings file cannot be written.
    if (m_saveFailed && !m_closingByOk)
        return;
    if (rbManuallyProxy->isChecked()) {
        for (QLineEdit *required : {edtAddress, edtPort}) {
            if (required->text().isEmpty()) {
                PageControl1->setCurrentIndex(1);
                required->setFocus();
                allow = false;
                return;
            }
        }
    }
    try {
        SaveOptions();
    } catch (...) {
        m_saveFailed = true;
        throw;
    }
}

void TfrmOptions::SaveOptions()
{
    const QString &file = SettingsFileName;
    const QString general = QStringLiteral("General");
    const QString connection = QStringLiteral("Connection");
    IniWriteInteger(file, general, QStringLiteral("Translator"), 0);
    IniWriteBool(file, general, QStringLiteral("AutoPaste"), chkAutoPaste->isChecked());
    IniWriteBool(file, general, QStringLiteral("AutoCopy"), chkAutoCopy->isChecked());
    IniWriteString(file, general, QStringLiteral("DisplayLanguage"), cmbLang->currentText());
    IniWriteBool(file, connection, QStringLiteral("NoProxy"), rbNoProxy->isChecked());
    IniWriteString(file, connection, QStringLiteral("Address"), edtAddress->text());
    IniWriteString(file, connection, QStringLiteral("Port"), edtPort->text());
    IniWriteString(file, connection, QStringLiteral("UserName"), edtUserName->text());
    IniWriteString(file, connection, QStringLiteral("Password"), edtPassword->text());
}

void TfrmOptions::cmbLangChange()
{
    SaveOptions();
    ApplyLangFile();
}

void TfrmOptions::ApplyLangFile()
{
    smlFormLangRes1->setProperty("LangFileName", CurrentLangFileName);
    smlMsgLangRes1->setProperty("LangFileName", CurrentLangFileName);
    alignLabels();
}
