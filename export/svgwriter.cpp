// SPDX-License-Identifier: GPL-3.0-or-later
// The SVG picture of a profile: true size in millimetres, y upwards as in the
// gear's coordinates, the outline, pitch circle and bore as named groups.
#include "export/profileexport.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

QString Number(double v)
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

void Layer(QXmlStreamWriter& xml, const char* name, const char* colour)
{
    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("id"), QString::fromLatin1(name));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    xml.writeAttribute(QStringLiteral("stroke"), QString::fromLatin1(colour));
    xml.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("0.05"));
    xml.writeTextElement(QStringLiteral("title"), QString::fromLatin1(name));
}

void Circle(QXmlStreamWriter& xml, double diameter)
{
    xml.writeEmptyElement(QStringLiteral("circle"));
    xml.writeAttribute(QStringLiteral("cx"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("cy"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("r"), Number(diameter / 2.0));
}

const char* LayerColour(const char* layer)
{
    const std::string name = layer;
    return name == "PITCH" ? "#ff0000" : name == "BORE" ? "#0000ff" : "#000000";
}

}  // namespace

std::string DrawingSvg(const ExportDrawing& drawing)
{
    const double width = drawing.maxX - drawing.minX + 2.0 * kSvgMargin;
    const double height = drawing.maxY - drawing.minY + 2.0 * kSvgMargin;

    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("width"), Number(width) + QStringLiteral("mm"));
    xml.writeAttribute(QStringLiteral("height"), Number(height) + QStringLiteral("mm"));
    // SVG's y runs downwards: the picture's top is the drawing's largest y.
    xml.writeAttribute(QStringLiteral("viewBox"), Number(drawing.minX - kSvgMargin) + QLatin1Char(' ') +
                                                      Number(-drawing.maxY - kSvgMargin) + QLatin1Char(' ') +
                                                      Number(width) + QLatin1Char(' ') + Number(height));

    Layer(xml, "GEAR", "#000000");
    QString d;
    d.reserve(static_cast<qsizetype>(drawing.outline.size()) * 28);
    for (std::size_t i = 0; i < drawing.outline.size(); ++i) {
        const OutlinePoint& p = drawing.outline[i];
        d += QLatin1Char(i == 0 ? 'M' : 'L');
        d += Number(p.x);
        d += QLatin1Char(',');
        d += Number(-p.y);
        d += QLatin1Char(' ');
    }
    d += QLatin1Char('Z');
    xml.writeEmptyElement(QStringLiteral("path"));
    xml.writeAttribute(QStringLiteral("d"), d);
    xml.writeEndElement();

    // Each further layer once, in the order it is first used: lines, then circles.
    std::vector<std::string> done;
    auto open = [&](const char* layer) {
        if (std::find(done.begin(), done.end(), layer) != done.end())
            return;
        done.emplace_back(layer);
        Layer(xml, layer, LayerColour(layer));
        for (const auto& line : drawing.lines)
            if (done.back() == line.layer) {
                xml.writeEmptyElement(QStringLiteral("line"));
                xml.writeAttribute(QStringLiteral("x1"), Number(line.from.x));
                xml.writeAttribute(QStringLiteral("y1"), Number(-line.from.y));
                xml.writeAttribute(QStringLiteral("x2"), Number(line.to.x));
                xml.writeAttribute(QStringLiteral("y2"), Number(-line.to.y));
            }
        for (const auto& circle : drawing.circles)
            if (done.back() == circle.layer)
                Circle(xml, circle.diameter);
        xml.writeEndElement();
    };
    for (const auto& line : drawing.lines)
        open(line.layer);
    for (const auto& circle : drawing.circles)
        open(circle.layer);
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes.toStdString();
}
