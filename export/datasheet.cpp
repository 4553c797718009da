// SPDX-License-Identifier: GPL-3.0-or-later
// The gear data table painted with QPainter: the PDF page and the printer.
#include "export/datasheet.h"

#include "base/apperror.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

namespace {

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

constexpr double kPaddingMm = 2.0;
constexpr double kTitleGapMm = 4.0;
constexpr double kPointsPerMm = 72.0 / 25.4;

}  // namespace

void PaintDataSheet(QPainter& painter, const QRectF& page, double dotsPerMm, const DataSheet& sheet)
{
    const DataSheetLayout layout = LayoutDataSheet(sheet);
    auto dots = [dotsPerMm](double mm) { return mm * dotsPerMm; };

    QFont font(QStringLiteral("IPAPGothic"));
    // Point sizes follow the device's own resolution, so the text is as tall on every device.
    font.setPointSizeF(kDataSheetTextHeight * kPointsPerMm * 1.05);
    QFont heading = font;
    heading.setPointSizeF(font.pointSizeF() * 1.3);
    heading.setBold(true);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(heading);
    const QRectF titleBox(page.left(), page.top(), dots(layout.width), dots(kDataSheetRowHeight));
    painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("要目表"));
    painter.setFont(font);
    painter.drawText(titleBox, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("寸法の単位 mm"));

    const QPointF origin(page.left(), page.top() + titleBox.height() + dots(kTitleGapMm) * 0.5);
    QPen pen(Qt::black);
    pen.setWidthF(dots(0.25));
    painter.setPen(pen);
    painter.setFont(font);
    for (std::size_t i = 0; i < layout.cells.size(); ++i) {
        const DataSheetCell& c = layout.cells[i];
        const QRectF box(origin.x() + dots(c.x), origin.y() + dots(c.y), dots(c.width), dots(c.height));
        painter.drawRect(box);
        const QRectF inner = box.adjusted(dots(kPaddingMm), 0, -dots(kPaddingMm), 0);
        // The title across the table is centred; the other cells start at the left.
        painter.drawText(inner, (i == 0 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter, Utf8(c.text));
    }
    // The outer frame drawn heavier, as drawings draw it.
    pen.setWidthF(dots(0.5));
    painter.setPen(pen);
    painter.drawRect(QRectF(origin, QSizeF(dots(layout.width), dots(layout.height))));
    // The findings (sheet.notes) are the window's and the command line's, not the drawing's.
    painter.restore();
}

std::string DataSheetPdf(const DataSheet& sheet)
{
    return DataSheetPdf(std::vector<DataSheet>{sheet});
}

std::string DataSheetPdf(const std::vector<DataSheet>& sheets)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(QStringLiteral("要目表"));
        pdf.setCreator(QStringLiteral("ツムギ"));
        pdf.setResolution(600);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                      QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&pdf))
            throw AppError("要目表の PDF を作れません");
        const double dotsPerMm = pdf.resolution() / 25.4;
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            if (i > 0 && !pdf.newPage())
                throw AppError("要目表の PDF を作れません");
            PaintDataSheet(painter, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())), dotsPerMm, sheets[i]);
        }
        if (!painter.end())
            throw AppError("要目表の PDF を作れません");
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
