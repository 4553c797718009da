// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/accuracy.h"

#include "base/apperror.h"
#include "geometry/gearmodel.h"

#include <charconv>
#include <cmath>

namespace {

bool Positive(double v) { return std::isfinite(v) && v > 0; }

// Ten significant digits, an exponent for the very large or small: a face
// width of 1e308 is "1e+308" in the finding, not 309 digits.
std::string Number(double v)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 10);
    return end.ec == std::errc() ? std::string(text, end.ptr) : std::string("?");
}

void CheckRange(std::vector<std::string>& findings, const char* name, double value, double low, double high)
{
    if (value < low || value > high)
        findings.push_back(std::string(name) + " " + Number(value) + " は精度等級の式の適用範囲（" + Number(low) +
                           "～" + Number(high) + "）の外です（外挿した値）");
}

}  // namespace

double RoundTolerance(double um)
{
    if (!std::isfinite(um))
        return um;
    // Half up, in every class alike: a value that is a tie in exact arithmetic
    // (13.5 um) may lie a few units of the last place either side of it here.
    constexpr double kTie = 1e-9;   // of a rounding step; the values' own error is below 1e-11
    const double steps = um > 10 ? 1 : um >= 5 ? 2 : 10;   // per micrometre
    const double q = um * steps, whole = std::floor(q);
    return (q - whole >= 0.5 - kTie ? whole + 1 : whole) / steps;
}

AccuracyTolerances ComputeAccuracy(const AccuracyInput& in)
{
    if (in.accuracyClass < kLowestAccuracyClass || in.accuracyClass > kHighestAccuracyClass)
        throw AppError("精度等級 " + std::to_string(in.accuracyClass) + " は 1 から 11 の間にありません");
    if (!Positive(in.module))
        throw AppError("モジュールが正の数ではありません");
    if (!Positive(in.referenceDiameter))
        throw AppError("基準円直径が正の数ではありません");
    if (in.faceWidth && !Positive(*in.faceWidth))
        throw AppError("歯幅が正の数ではありません");

    const double m = in.module, d = in.referenceDiameter;
    // sqrt(2)^(A - 5): the even part as an exact power of two, sqrt(2) once for an odd rest.
    const int powerOfTwo = (in.accuracyClass - 5 + 16) / 2 - 8;   // floor((A - 5) / 2)
    const auto scaled = [&](double classFive) {
        const double even = std::ldexp(classFive, powerOfTwo);
        return (in.accuracyClass - 5) % 2 != 0 ? even * std::sqrt(2.0) : even;
    };
    AccuracyTolerances t;
    t.accuracyClass = in.accuracyClass;
    t.singlePitch = RoundTolerance(scaled(0.001 * d + 0.4 * m + 5));
    t.totalPitch = RoundTolerance(scaled(0.002 * d + 0.55 * std::sqrt(d) + 0.7 * m + 12));
    const double form = scaled(0.55 * m + 5);
    const double slope = scaled(0.4 * m + 0.001 * d + 4);
    t.profileForm = RoundTolerance(form);
    t.profileSlope = RoundTolerance(slope);
    t.profileTotal = RoundTolerance(std::hypot(form, slope));
    if (in.faceWidth) {
        const double b = *in.faceWidth;
        const double hform = scaled(0.07 * std::sqrt(d) + 0.45 * std::sqrt(b) + 4);
        const double hslope = scaled(0.05 * std::sqrt(d) + 0.35 * std::sqrt(b) + 4);
        t.helixForm = RoundTolerance(hform);
        t.helixSlope = RoundTolerance(hslope);
        t.helixTotal = RoundTolerance(std::hypot(hform, hslope));
    }
    CheckRange(t.findings, "歯数 z", in.teeth, 5, 1000);
    CheckRange(t.findings, "基準円直径 d", d, 5, 15000);
    CheckRange(t.findings, "モジュール m", m, 0.5, 70);
    if (in.faceWidth)
        CheckRange(t.findings, "歯幅 b", *in.faceWidth, 4, 1200);
    return t;
}

AccuracyTolerances ComputeGearAccuracy(int accuracyClass, const GearSpec& gear, std::optional<double> faceWidth)
{
    const GearSpec normal = NormalSystemOf(gear);
    const HelixSizes h = HelixOf(normal);
    if (!h.helical())
        return ComputeSpurAccuracy(accuracyClass, normal.module, normal.teeth, faceWidth);
    const double d = static_cast<double>(static_cast<long double>(normal.teeth) * h.module);
    return ComputeAccuracy({accuracyClass, normal.module, normal.teeth, d, faceWidth});
}

std::string AccuracyClassName(int accuracyClass)
{
    return "ISO 1328-1:2013（JIS B 1702-1）" + std::to_string(accuracyClass) + "級";
}
