// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear as a part: its profile extruded by the face width, with an optional
// bore, a parallel keyway in the hub (JIS B 1301, normal type) and a hub on one
// face. The part stands on z = 0, the hub (if any) on top of the face z = b.
//
// The triangle surface is closed and consistently oriented (every edge is used once in
// each direction, normals point out of the material), for STL and 3MF. The
// exact shapes (the bore's circle, the keyway's lines, the hub's circle) are
// given too, for a CAD file built from curves.

#include "geometry/profile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// One row of the parallel key table (normal type): the shaft diameters the key
// is for, the key b x h and the keyway depths in the shaft (t1) and the hub (t2).
struct KeySize {
    double shaftOver;     // the row applies to diameters above this (the first row from it on)
    double shaftUpTo;     // ... up to and including this
    double width;         // b, also the keyway's width, mm
    double height;        // h, mm
    double shaftDepth;    // t1, mm
    double hubDepth;      // t2, mm: the groove's bottom lies d/2 + t2 from the axis
};

// The rows, from 2 x 2 (6 to 8 mm) to 100 x 50 (440 to 500 mm); the rows the
// standard puts in brackets (not for new designs) are left out.
const std::vector<KeySize>& KeyTable();
// The row of a bore, or nothing for a bore outside 6 to 500 mm.
std::optional<KeySize> KeyForBore(double boreDiameter);

struct SolidInput {
    double faceWidth = 10.0;      // b, mm
    double boreDiameter = 0.0;    // 0: none
    bool keyway = false;          // a keyway in the bore, on tooth 0's centre line (+x)
    double hubDiameter = 0.0;     // 0: no hub
    double hubLength = 0.0;       // how far the hub stands out of the face z = b
    // A helical gear's teeth: the radians the profile turns per mm of height,
    // counter-clockwise seen from above (+z) for a right hand, 2 tan(beta) / d;
    // 0 for a spur gear. The bore, the keyway and the hub do not turn.
    double twist = 0.0;
};

// The bore as the cutter and the CAD file see it.
struct HoleShape {
    double radius = 0.0;          // 0: no bore
    bool keyway = false;
    double keyHalfWidth = 0.0;    // the groove's sides are y = +-keyHalfWidth
    double keyBottom = 0.0;       // the groove's bottom is x = keyBottom
    // Where the groove's sides meet the bore: x = sqrt(radius^2 - keyHalfWidth^2).
    double SideStart() const;
    // The exact area of the bore with its groove, mm^2.
    double Area() const;
    // The largest distance of the bore's edge from the axis.
    double Reach() const;
};

// The smallest sizes of a part. Across the axis (a bore, the walls between
// bore, hub and root circle): 1/10000 of the tip diameter; along it (the face
// width, the hub's length): 1/10000 of the part's largest size, its tip
// diameter or its length. Smaller, the corners of its facets meet in the
// single-precision numbers of an STL or 3MF file and its faces fall below
// what a solid modeller keeps apart. Never below the tolerance, the deviation
// the outline is drawn with.
inline constexpr double kSmallestPartRatio = 1e-4;
struct PartSizeLimits {
    double across;
    double along;
};
PartSizeLimits SmallestPartSizes(const GearProfile& profile, const SolidInput& input, double tolerance);

// The bore of the input, refused with an AppError when it does not fit: a bore
// or hub that is negative or not a number, a keyway without a bore or for a
// bore outside the table, a bore (with its groove) that reaches the root
// circle, a hub not larger than the bore with its groove or not smaller than
// the root circle, a hub without a length, a face width that is not positive,
// a face width, hub length, bore or wall below SmallestPartSizes.
HoleShape CheckSolid(const GearProfile& profile, const SolidInput& input, double tolerance);

struct TriangleSurface {
    std::vector<std::array<double, 3>> vertices;
    std::vector<std::array<std::uint32_t, 3>> triangles;   // counter-clockwise seen from outside
};

// The closed triangle surface of the part, its bore `hole` as CheckSolid
// returned it for this profile, input and tolerance. The curved edges (bore,
// hub) are polygons whose chords stay within `tolerance` of the circle. A
// twisted part's flanks are layers of the profile, each turned by twist z,
// close enough that the edges between them stay within `tolerance` of the
// helices the tip corners follow; its top face meets the turned outline on a
// circle between the root circle and the bore or hub.
TriangleSurface BuildGearSurface(const GearProfile& profile, const SolidInput& input, const HoleShape& hole,
                                 double tolerance);

// The enclosed volume (divergence theorem), mm^3.
double SurfaceVolume(const TriangleSurface& surface);

// The volume of the part from the exact shapes: the profile's polygon area
// times b, plus the hub's circle times its length, less the bore with its
// groove through both.
double PartVolume(const GearProfile& profile, const SolidInput& input, const HoleShape& hole);

// The area inside a closed polygon (counter-clockwise positive), mm^2.
double PolygonArea(const std::vector<OutlinePoint>& points);
