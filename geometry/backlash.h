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

// The backlash of a pair found by ComputePair. Allowances whose upper value is
// below the lower one, or that are not finite, are refused with an AppError.
BacklashResult ComputeBacklash(const PairResult& pair, const BacklashInput& input);

// Allowances for both gears, shared equally, that give exactly the wanted
// smallest and largest normal backlash with the given centre-distance
// allowance. Refused (AppError) when the largest is below the smallest.
std::array<ThicknessAllowance, 2> ProposeAllowances(const PairResult& pair, double wantedMin, double wantedMax,
                                                    const ThicknessAllowance& centerDistance);
