// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/mesh.h"

#include "base/apperror.h"
#include "geardata/gearrecord.h"
#include "geometry/gearmath.h"
#include "geometry/gearmodel.h"
#include "geometry/internalgear.h"
#include "geometry/profile.h"
#include "geometry/rackpair.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kClipScale = 1e6;   // integer units of the polygon clipper per millimetre

const char* const kGearName[2] = {"歯車１", "歯車２"};


void CheckPressureAngle(double degrees)
{
    if (PressureAngleIndexOfDegrees(degrees) < 0)
        throw AppError("かみあい図の圧力角は 14.5° か 20° にしてください");
}

// The cells of a toothed body: each tooth of the profile closed by `close`
// (the centre of a gear, the points beyond a ring's root), with a point of
// the tooth on the reference circle and the farthest reach from it.
void AddToothCells(MeshBody& body, const GearProfile& profile, int teeth, double outerRadius)
{
    const auto perTooth = static_cast<std::size_t>(profile.pointsPerTooth);
    const std::size_t n = profile.points.size();
    for (int k = 0; k < teeth; ++k) {
        const std::size_t first = static_cast<std::size_t>(k) * perTooth;
        MeshPolygon cell(profile.points.begin() + static_cast<std::ptrdiff_t>(first),
                         profile.points.begin() + static_cast<std::ptrdiff_t>(first + perTooth));
        cell.push_back(profile.points[(first + perTooth) % n]);
        const double angle = 2.0 * std::numbers::pi * k / teeth;
        const OutlinePoint anchor{body.pitchRadius * std::cos(angle), body.pitchRadius * std::sin(angle)};
        double reach = 0.0;
        for (const OutlinePoint& p : cell)
            reach = std::max(reach, Distance(p, anchor));
        if (outerRadius > 0.0) {
            // Out beyond the root along the ends' radii: the ring's material behind the tooth.
            const OutlinePoint last = cell.back(), first = cell.front();
            cell.push_back(Scale(outerRadius / std::hypot(last.x, last.y), last));
            cell.push_back(Scale(outerRadius / std::hypot(first.x, first.y), first));
        } else {
            cell.push_back({0.0, 0.0});
        }
        body.cells.push_back(std::move(cell));
        body.cellAnchors.push_back(anchor);
        body.cellReach.push_back(reach);
    }
}

MeshBody ToothedBody(MeshBodyKind kind, const GearProfile& profile, int teeth)
{
    MeshBody body;
    body.kind = kind;
    body.outline = profile.points;
    body.teeth = teeth;
    body.baseRadius = profile.baseDiameter / 2.0;
    body.pitchRadius = profile.pitchDiameter / 2.0;
    body.tipRadius = profile.tipDiameter / 2.0;
    body.rootRadius = profile.rootDiameter / 2.0;
    return body;
}

ClipperLib::Path ToClipper(const MeshPolygon& cell, const MeshPlacement& placement)
{
    ClipperLib::Path path;
    path.reserve(cell.size());
    for (const OutlinePoint& p : cell) {
        const OutlinePoint q = Place(placement, p);
        path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(q.x * kClipScale)),
                          static_cast<ClipperLib::cInt>(std::llround(q.y * kClipScale)));
    }
    return path;
}

MeshPolygon CirclePolygon(double radius, double tolerance)
{
    const double step = 2.0 * std::acos(std::max(-1.0, 1.0 - tolerance / radius));
    const int n = std::clamp(static_cast<int>(std::ceil(2.0 * std::numbers::pi / step)), 64, 20000);
    MeshPolygon circle;
    circle.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        circle.push_back({radius * std::cos(2.0 * std::numbers::pi * k / n), radius * std::sin(2.0 * std::numbers::pi * k / n)});
    return circle;
}

// Each outline may stand off its true curve by the chord tolerance, so two
// outlines whose curves just touch can cross by up to twice that: a sliver no
// thicker than that (four times its area over its perimeter) is not shown as
// an overlap.
void KeepOverlaps(const ClipperLib::Paths& common, double tolerance, std::vector<MeshPolygon>& overlaps)
{
    for (const ClipperLib::Path& path : common) {
        MeshPolygon polygon;
        polygon.reserve(path.size());
        for (const ClipperLib::IntPoint& p : path)
            polygon.push_back({static_cast<double>(p.X) / kClipScale, static_cast<double>(p.Y) / kClipScale});
        if (!(OverlapDepth(polygon) > tolerance))
            continue;
        overlaps.push_back(std::move(polygon));
    }
}

}  // namespace

double OverlapDepth(const MeshPolygon& piece)
{
    double perimeter = 0.0, twiceArea = 0.0;
    for (std::size_t k = 0; k < piece.size(); ++k) {
        const OutlinePoint a = piece[k], b = piece[(k + 1) % piece.size()];
        perimeter += Distance(a, b);
        twiceArea += a.x * b.y - a.y * b.x;
    }
    return perimeter > 0.0 ? std::fabs(twiceArea) / perimeter : 0.0;
}

OutlinePoint Place(const MeshPlacement& placement, OutlinePoint p)
{
    const double c = std::cos(placement.angle), s = std::sin(placement.angle);
    return {placement.origin.x + p.x * c - p.y * s, placement.origin.y + p.x * s + p.y * c};
}

MeshInput MeshInputOf(const PairResult& pair)
{
    MeshInput in;
    in.gears = pair.input;
    in.gears.mate = MateKind::External;
    in.gears.tipShortening = pair.tipShortening;
    in.centerDistance = pair.centerDistance;
    return in;
}


MeshInput MeshInputOf(const RackPairResult& pair)
{
    MeshInput in;
    in.gears = pair.input;
    in.gears.mate = MateKind::Rack;
    in.centerDistance = pair.centerToReferenceLine;
    return in;
}

GearMesh::GearMesh(const MeshInput& in) : m_tolerance(in.tolerance)
{
    Build(in);
    for (std::size_t i = 0; i < 2; ++i)
        for (double reach : m_body[i].cellReach)
            m_largestReach[i] = std::max(m_largestReach[i], reach);
}

void GearMesh::Build(const MeshInput& in)
{
    const PairInput& gears = in.gears;
    CheckPressureAngle(gears.pressureAngle);
    const double m = gears.module;
    const double alpha = RadiansInDouble(gears.pressureAngle);
    const MateKind mate = gears.mate;
    if (mate != MateKind::External && (gears.thicknessAllowance[0] != 0.0 || gears.thicknessAllowance[1] != 0.0))
        throw AppError("歯厚許容差は外歯車どうしの組だけに使います");
    if (!(in.tolerance >= 0.00001) || !(in.tolerance <= 1.0))
        throw AppError(ProfileToleranceMessage());

    // Gear 1, and gear 2 when it is an external gear: thinner teeth are the
    // rack set deeper by the allowance, the pair's shortened tip kept.
    std::array<double, 2> halfBase{};
    for (int i = 0; i < (mate == MateKind::External ? 2 : 1); ++i) {
        const auto g = static_cast<std::size_t>(i);
        if (!std::isfinite(gears.thicknessAllowance[g]))
            throw AppError(std::string(kGearName[i]) + "の歯厚の許容差が数ではありません");
        GearSpec spec;
        spec.module = m;
        spec.teeth = gears.teeth[g];
        spec.shift = gears.shift[g];
        spec.pressureAngleDegrees = gears.pressureAngle;
        spec.cutter.tipRadius = DefaultToolTipRadius(m);
        spec.thicknessAllowance = gears.thicknessAllowance[g];
        spec.tipShortening = gears.tipShortening;
        GearProfile profile;
        try {
            profile = BuildGearProfile(spec, in.tolerance);
        } catch (const AppError& e) {
            throw AppError(std::string(kGearName[i]) + "：" + e.what());
        }
        halfBase[g] = GearModel(spec).HalfBaseAngle();
        m_body[g] = ToothedBody(MeshBodyKind::Gear, profile, spec.teeth);
        m_body[g].id = i == 0 ? "GEAR1" : "GEAR2";
        AddToothCells(m_body[g], profile, spec.teeth, 0.0);
    }

    MeshBody& g1 = m_body[0];
    MeshBody& g2 = m_body[1];
    const double rb1 = g1.baseRadius;
    const double r1 = g1.pitchRadius;
    if (!std::isfinite(in.centerDistanceAllowance))
        throw AppError("中心距離の許容差が数ではありません");
    m_a = in.centerDistance + in.centerDistanceAllowance;
    g1.centre = {0.0, 0.0};
    g1.phase = 0.0;
    g1.ratio = 1.0;
    const double basePitch = 2.0 * std::numbers::pi * rb1 / g1.teeth;

    if (mate == MateKind::Internal) {
        // The ring round gear 1, its centre on the -x axis so that the teeth
        // mesh on the +x side; it turns the same way, by z1/z2.
        const GearSpec ring = GearOf(gears, 1);
        GearProfile profile;
        double spaceHalfBase = 0.0;
        try {
            const GearModel model(ring);
            profile = ProfileOfModel(model, in.tolerance);
            spaceHalfBase = model.HalfBaseAngle();
        } catch (const AppError& e) {
            throw AppError(std::string(kGearName[1]) + "：" + e.what());
        }
        g2 = ToothedBody(MeshBodyKind::Ring, profile, ring.teeth);
        g2.id = "GEAR2";
        g2.rimRadius = profile.rootDiameter / 2.0 + 3.0 * m;
        // Each cell reaches out along its ends' radii far enough that the
        // chord between them stays m beyond the root.
        g2.cellsReach = g2.rootRadius + m;
        AddToothCells(g2, profile, ring.teeth, g2.cellsReach / std::cos(std::numbers::pi / ring.teeth));
        const double rb2 = g2.baseRadius;
        if (!(std::isfinite(m_a) && m_a > rb2 - rb1))
            throw AppError("中心距離が小さすぎます（内歯車と歯車１の基礎円半径の差より大きくしてください）");
        if (!(m_a < g2.tipRadius))
            throw AppError("中心距離が大きすぎます（歯車１が内歯車の外に出ます）");
        m_alphaW = std::acos((rb2 - rb1) / m_a);
        const double lineLength = m_a * std::sin(m_alphaW);   // from T2 to T1
        g2.centre = {-m_a, 0.0};
        g2.ratio = rb1 / rb2;
        // Driving flanks in contact: gear 1's leading flank is met at
        // rb1 (halfBase1 + theta + alphaW) beyond T1, the ring's space flank
        // at that plus the line's length beyond T2; a space of the ring is
        // centred half a pitch from its tooth 0.
        g2.phase = (rb1 * (halfBase[0] + m_alphaW) + lineLength) / rb2 - spaceHalfBase - m_alphaW -
                   std::numbers::pi / ring.teeth;
        g1.workingPitchRadius = m_a * rb1 / (rb2 - rb1);
        g2.workingPitchRadius = m_a * rb2 / (rb2 - rb1);
        m_backlash = std::remainder(2.0 * rb2 * (spaceHalfBase + m_alphaW) - 2.0 * rb1 * (halfBase[0] + m_alphaW) -
                                        2.0 * lineLength,
                                    basePitch);

        const OutlinePoint along{std::sin(m_alphaW), std::cos(m_alphaW)};
        m_line.tangent1 = {rb1 * std::cos(m_alphaW), -rb1 * std::sin(m_alphaW)};
        m_line.tangent2 = Add(m_line.tangent1, Scale(-lineLength, along));
        m_line.pitchPoint = {g1.workingPitchRadius, 0.0};
        // Contact starts where the ring's tip circle crosses the line, but
        // not before T1 (a ring tip inside its base circle never crosses it).
        const double ringTip = g2.tipRadius > rb2 ? std::sqrt(g2.tipRadius * g2.tipRadius - rb2 * rb2) : 0.0;
        const double startAt = ringTip - lineLength;
        const double endAt = std::sqrt(g1.tipRadius * g1.tipRadius - rb1 * rb1);
        m_line.start = Add(m_line.tangent1, Scale(std::max(0.0, startAt), along));
        m_line.end = Add(m_line.tangent1, Scale(endAt, along));
        m_line.startBeyondTangent = startAt < 0.0;
        m_line.from = m_line.tangent1;
        m_line.to = m_line.tangent2;
        return;
    }

    if (mate == MateKind::Rack) {
        // The rack on the +x side, upright, its teeth towards gear 1 and its
        // reference line at d/2 + x m; it slides up as gear 1 turns
        // counter-clockwise, r1 per radian.
        const double pitch = std::numbers::pi * m;
        const auto half = static_cast<int>(std::ceil((g1.tipRadius + 2.0 * pitch) / pitch));
        RackProfile rack;
        try {
            rack = BuildRackProfile(m, gears.pressureAngle, 2.0 * half * pitch, in.tolerance);
        } catch (const AppError& e) {
            throw AppError(std::string("ラック：") + e.what());
        }
        g2 = MeshBody{};
        g2.kind = MeshBodyKind::Rack;
        g2.id = "RACK";
        // Its own frame: the reference line on x = 0, a space centred on y = 0.
        for (const OutlinePoint& p : rack.points)
            g2.outline.push_back({-p.y, p.x - half * pitch});
        g2.cells.push_back(g2.outline);
        g2.cellAnchors.push_back({0.0, 0.0});
        double reach = 0.0;
        for (const OutlinePoint& p : g2.outline)
            reach = std::max(reach, std::hypot(p.x, p.y));
        g2.cellReach.push_back(reach);
        g2.rackTip = -rack.top;
        g2.rackRoot = -rack.root;
        g2.rackBack = -rack.bottom;
        g2.rackHalfLength = half * pitch;
        if (!std::isfinite(m_a) || !(m_a > rb1 * std::cos(alpha)))
            throw AppError("ラックの位置が歯車１の中心に近すぎます");
        const double xm = m_a - r1;                 // the pinion's shift in mm, with the allowance
        g2.rackWorkingPitch = -xm;
        m_alphaW = alpha;
        g2.centre = {m_a, 0.0};
        g2.travel = {0.0, r1};
        g2.period = pitch;
        g2.ratio = 0.0;
        // The space's upper flank, a line normal to the line of action,
        // touches gear 1's leading flank rb1 (halfBase1 + theta + alpha) from T1.
        g2.centre.y = (rb1 * (halfBase[0] + alpha) - m_a * std::sin(alpha)) / std::cos(alpha) - pitch / 4.0;
        g1.workingPitchRadius = r1;
        m_backlash = std::remainder(2.0 * m_a * std::sin(alpha) + pitch / 2.0 * std::cos(alpha) -
                                        2.0 * rb1 * (halfBase[0] + alpha),
                                    basePitch);

        const OutlinePoint along{std::sin(alpha), std::cos(alpha)};
        m_line.tangent1 = {rb1 * std::cos(alpha), -rb1 * std::sin(alpha)};
        m_line.hasTangent2 = false;
        m_line.pitchPoint = {r1, 0.0};
        // Where the line crosses the rack's tip line, and its root line.
        const auto atX = [&](double x) { return (x - m_line.tangent1.x) / along.x; };
        const double startAt = atX(m_a + g2.rackTip);
        const double endAt = std::sqrt(g1.tipRadius * g1.tipRadius - rb1 * rb1);
        m_line.start = Add(m_line.tangent1, Scale(std::max(0.0, startAt), along));
        m_line.end = Add(m_line.tangent1, Scale(endAt, along));
        m_line.tangent2 = Add(m_line.tangent1, Scale(atX(m_a + g2.rackRoot), along));
        m_line.startBeyondTangent = startAt < 0.0;
        m_line.from = m_line.tangent1;
        m_line.to = m_line.tangent2;
        return;
    }

    const double rb2 = g2.baseRadius;
    if (!(std::isfinite(m_a) && m_a > rb1 + rb2))
        throw AppError("中心距離が小さすぎます（両歯車の基礎円半径の和より大きくしてください）");
    m_alphaW = std::acos((rb1 + rb2) / m_a);
    const double lineLength = std::sqrt(m_a * m_a - (rb1 + rb2) * (rb1 + rb2));

    g2.centre = {m_a, 0.0};
    // Driving flanks in contact: gear 1's leading flank is met on the line of
    // action at rb1 (halfBase1 + theta + alphaW) from its tangent point, gear
    // 2's at the rest of the line's length.
    g2.phase = std::numbers::pi + (lineLength - rb1 * (halfBase[0] + m_alphaW)) / rb2 - halfBase[1] - m_alphaW;
    g2.ratio = -rb1 / rb2;
    g1.workingPitchRadius = m_a * rb1 / (rb1 + rb2);
    g2.workingPitchRadius = m_a * rb2 / (rb1 + rb2);

    m_backlash = std::remainder(2.0 * lineLength - 2.0 * rb1 * (halfBase[0] + m_alphaW) - 2.0 * rb2 * (halfBase[1] + m_alphaW),
                                basePitch);

    const OutlinePoint along{std::sin(m_alphaW), std::cos(m_alphaW)};
    m_line.tangent1 = {rb1 * std::cos(m_alphaW), -rb1 * std::sin(m_alphaW)};
    m_line.tangent2 = Add(m_line.tangent1, Scale(lineLength, along));
    m_line.pitchPoint = {g1.workingPitchRadius, 0.0};
    const double startAt = lineLength - std::sqrt(g2.tipRadius * g2.tipRadius - rb2 * rb2);
    const double endAt = std::sqrt(g1.tipRadius * g1.tipRadius - rb1 * rb1);
    m_line.start = Add(m_line.tangent1, Scale(startAt, along));
    m_line.end = Add(m_line.tangent1, Scale(endAt, along));
    m_line.startBeyondTangent = startAt < 0.0;
    m_line.endBeyondTangent = endAt > lineLength;
    m_line.from = m_line.tangent1;
    m_line.to = m_line.tangent2;
}

double GearMesh::pitchAngle() const
{
    return 360.0 / m_body[0].teeth;
}

MeshPlacement GearMesh::PlacementAt(int i, double driveDegrees) const
{
    const MeshBody& b = body(i);
    // A whole turn of gear 1 turns the mate by whole pitches: the same
    // picture. Reduced first, a large angle stays finite in radians.
    const double theta = RadiansInDouble(std::fmod(driveDegrees, 360.0));
    OutlinePoint shift = Scale(theta, b.travel);
    if (b.period > 0.0) {
        // A rack repeats every pitch: slide it back by whole pitches.
        const double along = std::hypot(b.travel.x, b.travel.y);
        const double moved = std::hypot(shift.x, shift.y) * (theta < 0.0 ? -1.0 : 1.0);
        shift = Scale(std::remainder(moved, b.period) / along, b.travel);
    }
    return {Add(b.centre, shift), b.phase + b.ratio * theta};
}

// Whether a cell of one body, placed, can reach into the other body's teeth:
// within the other's tip circle (outside a ring's), or past a rack's tip line.
bool GearMesh::MayTouch(int i, std::size_t k, const MeshPlacement& placement, const MeshPlacement& other) const
{
    const MeshBody& b = body(i);
    const MeshBody& o = body(1 - i);
    const OutlinePoint anchor = Place(placement, b.cellAnchors[k]);
    const double reach = b.cellReach[k];
    switch (o.kind) {
    case MeshBodyKind::Gear:
        return Distance(anchor, other.origin) <= o.tipRadius + reach;
    case MeshBodyKind::Ring:
        return Distance(anchor, other.origin) + reach >= o.tipRadius;
    case MeshBodyKind::Rack:
        return anchor.x + reach >= other.origin.x + o.rackTip;
    }
    return true;
}

// The cells of a body that may meet a point of the picture within `reach`:
// a gear's or a ring's by the point's angle about its centre, a rack's one cell.
void GearMesh::CellsNear(int i, const MeshPlacement& placement, OutlinePoint p, double reach,
                         std::vector<std::size_t>& out) const
{
    const MeshBody& b = body(i);
    const std::size_t n = b.cells.size();
    if (b.kind == MeshBodyKind::Rack || n < 8) {
        for (std::size_t k = 0; k < n; ++k)
            out.push_back(k);
        return;
    }
    const double step = 2.0 * std::numbers::pi / static_cast<double>(n);
    const double angle = std::atan2(p.y - placement.origin.y, p.x - placement.origin.x) - placement.angle;
    const auto nearest = static_cast<long>(std::lround(angle / step));
    const double arc = b.pitchRadius * step;   // one pitch on the reference circle
    const long width = std::min(static_cast<long>(n / 2), static_cast<long>(std::ceil((reach + m_largestReach[static_cast<std::size_t>(i)]) / arc)) + 1);
    for (long k = nearest - width; k <= nearest + width; ++k)
        out.push_back(static_cast<std::size_t>(((k % static_cast<long>(n)) + static_cast<long>(n)) % static_cast<long>(n)));
}

std::vector<MeshPolygon> GearMesh::OverlapsAt(double driveDegrees) const
{
    const std::array<MeshPlacement, 2> placements{PlacementAt(0, driveDegrees), PlacementAt(1, driveDegrees)};
    const MeshBody& b0 = body(0);
    const MeshBody& b1 = body(1);
    // Gear 1's cells that can reach the mate, a few consecutive ones at a
    // time, each group clipped against the mate's cells near it: the work
    // grows with the number of teeth in mesh, not with its square.
    constexpr std::size_t kGroup = 16;
    std::vector<std::size_t> group, near;
    std::vector<char> taken(b1.cells.size(), 0);
    std::vector<MeshPolygon> overlaps;
    const auto clipGroup = [&] {
        ClipperLib::Paths subject, clip;
        near.clear();
        for (std::size_t k : group) {
            subject.push_back(ToClipper(b0.cells[k], placements[0]));
            CellsNear(1, placements[1], Place(placements[0], b0.cellAnchors[k]), b0.cellReach[k], near);
        }
        for (std::size_t k : near)
            if (!taken[k] && MayTouch(1, k, placements[1], placements[0])) {
                taken[k] = 1;
                clip.push_back(ToClipper(b1.cells[k], placements[1]));
            }
        for (std::size_t k : near)
            taken[k] = 0;
        group.clear();
        if (clip.empty())
            return;
        ClipperLib::Clipper clipper;
        clipper.AddPaths(subject, ClipperLib::ptSubject, true);
        clipper.AddPaths(clip, ClipperLib::ptClip, true);
        ClipperLib::Paths common;
        clipper.Execute(ClipperLib::ctIntersection, common, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
        KeepOverlaps(common, m_tolerance, overlaps);
    };
    for (std::size_t k = 0; k < b0.cells.size(); ++k) {
        if (!MayTouch(0, k, placements[0], placements[1]))
            continue;
        // A group holds neighbours only, so that its mate cells are few.
        if (!group.empty() && (group.size() == kGroup || k != group.back() + 1))
            clipGroup();
        group.push_back(k);
    }
    if (!group.empty())
        clipGroup();
    return overlaps;
}

MeshBounds GearMesh::Bounds() const
{
    MeshBounds bounds{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    const auto take = [&bounds](double x0, double y0, double x1, double y1) {
        bounds.minX = std::min(bounds.minX, x0);
        bounds.minY = std::min(bounds.minY, y0);
        bounds.maxX = std::max(bounds.maxX, x1);
        bounds.maxY = std::max(bounds.maxY, y1);
    };
    for (const MeshBody& b : m_body) {
        if (b.kind == MeshBodyKind::Rack) {
            // Where the rack is drawn, whatever its slide.
            const double reach = b.rackHalfLength - b.period;
            take(b.centre.x + b.rackTip, -reach, b.centre.x + b.rackBack, reach);
            continue;
        }
        const double r = b.kind == MeshBodyKind::Ring ? b.rimRadius : b.tipRadius;
        take(b.centre.x - r, b.centre.y - r, b.centre.x + r, b.centre.y + r);
    }
    return bounds;
}

MeshPicture GearMesh::PictureAt(double driveDegrees) const
{
    if (!std::isfinite(driveDegrees))
        throw AppError("かみあい図の回転角が有限の数ではありません");
    MeshPicture picture;
    const MeshBounds bounds = Bounds();
    picture.minX = bounds.minX;
    picture.minY = bounds.minY;
    picture.maxX = bounds.maxX;
    picture.maxY = bounds.maxY;
    for (int i = 0; i < 2; ++i) {
        const MeshBody& b = body(i);
        const MeshPlacement placement = PlacementAt(i, driveDegrees);
        const auto g = static_cast<std::size_t>(i);
        picture.ids[g] = b.id;
        picture.outlines[g].reserve(b.outline.size());
        for (const OutlinePoint& p : b.outline)
            picture.outlines[g].push_back(Place(placement, p));
        if (b.kind == MeshBodyKind::Rack) {
            const double y0 = bounds.minY, y1 = bounds.maxY;
            const auto line = [&](double x) { return MeshSegment{{b.centre.x + x, y0}, {b.centre.x + x, y1}}; };
            picture.pitchLines.push_back(line(0.0));
            picture.workingPitchLines.push_back(line(b.rackWorkingPitch));
            picture.tipLines.push_back(line(b.rackTip));
            continue;
        }
        if (b.kind == MeshBodyKind::Ring)
            for (const OutlinePoint& p : CirclePolygon(b.rimRadius, m_tolerance))
                picture.rims[g].push_back(Add(placement.origin, p));
        picture.baseCircles.push_back({b.centre, b.baseRadius});
        picture.pitchCircles.push_back({b.centre, b.pitchRadius});
        picture.workingPitchCircles.push_back({b.centre, b.workingPitchRadius});
        picture.tipCircles.push_back({b.centre, b.tipRadius});
    }
    picture.line = m_line;
    picture.overlaps = OverlapsAt(driveDegrees);
    return picture;
}
