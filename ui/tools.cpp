// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tools.h"

#include "ui/exportdialog.h"
#include "ui/inspectionwindow.h"
#include "ui/pairwindow.h"

void InstallTools(ToolHost& host)
{
    InstallInspectionTool(host);
    InstallExportTool(host);
    InstallPairTool(host);
}
