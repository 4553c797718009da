// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/mesh.h"

#include "geardata/apperror.h"
#include "geardata/gearrecord.h"
#include "geometry/gearmodel.h"
#include "geometry/profile.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPiDouble = std::numbers::pi;
constexpr double kClipScale = 1e6;   // integer units of the polygon clipper per millimetre

const char* const kGearName[2] = {"歯車１", "歯車２"};

OutlinePoint Add(OutlinePoint a, OutlinePoint b) { return {a.x + b.x, a.y + b.y}; }
OutlinePoint Scale(OutlinePoint a, double s) { return {a.x * s, a.y * s}; }
double Distance(OutlinePoint a, OutlinePoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

int PressureAngleIndexOf(double degrees)
{
    for (std::size_t i = 0; i < PressureAngleTable.size(); ++i)
        if (PressureAngleTable[i] == degrees)
            return static_cast<int>(i);
    throw AppError("かみあい図の圧力角は 14.5° か 20° にしてください");
}

// An external gear: the profile, one wedge from the centre per tooth.
MeshBody ExternalGear(const GearProfile& profile, int teeth)
{
    MeshBody body;
    body.outline = profile.points;
    body.teeth = teeth;
    body.baseRadius = profile.baseDiameter / 2.0;
    body.pitchRadius = profile.pitchDiameter / 2.0;
    body.tipRadius = profile.tipDiameter / 2.0;
    body.rootRadius = profile.rootDiameter / 2.0;
    const auto perTooth = static_cast<std::size_t>(profile.pointsPerTooth);
    const std::size_t n = profile.points.size();
    for (int k = 0; k < teeth; ++k) {
        const std::size_t first = static_cast<std::size_t>(k) * perTooth;
        MeshPolygon cell(profile.points.begin() + static_cast<std::ptrdiff_t>(first),
                         profile.points.begin() + static_cast<std::ptrdiff_t>(first + perTooth));
        cell.push_back(profile.points[(first + perTooth) % n]);
        const double angle = 2.0 * kPiDouble * k / teeth;
        const OutlinePoint anchor{body.pitchRadius * std::cos(angle), body.pitchRadius * std::sin(angle)};
        double reach = 0.0;
        for (const OutlinePoint& p : cell)
            reach = std::max(reach, Distance(p, anchor));
        cell.push_back({0.0, 0.0});
        body.cells.push_back(std::move(cell));
        body.cellAnchors.push_back(anchor);
        body.cellReach.push_back(reach);
    }
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

}  // namespace

OutlinePoint Place(const MeshPlacement& placement, OutlinePoint p)
{
    const double c = std::cos(placement.angle), s = std::sin(placement.angle);
    return {placement.origin.x + p.x * c - p.y * s, placement.origin.y + p.x * s + p.y * c};
}

GearMesh::GearMesh(const MeshInput& in) : m_tolerance(in.tolerance)
{
    const PairInput& gears = in.pair.input;
    const int angleIndex = PressureAngleIndexOf(gears.pressureAngle);
    const double m = gears.module;

    std::array<double, 2> halfBase{};
    for (int i = 0; i < 2; ++i) {
        const auto g = static_cast<std::size_t>(i);
        if (!std::isfinite(in.thicknessAllowance[g]))
            throw AppError(std::string(kGearName[i]) + "の歯厚の許容差が数ではありません");
        // Thinner teeth: the rack set deeper by the allowance, the pair's shortened tip kept.
        ProfileInput p;
        p.teeth = gears.teeth[g];
        p.module = m;
        p.shift = gears.shift[g];
        p.pressureAngleIndex = angleIndex;
        p.tolerance = in.tolerance;
        p.tipRadius = DefaultToolTipRadius(m);
        p.thicknessAllowance = in.thicknessAllowance[g];
        p.tipShortening = in.pair.tipShortening;
        GearProfile profile;
        try {
            profile = BuildGearProfile(p);
        } catch (const AppError& e) {
            throw AppError(std::string(kGearName[i]) + "：" + e.what());
        }
        GearSpec spec;
        spec.module = m;
        spec.teeth = p.teeth;
        spec.shift = p.shift;
        spec.pressureAngleDegrees = gears.pressureAngle;
        spec.cutter.tipRadius = p.tipRadius;
        spec.thicknessAllowance = p.thicknessAllowance;
        spec.tipShortening = p.tipShortening;
        halfBase[g] = GearModel(spec).HalfBaseAngle();
        m_body[g] = ExternalGear(profile, p.teeth);
        m_body[g].id = i == 0 ? "GEAR1" : "GEAR2";
    }

    MeshBody& g1 = m_body[0];
    MeshBody& g2 = m_body[1];
    const double rb1 = g1.baseRadius, rb2 = g2.baseRadius;
    m_a = in.pair.centerDistance + in.centerDistanceAllowance;
    if (!(std::isfinite(m_a) && m_a > rb1 + rb2))
        throw AppError("中心距離が小さすぎます（両歯車の基礎円半径の和より大きくしてください）");
    m_alphaW = std::acos((rb1 + rb2) / m_a);
    const double lineLength = std::sqrt(m_a * m_a - (rb1 + rb2) * (rb1 + rb2));

    g1.centre = {0.0, 0.0};
    g1.phase = 0.0;
    g1.ratio = 1.0;
    g2.centre = {m_a, 0.0};
    // Driving flanks in contact: gear 1's leading flank is met on the line of
    // action at rb1 (halfBase1 + theta + alphaW) from its tangent point, gear
    // 2's at the rest of the line's length.
    g2.phase = kPiDouble + (lineLength - rb1 * (halfBase[0] + m_alphaW)) / rb2 - halfBase[1] - m_alphaW;
    g2.ratio = -rb1 / rb2;
    g1.workingPitchRadius = m_a * rb1 / (rb1 + rb2);
    g2.workingPitchRadius = m_a * rb2 / (rb1 + rb2);

    const double basePitch = 2.0 * kPiDouble * rb1 / g1.teeth;
    m_backlash = std::remainder(2.0 * lineLength - 2.0 * rb1 * (halfBase[0] + m_alphaW) - 2.0 * rb2 * (halfBase[1] + m_alphaW),
                                basePitch);

    const OutlinePoint along{std::sin(m_alphaW), std::cos(m_alphaW)};
    m_line.tangent1 = {rb1 * std::cos(m_alphaW), -rb1 * std::sin(m_alphaW)};
    m_line.tangent2 = Add(m_line.tangent1, Scale(along, lineLength));
    m_line.pitchPoint = {g1.workingPitchRadius, 0.0};
    const double startAt = lineLength - std::sqrt(g2.tipRadius * g2.tipRadius - rb2 * rb2);
    const double endAt = std::sqrt(g1.tipRadius * g1.tipRadius - rb1 * rb1);
    m_line.start = Add(m_line.tangent1, Scale(along, startAt));
    m_line.end = Add(m_line.tangent1, Scale(along, endAt));
    m_line.startBeyondTangent = startAt < 0.0;
    m_line.endBeyondTangent = endAt > lineLength;

    // The common part of the two tip circles, seen from the pitch point.
    const double ra1 = g1.tipRadius, ra2 = g2.tipRadius;
    const double d1 = (m_a * m_a + ra1 * ra1 - ra2 * ra2) / (2.0 * m_a);
    const double h = std::sqrt(std::max(0.0, ra1 * ra1 - d1 * d1));
    m_zoneRadius = std::max({Distance({d1, h}, m_line.pitchPoint), ra1 - g1.workingPitchRadius,
                             ra2 - g2.workingPitchRadius});
}

double GearMesh::pitchAngle() const
{
    return 360.0 / m_body[0].teeth;
}

MeshPlacement GearMesh::PlacementAt(int i, double driveDegrees) const
{
    const MeshBody& b = body(i);
    const double theta = driveDegrees * kPiDouble / 180.0;
    return {Add(b.centre, Scale(b.travel, theta)), b.phase + b.ratio * theta};
}

std::vector<MeshPolygon> GearMesh::OverlapsAt(double driveDegrees) const
{
    ClipperLib::Clipper clipper;
    for (int i = 0; i < 2; ++i) {
        const MeshBody& b = body(i);
        const MeshPlacement placement = PlacementAt(i, driveDegrees);
        ClipperLib::Paths near;
        for (std::size_t k = 0; k < b.cells.size(); ++k)
            if (Distance(Place(placement, b.cellAnchors[k]), m_line.pitchPoint) <= m_zoneRadius + b.cellReach[k])
                near.push_back(ToClipper(b.cells[k], placement));
        clipper.AddPaths(near, i == 0 ? ClipperLib::ptSubject : ClipperLib::ptClip, true);
    }
    ClipperLib::Paths common;
    clipper.Execute(ClipperLib::ctIntersection, common, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

    std::vector<MeshPolygon> overlaps;
    const double smallest = m_tolerance * m_tolerance * kClipScale * kClipScale;
    for (const ClipperLib::Path& path : common) {
        if (std::fabs(ClipperLib::Area(path)) <= smallest)
            continue;
        MeshPolygon polygon;
        polygon.reserve(path.size());
        for (const ClipperLib::IntPoint& p : path)
            polygon.push_back({static_cast<double>(p.X) / kClipScale, static_cast<double>(p.Y) / kClipScale});
        overlaps.push_back(std::move(polygon));
    }
    return overlaps;
}

MeshPicture GearMesh::PictureAt(double driveDegrees) const
{
    MeshPicture picture;
    picture.minX = picture.minY = HUGE_VAL;
    picture.maxX = picture.maxY = -HUGE_VAL;
    for (int i = 0; i < 2; ++i) {
        const MeshBody& b = body(i);
        const MeshPlacement placement = PlacementAt(i, driveDegrees);
        const auto g = static_cast<std::size_t>(i);
        picture.ids[g] = b.id;
        picture.outlines[g].reserve(b.outline.size());
        for (const OutlinePoint& p : b.outline)
            picture.outlines[g].push_back(Place(placement, p));
        picture.baseCircles.push_back({b.centre, b.baseRadius});
        picture.pitchCircles.push_back({b.centre, b.pitchRadius});
        picture.workingPitchCircles.push_back({b.centre, b.workingPitchRadius});
        picture.tipCircles.push_back({b.centre, b.tipRadius});
        picture.minX = std::min(picture.minX, b.centre.x - b.tipRadius);
        picture.maxX = std::max(picture.maxX, b.centre.x + b.tipRadius);
        picture.minY = std::min(picture.minY, b.centre.y - b.tipRadius);
        picture.maxY = std::max(picture.maxY, b.centre.y + b.tipRadius);
    }
    picture.line = m_line;
    picture.overlaps = OverlapsAt(driveDegrees);
    return picture;
}
