#include "shell/frm_Main.h"

#include "panes/Documents.h"
#include "panes/LinkTests.h"
#include "panes/Panes.h"
#include "panes/RichStyle.h"
#include "platform/AppError.h"
#include "platform/Components.h"
#include "platform/ErrorDisplay.h"
#include "platform/FileDialog.h"
#include "platform/Printing.h"
#include "platform/Shell.h"
#include "platform/IntegerText.h"
#include "settings/Params.h"
#include "settings/untIni.h"
#include "settings/frm_About.h"
#include "settings/frm_Options.h"
#include "shell/untCommon.h"
#include "translate/ReplyParser.h"
#include "translate/Request.h"
#include "translate/TMyThread.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <exception>
#include <functional>
#include <utility>

namespace {

const QColor Maroon(128, 0, 0);
const QColor Navy(0, 0, 128);

// A picture from the desktop's icon theme, or our own when the theme has none.
QIcon glyph(const char *own, const char *themeName)
{
    const QIcon fallback(QStringLiteral(":/icons/%1.xpm").arg(QLatin1String(own)));
    if (!themeName)
        return fallback;
    return QIcon::fromTheme(QLatin1String(themeName), fallback);
}

QLabel *captionLabel(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Maroon);
    label->setPalette(palette);
    label->move(left, top);
    label->adjustSize();
    return label;
}

int rightEdge(const QWidget *widget)
{
    return widget->x() + widget->width();
}

} // namespace

TfrmMain::TfrmMain(QWidget *parent)
    : TfrmRoot(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmMain"));
    setFixedClientSize(528, 545);

    m_handOff = std::make_shared<HandOff>(this);
    m_style = new TRVStyle(this);

    labFrom = captionLabel(this, "labFrom", QStringLiteral("Translate from :"), 9, 27);
    labFromLang = captionLabel(this, "labFromLang", QStringLiteral("English"), 0, 27);

    E1 = new TRichViewEdit(this);
    E1->setObjectName(QStringLiteral("E1"));
    E1->setGeometry(8, 45, 478, 178);
    E1->setTag(0);
    E1->setTabChangesFocus(true);

    labTo = captionLabel(this, "labTo", QStringLiteral("Translate into :"), 9, 231);
    labToLang = captionLabel(this, "labToLang", QStringLiteral("Vietnamese"), 0, 231);

    ImgLoad = new QLabel(this);
    ImgLoad->setObjectName(QStringLiteral("ImgLoad"));
    ImgLoad->setGeometry(0, 230, 44, 16);
    ImgLoad->setAlignment(Qt::AlignCenter);

    E2 = new TRichView(this);
    E2->setObjectName(QStringLiteral("E2"));
    E2->setGeometry(8, 249, 478, 178);
    E2->setTag(1);
    E2->setTabChangesFocus(true);

    m_style->attach(E1);
    m_style->attach(E2);

    rgDirection = new QGroupBox(QStringLiteral("Translation Direction"), this);
    rgDirection->setObjectName(QStringLiteral("rgDirection"));
    rgDirection->setGeometry(12, 434, 475, 48);
    rbEngToChn = new QRadioButton(rgDirection);
    rbEngToChn->setObjectName(QStringLiteral("rbEngToChn"));
    rbEngToChn->setGeometry(27, 20, 203, 17);
    rbEngToChn->setChecked(true);
    rbChnToEng = new QRadioButton(rgDirection);
    rbChnToEng->setObjectName(QStringLiteral("rbChnToEng"));
    rbChnToEng->setGeometry(251, 20, 203, 17);

    btnHelp = new QPushButton(glyph("help", "help-browser"), QStringLiteral("&Help"), this);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    btnHelp->setGeometry(13, 489, 88, 25);
    btnTrans = new QPushButton(glyph("translate", nullptr), QStringLiteral("&Translate"), this);
    btnTrans->setObjectName(QStringLiteral("btnTrans"));
    btnTrans->setGeometry(373, 489, 113, 25);
    btnTrans->setDefault(true);
    setDefaultButton(btnTrans);

    auto *btnOpen = speedButton("btnOpen", "open", "document-open", QStringLiteral("Open"), 0, 62);
    auto *btnClear = speedButton("btnClear", "clear", "edit-clear", QStringLiteral("Clear"), 0, 92);
    auto *btnSave = speedButton("btnSave", "save", "document-save", QStringLiteral("Save"), 0, 122);
    auto *btnCopy = speedButton("btnCopy", "copy", "edit-copy", QStringLiteral("Copy To Clipboard"), 0, 152);
    auto *btnPaste = speedButton("btnPaste", "paste", "edit-paste", QStringLiteral("Paste From Clipboard"), 0, 182);
    auto *btnSwap = speedButton("btnSwap", "swap", nullptr, QStringLiteral("Swap"), 0, 225);
    auto *btnClear2 = speedButton("btnClear2", "clear", "edit-clear", QStringLiteral("Clear"), 1, 270);
    auto *btnSave2 = speedButton("btnSave2", "save", "document-save", QStringLiteral("Save"), 1, 300);
    auto *btnCopy2 = speedButton("btnCopy2", "copy", "edit-copy", QStringLiteral("Copy To Clipboard"), 1, 330);
    auto *btnPaste2 = speedButton("btnPaste2", "paste", "edit-paste", QStringLiteral("Paste From Clipboard"), 1, 360);
    auto *btnPrint = speedButton("btnPrint", "print", "document-print", QStringLiteral("Print"), 0, 390);
    btnSwap->setIconSize(QSize(14, 16));

    lbl1 = new QLabel(QStringLiteral("Free Get Morvane Translator Pro Full Version Now !"), this);
    lbl1->setObjectName(QStringLiteral("lbl1"));
    lbl1->setToolTip(QStringLiteral("Quick translation your content between 72 international languages."));
    lbl1->setCursor(Qt::PointingHandCursor);
    {
        QFont font = lbl1->font();
        font.setUnderline(true);
        lbl1->setFont(font);
        QPalette palette = lbl1->palette();
        palette.setColor(QPalette::WindowText, Navy);
        lbl1->setPalette(palette);
    }
    lbl1->move(248, 8);
    lbl1->adjustSize();

    Bar = new QStatusBar(this);
    Bar->setObjectName(QStringLiteral("Bar"));
    Bar->setSizeGripEnabled(false);
    Bar->setGeometry(0, height() - 22, width(), 22);
    auto *notice = new QLabel(CopyrightNotice(), Bar);
    notice->setMinimumWidth(50);
    notice->setContentsMargins(4, 0, 0, 0);
    Bar->addWidget(notice, 1);

    pmTrans = new PopupMenu(this);
    pmTrans->setObjectName(QStringLiteral("pmTrans"));
    QAction *Cut1 = pmTrans->addAction(QStringLiteral("Cut"));
    Cut1->setObjectName(QStringLiteral("Cut1"));
    QAction *Copy1 = pmTrans->addAction(QStringLiteral("Copy"));
    Copy1->setObjectName(QStringLiteral("Copy1"));
    QAction *Paste1 = pmTrans->addAction(QStringLiteral("Paste"));
    Paste1->setObjectName(QStringLiteral("Paste1"));
    pmTrans->addSeparator()->setObjectName(QStringLiteral("N6"));
    QAction *Clear1 = pmTrans->addAction(QStringLiteral("Clear"));
    Clear1->setObjectName(QStringLiteral("Clear1"));

    pmHelp = new PopupMenu(this);
    pmHelp->setObjectName(QStringLiteral("pmHelp"));
    QAction *miOptions = pmHelp->addAction(glyph("options", nullptr), QStringLiteral("Options"));
    miOptions->setObjectName(QStringLiteral("miOptions"));
    pmHelp->addSeparator()->setObjectName(QStringLiteral("N3"));
    QAction *miTry = pmHelp->addAction(glyph("about", nullptr), QStringLiteral("Try Morvane Translator Pro"));
    miTry->setObjectName(QStringLiteral("miTry"));
    pmHelp->addSeparator()->setObjectName(QStringLiteral("N2"));
    QAction *miWebSite = pmHelp->addAction(glyph("web", nullptr), QStringLiteral("Visit Home"));
    miWebSite->setObjectName(QStringLiteral("miWebSite"));
    QAction *miContactUs = pmHelp->addAction(glyph("mail", nullptr), QStringLiteral("Contact Us"));
    miContactUs->setObjectName(QStringLiteral("miContactUs"));
    pmHelp->addSeparator()->setObjectName(QStringLiteral("N1"));
    QAction *miAbout = pmHelp->addAction(glyph("about", nullptr), QStringLiteral("About"));
    miAbout->setObjectName(QStringLiteral("miAbout"));

    dgOpen = std::make_unique<FileDialog>(FileDialog::Mode::Open, QStringList{QStringLiteral("Text Documents(*.txt)")},
                                          QStringLiteral("txt"));
    dgSave = std::make_unique<FileDialog>(
        FileDialog::Mode::Save,
        QStringList{QStringLiteral("Text Files(*.txt)"), QStringLiteral("HTML Files(*.html *.htm)")},
        QStringLiteral("txt"));

    // Keyboard order: the panes, the direction, Help, Translate, then the
    // pane buttons top to bottom.
    setTabOrder(E1, E2);
    setTabOrder(E2, rbEngToChn);
    setTabOrder(rbEngToChn, rbChnToEng);
    setTabOrder(rbChnToEng, btnHelp);
    setTabOrder(btnHelp, btnTrans);

    using ErrorDisplay::guarded;
    for (QToolButton *button : {btnClear, btnClear2})
        connect(button, &QToolButton::clicked, this, guarded([this, button] { btnClearClick(button->property("Tag").toInt()); }));
    for (QToolButton *button : {btnCopy, btnCopy2})
        connect(button, &QToolButton::clicked, this, guarded([this, button] { btnCopyClick(button->property("Tag").toInt()); }));
    for (QToolButton *button : {btnPaste, btnPaste2})
        connect(button, &QToolButton::clicked, this, guarded([this, button] { btnPasteClick(button->property("Tag").toInt()); }));
    connect(btnSwap, &QToolButton::clicked, this, guarded([this] { btnSwapClick(); }));
    connect(btnTrans, &QPushButton::clicked, this, guarded([this] { StartTranslation(); }));
    connect(btnOpen, &QToolButton::clicked, this, guarded([this] { btnOpenClick(); }));
    connect(btnHelp, &QPushButton::clicked, this, guarded([this] { btnHelpClick(); }));
    connect(miOptions, &QAction::triggered, this, guarded([this] { miOptionsClick(); }));
    connect(miTry, &QAction::triggered, this, guarded([this] { miTryClick(); }));
    connect(miWebSite, &QAction::triggered, this, guarded([this] { miWebSiteClick(); }));
    connect(miContactUs, &QAction::triggered, this, guarded([this] { miContactUsClick(); }));
    connect(miAbout, &QAction::triggered, this, guarded([this] { miAboutClick(); }));
    lbl1->installEventFilter(this);
    for (QToolButton *button : {btnSave, btnSave2})
        connect(button, &QToolButton::clicked, this, guarded([this, button] { btnSaveClick(button->property("Tag").toInt()); }));
    connect(btnPrint, &QToolButton::clicked, this, guarded([this] { btnPrintClick(); }));
    connect(E2, &TRichView::linkActivated, this,
            [this](const QString &text) { ErrorDisplay::run([this, &text] { E2Jump(text); }); });
    connect(Cut1, &QAction::triggered, this, guarded([this] { Cut1Click(); }));
    connect(Copy1, &QAction::triggered, this, guarded([this] { btnCopyClick(pmTrans->tag() == 0 ? 0 : 1); }));
    connect(Paste1, &QAction::triggered, this, guarded([this] { btnPasteClick(pmTrans->tag() == 0 ? 0 : 1); }));
    connect(Clear1, &QAction::triggered, this, guarded([this] { btnClearClick(pmTrans->tag() == 0 ? 0 : 1); }));
    for (QTextEdit *textPane : {static_cast<QTextEdit *>(E1), static_cast<QTextEdit *>(E2)}) {
        textPane->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(textPane, &QWidget::customContextMenuRequested, this,
                [this, textPane](const QPoint &pos) { E1ContextPopup(textPane, pos); });
    }
    // A click that checks a direction button; setting the check from code
    // counts as well, as long as it changes the state.
    for (QRadioButton *button : {rbEngToChn, rbChnToEng}) {
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (!checked)
                return;
            if (m_checkingFromCode == 0) {
                ErrorDisplay::run([this] { rbEngToChnClick(); });
                return;
            }
            // Checked by ApplyDirection: its caller gets the failure.
            try {
                rbEngToChnClick();
            } catch (...) {
                m_directionFailure = std::current_exception();
            }
        });
    }
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            scheduleActivate();
    });

    FormCreate();
}

TfrmMain::~TfrmMain()
{
    // A request under way ends here: nothing reaches this window any more,
    // the transfer stops, and the worker is gone before the window is.
    m_handOff->detach();
    m_http.connection()->abort();
    if (m_worker && !m_worker->wait(5000))
        m_worker->setParent(nullptr); // still stuck in the system: let it end on its own
    else
        delete m_worker;
}

QToolButton *TfrmMain::speedButton(const char *name, const char *icon, const char *themeIcon, const QString &hint,
                                   int tag, int top)
{
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(491, top, 25, 25);
    button->setAutoRaise(true);
    button->setIcon(glyph(icon, themeIcon));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(hint);
    button->setAccessibleName(hint); // the button shows only a picture
    button->setProperty("Tag", tag);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void TfrmMain::FormCreate()
{
    // The main window's own creation step; the base form's walk has nothing to
    // do here (no panels).
    setWindowTitle(QStringLiteral("Lexorvia"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.xpm")));
    QApplication::setApplicationName(QStringLiteral("Lexorvia"));
    SettingsFileName = LocateSettingsFile();
    TranslateBaseUrl = ReadServiceUrl(SettingsFileName);
    const QString format = QStringLiteral("Translate %1 to %2");
    rbEngToChn->setText(format.arg(QStringLiteral("English"), QStringLiteral("Vietnamese")));
    rbChnToEng->setText(format.arg(QStringLiteral("Vietnamese"), QStringLiteral("English")));
    ArrangeLangLabels();
}

void TfrmMain::showEvent(QShowEvent *event)
{
    TfrmRoot::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // A failure here is shown and the window appears all the same; the steps
    // after the failing one are skipped.
    ErrorDisplay::run([this] { FormShow(); });
}

void TfrmMain::FormShow()
{
    LoadSettings();
    ApplyDirection();
    ApplyProxy();
}

bool TfrmMain::event(QEvent *event)
{
    m_handOff->received(); // a message may come from the worker
    switch (int(event->type())) {
    case QEvent::WindowActivate:
        scheduleActivate();
        break;
    case WM_TRANSLATE_OK:
        TranslateOk();
        return true;
    case WM_TRANSLATE_ERROR:
        TranslateError();
        return true;
    default:
        break;
    }
    return TfrmRoot::event(event);
}

void TfrmMain::scheduleActivate()
{
    // Switching back from another program activates both the application and
    // the window; the two arrive together and make one activation.
    if (m_activatePending)
        return;
    m_activatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_activatePending = false;
        ErrorDisplay::run([this] { FormActivate(); });
    });
}

void TfrmMain::FormActivate()
{
    if (Settings.AutoPaste)
        PasteFromClipboard(0, true);
}

void TfrmMain::LoadSettings()
{
    ReadSettings(SettingsFileName, Settings);
    ApplyDirection();
    m_style->setTextStyleFont(0, QStringLiteral("Arial"), 14);
}

void TfrmMain::checkDirectionButton(QRadioButton *button)
{
    ++m_checkingFromCode;
    button->setChecked(true);
    --m_checkingFromCode;
    if (m_directionFailure)
        std::rethrow_exception(std::exchange(m_directionFailure, nullptr));
}

void TfrmMain::ApplyDirection()
{
    if (Settings.Direction == 0) {
        checkDirectionButton(rbEngToChn);
        labFromLang->setText(QStringLiteral("English"));
        labToLang->setText(QStringLiteral("Vietnamese"));
    } else {
        checkDirectionButton(rbChnToEng);
        labFromLang->setText(QStringLiteral("Vietnamese"));
        labToLang->setText(QStringLiteral("English"));
    }
    labFromLang->adjustSize();
    labToLang->adjustSize();
    E1->viewport()->update();
    E2->viewport()->update();
}

void TfrmMain::ArrangeLangLabels()
{
    labFromLang->move(rightEdge(labFrom) + 4, labFromLang->y());
    labToLang->move(rightEdge(labTo) + 4, labToLang->y());
    ImgLoad->move(rightEdge(labToLang) + 60, ImgLoad->y());
}

void TfrmMain::rbEngToChnClick()
{
    Settings.Direction = rbEngToChn->isChecked() ? 0 : 1;
    IniWriteInteger(SettingsFileName, QStringLiteral("General"), QStringLiteral("Direction"), Settings.Direction);
    ApplyDirection();
    ArrangeLangLabels();
}

void TfrmMain::ApplyProxy()
{
    if (Settings.NoProxy) {
        m_http.setProxyServer(QString());
        m_http.setProxyPort(0);
        m_http.setProxyUserName(QString());
        m_http.setProxyPassword(QString());
        return;
    }
    m_http.setProxyServer(Settings.Address);
    const std::optional<int> port = ParseInteger(Settings.Port);
    if (!port)
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(Settings.Port));
    // A port out of range would leave the connection on the port set before.
    if (*port < 1 || *port > 65535)
        throw AppError(QStringLiteral("'%1' is not a valid port number (1 to 65535)").arg(Settings.Port));
    m_http.setProxyPort(*port);
    m_http.setProxyUserName(Settings.UserName);
    m_http.setProxyPassword(Settings.Password);
}

QTextEdit *TfrmMain::pane(int tag) const
{
    if (tag == 0)
        return E1;
    return E2;
}

QString TfrmMain::GetPaneText(int tag) const
{
    return PaneText(*pane(tag)->document());
}

void TfrmMain::SetPaneText(int tag, const QString &text)
{
    FillPane(pane(tag), text, *m_style);
}

void TfrmMain::ShowPaneMessage(int tag, const QString &text)
{
    ShowMessageInPane(pane(tag), text, *m_style);
}

void TfrmMain::PasteFromClipboard(int tag, bool automatic)
{
    const QString text = ReadClipboardText();
    if (tag == 0) {
        if (!automatic || (!text.isEmpty() && text != m_lastResultText))
            SetPaneText(0, text);
        return;
    }
    if (!text.isEmpty()) {
        SetPaneText(1, text);
        m_lastResultText = text;
    }
}

void TfrmMain::btnSwapClick()
{
    const QString source = GetPaneText(0);
    const QString result = GetPaneText(1);
    SetPaneText(1, source);
    SetPaneText(0, result);
}

void TfrmMain::btnClearClick(int tag)
{
    ClearPane(pane(tag), *m_style);
}

void TfrmMain::btnCopyClick(int tag)
{
    WriteClipboardText(GetPaneText(tag));
}

void TfrmMain::btnPasteClick(int tag)
{
    PasteFromClipboard(tag, false);
}

void TfrmMain::Cut1Click()
{
    const int tag = pmTrans->tag() == 0 ? 0 : 1;
    const QString text = GetPaneText(tag);
    ClearPane(pane(tag), *m_style);
    WriteClipboardText(text);
}

void TfrmMain::E1ContextPopup(QTextEdit *textPane, const QPoint &pos)
{
    pmTrans->setTag(textPane->property("Tag").toInt());
    pmTrans->popup(textPane->viewport()->mapToGlobal(pos));
}

void TfrmMain::StartTranslation()
{
    if (m_translating)
        return; // one request at a time

    QString text = E1->textCursor().selectedText();
    if (text.isEmpty()) {
        text = GetPaneText(0);
    } else {
        text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
        text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    }
    SourceText = text;
    if (text.isEmpty())
        return;

    m_translating = true;
    ShowPaneMessage(1, QStringLiteral("Translation, please wait ..."));
    E2->repaint(); // shown before the work goes on
    ConfigureRequest(m_http, TranslateBaseUrl);
    ImgLoad->setVisible(true);
    try {
        LoadResGif(ImgLoad, QStringLiteral("loading"));
    } catch (...) {
        m_translating = false;
        throw;
    }
    btnTrans->setEnabled(false);
    ReplyStream = std::make_shared<QByteArray>();
    const bool english = Settings.Direction == 0;
    m_worker = new TMyThread(m_handOff, m_http.connection(), m_http.settings(), SourceText,
                             english ? QStringLiteral("en") : QStringLiteral("vi"),
                             english ? QStringLiteral("vi") : QStringLiteral("en"), ReplyStream);
}

QString TfrmMain::takeReply()
{
    const std::shared_ptr<QByteArray> reply = std::exchange(ReplyStream, nullptr);
    return reply ? DecodeReply(*reply) : QString();
}

bool TfrmMain::endTranslating(const std::function<void()> &showOutcome)
{
    QString failure;
    try {
        showOutcome();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    // Whatever happened, Translate is usable again and the animation stops;
    // a failure to show the outcome is reported after that.
    btnTrans->setEnabled(true);
    ClearImage(ImgLoad);
    m_translating = false;
    if (!failure.isEmpty()) {
        ErrorDisplay::show(failure);
        return false;
    }
    return true;
}

void TfrmMain::TranslateOk()
{
    QString translation;
    const bool shown = endTranslating([&] {
        const ParsedReply reply = ParseReply(takeReply());
        if (reply.message.isEmpty())
            SetPaneText(1, reply.translation);
        else
            ShowPaneMessage(1, reply.message);
        translation = reply.translation;
    });
    if (!shown)
        return;
    if (Settings.AutoCopy) {
        m_lastResultText = translation;
        WriteClipboardText(translation);
    }
    E2->setFocus();
}

void TfrmMain::TranslateError()
{
    if (endTranslating([&] { ShowPaneMessage(1, ParseReply(takeReply()).message); }))
        E2->setFocus();
}

void TfrmMain::btnOpenClick()
{
    const QString path = dgOpen->exec(this);
    if (path.isEmpty())
        return;
    AppendFileText(E1, DecodeTextFile(ReadWholeFile(path)), *m_style);
}

void TfrmMain::btnSaveClick(int tag)
{
    if (tag != 0 && tag != 1)
        return;
    if (GetPaneText(tag).isEmpty())
        return; // nothing but white space: nothing to save
    const QString path = dgSave->exec(this);
    if (path.isEmpty())
        return;
    const QTextDocument &document = *pane(tag)->document();
    if (IsTextFileName(path))
        WriteWholeFile(path, DocumentAsText(document));
    else
        WriteWholeFile(path, DocumentAsHtml(document, HtmlTitleFor(path), *m_style));
}

void TfrmMain::btnPrintClick()
{
    Printing::printDocument(*E2->document(), QStringLiteral("Morvane Translator Pro"), 20);
}

void TfrmMain::E2Jump(const QString &linkText)
{
    QString target = linkText;
    if (!HasUrlPrefix(target) && LooksLikeMailAddress(target))
        target.prepend(QLatin1String("mailto:"));
    Shell::open(target, Shell::Window::Maximized);
}

void TfrmMain::btnHelpClick()
{
    // The menu opens 2 pixels under the Help button's bottom-left corner.
    QPoint corner = mapToGlobal(QPoint(btnHelp->x(), btnHelp->y() + btnHelp->height()));
    corner.ry() += 2;
    pmHelp->popup(corner);
}

void TfrmMain::miOptionsClick()
{
    // The dialog writes the file; the window then reloads it. The dialog goes
    // whatever fails after it closed.
    TfrmOptions options(this);
    options.ShowModal();
    ArrangeLangLabels();
    LoadSettings();
    ApplyProxy();
}

void TfrmMain::miTryClick()
{
    Shell::open(QStringLiteral("http://%1/morvane-translator-pro.html?src=freeware").arg(QLatin1String(MakerHost)),
                Shell::Window::Maximized);
}

void TfrmMain::lbl1Click()
{
    miTryClick();
}

void TfrmMain::miWebSiteClick()
{
    Shell::open(QStringLiteral("http://%1/").arg(QLatin1String(MakerHost)), Shell::Window::Maximized);
}

void TfrmMain::miContactUsClick()
{
    Shell::open(QStringLiteral("mailto:%1?subject=Question%20for%20Lexorvia").arg(QLatin1String(SupportMailAddress)),
                Shell::Window::Normal);
}

void TfrmMain::miAboutClick()
{
    TfrmAbout about;
    about.ShowModal();
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lbl1 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
        && lbl1->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        ErrorDisplay::run([this] { lbl1Click(); });
        return true;
    }
    return TfrmRoot::eventFilter(watched, event);
}
