// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text form of a rectangle of grid cells: cells separated by TAB, every
// line ended by CR LF. Used by the table copy to the clipboard.

#include <cstdint>
#include <functional>
#include <string>

// Builds the text of the cells from (left, top) to (right, bottom) of a grid
// with colCount columns and rowCount rows; `cell` gives the UTF-8 text of one
// cell by (column, row).
//
// An invalid rectangle gives the empty text. It is invalid when, tested in this
// order, left > right, bottom < top, right < 0, bottom < 0, left >= colCount or
// top >= rowCount. Otherwise left and top are raised to 0, right is lowered to
// colCount - 1, and a bottom of colCount or more (the column count, not the
// row count) becomes rowCount - 1; a smaller bottom stays as it is.
std::string BuildCellsText(const std::function<std::string(int col, int row)>& cell, int colCount, int rowCount,
    std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
