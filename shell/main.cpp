#include "platform/Application.h"
#include "shell/frm_Main.h"

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TfrmMain window;
    window.show();
    return app.exec();
}
