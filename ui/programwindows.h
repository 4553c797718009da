// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's two windows, created in the order the entry needs: the main
// window (its construction runs FormCreate), then the version box, hidden; and
// the tool windows' menu items.

#include "ui/mainwindow.h"
#include "ui/tools.h"
#include "ui/versionbox.h"

struct ProgramWindows {
    ProgramWindows()
    {
        form.setVersionBox(&versionBox);
        InstallTools(form);
    }

    TForm1 form;
    VersionBox versionBox;
};
