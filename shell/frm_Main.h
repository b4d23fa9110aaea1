#pragma once

#include "platform/HttpClient.h"
#include "shell/frm_Root.h"

#include <QPointer>
#include <QString>

#include <exception>
#include <functional>
#include <memory>

class PopupMenu;
class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTextEdit;
class QToolButton;
class TRVStyle;
class TRichView;
class TRichViewEdit;
class HandOff;
class TMyThread;
class FileDialog;

// The main window: the source pane above, the result pane below, the
// direction choice, the pane buttons in a column at the right edge.
class TfrmMain : public TfrmRoot
{
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Pane operations; a pane is chosen by its Tag: 0 the source pane, any
    // other value the result pane.
    QString GetPaneText(int tag) const;
    void SetPaneText(int tag, const QString &text);
    void ShowPaneMessage(int tag, const QString &text);
    // The clipboard's text into a pane: explicit (a Paste command) or automatic
    // (on activation, when AutoPaste is on).
    void PasteFromClipboard(int tag, bool automatic);

    const QString &LastResultText() const { return m_lastResultText; }
    HttpClient &HTTP() { return m_http; }
    // Whether a translation is being started or is under way.
    bool translating() const { return m_translating; }
    TRVStyle *RVStyle1() const { return m_style; }

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate() override;
    void FormShow();
    void FormActivate();
    void scheduleActivate();

    void LoadSettings();
    void ApplyDirection();
    // Checks a direction button from code; a failure of the click handler
    // that this runs is thrown here.
    void checkDirectionButton(QRadioButton *button);
    void ArrangeLangLabels();
    void ApplyProxy();

    void StartTranslation();
    void TranslateOk();
    void TranslateError();
    // Decodes and forgets the reply buffer.
    QString takeReply();
    // Shows a reply's outcome and leaves the translating state (Translate
    // usable again, no animation) whatever happens; a failure to show is
    // reported afterwards and gives false.
    bool endTranslating(const std::function<void()> &showOutcome);

    void btnHelpClick();
    void miOptionsClick();
    void miTryClick();
    void miWebSiteClick();
    void miContactUsClick();
    void miAboutClick();
    void lbl1Click();
    bool eventFilter(QObject *watched, QEvent *event) override;

    void btnOpenClick();
    void btnSaveClick(int tag);
    void btnPrintClick();
    void E2Jump(const QString &linkText);

    void rbEngToChnClick();
    void btnSwapClick();
    void btnClearClick(int tag);
    void btnCopyClick(int tag);
    void btnPasteClick(int tag);
    void Cut1Click();
    void E1ContextPopup(QTextEdit *pane, const QPoint &pos);

    QTextEdit *pane(int tag) const;
    QToolButton *speedButton(const char *name, const char *icon, const char *themeIcon, const QString &hint, int tag,
                             int top);

    TRVStyle *m_style = nullptr;
    QLabel *labFrom = nullptr;
    QLabel *labFromLang = nullptr;
    TRichViewEdit *E1 = nullptr;
    QLabel *labTo = nullptr;
    QLabel *labToLang = nullptr;
    QLabel *ImgLoad = nullptr;
    TRichView *E2 = nullptr;
    QGroupBox *rgDirection = nullptr;
    QRadioButton *rbEngToChn = nullptr;
    QRadioButton *rbChnToEng = nullptr;
    QPushButton *btnHelp = nullptr;
    QPushButton *btnTrans = nullptr;
    QLabel *lbl1 = nullptr;
    QStatusBar *Bar = nullptr;
    PopupMenu *pmTrans = nullptr;
    PopupMenu *pmHelp = nullptr;
    std::unique_ptr<FileDialog> dgOpen;
    std::unique_ptr<FileDialog> dgSave;

    HttpClient m_http;
    std::shared_ptr<HandOff> m_handOff;
    QPointer<TMyThread> m_worker;
    QString SourceText;
    std::shared_ptr<QByteArray> ReplyStream;
    bool m_translating = false;
    QString m_lastResultText;
    bool m_shown = false;
    bool m_activatePending = false;
    int m_checkingFromCode = 0;
    std::exception_ptr m_directionFailure;
};
