// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/meshexport.h"

#include "export/svgtext.h"
#include "base/safefile.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

#include <cmath>

namespace {

QString Number(double v) { return SvgNumber(v); }

void Group(QXmlStreamWriter& xml, const std::string& id, const char* fill, const char* stroke, const char* width,
           const char* dashes = nullptr)
{
    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("id"), QString::fromStdString(id));
    xml.writeAttribute(QStringLiteral("fill"), QString::fromLatin1(fill));
    xml.writeAttribute(QStringLiteral("stroke"), QString::fromLatin1(stroke));
    xml.writeAttribute(QStringLiteral("stroke-width"), QString::fromLatin1(width));
    if (dashes)
        xml.writeAttribute(QStringLiteral("stroke-dasharray"), QString::fromLatin1(dashes));
    xml.writeTextElement(QStringLiteral("title"), QString::fromStdString(id));
}

// One closed path; with a rim, the rim and the outline inside it (a ring).
void Path(QXmlStreamWriter& xml, const MeshPolygon& points, const MeshPolygon& rim = {})
{
    if (rim.empty())
        WriteSvgOutlines(xml, {&points}, SvgFill::NonZero);
    else
        WriteSvgOutlines(xml, {&rim, &points}, SvgFill::EvenOdd);
}

void Circle(QXmlStreamWriter& xml, OutlinePoint centre, double radius, const char* id = nullptr)
{
    xml.writeEmptyElement(QStringLiteral("circle"));
    if (id)
        xml.writeAttribute(QStringLiteral("id"), QString::fromLatin1(id));
    xml.writeAttribute(QStringLiteral("cx"), Number(centre.x));
    xml.writeAttribute(QStringLiteral("cy"), Number(-centre.y));
    xml.writeAttribute(QStringLiteral("r"), Number(radius));
}

void Line(QXmlStreamWriter& xml, const char* id, OutlinePoint a, OutlinePoint b)
{
    xml.writeEmptyElement(QStringLiteral("line"));
    xml.writeAttribute(QStringLiteral("id"), QString::fromLatin1(id));
    xml.writeAttribute(QStringLiteral("x1"), Number(a.x));
    xml.writeAttribute(QStringLiteral("y1"), Number(-a.y));
    xml.writeAttribute(QStringLiteral("x2"), Number(b.x));
    xml.writeAttribute(QStringLiteral("y2"), Number(-b.y));
}

// A group of circles, and the lines that stand for them on a rack.
void Circles(QXmlStreamWriter& xml, const char* id, const std::vector<MeshCircle>& circles, const char* dashes,
             const std::vector<MeshSegment>& lines = {})
{
    if (circles.empty() && lines.empty())
        return;
    Group(xml, id, "none", "#404040", "0.03", dashes);
    for (const MeshCircle& c : circles)
        Circle(xml, c.centre, c.radius);
    for (const MeshSegment& l : lines) {
        xml.writeEmptyElement(QStringLiteral("line"));
        xml.writeAttribute(QStringLiteral("x1"), Number(l.from.x));
        xml.writeAttribute(QStringLiteral("y1"), Number(-l.from.y));
        xml.writeAttribute(QStringLiteral("x2"), Number(l.to.x));
        xml.writeAttribute(QStringLiteral("y2"), Number(-l.to.y));
    }
    xml.writeEndElement();
}

}  // namespace

std::string MeshSvg(const MeshPicture& picture)
{
    const double left = picture.minX - kMeshSvgMargin, top = -picture.maxY - kMeshSvgMargin;
    const double width = picture.maxX - picture.minX + 2.0 * kMeshSvgMargin;
    const double height = picture.maxY - picture.minY + 2.0 * kMeshSvgMargin;

    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    StartSvgInMillimetres(xml, left, top, width, height);

    const char* const fills[2] = {"#dce8ff", "#dff2d8"};
    for (std::size_t i = 0; i < 2; ++i) {
        Group(xml, picture.ids[i], fills[i], "#000000", "0.05");
        Path(xml, picture.outlines[i], picture.rims[i]);
        xml.writeEndElement();
    }
    if (!picture.overlaps.empty()) {
        Group(xml, "OVERLAP", "#ff0000", "none", "0");
        for (const MeshPolygon& overlap : picture.overlaps)
            Path(xml, overlap);
        xml.writeEndElement();
    }
    Circles(xml, "BASE", picture.baseCircles, "0.6 0.3");
    Circles(xml, "PITCH", picture.pitchCircles, "1.2 0.3 0.2 0.3", picture.pitchLines);
    Circles(xml, "WORKING_PITCH", picture.workingPitchCircles, "0.2 0.2", picture.workingPitchLines);
    Circles(xml, "TIP", picture.tipCircles, nullptr, picture.tipLines);

    const MeshLineOfAction& line = picture.line;
    Group(xml, "LINE_OF_ACTION", "#0000ff", "#0000ff", "0.05");
    Line(xml, "TANGENTS", line.from, line.to);
    xml.writeStartElement(QStringLiteral("g"));
    xml.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("0.2"));
    Line(xml, "CONTACT", line.start, line.end);
    xml.writeEndElement();
    const double dot = width / 300.0;
    Circle(xml, line.start, dot, "CONTACT_START");
    Circle(xml, line.end, dot, "CONTACT_END");
    Circle(xml, line.pitchPoint, dot * 0.7, "PITCH_POINT");
    Circle(xml, line.tangent1, dot * 0.7, "TANGENT1");
    if (line.hasTangent2)
        Circle(xml, line.tangent2, dot * 0.7, "TANGENT2");
    xml.writeEndElement();

    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes.toStdString();
}

void SaveMeshSvg(const MeshPicture& picture, const std::string& path)
{
    const std::string bytes = MeshSvg(picture);
    WriteFileSafely(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}
