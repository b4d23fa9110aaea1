#pragma once

#include <QWidget>

// The base of every form of the program: Tahoma 9 points, the button-face
// colour, centred on the screen, hints shown.
class TfrmRoot : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmRoot(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::Window);

protected:
    // The common creation step: every panel of the form whose colour differs
    // from the form's paints that colour itself instead of the form's
    // background. A form's own creation step runs this first.
    virtual void FormCreate();

    // Gives the form a fixed client area and places it in the centre of the
    // screen.
    void setFixedClientSize(int width, int height);
};
