// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/clipboardcopy.h"

#include "ui/qttext.h"
#include "ui/stringgrid.h"
#include "commands/celltext.h"

#include <QString>

void CopyCellsToClipboard(const StringGrid& grid, int left, int top, int right, int bottom)
{
    const std::string text = BuildCellsText(
        [&grid](int col, int row) { return grid.cellText(col, row).toStdString(); },
        grid.colCount(), grid.rowCount(), left, top, right, bottom);
    SetClipboardTextVerified(Utf8(text));
}
