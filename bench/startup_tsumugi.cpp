// The program's own start-up, for the start-up benchmark: the steps of
// app/main.cpp in the same order (keep the two in step), ending at the first
// painted main window instead of running until the window closes.
#include "firstpaint.h"

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
    FirstPaintWatch watch(form);
    form.show();
    return watch.Run(app);
}
