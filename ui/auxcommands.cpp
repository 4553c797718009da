// The auxiliary commands of the main window: print, exit, help, home page and version.

#include "ui/mainwindow.h"

void TForm1::Print1Click() {}

void TForm1::N3Click()
{
    close();
}

void TForm1::Help2Click() {}

void TForm1::BitBtn3Click() {}

void TForm1::N5Click() {}
