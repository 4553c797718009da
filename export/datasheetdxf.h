// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear data table as DXF text: no Qt, for the DXF writer.

#include "commands/datatable.h"

#include <string>

class DL_Dxf;
class DL_WriterA;

// The DXF layer the table's texts and frame lines go on.
inline constexpr const char* kDataTableDxfLayer = "DATATABLE";

// The text style of the table: a Japanese TrueType face (IPA P Gothic).
inline constexpr const char* kDataTableDxfStyle = "DATATABLE";
void WriteDataSheetStyle(DL_Dxf& dxf, DL_WriterA& dw);

// Writes the table's layer into the layer table.
void WriteDataSheetLayer(DL_Dxf& dxf, DL_WriterA& dw);

// Writes the table as TEXT entities and frame LINEs with its top left corner
// at (left, top), mm. Texts are in Shift-JIS, as the file's code page
// (ANSI_932) declares.
void WriteDataSheetEntities(DL_Dxf& dxf, DL_WriterA& dw, const DataSheet& sheet, double left, double top);

// A UTF-8 text in Shift-JIS (CP932) for the file; a character it has no code
// for becomes "?".
std::string ShiftJisOf(const std::string& utf8);
