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

#include "geometry/mate.h"
#include "geometry/outline.h"
#include "geometry/pair.h"

#include <array>
#include <string>
#include <vector>

struct RackPairResult;

// The pair (its mate, shifts, allowances and tip shortening) and what the
// picture adds to it.
struct MeshInput {
    PairInput gears;
    double centerDistance = 0.0;                  // a; a rack: gear 1's centre to the rack's reference line
    double centerDistanceAllowance = 0.0;         // mm added to the centre distance
    double tolerance = 0.001;                     // chord tolerance of the outlines, mm
};

// The mesh of a pair as computed: shifts, shortened tips and centre distance.
MeshInput MeshInputOf(const PairResult& pair);
MeshInput MeshInputOf(const RackPairResult& pair);

using MeshPolygon = std::vector<OutlinePoint>;

// How deep a piece of overlap is: its mean thickness, twice its area over
// its perimeter (a thin sliver's width; two thirds of a lens's greatest).
double OverlapDepth(const MeshPolygon& piece);

// Where a body's own frame lies in the picture: a point p of the body is shown
// at origin + p turned by angle (radians, counter-clockwise).
struct MeshPlacement {
    OutlinePoint origin{};
    double angle = 0.0;
};

OutlinePoint Place(const MeshPlacement& placement, OutlinePoint p);

enum class MeshBodyKind { Gear, Ring, Rack };

// One body of the pair (the mate kind decides the cells and the law).
struct MeshBody {
    MeshBodyKind kind = MeshBodyKind::Gear;
    std::string id;                       // the SVG group: GEAR1, GEAR2, RACK
    MeshPolygon outline;                  // own frame, closed, counter-clockwise; a ring's toothed inside
    double rimRadius = 0.0;               // a ring's outside circle about its centre
    double cellsReach = 0.0;              // a ring's cells cover everything out to this radius
    std::vector<MeshPolygon> cells;       // closed pieces whose union is the body (own frame)
    std::vector<OutlinePoint> cellAnchors;   // a point of each cell's tooth, own frame
    std::vector<double> cellReach;        // the farthest tooth point of each cell from its anchor
    // The placement law: at drive angle theta (radians) the body's frame lies
    // at centre + travel theta, turned by phase + ratio theta. A gear turns
    // about its centre (travel 0); a rack slides (ratio 0), its travel taken
    // modulo its pitch (the rack drawn is long enough for any of it).
    OutlinePoint centre{};                // in the picture, at drive angle 0
    OutlinePoint travel{};                // mm per radian of drive
    double period = 0.0;                  // a rack's pitch, mm; 0: no wrap
    double phase = 0.0;                   // angle at drive angle 0, radians
    double ratio = 1.0;                   // d angle / d drive angle
    int teeth = 0;
    double baseRadius = 0.0;
    double pitchRadius = 0.0;             // reference circle
    double workingPitchRadius = 0.0;      // rolls on the mate's through the pitch point
    double tipRadius = 0.0;
    double rootRadius = 0.0;
    // A rack: the lines, as distances along x from its reference line (own
    // frame: the reference line is x = 0, the teeth point to -x).
    double rackTip = 0.0, rackRoot = 0.0, rackBack = 0.0, rackWorkingPitch = 0.0;
    double rackHalfLength = 0.0;          // along y
};

struct MeshLineOfAction {
    OutlinePoint tangent1{}, tangent2{};     // where it touches the base circles of gear 1 and gear 2
    bool hasTangent2 = true;                 // a rack has no base circle
    OutlinePoint from{}, to{};               // the stretch of it drawn: T1 to T2 (a rack: to its root line)
    OutlinePoint start{}, end{};             // start of contact (gear 2's tip, a ring's or rack's not before T1), end (gear 1's tip circle)
    OutlinePoint pitchPoint{};
    bool startBeyondTangent = false;      // contact would start below gear 1's base circle
    bool endBeyondTangent = false;        // contact would end below gear 2's base circle
};

struct MeshSegment {
    OutlinePoint from{}, to{};
};

struct MeshCircle {
    OutlinePoint centre{};
    double radius = 0.0;
};

// Everything drawn for one drive angle, in the picture's frame. A ring's
// body is its outline and its rim circle; a rack's circles are lines.
struct MeshPicture {
    std::array<std::string, 2> ids;
    std::array<MeshPolygon, 2> outlines;
    std::array<MeshPolygon, 2> rims;      // a ring's outside circle as a polygon; empty otherwise
    std::vector<MeshCircle> baseCircles, pitchCircles, workingPitchCircles, tipCircles;
    std::vector<MeshSegment> pitchLines, workingPitchLines, tipLines;
    MeshLineOfAction line;
    std::vector<MeshPolygon> overlaps;
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;   // bounds of both bodies
};

struct MeshBounds {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
};

class GearMesh {
public:
    // Builds both profiles; refuses, with an AppError naming the gear, what
    // the profiles refuse, and a centre distance that leaves no line of
    // action (two gears: not above the sum of the base radii; a ring: not
    // above their difference).
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
    // Both bodies (tip circles, a ring's rim, the rack drawn).
    MeshBounds Bounds() const;

private:
    std::array<MeshBody, 2> m_body;
    MeshLineOfAction m_line;
    double m_a = 0.0, m_alphaW = 0.0, m_backlash = 0.0, m_tolerance = 0.0;

    void Build(const MeshInput& input);
    bool MayTouch(int body, std::size_t cell, const MeshPlacement& placement, const MeshPlacement& other) const;
    void CellsNear(int body, const MeshPlacement& placement, OutlinePoint p, double reach,
                   std::vector<std::size_t>& out) const;
    std::array<double, 2> m_largestReach{};   // of each body's cells
};
