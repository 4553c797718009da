// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/svgtext.h"

#include "export/drawingnumber.h"
#include "base/apperror.h"

#include <algorithm>
#include <cmath>

QString SvgNumber(double v)
{
    if (!std::isfinite(v))
        throw AppError(DrawingNumberMessage());
    if (std::fabs(v) < 5e-10)
        v = 0.0;
    QString s = QString::number(v, 'f', 9);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}

void StartSvgInMillimetres(QXmlStreamWriter& xml, double left, double top, double width, double height)
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

namespace {

using Outline = std::vector<OutlinePoint>;

// "x,y" with y downwards.
QString At(const OutlinePoint& p) { return SvgNumber(p.x) + QLatin1Char(',') + SvgNumber(-p.y); }

// The outlines' path data: each closed, separated by a space.
QString PathData(const std::vector<const Outline*>& outlines)
{
    std::size_t points = 0;
    for (const Outline* o : outlines)
        points += o->size();
    QString d;
    d.reserve(static_cast<qsizetype>(points) * 28);
    for (const Outline* o : outlines) {
        if (o->empty())
            continue;
        if (!d.isEmpty())
            d += QLatin1Char(' ');
        for (std::size_t i = 0; i < o->size(); ++i) {
            d += QLatin1Char(i == 0 ? 'M' : 'L');
            d += At((*o)[i]);
            d += QLatin1Char(' ');
        }
        d += QLatin1Char('Z');
    }
    return d;
}

void WritePath(QXmlStreamWriter& xml, const QString& d, const char* fillRule = nullptr, const char* fill = nullptr,
               const char* stroke = nullptr)
{
    xml.writeEmptyElement(QStringLiteral("path"));
    if (fill)
        xml.writeAttribute(QStringLiteral("fill"), QString::fromLatin1(fill));
    if (stroke)
        xml.writeAttribute(QStringLiteral("stroke"), QString::fromLatin1(stroke));
    if (fillRule)
        xml.writeAttribute(QStringLiteral("fill-rule"), QString::fromLatin1(fillRule));
    xml.writeAttribute(QStringLiteral("d"), d);
    if (static_cast<std::size_t>(d.size()) > kSvgReleaseAfter)
        xml.writeCharacters(QString(kSvgReleaseSpaces, QLatin1Char(' ')));
}

// The stroke: every outline walked in order, cut into open pieces of at most
// `limit` characters, each starting at the point where the one before ended.
void WriteStrokePieces(QXmlStreamWriter& xml, const std::vector<const Outline*>& outlines, std::size_t limit, bool filled)
{
    QString d;
    auto flush = [&] {
        if (!d.isEmpty())
            WritePath(xml, d, nullptr, filled ? "none" : nullptr);
        d.clear();
    };
    auto fits = [&](qsizetype more) { return static_cast<std::size_t>(d.size() + more) <= limit; };
    for (const Outline* o : outlines) {
        if (o->empty())
            continue;
        const QString start = QLatin1Char('M') + At(o->front()) + QLatin1Char(' ');
        if (!d.isEmpty() && !fits(1 + start.size()))
            flush();
        if (!d.isEmpty())
            d += QLatin1Char(' ');
        d += start;
        bool whole = true;   // the outline from its start in this piece: it closes with Z
        for (std::size_t i = 1; i <= o->size(); ++i) {
            const bool closing = i == o->size();
            const OutlinePoint& p = closing ? o->front() : (*o)[i];
            QString step = closing && whole ? QStringLiteral("Z") : QLatin1Char('L') + At(p) + QLatin1Char(' ');
            if (!fits(step.size())) {
                flush();
                d = QLatin1Char('M') + At((*o)[i - 1]) + QLatin1Char(' ');
                whole = false;
                if (closing)
                    step = QLatin1Char('L') + At(p) + QLatin1Char(' ');
            }
            d += step;
        }
    }
    flush();
}

// The part of a closed outline with lo <= x <= hi (Sutherland and Hodgman's
// clipping by two half-planes): inside the slice it winds round every point
// as the whole outline does, so the slices' fills add up to the outline's.
Outline ClipToSlice(const Outline& in, double lo, double hi)
{
    auto clip = [](const Outline& p, double edge, bool keepAbove) {
        Outline out;
        const auto inside = [&](const OutlinePoint& q) { return keepAbove ? q.x >= edge : q.x <= edge; };
        for (std::size_t i = 0; i < p.size(); ++i) {
            const OutlinePoint& a = p[i];
            const OutlinePoint& b = p[(i + 1) % p.size()];
            if (inside(a))
                out.push_back(a);
            if (inside(a) != inside(b)) {
                const double t = (edge - a.x) / (b.x - a.x);
                out.push_back({edge, a.y + t * (b.y - a.y)});
            }
        }
        return out;
    };
    if (std::isfinite(lo))
        return std::isfinite(hi) ? clip(clip(in, lo, true), hi, false) : clip(in, lo, true);
    return std::isfinite(hi) ? clip(in, hi, false) : in;
}

// The area: slices between vertical lines through quantiles of the points'
// x, each widened by a five-hundredth of the picture on both sides; more
// slices until each fits.
void WriteFillSlices(QXmlStreamWriter& xml, const std::vector<const Outline*>& outlines, std::size_t limit,
                     std::size_t length, bool evenOdd)
{
    std::vector<double> xs;
    for (const Outline* o : outlines)
        for (const OutlinePoint& p : *o)
            xs.push_back(p.x);
    std::sort(xs.begin(), xs.end());
    const double overlap = (xs.back() - xs.front()) / 500.0;
    for (std::size_t slices = 2 * (length / limit + 1);; slices *= 2) {
        std::vector<QString> pieces;
        bool fits = true;
        for (std::size_t k = 0; k < slices && fits; ++k) {
            const double lo = k == 0 ? -HUGE_VAL : xs[k * xs.size() / slices] - overlap;
            const double hi = k + 1 == slices ? HUGE_VAL : xs[(k + 1) * xs.size() / slices] + overlap;
            std::vector<Outline> clipped;
            for (const Outline* o : outlines)
                clipped.push_back(ClipToSlice(*o, lo, hi));
            std::vector<const Outline*> parts;
            for (const Outline& c : clipped)
                parts.push_back(&c);
            pieces.push_back(PathData(parts));
            fits = static_cast<std::size_t>(pieces.back().size()) <= limit;
        }
        if (fits || slices >= xs.size()) {
            for (const QString& d : pieces)
                if (!d.isEmpty())
                    WritePath(xml, d, evenOdd ? "evenodd" : nullptr, nullptr, "none");
            return;
        }
    }
}

}  // namespace

void WriteSvgOutlines(QXmlStreamWriter& xml, const std::vector<const Outline*>& outlines, SvgFill fill,
                      std::size_t limit)
{
    const QString d = PathData(outlines);
    if (static_cast<std::size_t>(d.size()) <= limit) {
        WritePath(xml, d, fill == SvgFill::EvenOdd ? "evenodd" : nullptr);
        return;
    }
    if (fill != SvgFill::None)
        WriteFillSlices(xml, outlines, limit, static_cast<std::size_t>(d.size()), fill == SvgFill::EvenOdd);
    WriteStrokePieces(xml, outlines, limit, fill != SvgFill::None);
}
