// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/clipboardcopy.h"

#include "geardata/apperror.h"
#include "commands/celltext.h"
#include "ui/stringgrid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace {

// Platforms may store line ends in their own form; compare without the CRs.
QString WithoutCarriageReturns(QString text)
{
    return text.remove(QLatin1Char('\r'));
}

} // namespace

void CopyCellsToClipboard(const StringGrid& grid, int left, int top, int right, int bottom)
{
    const std::string text = BuildCellsText(
        [&grid](int col, int row) { return grid.cellText(col, row).toStdString(); },
        grid.colCount(), grid.rowCount(), left, top, right, bottom);

    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        throw AppError("クリップボードを開くことができません");
    const QString plainText = QString::fromStdString(text);
    clipboard->setText(plainText, QClipboard::Clipboard);
    // A clipboard that refused the text still shows its old contents.
    if (WithoutCarriageReturns(clipboard->text(QClipboard::Clipboard)) != WithoutCarriageReturns(plainText))
        throw AppError("クリップボードを開くことができません");
}
