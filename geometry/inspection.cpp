// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/inspection.h"

#include "geometry/involute.h"

#include "geardata/gearrecord.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

using L = long double;

constexpr L kPiL = std::numbers::pi_v<long double>;
constexpr L kWholeDepthFactor = 2.25L;     // the root circle lies 4.5 m below the tip circle
constexpr L kThinTipFactor = 0.25L;        // a tip thinner than 0.25 m is too thin


// A value as a double; one that is not finite or leaves the double range has no meaning here.
Measure Value(L v)
{
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<double>::max())
        return Measure::Absent("値が数の範囲を超えます");
    return Measure::Of(static_cast<double>(v));
}

// The reason every value is absent, or empty when the gear can be measured.
std::string GearDefect(const InspectionGear& g)
{
    if (!std::isfinite(g.module) || g.module <= 0)
        return "モジュールが正の数ではありません";
    if (g.teeth < 1)
        return "歯数が 1 未満です";
    if (!std::isfinite(g.shift))
        return "転位係数が有限の数ではありません";
    if (!(g.pressureAngleDegrees > 0 && g.pressureAngleDegrees < 90))
        return "圧力角が 0° と 90° の間にありません";
    return {};
}

struct Circles {
    L m, z, x, alpha;
    L d, db, da, df, dx;   // pitch, base, tip, root, and the circle d + 2xm
};

SpanMeasure Span(const Circles& c, std::int32_t k)
{
    SpanMeasure out;
    out.teeth = k;
    if (k < 1) {
        out.span = out.contactDiameter = Measure::Absent("またぎ歯数 k が 1 未満です");
        return out;
    }
    const L w = c.m * std::cos(c.alpha) * (kPiL * (L(k) - 0.5L) + c.z * Involute(c.alpha)) +
                2 * c.x * c.m * std::sin(c.alpha);
    const L contact = std::sqrt(c.db * c.db + w * w);
    std::string why;
    if (!(w > 0))
        why = "またぎ歯厚が正になりません";
    else if (contact > c.da)
        why = "測定点が歯先円の外にあります";
    else if (contact < c.df)
        why = "測定点が歯底円の内側にあります";
    if (!why.empty()) {
        out.span = out.contactDiameter = Measure::Absent(why);
        return out;
    }
    out.span = Value(w);
    out.contactDiameter = Value(contact);
    return out;
}

void Pins(const Circles& c, const InspectionRequest& request, InspectionResult& r)
{
    const L rb = c.db / 2;
    // inv(phi) at the pin centre is dp / db + offset.
    const L offset = Involute(c.alpha) + 2 * c.x * std::tan(c.alpha) / c.z - kPiL / (2 * c.z);
    L dp = 0;
    r.idealPin = !request.pinDiameter.has_value();
    if (r.idealPin) {
        // The pin that touches the flanks on the circle d + 2xm.
        if (!(c.dx > c.db)) {
            r.pinDiameter = r.overPins = r.pinContactDiameter =
                Measure::Absent("円 d＋2xm が基礎円の内側にあり理想ピン径がありません");
            return;
        }
        const L tanAtContact = std::tan(std::acos(c.db / c.dx));
        const L phi = tanAtContact - offset;
        if (!(phi > 0 && phi < kPiL / 2) || !(std::tan(phi) > tanAtContact)) {
            r.pinDiameter = r.overPins = r.pinContactDiameter = Measure::Absent("理想ピン径がありません");
            return;
        }
        dp = c.db * (std::tan(phi) - tanAtContact);
    } else {
        dp = *request.pinDiameter;
        if (!std::isfinite(dp) || dp <= 0) {
            r.pinDiameter = r.overPins = r.pinContactDiameter = Measure::Absent("ピン径が正の数ではありません");
            return;
        }
    }
    r.pinDiameter = Value(dp);

    const L v = dp / c.db + offset;
    const L phi = InverseInvolute(v);
    std::string why;
    L centre = 0, roll = 0;
    if (!(v > 0) || !std::isfinite(phi)) {
        why = "ピンが小さすぎて歯面に当たりません";
    } else {
        centre = rb / std::cos(phi);
        roll = rb * std::tan(phi) - dp / 2;   // from the base circle to the contact point, along the flank's normal
        if (roll < 0)
            why = "ピンが小さすぎて歯面に当たりません";
        else if (2 * std::sqrt(rb * rb + roll * roll) > c.da)
            why = "ピンが大きすぎて歯先に当たります";
        else if (2 * (centre - dp / 2) < c.df)
            why = "ピンが歯底に当たります";
    }
    if (!why.empty()) {
        r.overPins = r.pinContactDiameter = Measure::Absent(why);
        return;
    }
    const bool even = static_cast<std::int64_t>(c.z) % 2 == 0;
    const L spread = even ? 2 * centre : 2 * centre * std::cos(kPiL / (2 * c.z));
    r.overPins = Value(spread + dp);
    r.pinContactDiameter = Value(2 * std::sqrt(rb * rb + roll * roll));
}

}  // namespace

TipCondition ClassifyTip(double tipThickness, double module)
{
    if (std::isnan(tipThickness))
        return TipCondition::Missing;
    if (!(tipThickness > 0))
        return TipCondition::Crossing;
    if (tipThickness < kThinTipFactor * module)
        return TipCondition::Thin;
    return TipCondition::Sound;
}

std::vector<std::string> TipFindings(double tipThickness, double module)
{
    switch (ClassifyTip(tipThickness, module)) {
    case TipCondition::Missing:
    case TipCondition::Crossing:
        return {"歯先がとがり、隣の歯と交差します（歯先歯厚が 0 以下）"};
    case TipCondition::Thin:
        return {"歯先が薄すぎます（歯先歯厚が 0.25m 未満）"};
    case TipCondition::Sound:
        break;
    }
    return {};
}

InspectionGear InspectionGearOf(const GearRecord& record)
{
    InspectionGear g;
    g.module = record.Module;
    g.teeth = record.Teeth;
    g.shift = record.Shift;
    const int index = record.PressureAngleIndex;
    g.pressureAngleDegrees = index >= 0 && index < static_cast<int>(PressureAngleTable.size())
                                 ? PressureAngleTable[static_cast<std::size_t>(index)]
                                 : std::numeric_limits<double>::quiet_NaN();
    return g;
}

InspectionResult ComputeInspection(const InspectionGear& gear, const InspectionRequest& request)
{
    InspectionResult r;
    if (const std::string defect = GearDefect(gear); !defect.empty()) {
        for (Measure* m : {&r.toothThickness, &r.chordalThickness, &r.chordalHeight, &r.recommendedSpanTeeth,
                           &r.pinDiameter, &r.overPins, &r.pinContactDiameter, &r.minShift, &r.tipThickness,
                           &r.basePitch, &r.wholeDepth})
            *m = Measure::Absent(defect);
        for (int i = 0; i < 3; ++i) {
            const std::int64_t ki = std::int64_t{request.spanTeeth.value_or(1)} - 1 + i;
            const bool fits = ki >= std::numeric_limits<std::int32_t>::min() &&
                              ki <= std::numeric_limits<std::int32_t>::max();
            r.spans[i].teeth = fits ? static_cast<std::int32_t>(ki) : 0;
            r.spans[i].span = r.spans[i].contactDiameter = Measure::Absent(fits ? defect : "またぎ歯数が大きすぎます");
        }
        return r;
    }

    Circles c;
    c.m = gear.module;
    c.z = gear.teeth;
    c.x = gear.shift;
    c.alpha = L(gear.pressureAngleDegrees) * kPiL / 180;
    c.d = c.z * c.m;
    c.db = c.d * std::cos(c.alpha);
    c.da = c.m * (c.z + 2 + 2 * c.x);
    c.df = c.da - 2 * kWholeDepthFactor * c.m;
    c.dx = c.d + 2 * c.x * c.m;

    // Thickness on the pitch circle and its chord.
    const L s = c.m * (kPiL / 2 + 2 * c.x * std::tan(c.alpha));
    r.toothThickness = Value(s);
    const L addendum = (c.da - c.d) / 2;
    if (!(s > 0)) {
        r.chordalThickness = r.chordalHeight = Measure::Absent("ピッチ円上に歯がありません");
    } else if (addendum < 0) {
        r.chordalThickness = r.chordalHeight = Measure::Absent("ピッチ円が歯先円の外にあります");
    } else {
        const L halfAngle = s / c.d;
        r.chordalThickness = Value(c.d * std::sin(halfAngle));
        r.chordalHeight = Value(addendum + c.d / 2 * (1 - std::cos(halfAngle)));
    }

    // Span: the recommended k puts the contact nearest the circle d + 2xm.
    const L angleAtMiddle = c.dx > c.db ? std::acos(c.db / c.dx) : 0;
    const L kReal =
        c.z / kPiL * (std::tan(angleAtMiddle) - Involute(c.alpha) - 2 * c.x * std::tan(c.alpha) / c.z) + 0.5L;
    const L kRecommended = std::floor(kReal + 0.5L);
    constexpr L kTeethCeiling = 2147483647.0L;
    const bool countable = std::fabs(kRecommended) <= kTeethCeiling;   // NaN is not
    r.recommendedSpanTeeth = countable ? Measure::Of(static_cast<double>(kRecommended))
                                       : Measure::Absent("推奨またぎ歯数が求まりません");
    const std::int64_t k = request.spanTeeth ? *request.spanTeeth
                           : countable        ? static_cast<std::int64_t>(kRecommended)
                                              : 0;
    for (int i = 0; i < 3; ++i) {
        const std::int64_t ki = k - 1 + i;
        if (!countable && !request.spanTeeth) {
            r.spans[i] = {static_cast<std::int32_t>(ki), r.recommendedSpanTeeth, r.recommendedSpanTeeth};
            continue;
        }
        r.spans[i] = ki < std::numeric_limits<std::int32_t>::min() || ki > std::numeric_limits<std::int32_t>::max()
                         ? SpanMeasure{0, Measure::Absent("またぎ歯数が大きすぎます"),
                                       Measure::Absent("またぎ歯数が大きすぎます")}
                         : Span(c, static_cast<std::int32_t>(ki));
    }

    Pins(c, request, r);

    const L sinAlpha = std::sin(c.alpha);
    const L minShift = 1 - c.z * sinAlpha * sinAlpha / 2;
    r.minShift = Value(minShift);
    r.undercut = L(gear.shift) < minShift;

    if (c.da < c.db) {
        r.tipThickness = Measure::Absent("歯先円が基礎円の内側にあります");
    } else {
        const L tipAngle = std::acos(c.db / c.da);
        const L sa = c.da * (s / c.d + Involute(c.alpha) - Involute(tipAngle));
        r.tipThickness = Value(sa);
        if (r.tipThickness.present())
            r.tipFindings = TipFindings(*r.tipThickness.value, gear.module);
    }

    r.basePitch = Value(kPiL * c.m * std::cos(c.alpha));
    r.wholeDepth = Value(kWholeDepthFactor * c.m);
    return r;
}
