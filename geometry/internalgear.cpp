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

void CheckRing(const GearSpec& in)
{
    if (!(std::isfinite(in.module) && in.module > 0.0 && in.module <= 1000.0))
        throw AppError("モジュールは 0 より大きく 1000 以下にしてください");
    if (in.teeth < 3 || in.teeth > 10000)
        throw AppError("内歯車の歯数は 3 以上 10000 以下にしてください");
    if (!std::isfinite(in.shift))
        throw AppError("転位係数が数ではありません");
    if (!(in.pressureAngleDegrees > 0.0 && in.pressureAngleDegrees < 90.0))
        throw AppError("圧力角は 0° より大きく 90° より小さくなければなりません");
    if (!std::isfinite(in.cutter.shift) || in.cutter.tipRadius < 0.0)
        throw AppError("工具の転位係数と歯先丸み半径は数にしてください");
}

}  // namespace



InternalGearSizes ComputeInternalGear(const GearSpec& in, std::optional<double> pinDiameter, double allowance)
{
    CheckRing(in);
    const GearModel model(in);
    InternalGearSizes r;
    const L m = in.module, z = in.teeth, x = in.shift;
    const L alpha = Radians(static_cast<L>(in.pressureAngleDegrees));
    const L tanA = std::tan(alpha);

    r.cutter = model.Tool();
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
    // Teeth thinner by -A widen the space by as much (its half-angle by -A/d),
    // the cutter set that much deeper: its root circle larger by -A/tan(alpha).
    if (!std::isfinite(allowance))
        throw AppError("歯厚の許容差が数ではありません");
    const L halfBase = kPi / (2.0L * z) + Involute(alpha) + 2.0L * x * tanA / z - L(allowance) / d;
    const L dfCut = df - L(allowance) / tanA;
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
    if (centre + dp / 2.0L > dfCut / 2.0L) {
        absent("ピンが小さすぎて歯底に当たります", false);
        return r;
    }
    const bool even = in.teeth % 2 == 0;
    const L spread = even ? 2.0L * centre : 2.0L * centre * std::cos(kPi / (2.0L * z));
    r.betweenPins = Measure::Of(static_cast<double>(spread - dp));
    r.pinContactDiameter = Measure::Of(static_cast<double>(2.0L * contact));
    return r;
}

RingLimits ComputeRingLimits(const GearSpec& ring, const InternalGearSizes& nominal, const ThicknessAllowance& allowance)
{
    CheckAllowance(allowance);
    RingLimits r;
    r.allowance = allowance;
    const std::optional<double> pin =
        nominal.pinDiameter.present() ? std::optional<double>(*nominal.pinDiameter.value) : std::nullopt;
    if (!pin) {
        r.betweenPins.upper = r.betweenPins.lower = nominal.pinDiameter;
    } else {
        r.betweenPins.upper = ComputeInternalGear(ring, pin, allowance.upper).betweenPins;
        r.betweenPins.lower = ComputeInternalGear(ring, pin, allowance.lower).betweenPins;
    }
    r.toothThickness.upper = Measure::Of(nominal.toothThickness + allowance.upper);
    r.toothThickness.lower = Measure::Of(nominal.toothThickness + allowance.lower);
    return r;
}

double RingInvoluteStartDiameter(const GearSpec& in)
{
    try {
        CheckRing(in);
        return GearModel(in).InvoluteStartDiameter();
    } catch (const AppError&) {
        return std::numeric_limits<double>::quiet_NaN();
    }
}

GearProfile BuildInternalGearProfile(const GearSpec& in, double tolerance)
{
    if (!(tolerance >= 0.00001) || !(tolerance <= 1.0))
        throw AppError(ProfileToleranceMessage());
    CheckRing(in);
    const GearModel model(in);
    if (model.Has(ToothFinding::TipInsideBase))
        throw AppError("内歯車の歯先円が基礎円の内側にあるため、歯形を作れません（転位係数を大きくしてください）");
    if (!(model.InvoluteStartDiameter() > model.TipDiameter()))
        throw AppError("工具の歯先丸みが内歯車の歯先まで届くため、歯形を作れません");
    if (model.Has(ToothFinding::PointedTip))
        throw AppError(ProfileCrossingTeethMessage());
    return ProfileOfModel(model, tolerance);
}
