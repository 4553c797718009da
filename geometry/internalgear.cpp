// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/internalgear.h"

#include "base/apperror.h"
#include "geometry/gearmodel.h"
#include "geometry/gearmath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {

using L = long double;
constexpr std::int32_t kSmallestDefaultCutter = 12;
constexpr std::int32_t kSmallestReducedCutter = 10;

double DegreesToRadians(double degrees) { return static_cast<double>(Radians(degrees)); }

void CheckRing(const InternalGearInput& in)
{
    if (!(std::isfinite(in.module) && in.module > 0.0 && in.module <= 1000.0))
        throw AppError("モジュールは 0 より大きく 1000 以下にしてください");
    if (in.teeth < 3 || in.teeth > 10000)
        throw AppError("内歯車の歯数は 3 以上 10000 以下にしてください");
    if (!std::isfinite(in.shift))
        throw AppError("転位係数が数ではありません");
    if (!(in.pressureAngleDegrees > 0.0 && in.pressureAngleDegrees < 90.0))
        throw AppError("圧力角は 0° より大きく 90° より小さくなければなりません");
    if (!std::isfinite(in.cutter.shift) || std::isnan(in.cutter.tipRadius))
        throw AppError("工具の転位係数と歯先丸み半径は数にしてください");
}

// The working pressure angle of an internal mesh (pinion or cutter z1, ring z2).
L InternalWorkingAngle(L alpha, L z1, L x1, L z2, L x2)
{
    const L invW = InternalWorkingInvolute(alpha, x2 - x1, z2 - z1);
    if (!(invW > 0.0L) || !std::isfinite(invW))
        throw AppError(CuttingMeshMessage(static_cast<std::int32_t>(z1)));
    return InverseInvolute(invW);
}

double CutterTipDiameter(double m, std::int32_t z0, double x0)
{
    return m * (z0 + 2.0 * (kCutterAddendum + x0));
}

double RingTipDiameter(double m, std::int32_t z2, double x2)
{
    return m * z2 - 2.0 * m * (1.0 - x2);
}

bool CutsWithoutTrimming(double m, std::int32_t z0, double x0, std::int32_t z2, double x2, double alpha)
{
    if (z2 <= z0)
        return false;
    const L alphaC = InternalWorkingAngle(alpha, z0, x0, z2, x2);
    const auto margin = TrimmingMargin(m, z0, CutterTipDiameter(m, z0, x0), z2, RingTipDiameter(m, z2, x2),
                                       static_cast<double>(Degrees(alpha)), static_cast<double>(Degrees(alphaC)));
    return margin && *margin >= 0.0;
}

}  // namespace

std::optional<double> TrimmingMargin(double module, std::int32_t z0, double da0, std::int32_t z2, double da2,
                                     double pressureAngleDegrees, double workingPressureAngleDegrees)
{
    const L alpha = Radians(static_cast<L>(pressureAngleDegrees));
    const L alphaW = Radians(static_cast<L>(workingPressureAngleDegrees));
    const L rb1 = L(module) * z0 * std::cos(alpha) / 2.0L, rb2 = L(module) * z2 * std::cos(alpha) / 2.0L;
    const L ra1 = da0 / 2.0L, ra2 = da2 / 2.0L;
    if (!(ra1 > rb1) || !(ra2 > rb2) || !(z2 > z0))
        return std::nullopt;
    const L cos1 = rb1 / ra1, cos2 = rb2 / ra2;
    const L ratio = L(z0) / z2;
    const L q1 = (1.0L - (cos1 / cos2) * (cos1 / cos2)) / (1.0L - ratio * ratio);
    const L q2 = ((cos2 / cos1) * (cos2 / cos1) - 1.0L) / (1.0L / (ratio * ratio) - 1.0L);
    // Outside these the tips never pass each other as the pinion goes in: trimmed.
    if (!(q1 >= 0.0L && q1 <= 1.0L && q2 >= 0.0L && q2 <= 1.0L))
        return std::nullopt;
    const L theta1 = std::asin(std::sqrt(q1)), theta2 = std::asin(std::sqrt(q2));
    const L invW = Involute(alphaW);
    return static_cast<double>(theta1 + Involute(std::acos(cos1)) - invW -
                               (theta2 + Involute(std::acos(cos2)) - invW) / ratio);
}

std::int32_t SmallestRingWithoutTrimming(std::int32_t cutterTeeth, double cutterShift, double ringShift,
                                         double pressureAngleDegrees)
{
    const double alpha = DegreesToRadians(pressureAngleDegrees);
    // Below the first ring that clears, every one trims; the search stops well past any cutter.
    for (std::int32_t z2 = cutterTeeth + 1; z2 <= cutterTeeth + 1000; ++z2) {
        try {
            if (CutsWithoutTrimming(1.0, cutterTeeth, cutterShift, z2, ringShift, alpha))
                return z2;
        } catch (const AppError&) {
            // No centre distance for this difference of teeth: it cannot be cut either.
        }
    }
    return 0;
}

namespace {

// Why a cutter of z0 teeth (no shift, default rounding) does not cut the ring
// soundly; empty when it does. A ring whose tip lies inside its base circle
// is judged for trimming at its base circle, where its involute begins.
std::string CutterDefect(double module, std::int32_t z0, std::int32_t ringTeeth, double ringShift,
                         double pressureAngleDegrees)
{
    GearSpec spec;
    spec.kind = GearKind::Internal;
    spec.module = module;
    spec.teeth = ringTeeth;
    spec.shift = ringShift;
    spec.pressureAngleDegrees = pressureAngleDegrees;
    spec.cutter.kind = CutterKind::Pinion;
    spec.cutter.teeth = z0;
    const double alpha = DegreesToRadians(pressureAngleDegrees);
    const double db = module * ringTeeth * std::cos(alpha);
    const double da = std::max(RingTipDiameter(module, ringTeeth, ringShift), db * (1.0 + 1e-12));
    const L invC = InternalWorkingInvolute(static_cast<L>(alpha), ringShift, ringTeeth - z0);
    if (!(invC > 0.0L))
        return "切削中心距離がない（内歯車の転位係数が小さすぎる）";
    try {
        const L alphaC = InternalWorkingAngle(alpha, z0, 0.0, ringTeeth, ringShift);
        const auto margin = TrimmingMargin(module, z0, CutterTipDiameter(module, z0, 0.0), ringTeeth, da,
                                           pressureAngleDegrees, static_cast<double>(Degrees(alphaC)));
        if (!(margin && *margin >= 0.0))
            return "内歯車の歯先が削られる（トリミング干渉）";
        const GearModel model(spec);
        if (!model.Has(ToothFinding::TipInsideBase) && !(model.InvoluteStartDiameter() > model.TipDiameter()))
            return "工具の歯先丸みが内歯車の歯先まで届く";
    } catch (const AppError& e) {
        return e.what();
    }
    return {};
}

}  // namespace

std::string CuttingMeshMessage(std::int32_t cutterTeeth)
{
    return "内歯車の転位係数が小さすぎて、歯数 " + std::to_string(cutterTeeth) +
           " のピニオンカッタとかみあう切削中心距離がありません（歯数の少ない工具にするか、転位係数を大きくしてください）";
}

std::int32_t DefaultCutterTeeth(double module, std::int32_t ringTeeth, double ringShift, double pressureAngleDegrees)
{
    const auto common = static_cast<std::int32_t>(std::lround(std::min(kCommonCutterDiameter / module, 1e6)));
    const std::int32_t z0 = std::max(kSmallestDefaultCutter, common);
    const std::int32_t largest = ringTeeth - 1;
    // The common cutter, or the largest below it, then smaller ones, then
    // larger ones up to a tooth less than the ring: the first that cuts it.
    std::vector<std::int32_t> candidates;
    for (std::int32_t z = std::min(z0, largest); z >= kSmallestReducedCutter; --z)
        candidates.push_back(z);
    for (std::int32_t z = z0 + 1; z <= largest; ++z)
        candidates.push_back(z);
    std::string first, last;
    for (const std::int32_t z : candidates) {
        const std::string defect = CutterDefect(module, z, ringTeeth, ringShift, pressureAngleDegrees);
        if (defect.empty())
            return z;
        const std::string why = "歯数 " + std::to_string(z) + " では" + defect;
        (first.empty() ? first : last) = why;
    }
    if (candidates.empty())
        throw AppError("内歯車の歯数が少なすぎて、それより歯数の少ないピニオンカッタ（" +
                       std::to_string(kSmallestReducedCutter) + " 枚以上）がありません");
    // The smallest cutter tried is the last of the smaller ones.
    if (z0 < largest)
        last = "歯数 " + std::to_string(kSmallestReducedCutter) + " では" +
               CutterDefect(module, kSmallestReducedCutter, ringTeeth, ringShift, pressureAngleDegrees);
    throw AppError("歯数 " + std::to_string(kSmallestReducedCutter) + "～" + std::to_string(largest) +
                   " のどのピニオンカッタでもこの内歯車をトリミング干渉なしに削れません（" + first +
                   (last.empty() || last == first ? "" : "、" + last) + "）");
}

GearSpec InternalGearSpec(const InternalGearInput& in)
{
    GearSpec spec;
    spec.kind = GearKind::Internal;
    spec.module = in.module;
    spec.teeth = in.teeth;
    spec.shift = in.shift;
    spec.pressureAngleDegrees = in.pressureAngleDegrees;
    spec.cutter.kind = CutterKind::Pinion;
    spec.cutter.teeth = in.cutter.teeth;
    spec.cutter.shift = in.cutter.shift;
    spec.cutter.tipRadius = in.cutter.tipRadius < 0.0 ? std::numeric_limits<double>::quiet_NaN() : in.cutter.tipRadius;
    return spec;
}

InternalGearSizes ComputeInternalGear(const InternalGearInput& in, std::optional<double> pinDiameter)
{
    CheckRing(in);
    const GearModel model(InternalGearSpec(in));
    InternalGearSizes r;
    const L m = in.module, z = in.teeth, x = in.shift;
    const L alpha = Radians(static_cast<L>(in.pressureAngleDegrees));
    const L tanA = std::tan(alpha);

    r.cutter = {model.Tool().teeth, model.Tool().shift, model.Tool().tipRadius};
    const L d = model.PitchDiameter(), db = model.BaseDiameter();
    const L da = model.TipDiameter(), df = model.RootDiameter();
    r.pitchDiameter = model.PitchDiameter();
    r.tipDiameter = model.TipDiameter();
    r.rootDiameter = model.RootDiameter();
    r.baseDiameter = model.BaseDiameter();
    r.spaceWidth = static_cast<double>(ReferenceThickness(m, x, alpha));
    r.toothThickness = model.ReferenceThickness();
    r.basePitch = model.BasePitch();
    r.wholeDepth = (r.rootDiameter - r.tipDiameter) / 2.0;
    r.cutterTipDiameter = model.CutterTipDiameter();
    r.cuttingPressureAngle = static_cast<double>(Degrees(model.CuttingPressureAngle()));
    r.cuttingCenterDistance = model.CuttingCenterDistance();

    if (!(da > db))
        r.findings.emplace_back("警告：内歯車の歯先円が基礎円の内側にある、インボリュート干渉");
    // A tip inside the base circle is judged at the base circle, as the cutter was chosen.
    const auto margin = TrimmingMargin(in.module, r.cutter.teeth, r.cutterTipDiameter, in.teeth,
                                       std::max(r.tipDiameter, r.baseDiameter * (1.0 + 1e-12)), in.pressureAngleDegrees,
                                       r.cuttingPressureAngle);
    if (!(margin && *margin >= 0.0))
        r.findings.push_back("警告：歯数 " + std::to_string(r.cutter.teeth) +
                             " のピニオンカッタでは内歯車の歯先が削られる（トリミング干渉）");

    // Pins: the space is shaped like an external tooth, so the pin's centre
    // lies where inv(phi) = pi/(2z) + inv(alpha) + 2x tan(alpha)/z - dp/db.
    const L halfBase = kPi / (2.0L * z) + Involute(alpha) + 2.0L * x * tanA / z;
    const L rb = db / 2.0L;
    L dp = 0.0L;
    r.idealPin = !pinDiameter.has_value();
    auto absent = [&r](const std::string& why, bool withPin) {
        if (withPin)
            r.pinDiameter = Measure::Absent(why);
        r.betweenPins = r.pinContactDiameter = Measure::Absent(why);
    };
    if (r.idealPin) {
        const L rc = d / 2.0L + x * m;   // the pin touches on the circle d + 2xm
        const L turn = rc > rb ? std::tan(std::acos(rb / rc)) - halfBase : -1.0L;
        if (!(turn >= 0.0L && turn < kPi / 2.0L)) {
            absent("円 d＋2xm で歯面に接する理想ピン径がありません", true);
            return r;
        }
        dp = db * (std::tan(std::acos(rb / rc)) - std::tan(turn));
    } else {
        dp = *pinDiameter;
        if (!(std::isfinite(dp) && dp > 0.0L)) {
            absent("ピン径が正の数ではありません", true);
            return r;
        }
    }
    r.pinDiameter = Measure::Of(static_cast<double>(dp));
    const L v = halfBase - dp / db;
    if (!(v > 0.0L)) {
        absent("ピンが大きすぎて歯溝に入りません", false);
        return r;
    }
    const L phi = InverseInvolute(v);
    const L centre = rb / std::cos(phi);
    const L contact = rb * std::sqrt(1.0L + std::pow(std::tan(phi) + dp / db, 2.0L));
    if (contact < da / 2.0L) {
        absent("ピンが大きすぎて歯先に当たります", false);
        return r;
    }
    if (centre + dp / 2.0L > df / 2.0L) {
        absent("ピンが小さすぎて歯底に当たります", false);
        return r;
    }
    const bool even = in.teeth % 2 == 0;
    const L spread = even ? 2.0L * centre : 2.0L * centre * std::cos(kPi / (2.0L * z));
    r.betweenPins = Measure::Of(static_cast<double>(spread - dp));
    r.pinContactDiameter = Measure::Of(static_cast<double>(2.0L * contact));
    return r;
}

double InvoluteEndDiameter(const InternalGearInput& in)
{
    try {
        CheckRing(in);
        return GearModel(InternalGearSpec(in)).InvoluteStartDiameter();
    } catch (const AppError&) {
        return std::numeric_limits<double>::quiet_NaN();
    }
}

GearProfile BuildInternalGearProfile(const InternalGearInput& in, double tolerance)
{
    if (!(tolerance >= 0.00001) || !(tolerance <= 1.0))
        throw AppError(ProfileToleranceMessage());
    CheckRing(in);
    const GearModel model(InternalGearSpec(in));
    if (model.Has(ToothFinding::TipInsideBase))
        throw AppError("内歯車の歯先円が基礎円の内側にあるため、歯形を作れません（転位係数を大きくしてください）");
    if (!(model.InvoluteStartDiameter() > model.TipDiameter()))
        throw AppError("工具の歯先丸みが内歯車の歯先まで届くため、歯形を作れません");
    if (model.Has(ToothFinding::PointedTip))
        throw AppError(ProfileCrossingTeethMessage());
    return ProfileOfModel(model, tolerance);
}
