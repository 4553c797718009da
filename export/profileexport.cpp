// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/profileexport.h"
#include "export/partmodule.h"

#include "commands/numbertext.h"
#include "base/apperror.h"
#include "geardata/gearrecord.h"
#include "base/safefile.h"
#include "geometry/simplepath.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A number of a drawing's text: the round-trip text, never "-0".
std::string Shortest(double v)
{
    return RoundTripText(v == 0.0 ? 0.0 : v);
}

// The polygon moved outward (to its right, walking counter-clockwise) by d:
// each vertex along the bisector of its two edges' normals, so that both
// edges move by d.
std::vector<OutlinePoint> OffsetOutward(const std::vector<OutlinePoint>& p, double d)
{
    if (d == 0.0)
        return p;
    const std::size_t n = p.size();
    std::vector<OutlinePoint> out(n);
    auto normal = [&](std::size_t a, std::size_t b) {
        const double dx = p[b].x - p[a].x, dy = p[b].y - p[a].y, len = std::hypot(dx, dy);
        return OutlinePoint{dy / len, -dx / len};
    };
    for (std::size_t i = 0; i < n; ++i) {
        const OutlinePoint n1 = normal((i + n - 1) % n, i), n2 = normal(i, (i + 1) % n);
        const double k = d / std::max(0.1, 1.0 + n1.x * n2.x + n1.y * n2.y);
        out[i] = {p[i].x + (n1.x + n2.x) * k, p[i].y + (n1.y + n2.y) * k};
    }
    return out;
}

// The largest offset d that OffsetOutward can give without turning an edge
// round: each edge's ends move along it by d times the difference of their
// bisector steps, and where they move towards each other (a concave bend, the
// root fillet seen from the tooth space) the edge shrinks to nothing at d and
// beyond it the path loops over itself.
double LargestOutwardOffset(const std::vector<OutlinePoint>& p)
{
    const std::size_t n = p.size();
    auto normal = [&](std::size_t a, std::size_t b) {
        const double dx = p[b].x - p[a].x, dy = p[b].y - p[a].y, len = std::hypot(dx, dy);
        return OutlinePoint{dy / len, -dx / len};
    };
    std::vector<OutlinePoint> step(n);
    for (std::size_t i = 0; i < n; ++i) {
        const OutlinePoint n1 = normal((i + n - 1) % n, i), n2 = normal(i, (i + 1) % n);
        const double k = 1.0 / std::max(0.1, 1.0 + n1.x * n2.x + n1.y * n2.y);
        step[i] = {(n1.x + n2.x) * k, (n1.y + n2.y) * k};
    }
    double largest = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const double ex = p[j].x - p[i].x, ey = p[j].y - p[i].y;
        const double closing = -((step[j].x - step[i].x) * ex + (step[j].y - step[i].y) * ey);
        if (closing > 0.0)
            largest = std::min(largest, (ex * ex + ey * ey) / closing);
    }
    return largest;
}

// Six significant digits, rounded down: a limit the value must stay below.
std::string Below(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    if (std::strtod(text, nullptr) > v)
        std::snprintf(text, sizeof text, "%.6g", v * (1.0 - 5e-6));
    return text;
}

}  // namespace

void CheckOutlineIsSimple(const std::vector<OutlinePoint>& outline, const char* what)
{
    if (PathMeetsItself(outline, true))
        throw AppError(std::string(what) + "が自分自身と交わるため書き出せません");
}

ExportFormat ExportFormatOf(const std::string& path)
{
    const std::string name = Lower(path);
    if (EndsWith(name, ".dxf"))
        return ExportFormat::Dxf;
    if (EndsWith(name, ".svg"))
        return ExportFormat::Svg;
    if (EndsWith(name, ".stl"))
        return ExportFormat::Stl;
    if (EndsWith(name, ".3mf"))
        return ExportFormat::ThreeMf;
    if (EndsWith(name, ".step") || EndsWith(name, ".stp"))
        return ExportFormat::Step;
    throw AppError("書き出せるのは .dxf、.svg、.stl、.3mf、.step のファイルだけです");
}

bool IsSolidFormat(ExportFormat format)
{
    return format == ExportFormat::Stl || format == ExportFormat::ThreeMf || format == ExportFormat::Step;
}

SolidInput SolidOf(const ExportRequest& request)
{
    SolidInput s;
    s.faceWidth = request.faceWidth;
    s.boreDiameter = request.boreDiameter;
    s.keyway = request.keyway;
    s.hubDiameter = request.hubDiameter;
    s.hubLength = request.hubLength;
    // A helical gear's section turns by 2 tan(beta) / d per mm of face width, counter-clockwise for a right hand.
    if (request.gear.helixAngleDegrees != 0.0) {
        const HelixSizes h = HelixOf(request.gear);
        const double turn = static_cast<double>(2.0L * std::tan(h.beta) / (request.gear.teeth * h.module));
        s.twist = request.gear.hand == Hand::Left ? -turn : turn;
    }
    return s;
}

const char* ExportOutOfMemoryMessage()
{
    return "メモリが足りないため書き出せません。許容差を大きくしてください";
}

void CheckBore(const GearProfile& profile, double boreDiameter)
{
    if (!(boreDiameter >= 0.0) || !(boreDiameter < profile.rootDiameter))
        throw AppError("穴径は 0 以上で、歯底円直径より小さくしてください");
}

ExportRequest ExportRequestOf(const GearRecord& gear, double tolerance, double tipRadius, double boreDiameter)
{
    ExportRequest request;
    // An index the table does not hold gives NaN degrees, which BuildGearProfile refuses.
    request.gear = GearSpecOf(gear);
    request.gear.cutter.tipRadius = tipRadius;
    request.tolerance = tolerance;
    request.boreDiameter = boreDiameter;
    return request;
}

CutDrawing MakeCutDrawing(const ExportRequest& request, const GearProfile& profile)
{
    // The drawing's bore is the part's, without hub. A drawing has no face
    // width: the one it is checked with is never too small for the part.
    SolidInput flat;
    flat.boreDiameter = request.boreDiameter;
    flat.keyway = request.keyway;
    flat.faceWidth = std::max(flat.faceWidth, SmallestPartSizes(profile, flat, request.tolerance).across);
    CheckBore(profile, request.boreDiameter);
    HoleShape hole = CheckSolid(profile, flat, request.tolerance);
    const double half = request.kerf / 2.0;
    if (!std::isfinite(request.kerf) || !(request.kerf >= 0.0) || !(request.kerf < request.gear.module) ||
        (hole.radius > 0.0 && !(half < hole.radius)) || (hole.keyway && !(half < hole.keyHalfWidth)))
        throw AppError("切り幅は 0 以上で、モジュールより小さく、穴とキー溝に収まる大きさにしてください");

    const double largest = LargestOutwardOffset(profile.points);
    if (!(half < largest))
        throw AppError("切り幅 " + Shortest(request.kerf) + " mm では歯溝の丸みで切断線が折り返して交差します。切り幅は " +
                       Below(2.0 * largest) + " mm 未満にしてください");

    CutDrawing d;
    d.outline = OffsetOutward(profile.points, half);
    if (half > 0.0)   // the profile itself is checked by PrepareExport
        CheckOutlineIsSimple(d.outline, "切り幅の分だけ外へ移した切断線");
    if (hole.radius > 0.0) {
        // The bore's cut path lies inside the bore.
        hole.radius -= half;
        hole.keyHalfWidth -= half;
        hole.keyBottom -= half;
    }
    d.hole = hole;
    d.pitchDiameter = profile.pitchDiameter;
    d.centreMark = std::max(1.0, profile.tipDiameter / 20.0);
    d.extMin[0] = d.extMin[1] = std::numeric_limits<double>::infinity();
    d.extMax[0] = d.extMax[1] = -std::numeric_limits<double>::infinity();
    for (const OutlinePoint& p : d.outline) {
        d.extMin[0] = std::min(d.extMin[0], p.x);
        d.extMin[1] = std::min(d.extMin[1], p.y);
        d.extMax[0] = std::max(d.extMax[0], p.x);
        d.extMax[1] = std::max(d.extMax[1], p.y);
    }
    if (request.note) {
        const GearSpec& g = request.gear;
        const double alpha = g.pressureAngleDegrees;
        d.note.push_back("m " + Shortest(g.module) + "  z " + std::to_string(g.teeth) + "  x " + Shortest(g.shift) +
                         "  {alpha} " + Shortest(alpha) + "{deg}");
        if (g.helixAngleDegrees != 0.0)
            d.note.push_back("helical, normal values: {beta} " + Shortest(g.helixAngleDegrees) + "{deg} " +
                             (g.hand == Hand::Left ? "left" : "right") + " hand");
        d.note.push_back("tooth thickness allowance " + Shortest(g.thicknessAllowance) + " mm");
        if (request.kerf > 0.0)
            d.note.push_back("kerf " + Shortest(request.kerf) + " mm: cut paths offset " + Shortest(half) + " mm outward");
        d.noteHeight = std::max(1.0, profile.tipDiameter / 40.0);
        d.noteX = d.extMin[0];
        d.noteY = d.extMin[1] - 1.5 * d.noteHeight;
        std::size_t longest = 0;
        for (const std::string& line : d.note)
            longest = std::max(longest, line.size());
        d.extMax[0] = std::max(d.extMax[0], d.noteX + 0.8 * d.noteHeight * static_cast<double>(longest));
        d.extMin[1] = d.noteY - 1.6 * d.noteHeight * static_cast<double>(d.note.size() - 1) - 0.3 * d.noteHeight;
    }
    return d;
}

std::string ProfileDxf(const GearProfile& profile, double boreDiameter, const DataSheet* dataSheet)
{
    ExportRequest request;
    request.boreDiameter = boreDiameter;
    return CutDrawingDxf(MakeCutDrawing(request, profile), dataSheet);
}

std::string ProfileSvg(const GearProfile& profile, double boreDiameter)
{
    ExportRequest request;
    request.boreDiameter = boreDiameter;
    return CutDrawingSvg(MakeCutDrawing(request, profile));
}

PreparedExport PrepareExport(const ExportRequest& request, std::optional<ExportFormat> format)
{
    PreparedExport prepared{BuildGearProfile(request.gear, request.tolerance), request, std::nullopt, std::nullopt};
    const GearProfile& profile = prepared.profile;
    CheckOutlineIsSimple(profile.points, "歯形の輪郭");
    CheckBore(profile, request.boreDiameter);
    if (!format || !IsSolidFormat(*format))
        prepared.drawing = MakeCutDrawing(request, profile);
    if (!format || IsSolidFormat(*format))
        prepared.hole = CheckSolid(profile, SolidOf(request), request.tolerance);
    if (format == ExportFormat::Step) {
        if (request.gear.helixAngleDegrees != 0.0)
            throw AppError("はすば歯車は STEP にはまだ書き出せません（STL か 3MF にしてください）");
        CheckStepSize(profile);
    }
    return prepared;
}

std::string ExportBytes(const PreparedExport& prepared, ExportFormat format, const DataSheet* dataSheet)
{
    const ExportRequest& request = prepared.request;
    const GearProfile& profile = prepared.profile;
    if (!IsSolidFormat(format)) {
        const CutDrawing drawing = prepared.drawing ? *prepared.drawing : MakeCutDrawing(request, profile);
        return format == ExportFormat::Dxf ? CutDrawingDxf(drawing, dataSheet) : CutDrawingSvg(drawing);
    }
    const SolidInput solid = SolidOf(request);
    const HoleShape hole = prepared.hole ? *prepared.hole : CheckSolid(profile, solid, request.tolerance);
    const GearSpec& g = request.gear;
    const std::string title = "gear m " + Shortest(g.module) + " z " + std::to_string(g.teeth) + " x " + Shortest(g.shift) +
                              " b " + Shortest(request.faceWidth) + " mm" +
                              (g.helixAngleDegrees != 0.0 ? " beta " + Shortest(g.helixAngleDegrees) +
                                                                (g.hand == Hand::Left ? " left" : " right")
                                                          : std::string());
    if (format == ExportFormat::Step)
        return StepThroughModule(profile, solid, hole, title);
    const TriangleSurface surface = BuildGearSurface(profile, solid, hole, request.tolerance);
    return format == ExportFormat::Stl ? SurfaceStl(surface, title) : ThreeMfThroughModule(surface, title);
}

ExportDrawing GearDrawing(const GearProfile& profile, double boreDiameter)
{
    ExportDrawing d;
    d.outline = profile.points;
    d.circles.push_back({"PITCH", profile.pitchDiameter});
    if (boreDiameter > 0.0)
        d.circles.push_back({"BORE", boreDiameter});
    d.maxX = d.maxY = profile.tipDiameter / 2.0;
    d.minX = d.minY = -d.maxX;
    return d;
}

ExportDrawing RingDrawing(const GearProfile& profile, double rimDiameter)
{
    ExportDrawing d;
    d.outline = profile.points;
    d.circles.push_back({"PITCH", profile.pitchDiameter});
    d.circles.push_back({"RIM", rimDiameter});
    d.maxX = d.maxY = rimDiameter / 2.0;
    d.minX = d.minY = -d.maxX;
    return d;
}

ExportDrawing RackDrawing(const RackProfile& rack)
{
    ExportDrawing d;
    d.outline = rack.points;
    d.lines.push_back({"PITCH", {0.0, 0.0}, {rack.length, 0.0}});
    d.minX = 0.0;
    d.maxX = rack.length;
    d.minY = rack.bottom;
    d.maxY = rack.top;
    return d;
}

void CheckRim(const GearProfile& ring, double rimDiameter)
{
    if (std::isnan(rimDiameter) || !(rimDiameter > ring.rootDiameter))
        throw AppError("外径は内歯車の歯底円直径より大きくしてください");
    if (!(rimDiameter <= kLargestRimDiameter))
        throw AppError("内歯車の外径は 1000000 mm 以下にしてください");
}

double DefaultRimDiameter(const GearProfile& ring, double module)
{
    return ring.rootDiameter + 6.0 * module;
}

std::string DrawingBytes(const ExportDrawing& drawing, ExportFormat format)
{
    CheckOutlineIsSimple(drawing.outline, "歯形の輪郭");
    return format == ExportFormat::Dxf ? DrawingDxf(drawing) : DrawingSvg(drawing);
}

PreparedShape PrepareShapeExport(const ShapeExportRequest& request, std::optional<ExportFormat> format)
{
    PreparedShape prepared;
    prepared.shape = request.shape;
    switch (request.shape) {
    case ExportShape::Gear:
        prepared.gear = PrepareExport(request.gear, format);
        break;
    case ExportShape::Ring: {
        const GearProfile& ring = prepared.ring.emplace(BuildInternalGearProfile(request.ring, request.tolerance));
        prepared.rimDiameter =
            request.rimDiameter == 0.0 ? DefaultRimDiameter(ring, request.ring.module) : request.rimDiameter;
        CheckRim(ring, prepared.rimDiameter);
        prepared.drawing = RingDrawing(ring, prepared.rimDiameter);
        break;
    }
    case ExportShape::Rack:
        prepared.drawing = RackDrawing(prepared.rack.emplace(
            BuildRackProfile(request.rackModule, request.rackPressureAngle, request.rackLength, request.tolerance)));
        break;
    }
    return prepared;
}

std::string ShapeExportBytes(const PreparedShape& prepared, ExportFormat format, const DataSheet* dataSheet)
{
    if (prepared.drawing && IsSolidFormat(format))
        throw AppError("内歯車とラックは DXF か SVG で書き出してください");
    if (dataSheet != nullptr && format != ExportFormat::Dxf)
        throw AppError("要目表は DXF にだけ書き出せます");
    return prepared.drawing ? DrawingBytes(*prepared.drawing, format) : ExportBytes(*prepared.gear, format, dataSheet);
}

GearProfile ExportProfile(const ExportRequest& request, const std::string& path)
{
    const ExportFormat format = ExportFormatOf(path);
    PreparedExport prepared = PrepareExport(request, format);
    const std::string bytes = ExportBytes(prepared, format);
    WriteFileSafely(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return std::move(prepared.profile);
}
