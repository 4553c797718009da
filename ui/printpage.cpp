// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/printpage.h"

#include "base/apperror.h"
#include "ui/layout.h"
#include "commands/printscale.h"

#include <QPainter>
#include <QPrinter>
#include <QWidget>

QImage RenderWidgetImage(QWidget* widget)
{
    QImage image(widget->size(), QImage::Format_RGB32);
    image.fill(layout::kWindowColour);
    widget->render(&image);
    return image;
}

void PrintWidgetImage(QWidget* widget, QPrinter& printer)
{
    const QImage image = RenderWidgetImage(widget);
    const QSize printed(PrintedDots(image.width(), printer.logicalDpiX()),
                        PrintedDots(image.height(), printer.logicalDpiY()));
    // Nearest-neighbour stretch: the page gets the window's pixels, only larger.
    const QImage stretched = image.scaled(printed, Qt::IgnoreAspectRatio, Qt::FastTransformation);

    QPainter painter;
    if (!painter.begin(&printer))
        throw AppError("印刷を開始できません");
    painter.drawImage(QPoint(0, 0), stretched);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw AppError("印刷できませんでした");
}
