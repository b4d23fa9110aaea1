#pragma once

#include <QPointer>
#include <QWidget>

class QEventLoop;
class QPushButton;

// The base of every form of the program: Tahoma 9 points, the button-face
// colour, centred on the screen, hints shown.
class TfrmRoot : public QWidget
{
    Q_OBJECT
    // The form's title, under the name that language files use.
    Q_PROPERTY(QString Caption READ windowTitle WRITE setWindowTitle)
public:
    explicit TfrmRoot(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::Window);

    // Modal results, as the buttons that close a form report them.
    enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

    // Shows the form modally to the whole program and returns when it has
    // closed, with the result of the button that closed it (mrNone for the
    // close box).
    int ShowModal();
    // Closes the form with this result, as a button with a modal result does;
    // the form's close handler may refuse.
    void setModalResult(int result);

protected:
    // Asked on every way of closing (a button, the close box, the system
    // menu); set `allow` to false to keep the form open. A failure it throws
    // is shown and keeps the form open.
    virtual void FormClose(bool &allow);

    // Enter presses the focused push button, else the default button; Esc
    // presses the cancel button.
    void setDefaultButton(QPushButton *button);
    void setCancelButton(QPushButton *button);

    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    // The common creation step: every panel of the form whose colour differs
    // from the form's paints that colour itself instead of the form's
    // background. A form's own creation step runs this first.
    virtual void FormCreate();

    // Gives the form a fixed client area and places it in the centre of the
    // screen.
    void setFixedClientSize(int width, int height);

private:
    QPointer<QPushButton> m_defaultButton;
    QPointer<QPushButton> m_cancelButton;
    QEventLoop *m_modalLoop = nullptr;
    int m_modalResult = mrNone;
};
