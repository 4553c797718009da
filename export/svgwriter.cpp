// SPDX-License-Identifier: GPL-3.0-or-later
// The SVG picture of a profile: true size in millimetres, y upwards as in the
// gear's coordinates; the layers of the DXF file as named groups.
#include "export/profileexport.h"

#include "export/svgtext.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

QString Number(double v) { return SvgNumber(v); }

void Layer(QXmlStreamWriter& xml, const char* name, const char* colour, const char* dashes = nullptr)
{
    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("id"), QString::fromLatin1(name));
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    xml.writeAttribute(QStringLiteral("stroke"), QString::fromLatin1(colour));
    xml.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("0.05"));
    if (dashes)
        xml.writeAttribute(QStringLiteral("stroke-dasharray"), QString::fromLatin1(dashes));
    xml.writeTextElement(QStringLiteral("title"), QString::fromLatin1(name));
}

void Circle(QXmlStreamWriter& xml, double diameter)
{
    xml.writeEmptyElement(QStringLiteral("circle"));
    xml.writeAttribute(QStringLiteral("cx"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("cy"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("r"), Number(diameter / 2.0));
}

// Construction lines (the pitch circle, a rack's reference line) grey and
// never cut; the bore blue; the rest black.
const char* LayerColour(const char* layer)
{
    const std::string name = layer;
    return name == "PITCH" ? "#808080" : name == "BORE" ? "#0000ff" : "#000000";
}

// SVG's y runs downwards.
QString At(double x, double y) { return Number(x) + QLatin1Char(',') + Number(-y); }

}  // namespace

std::string CutDrawingSvg(const CutDrawing& dr)
{
    const double left = dr.extMin[0] - kSvgMargin, top = dr.extMax[1] + kSvgMargin;
    const double width = dr.extMax[0] - dr.extMin[0] + 2.0 * kSvgMargin;
    const double height = dr.extMax[1] - dr.extMin[1] + 2.0 * kSvgMargin;

    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    StartSvgInMillimetres(xml, left, -top, width, height);

    Layer(xml, "GEAR", "#000000");
    WriteSvgOutlines(xml, {&dr.outline}, SvgFill::None);
    xml.writeEndElement();

    // Construction lines: grey, never cut.
    const double dash = std::max(0.5, dr.pitchDiameter / 40.0);
    const QByteArray dashes = (Number(dash) + QLatin1Char(' ') + Number(dash / 2.0)).toLatin1();
    Layer(xml, "PITCH", "#808080", dashes.constData());
    Circle(xml, dr.pitchDiameter);
    xml.writeEndElement();

    if (dr.hole.radius > 0.0) {
        Layer(xml, "BORE", "#0000ff");
        if (!dr.hole.keyway) {
            Circle(xml, 2.0 * dr.hole.radius);
        } else {
            const HoleShape& h = dr.hole;
            const double x0 = h.SideStart(), w = h.keyHalfWidth;
            const QString r = Number(h.radius);
            xml.writeEmptyElement(QStringLiteral("path"));
            // The arc runs counter-clockwise in the gear's coordinates, clockwise in SVG's.
            xml.writeAttribute(QStringLiteral("d"), QStringLiteral("M") + At(x0, w) + QStringLiteral(" A") + r + QLatin1Char(',') + r +
                                                         QStringLiteral(" 0 1 0 ") + At(x0, -w) + QStringLiteral(" L") +
                                                         At(h.keyBottom, -w) + QStringLiteral(" L") + At(h.keyBottom, w) +
                                                         QStringLiteral(" Z"));
        }
        xml.writeEndElement();
    }

    Layer(xml, "CENTER", "#808080");
    const double c = dr.centreMark;
    xml.writeEmptyElement(QStringLiteral("path"));
    xml.writeAttribute(QStringLiteral("d"), QStringLiteral("M") + At(-c, 0) + QStringLiteral(" L") + At(c, 0) + QStringLiteral(" M") +
                                                 At(0, -c) + QStringLiteral(" L") + At(0, c));
    xml.writeEndElement();

    if (!dr.note.empty()) {
        xml.writeStartElement(QStringLiteral("g"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("NOTE"));
        xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("#008000"));
        xml.writeAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
        xml.writeAttribute(QStringLiteral("font-family"), QStringLiteral("sans-serif"));
        xml.writeAttribute(QStringLiteral("font-size"), Number(dr.noteHeight / 0.7));
        xml.writeTextElement(QStringLiteral("title"), QStringLiteral("NOTE"));
        for (std::size_t i = 0; i < dr.note.size(); ++i) {
            QString line = QString::fromStdString(dr.note[i]);
            line.replace(QStringLiteral("{deg}"), QStringLiteral("°")).replace(QStringLiteral("{alpha}"), QStringLiteral("α"))
                .replace(QStringLiteral("{beta}"), QStringLiteral("β"));
            xml.writeStartElement(QStringLiteral("text"));
            xml.writeAttribute(QStringLiteral("x"), Number(dr.noteX));
            xml.writeAttribute(QStringLiteral("y"), Number(-(dr.noteY - 1.6 * dr.noteHeight * static_cast<double>(i))));
            xml.writeCharacters(line);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes.toStdString();
}

std::string DrawingSvg(const ExportDrawing& drawing)
{
    const double width = drawing.maxX - drawing.minX + 2.0 * kSvgMargin;
    const double height = drawing.maxY - drawing.minY + 2.0 * kSvgMargin;

    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    // SVG's y runs downwards: the picture's top is the drawing's largest y.
    StartSvgInMillimetres(xml, drawing.minX - kSvgMargin, -drawing.maxY - kSvgMargin, width, height);

    Layer(xml, "GEAR", "#000000");
    WriteSvgOutlines(xml, {&drawing.outline}, SvgFill::None);
    xml.writeEndElement();

    const double dash = std::max(0.5, std::max(drawing.maxX - drawing.minX, drawing.maxY - drawing.minY) / 40.0);
    const QByteArray dashes = (Number(dash) + QLatin1Char(' ') + Number(dash / 2.0)).toLatin1();
    // Each further layer once, in the order it is first used: lines, then circles.
    std::vector<std::string> done;
    auto open = [&](const char* layer) {
        if (std::find(done.begin(), done.end(), layer) != done.end())
            return;
        done.emplace_back(layer);
        Layer(xml, layer, LayerColour(layer), std::string(layer) == "PITCH" ? dashes.constData() : nullptr);
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
