// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the SVG files write alike: a coordinate as text (nine decimals,
// trailing zeros dropped, minus zero and nanometre dust written as 0) and the
// opening of a picture in millimetres.

#include <QString>
#include <QXmlStreamWriter>

#include <cmath>

inline QString SvgNumber(double v)
{
    if (std::fabs(v) < 5e-10)
        v = 0.0;
    QString s = QString::number(v, 'f', 9);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}

// The document and its <svg> element: width and height in mm, the viewBox
// from (left, top) in the picture's own units (mm, y downwards).
inline void StartSvgInMillimetres(QXmlStreamWriter& xml, double left, double top, double width, double height)
{
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("width"), SvgNumber(width) + QStringLiteral("mm"));
    xml.writeAttribute(QStringLiteral("height"), SvgNumber(height) + QStringLiteral("mm"));
    xml.writeAttribute(QStringLiteral("viewBox"), SvgNumber(left) + QLatin1Char(' ') + SvgNumber(top) + QLatin1Char(' ') +
                                                      SvgNumber(width) + QLatin1Char(' ') + SvgNumber(height));
}
