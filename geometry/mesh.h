// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Two generated gears in mesh, as a true-scale picture: both profiles
// (BuildGearProfile) placed at the working centre distance and turned so that
// the driving flanks touch; the line of action with the start and end of
// contact; and the overlap of the two outlines wherever the teeth cut into
// each other.
//
// The picture's frame: millimetres, gear 1's centre at the origin, gear 2's
// centre on the +x axis, y upwards. Gear 1 drives, turning counter-clockwise
// as the drive angle grows; gear 2 follows by the involute law. Teeth thinned
// by an allowance keep their tips and touch on the driving flanks; the play
// opens on the other flanks.
//
// Each body of the pair is an outline in its own frame, the tooth cells that
// make it up, and a placement law (where the body's frame lies for a drive
// angle): the profiles are built once, a frame only turns them.

#include "geometry/outline.h"
#include "geometry/pair.h"

#include <array>
#include <string>
#include <vector>

struct MeshInput {
    PairResult pair;                              // shifts, shortened tips and centre distance as computed
    std::array<double, 2> thicknessAllowance{};   // tooth thickness on the reference circle, mm; negative = thinner
    double centerDistanceAllowance = 0.0;         // mm added to the pair's centre distance
    double tolerance = 0.001;                     // chord tolerance of the outlines, mm
};

using MeshPolygon = std::vector<OutlinePoint>;

// Where a body's own frame lies in the picture: a point p of the body is shown
// at origin + p turned by angle (radians, counter-clockwise).
struct MeshPlacement {
    OutlinePoint origin{};
    double angle = 0.0;
};

OutlinePoint Place(const MeshPlacement& placement, OutlinePoint p);

// One body of the pair (a gear; the mate kind decides the cells and the law).
struct MeshBody {
    std::string id;                       // the SVG group: GEAR1, GEAR2
    MeshPolygon outline;                  // own frame, closed, counter-clockwise
    std::vector<MeshPolygon> cells;       // closed pieces whose union is the body (own frame)
    std::vector<OutlinePoint> cellAnchors;   // a point of each cell's tooth, own frame
    std::vector<double> cellReach;        // the farthest tooth point of each cell from its anchor
    // The placement law: at drive angle theta (radians) the body's frame lies
    // at centre + travel theta, turned by phase + ratio theta. A gear turns
    // about its centre (travel 0); a rack would slide (ratio 0).
    OutlinePoint centre{};                // in the picture, at drive angle 0
    OutlinePoint travel{};                // mm per radian of drive
    double phase = 0.0;                   // angle at drive angle 0, radians
    double ratio = 1.0;                   // d angle / d drive angle
    int teeth = 0;
    double baseRadius = 0.0;
    double pitchRadius = 0.0;             // reference circle
    double workingPitchRadius = 0.0;      // rolls on the mate's through the pitch point
    double tipRadius = 0.0;
    double rootRadius = 0.0;
};

struct MeshLineOfAction {
    OutlinePoint tangent1{}, tangent2{};     // where it touches the base circles of gear 1 and gear 2
    OutlinePoint start{}, end{};             // start of contact (gear 2's tip circle), end (gear 1's tip circle)
    OutlinePoint pitchPoint{};
    bool startBeyondTangent = false;      // contact would start below gear 1's base circle
    bool endBeyondTangent = false;        // contact would end below gear 2's base circle
};

struct MeshCircle {
    OutlinePoint centre{};
    double radius = 0.0;
};

// Everything drawn for one drive angle, in the picture's frame.
struct MeshPicture {
    std::array<std::string, 2> ids;
    std::array<MeshPolygon, 2> outlines;
    std::vector<MeshCircle> baseCircles, pitchCircles, workingPitchCircles, tipCircles;
    MeshLineOfAction line;
    std::vector<MeshPolygon> overlaps;
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;   // bounds of both tip circles
};

class GearMesh {
public:
    // Builds both profiles; refuses, with an AppError naming the gear, what
    // BuildGearProfile refuses, and a centre distance not above the sum of the
    // base radii.
    explicit GearMesh(const MeshInput& input);

    const MeshBody& body(int i) const { return m_body[static_cast<std::size_t>(i)]; }
    const MeshLineOfAction& lineOfAction() const { return m_line; }
    double centerDistance() const { return m_a; }
    double workingPressureAngle() const { return m_alphaW; }   // radians, at the actual centre distance
    double pitchAngle() const;                                // one pitch of gear 1, degrees
    // The play between the flanks that do not drive, along their common
    // normal, mm; negative when the teeth are too thick to turn.
    double normalBacklash() const { return m_backlash; }
    double chordTolerance() const { return m_tolerance; }

    // Where each body lies for a drive angle in degrees.
    MeshPlacement PlacementAt(int body, double driveDegrees) const;
    // The pieces of the picture's frame that lie inside both outlines (larger
    // than the chord tolerance squared).
    std::vector<MeshPolygon> OverlapsAt(double driveDegrees) const;
    MeshPicture PictureAt(double driveDegrees) const;

private:
    std::array<MeshBody, 2> m_body;
    MeshLineOfAction m_line;
    double m_a = 0.0, m_alphaW = 0.0, m_backlash = 0.0, m_tolerance = 0.0;
    double m_zoneRadius = 0.0;            // around the pitch point, holds both tip circles' common part
};
