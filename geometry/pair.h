// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Two external spur gears of the same rack in mesh without backlash: the
// working pressure angle, the centre distance, the tip shortening that keeps
// the standard tip clearance, the contact ratio, and the inverse (the shift sum
// for a given centre distance). Every finding a machinist must see comes back
// as a message; a pair that cannot mesh at all is refused with an AppError.
//
// Tooth proportions are those of ComputeGearDimensions: addendum m(1 + x),
// root diameter 4.5 m below the unshortened tip diameter (clearance 0.25 m).
// Angles are computed with the gear's own pressure angle and the exact pi.
//
// Two helical gears mesh in the transverse section: inv(alpha_wt) = inv(alpha_t)
// + 2 tan(alpha_n) (x1 + x2) / (z1 + z2), a = (z1 + z2) m_t cos(alpha_t) /
// (2 cos(alpha_wt)), y = (a - a0) / m_n and the tip shortening k in m_n, the
// transverse contact ratio over the transverse base pitch pi m_t cos(alpha_t).

#include "geometry/gearmodel.h"
#include "geometry/mate.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

// A pair: gear 1 (external) and its mate, another external gear, a ring
// round it or a rack (gear 2's teeth and shift are not read for a rack).
struct PairInput {
    MateKind mate = MateKind::External;
    double module = 1.0;
    double pressureAngle = 20.0;          // degrees, from PressureAngleTable
    std::array<std::int32_t, 2> teeth{18, 20};
    std::array<double, 2> shift{0.0, 0.0};
    // Tooth thickness allowance of each gear on the reference circle, mm;
    // negative = thinner (external gears only).
    std::array<double, 2> thicknessAllowance{};
    double tipShortening = 0.0;           // k of two external gears
    // Two external helical gears: the helix angle (0 <= beta < 90 degrees; 0:
    // spur gears), each gear's hand (external gears in mesh have opposite
    // hands) and the face width b for the overlap ratio (NaN: not known).
    // module, pressureAngle, shift and allowances are then the normal ones.
    double helixAngle = 0.0;
    std::array<Hand, 2> hands{Hand::Right, Hand::Left};
    double faceWidth = std::numeric_limits<double>::quiet_NaN();
};

// Gear i (0 or 1) of a pair as the gear model holds it: an external gear cut
// by the standard rack (its allowance, and the tip shortening of two external
// gears), or the ring with its default pinion-type cutter. A rack mate is no
// gear: gear 1 of it is refused (AppError).
GearSpec GearOf(const PairInput& pair, int i);

// What every mate refuses alike (AppError): a module that is not a positive
// number, a pressure angle outside (0, 90) degrees, gear 1 without teeth; a
// helix angle outside [0, 90) degrees, or one given to a ring or a rack.
void CheckPairBasics(const PairInput& pair);

struct PairResult {
    PairInput input;                      // the shifts actually used (the proposed split in the inverse)
    bool fromCenterDistance = false;      // true when the centre distance was given
    double shiftSum = 0.0;                // x1 + x2
    double workingPressureAngle = 0.0;    // alpha_w, degrees
    double standardCenterDistance = 0.0;  // a0 = m (z1 + z2) / 2
    double centerDistance = 0.0;          // a = a0 cos alpha / cos alpha_w
    double centerDistanceModification = 0.0;   // y = (a - a0) / m
    double tipShortening = 0.0;           // k = x1 + x2 - y
    std::array<double, 2> tipDiameter{};  // after the shortening
    std::array<double, 2> rootDiameter{};
    std::array<double, 2> baseDiameter{};
    std::array<double, 2> tipThickness{}; // arc thickness on the shortened tip circle
    double clearanceUnshortened = 0.0;    // tip clearance with the full addendum
    double clearance = 0.0;               // tip clearance after the shortening
    double lineOfAction = 0.0;            // a sin alpha_w, between the two tangent points
    double contactRatio = 0.0;            // transverse contact ratio epsilon_alpha
    // Helical gears: the working transverse pressure angle is workingPressureAngle
    // (alpha_wt); the overlap ratio epsilon_beta = b sin(beta) / (pi m_n) and the
    // total contact ratio epsilon_gamma = epsilon_alpha + epsilon_beta (NaN
    // without a face width; 0 and epsilon_alpha for spur gears with one).
    double overlapRatio = std::numeric_limits<double>::quiet_NaN();
    double totalContactRatio = std::numeric_limits<double>::quiet_NaN();
    // The specific sliding of each gear at its lowest contact, where the
    // mate's tip circle crosses the line of action: zeta_i = 1 - (z_i / z_j)
    // (rho_j / rho_i), rho the distances of the contact from the tangent points
    // T_i and T_j. NaN for a gear whose mate's tip reaches its tangent point or
    // beyond (no contact below it to slide on).
    std::array<double, 2> specificSliding{};
    std::vector<std::string> findings;    // warnings, in a fixed order; empty when none
};

// The contact ratio below which a pair draws a warning.
inline constexpr double kMinimumContactRatio = 1.2;
// The finding of a contact that would start before gear 1's tangent point T1
// (a ring's or a rack's tip reaching past it): the contact ratio counts from T1.
inline constexpr const char* kContactFromTangentText =
    "警告：相手の歯先が歯車１の作用線の接点 T1 を越える、かみあい率は T1 からで計算";

// The pair for given shifts x1, x2.
PairResult ComputePair(const PairInput& input);

// The shift sum x1 + x2 that makes the pair mesh without backlash at centre
// distance a (input.shift is not read).
double ShiftSumForCenterDistance(const PairInput& input, double centerDistance);

// The proposed split of a shift sum: in inverse proportion to the tooth counts
// for a positive sum (the smaller gear, which undercuts first, takes the larger
// share), in proportion to them for a negative sum (the smaller gear gives up
// less); equal counts split evenly.
std::array<double, 2> SplitShiftSum(double sum, std::int32_t z1, std::int32_t z2);

// How the shift sum a centre distance asks for is shared out.
enum class ShiftSplit {
    Proportional,   // SplitShiftSum: by the tooth counts
    Undercut,       // gear 1 the least shift its rack cuts without undercut, gear 2 the rest
    Sliding,        // both gears the same specific sliding at their lowest contact
};

// The shifts x1, x2 of a given sum under a split rule (the sum from
// ShiftSumForCenterDistance; input.shift is not read). Undercut takes gear 1's
// x_min from its gear model (GearModel(GearOf(input, 0)).MinShift()), with
// its allowance. Sliding solves for x1 by bisection to adjacent doubles;
// refused (AppError) when no share of the sum keeps both tips outside their
// base circles and short of the mate's tangent point.
std::array<double, 2> SplitShiftSum(const PairInput& input, double sum, ShiftSplit split);

// The pair for a given centre distance: the shift sum, split by the rule.
PairResult ComputePairForCenterDistance(const PairInput& input, double centerDistance,
                                        ShiftSplit split = ShiftSplit::Proportional);

// The pair for a given centre distance with gear 1 keeping input.shift[0]:
// gear 2 takes the rest of the shift sum.
PairResult ComputePairForCenterDistanceKeepingShift1(const PairInput& input, double centerDistance);
