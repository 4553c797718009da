// Program entry: the application, its title, the main window and the version
// box, then the event loop until the main window closes.
#include "ui/apptitle.h"
#include "ui/mainwindow.h"
#include "ui/versionbox.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InitApplication(app);
    TForm1 form;   // runs FormCreate
    VersionBox versionBox;
    form.setVersionBox(&versionBox);
    form.show();
    return app.exec();
}
