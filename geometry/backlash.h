// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The backlash of a pair of gears cut with tooth-thickness allowances and
// mounted with a centre-distance allowance:
//   normal          j_bn = -(A_s1 + A_s2) cos(alpha) + 2 A_a sin(alpha_w)
//   circumferential j_t  = j_bn / cos(alpha_w)
//   radial          j_r  = j_t / (2 tan(alpha_w))
// each at its smallest (thickest teeth, shortest centre distance) and largest
// (thinnest teeth, longest centre distance), against the recommended smallest
// normal backlash of ISO/TR 10064-2 for steel gears in a steel housing,
// (2/3)(0.06 + 0.0005 a + 0.03 m) mm.
//
// A pinion in a ring meshes deeper as the centre distance grows, so there the
// centre-distance term changes sign (-2 A_a sin(alpha_w)) and the smallest
// backlash comes with the longest centre distance; A_s2 is the ring's tooth
// (a thinner ring tooth, a wider space, adds backlash as a thinner pinion
// tooth does). On a rack a is the pinion's centre to the rack's reference
// line, alpha_w is alpha and A_s2 the rack tooth's allowance on that line.
//
// Two external helical gears (helix angle beta, base helix beta_b): the
// allowances are the normal ones A_sn, alpha is alpha_n, alpha_w the working
// transverse alpha_wt, and
//   normal          j_bn = -(A_sn1 + A_sn2) cos(alpha_n) + 2 A_a sin(alpha_wt) cos(beta_b)
//   transverse      j_t  = j_bn / (cos(alpha_wt) cos(beta_b))   on the working pitch circle
//   radial          j_r  = j_t / (2 tan(alpha_wt))
// (derived in backlash.cpp); with beta 0 these are the spur gears' lines above.

#include "geometry/pair.h"
#include "geometry/thicknesslimits.h"

#include <array>
#include <string>
#include <vector>

struct BacklashInput {
    std::array<ThicknessAllowance, 2> thickness{};   // gear 1, gear 2
    ThicknessAllowance centerDistance{};              // A_a: upper and lower deviation of a, mm
};

struct BacklashRange {
    double min = 0.0;
    double max = 0.0;
};

// What a backlash target is given as: the normal j_bn or the circumferential j_t.
enum class BacklashKind { Normal, Circumferential };

struct InternalPairResult;
struct RackPairResult;

// The pair as the backlash sees it.
struct BacklashGeometry {
    MateKind mate = MateKind::External;
    double module = 1.0;
    double pressureAngle = 20.0;          // alpha, degrees
    double workingPressureAngle = 20.0;   // alpha_w, degrees
    double centerDistance = 0.0;          // a, mm (a rack: the centre to the reference line)
    double baseHelixAngle = 0.0;          // beta_b of two helical gears, degrees (0: spur gears)
};
BacklashGeometry BacklashGeometryOf(const PairResult& pair);
BacklashGeometry BacklashGeometryOf(const InternalPairResult& pair);
BacklashGeometry BacklashGeometryOf(const RackPairResult& pair);

struct BacklashResult {
    BacklashInput input;
    double centerDistance = 0.0;          // nominal a, mm
    double workingPressureAngle = 0.0;    // alpha_w, degrees
    BacklashRange normal;                 // j_bn
    BacklashRange circumferential;        // j_t
    BacklashRange radial;                 // j_r
    double recommendedMinimum = 0.0;      // j_bn,min of ISO/TR 10064-2
    std::vector<std::string> findings;    // negative or too small smallest backlash
};

// The recommended smallest normal backlash, mm, for centre distance a and module m.
double RecommendedMinimumBacklash(double centerDistance, double module);

// The backlash of a pair. Allowances whose upper value is below the lower
// one, or that are not finite, are refused with an AppError.
BacklashResult ComputeBacklash(const BacklashGeometry& pair, const BacklashInput& input);
inline BacklashResult ComputeBacklash(const PairResult& pair, const BacklashInput& input)
{
    return ComputeBacklash(BacklashGeometryOf(pair), input);
}

// Allowances for both gears, shared equally, that give exactly the wanted
// smallest and largest backlash (normal, or circumferential: j_t cos(alpha_w)
// cos(beta_b) normal) with the given centre-distance allowance. Refused (AppError) when
// the largest is below the smallest or the centre-distance allowance alone
// spreads the backlash wider than wanted.
std::array<ThicknessAllowance, 2> ProposeAllowances(const BacklashGeometry& pair, double wantedMin, double wantedMax,
                                                    const ThicknessAllowance& centerDistance,
                                                    BacklashKind kind = BacklashKind::Normal);
inline std::array<ThicknessAllowance, 2> ProposeAllowances(const PairResult& pair, double wantedMin, double wantedMax,
                                                           const ThicknessAllowance& centerDistance)
{
    return ProposeAllowances(BacklashGeometryOf(pair), wantedMin, wantedMax, centerDistance);
}
