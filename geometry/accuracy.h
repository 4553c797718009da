// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The flank tolerances of a spur gear for an accuracy class of ISO 1328-1:2013
// (the classes JIS B 1702-1 uses too): single and total cumulative pitch,
// profile form, slope and total, helix form, slope and total, in micrometres.
//
// Each tolerance is the class-5 formula scaled by sqrt(2)^(A - 5) and only then
// rounded: above 10 um to the micrometre, from 5 to 10 um to 0.5 um, below 5 um
// to 0.1 um, each half up (an exact tie the same in every class: the even
// powers of sqrt(2) are exact powers of two). The totals F_alpha and F_beta are taken from the unrounded form
// and slope values. A gear outside the range the formulas were made for gets
// its values all the same, with a finding for each quantity out of range.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr int kLowestAccuracyClass = 1;
inline constexpr int kHighestAccuracyClass = 11;

struct AccuracyInput {
    int accuracyClass = 6;                // A, 1 (finest) to 11
    double module = 1.0;                  // m, mm
    std::int32_t teeth = 18;              // z
    double referenceDiameter = 18.0;      // d = m z, mm
    std::optional<double> faceWidth;      // b, mm; without it the helix tolerances are absent
};

struct AccuracyTolerances {
    int accuracyClass = 0;
    double singlePitch = 0;               // f_pT
    double totalPitch = 0;                // F_pT
    double profileForm = 0;               // f_falpha
    double profileSlope = 0;              // f_Halpha
    double profileTotal = 0;              // F_alpha
    std::optional<double> helixForm;      // f_fbeta
    std::optional<double> helixSlope;     // f_Hbeta
    std::optional<double> helixTotal;     // F_beta
    std::vector<std::string> findings;    // quantities outside the formulas' range
};

// A tolerance in micrometres rounded as the standard rounds it.
double RoundTolerance(double micrometres);

// The tolerances of a gear. A class outside 1 to 11, a module, diameter or
// face width that is not a positive number is refused with an AppError.
AccuracyTolerances ComputeAccuracy(const AccuracyInput& input);
// The tolerances of a spur gear (or a ring) of module m and z teeth: d = m z.
inline AccuracyTolerances ComputeSpurAccuracy(int accuracyClass, double module, std::int32_t teeth,
                                              std::optional<double> faceWidth)
{
    return ComputeAccuracy({accuracyClass, module, teeth, module * teeth, faceWidth});
}

struct GearSpec;
// The tolerances of a gear the rack cuts, spur or helical: the formulas take
// the normal module m_n and the reference diameter d = z m_t = z m_n / cos(beta)
// (HelixOf); a spur gear's are those of ComputeSpurAccuracy to the bit. The
// helix tolerances come from the face width b as for a spur gear.
AccuracyTolerances ComputeGearAccuracy(int accuracyClass, const GearSpec& gear, std::optional<double> faceWidth);

// "ISO 1328-1:2013 6級" style name of the class for the data table.
std::string AccuracyClassName(int accuracyClass);
