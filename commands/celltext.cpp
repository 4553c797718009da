// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/celltext.h"

std::string BuildCellsText(const std::function<std::string(int col, int row)>& cell, int colCount, int rowCount,
    std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    if (left > right || bottom < top || right < 0 || bottom < 0 || left >= colCount || top >= rowCount)
        return {};

    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (right >= colCount)
        right = colCount - 1;
    if (bottom >= colCount)
        bottom = rowCount - 1;

    std::string text;
    for (std::int32_t row = top; row <= bottom; ++row) {
        for (std::int32_t col = left; col < right; ++col) {
            text += cell(col, row);
            text += '\t';
        }
        text += cell(right, row);
        text += "\r\n";
    }
    return text;
}
