// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own start-up, for the start-up benchmark: the same
// ProgramWindows as app/main.cpp, ending at the first
// painted main window instead of running until the window closes.
#include "firstpaint.h"

#include "ui/apptitle.h"
#include "ui/programwindows.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InitApplication(app);
    ProgramWindows windows;
    TForm1& form = windows.form;
    FirstPaintWatch watch(form);
    form.show();
    return watch.Run(app);
}
