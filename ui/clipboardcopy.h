// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table copy: a rectangle of grid cells as text on the clipboard.

class StringGrid;

// Replaces the clipboard's contents with the plain text of the cells from
// (left, top) to (right, bottom) of the grid (TAB between cells, CR LF after
// every line; the empty text for an invalid rectangle, see BuildCellsText).
// Raises AppError("クリップボードを開くことができません") when the clipboard
// cannot be had; the clipboard then keeps what it held.
void CopyCellsToClipboard(const StringGrid& grid, int left, int top, int right, int bottom);
