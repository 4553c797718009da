// SPDX-License-Identifier: GPL-3.0-or-later
// The gear table side of the main window: the grid texts the command
// sequences show, and the handlers of the table commands, the gear data files
// and the table copy.

#include "ui/mainwindow.h"

#include "geardata/gearrecord.h"
#include "ui/clipboardcopy.h"
#include "commands/numbertext.h"
#include "ui/stringgrid.h"

#include <QFile>

namespace {

constexpr int kGearColumns = 4;

std::string LocalFileName(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

}  // namespace

void TForm1::InitTableGrid()
{
    const QString headers[kGearColumns] = {QStringLiteral("ﾓｼﾞｭｰﾙ"), QStringLiteral("歯数"), QStringLiteral("転位係数"),
                                           QStringLiteral("歯先円")};
    for (int col = 1; col <= kGearColumns; ++col)
        sg1->setCellText(col, 0, headers[col - 1]);
    for (int row = kFirstRow; row <= kLastRow; ++row)
        sg1->setCellText(0, row, QString::fromStdString(FormatInteger(row)));
}

void TForm1::ClearTableCells()
{
    for (int row = kFirstRow; row <= kLastRow; ++row)
        for (int col = 1; col <= kGearColumns; ++col)
            sg1->setCellText(col, row, QString());
}

void TForm1::ShowRow(int row, const RowTexts& texts)
{
    sg1->setCellText(1, row, QString::fromStdString(texts.module));
    sg1->setCellText(2, row, QString::fromStdString(texts.teeth));
    sg1->setCellText(3, row, QString::fromStdString(texts.shift));
    sg1->setCellText(4, row, QString::fromStdString(texts.tip));
}

void TForm1::MoveRowsUp(int row)
{
    for (int j = row; j <= kLastRow; ++j)
        for (int col = 1; col <= kGearColumns; ++col)
            sg1->setCellText(col, j, sg1->cellText(col, j + 1));
    for (int col = 1; col <= kGearColumns; ++col)
        sg1->setCellText(col, kLastRow, QStringLiteral(" "));
}

void TForm1::sg1Click()
{
    RecallGear(m_state, *this, sg1->currentRow());
}

void TForm1::BitBtn2Click()
{
    DeleteRow(m_state, *this, sg1->currentRow());
}

void TForm1::N1Click()
{
    const std::optional<QString> name = OpenDialog1.Execute(this);
    ReadTable(m_state, *this, name ? std::optional<std::string>(LocalFileName(*name)) : std::nullopt);
}

void TForm1::N2Click()
{
    if (const std::optional<QString> name = SaveDialog1.Execute(this))
        WriteTable(m_state, LocalFileName(*name));
}

void TForm1::N4Click()
{
    CopyCellsToClipboard(*sg1, 0, 0, 11, 11);
}
