// SPDX-License-Identifier: GPL-3.0-or-later
// The SVG picture of a profile: true size in millimetres, y upwards as in the
// gear's coordinates, the outline, pitch circle and bore as named groups.
#include "export/profileexport.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

#include <cmath>

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

}  // namespace

std::string ProfileSvg(const GearProfile& profile, double boreDiameter)
{
    const double size = profile.tipDiameter + 2.0 * kSvgMargin;
    const QString side = Number(size);
    const QString corner = Number(-size / 2.0);

    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("width"), side + QStringLiteral("mm"));
    xml.writeAttribute(QStringLiteral("height"), side + QStringLiteral("mm"));
    xml.writeAttribute(QStringLiteral("viewBox"), corner + QLatin1Char(' ') + corner + QLatin1Char(' ') + side + QLatin1Char(' ') + side);

    Layer(xml, "GEAR", "#000000");
    QString d;
    d.reserve(static_cast<qsizetype>(profile.points.size()) * 28);
    for (std::size_t i = 0; i < profile.points.size(); ++i) {
        const OutlinePoint& p = profile.points[i];
        d += QLatin1Char(i == 0 ? 'M' : 'L');
        d += Number(p.x);
        d += QLatin1Char(',');
        d += Number(-p.y);     // SVG's y runs downwards
        d += QLatin1Char(' ');
    }
    d += QLatin1Char('Z');
    xml.writeEmptyElement(QStringLiteral("path"));
    xml.writeAttribute(QStringLiteral("d"), d);
    xml.writeEndElement();

    Layer(xml, "PITCH", "#ff0000");
    Circle(xml, profile.pitchDiameter);
    xml.writeEndElement();

    if (boreDiameter > 0.0) {
        Layer(xml, "BORE", "#0000ff");
        Circle(xml, boreDiameter);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes.toStdString();
}
