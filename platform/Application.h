#pragma once

#include <QApplication>

// The application object. Whatever a handler throws ends here: the failure's
// text goes to the default error display and the program carries on with the
// next event.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
