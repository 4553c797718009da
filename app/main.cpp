// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the application, its title, the main window and the version
// box, then the event loop until the main window closes.
#include "ui/apptitle.h"
#include "ui/programwindows.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
    // A file-size limit makes a write fail instead of ending the program with
    // the user's table in it.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    InitApplication(app);
    ProgramWindows windows;
    windows.form.show();
    return app.exec();
}
