// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear data table (要目表) on paper and in a drawing: painted by QPainter
// on any paint device (the PDF page, the printer), and as TEXT entities and
// frame lines of a DXF layer of its own.

#include "commands/datatable.h"

#include <QRectF>

#include <string>
#include <vector>

class QPainter;


// Paints the table at the top left of `page` (device coordinates), scaled
// with `dotsPerMm`: a title, three columns (group, item, value) with the
// groups' cells joined, and the notes below.
void PaintDataSheet(QPainter& painter, const QRectF& page, double dotsPerMm, const DataSheet& sheet);

// One A4 page with the table, as PDF bytes. Needs a QGuiApplication (fonts).
// Raises AppError when the page cannot be made.
std::string DataSheetPdf(const DataSheet& sheet);
// One A4 page for each table, in order.
std::string DataSheetPdf(const std::vector<DataSheet>& sheets);
