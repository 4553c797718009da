// Program entry: the application, its title, the main window and the version
// box, then the event loop until the main window closes.
#include "ui/apptitle.h"
#include "ui/programwindows.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InitApplication(app);
    ProgramWindows windows;
    windows.form.show();
    return app.exec();
}
