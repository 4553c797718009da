// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printing an image of a window: the widget as it looks now, stretched from 96
// pixels per inch to the printer's resolution, on one page.

#include <QImage>

class QPrinter;
class QWidget;

// The widget and its children as they look now, on a ground of the window
// colour, in an image of the widget's size.
QImage RenderWidgetImage(QWidget* widget);

// Prints RenderWidgetImage(widget) at the top left of the printable area of one
// page, each pixel copied unchanged to the printer's resolution ÷ 96 dots in
// each direction. Raises AppError when the job cannot start or fails.
void PrintWidgetImage(QWidget* widget, QPrinter& printer);
