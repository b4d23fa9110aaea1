#include "platform/Application.h"
#include "settings/Params.h"

#include <QWidget>

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    SettingsFileName = LocateSettingsFile();

    QWidget window;
    window.setWindowTitle(QStringLiteral("Lexorvia"));
    window.setFixedSize(528, 545);
    window.show();
    return app.exec();
}
