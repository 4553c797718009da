// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/datatable.h"

#include "commands/inputparse.h"
#include "commands/numbertext.h"
#include "base/apperror.h"
#include "geometry/gearmath.h"
#include "geometry/internalgear.h"
#include "geometry/internalpair.h"
#include "geometry/pair.h"
#include "geometry/rackpair.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int kDecimals = 3;

std::string Length(double v, std::string_view sep = ".") { return FormatFixed(v, 15, kDecimals, sep); }
std::string General(double v, std::string_view sep) { return FormatGeneral(v, 11, sep); }

std::string LengthOf(const Measure& m, const char* what, std::string_view sep)
{
    if (!m.present())
        throw AppError(std::string(what) + "が求まりません（" + m.reason + "）");
    return Length(*m.value, sep);
}

std::string Deviation(double value, std::string_view sep)
{
    const std::string text = Length(std::fabs(value), sep);
    if (text == Length(0, sep))
        return "0";
    return (value > 0 ? "+" : "-") + text;
}

std::string Deviations(const ThicknessAllowance& a, double factor, std::string_view sep)
{
    return Deviation(a.upper * factor, sep) + " / " + Deviation(a.lower * factor, sep);
}

bool HasAllowance(const ThicknessAllowance& a) { return a.upper != 0 || a.lower != 0; }

}  // namespace

std::string DeviationText(double value)
{
    return Deviation(value, ".");
}

namespace {

// The table's rows, added in order.
struct SheetRows {
    DataSheet& sheet;
    std::string_view sep;
    void operator()(std::string group, std::string item, std::string value) const
    {
        sheet.rows.push_back({std::move(group), std::move(item), std::move(value)});
    }
    // A shift as mm, "0.000" for none.
    void Shift(std::string group, std::string item, double mm) const
    {
        (*this)(std::move(group), std::move(item), Deviation(mm, sep) == "0" ? Length(0, sep) : Deviation(mm, sep));
    }
    void BasicRack(const GearSpec& g) const
    {
        (*this)("基準ラック", "歯形", "並歯");
        (*this)("基準ラック", "モジュール", General(g.module, sep));
        (*this)("基準ラック", "圧力角", General(g.pressureAngleDegrees, sep) + "°");
    }
    void Accuracy(const DataSheetInput& in, const GearSpec& g) const
    {
        if (!in.accuracyClass) {
            (*this)("精度", "", "―");
            return;
        }
        const AccuracyTolerances t = g.helixAngleDegrees != 0.0
                                         ? ComputeGearAccuracy(*in.accuracyClass, g, in.faceWidth)
                                         : ComputeSpurAccuracy(*in.accuracyClass, g.module, g.teeth, in.faceWidth);
        (*this)("精度", "", AccuracyClassName(t.accuracyClass));
        sheet.notes.insert(sheet.notes.end(), t.findings.begin(), t.findings.end());
    }
    // The centre distance (a rack: the centre to its reference line) with its allowance.
    void Centre(const char* group, double a, const ThicknessAllowance& allowance) const
    {
        std::string centre = Length(a, sep);
        if (HasAllowance(allowance))
            centre += "  " + Deviations(allowance, 1.0, sep);
        (*this)(group, "", centre);
    }
    void Backlash(const BacklashGeometry& pair, const BacklashInput& allowances) const
    {
        const BacklashResult b = ComputeBacklash(pair, allowances);
        (*this)("バックラッシ", "法線方向", Length(b.normal.min, sep) + " ～ " + Length(b.normal.max, sep));
        (*this)("バックラッシ", "円周方向",
                Length(b.circumferential.min, sep) + " ～ " + Length(b.circumferential.max, sep));
        sheet.notes.insert(sheet.notes.end(), b.findings.begin(), b.findings.end());
    }
    // The pinion a ring's or a rack's table names as its mate: its teeth and
    // shift, the centre distance (or the distance to the reference line) and
    // the backlash, the pinion's allowance first.
    void Pinion(const DataSheetInput& in, const char* centreGroup, double centre, const BacklashGeometry& pair) const
    {
        (*this)("相手歯車", "歯数", FormatInteger(in.mate->teeth));
        Shift("相手歯車", "転位量", in.mate->shift * in.gear.module);
        Centre(centreGroup, centre, in.mate->centerDistance);
        BacklashInput b;
        b.thickness = {in.mate->allowance, in.allowance};
        b.centerDistance = in.mate->centerDistance;
        Backlash(pair, b);
    }
    void Notes(const std::vector<std::string>& findings) const
    {
        sheet.notes.insert(sheet.notes.end(), findings.begin(), findings.end());
    }
    void UserRows(const DataSheetInput& in) const
    {
        for (const auto& [name, text] : in.userRows)
            (*this)(name, "", text);
    }
};

// The pair of the table's pinion (gear 1) and a ring or a rack as its mate, or of the ring (gear 2) and its pinion.
PairInput PairOf(const GearSpec& pinion, MateKind mate, std::int32_t ringTeeth, double ringShift)
{
    PairInput p;
    p.mate = mate;
    p.module = pinion.module;
    p.pressureAngle = pinion.pressureAngleDegrees;
    p.teeth = {pinion.teeth, ringTeeth};
    p.shift = {pinion.shift, ringShift};
    // Two helical gears: the mate has the other hand.
    p.helixAngle = pinion.helixAngleDegrees;
    p.hands = {pinion.hand, pinion.hand == Hand::Right ? Hand::Left : Hand::Right};
    return p;
}

// The ring's table: its sizes, M between pins with the limits its allowance
// gives, and the pinion that meshes in it.
DataSheet BuildRingDataSheet(const DataSheetInput& in)
{
    CheckAllowance(in.allowance);
    const GearSpec& g = in.gear;
    const InternalGearSizes sizes = ComputeInternalGear(g, in.request.pinDiameter);
    const RingLimits limits = ComputeRingLimits(g, sizes, in.allowance);
    DataSheet s;
    s.title = "内歯車";
    const SheetRows row{s, in.decimalSeparator};
    const std::string_view sep = in.decimalSeparator;
    row("歯車歯形", "", g.shift == 0 ? "標準" : "転位");
    row.BasicRack(g);
    row("歯数", "", FormatInteger(g.teeth));
    row("基準ピッチ円直径", "", Length(sizes.pitchDiameter, sep));
    row("歯先円直径", "", Length(sizes.tipDiameter, sep));
    row.Shift("転位量", "", g.shift * g.module);
    row("全歯たけ", "", Length(sizes.wholeDepth, sep));
    std::string value = LengthOf(sizes.betweenPins, "ピン間寸法", sep);
    const bool allowance = HasAllowance(in.allowance);
    if (allowance) {
        const double upper = *limits.betweenPins.upper.value, lower = *limits.betweenPins.lower.value;
        const double nominal = *sizes.betweenPins.value;
        // The thinner tooth, the wider space: the lower allowance gives the larger M.
        value += "  " + Deviation(lower - nominal, sep) + " / " + Deviation(upper - nominal, sep);
    }
    row("歯厚", "ピン間寸法", value);
    row("歯厚", "ピン径", LengthOf(sizes.pinDiameter, "ピン径", sep));
    if (allowance)
        row("歯厚", "許容範囲", LengthOf(limits.betweenPins.upper, "ピン間寸法の下限", sep) + " ～ " +
                                     LengthOf(limits.betweenPins.lower, "ピン間寸法の上限", sep));
    row.Accuracy(in, g);
    row.Notes(sizes.findings);
    if (in.mate) {
        GearSpec pinion = g;
        pinion.kind = GearKind::External;
        pinion.cutter = Cutter{};
        pinion.teeth = in.mate->teeth;
        pinion.shift = in.mate->shift;
        const InternalPairResult pair = ComputeInternalPair(PairOf(pinion, MateKind::Internal, g.teeth, g.shift));
        row("相手歯車", "種類", MateKindCaption(MateKind::External));
        row.Pinion(in, "中心距離", pair.centerDistance, BacklashGeometryOf(pair));
        row.Notes(pair.findings);
    }
    row.UserRows(in);
    return s;
}

// The rack's table: its tooth on the reference line with its allowance, the
// pitch, and the pinion on it (the mate's teeth and shift).
DataSheet BuildRackDataSheet(const DataSheetInput& in)
{
    CheckAllowance(in.allowance);
    const GearSpec& g = in.gear;
    const std::string_view sep = in.decimalSeparator;
    const double m = g.module, pitch = std::numbers::pi * m, thickness = pitch / 2;
    DataSheet s;
    s.title = "ラック";
    const SheetRows row{s, sep};
    row.BasicRack(g);
    row("ピッチ", "", Length(pitch, sep));
    row("全歯たけ", "", Length(2.25 * m, sep));
    std::string value = Length(thickness, sep);
    const bool allowance = HasAllowance(in.allowance);
    if (allowance)
        value += "  " + Deviations(in.allowance, 1.0, sep);
    row("歯厚", "基準線上の歯厚", value);
    if (allowance)
        row("歯厚", "許容範囲", Length(thickness + in.allowance.lower, sep) + " ～ " +
                                     Length(thickness + in.allowance.upper, sep));
    row("歯厚", "弦歯たけ", Length(m, sep));   // from the tip line to the reference line
    if (in.mate) {
        GearSpec pinion = g;
        pinion.teeth = in.mate->teeth;
        pinion.shift = in.mate->shift;
        const RackPairResult pair = ComputeRackPair(PairOf(pinion, MateKind::Rack, 0, 0.0));
        row.Pinion(in, "基準線までの距離", pair.centerToReferenceLine, BacklashGeometryOf(pair));
        row.Notes(pair.findings);
    }
    row.UserRows(in);
    return s;
}

}  // namespace

DataSheet BuildDataSheet(const DataSheetInput& in)
{
    if (in.rack)
        return BuildRackDataSheet(in);
    if (in.gear.kind == GearKind::Internal)
        return BuildRingDataSheet(in);
    CheckAllowance(in.allowance);
    const std::string_view sep = in.decimalSeparator;
    // A helical gear's table is in its normal values (m_n, alpha_n, x_n, the normal allowance).
    const GearSpec g = NormalSystemOf(in.gear);
    const bool helical = g.helixAngleDegrees != 0.0;
    const InspectionResult nominal = ComputeInspection(g, in.request);
    if (!nominal.toothThickness.present())
        throw AppError(nominal.toothThickness.reason);
    const ThicknessLimits limits = ComputeThicknessLimits(g, nominal, in.allowance);
    const double alpha = RadiansInDouble(g.pressureAngleDegrees);
    // With another external gear the pair shortens the tips: the table gives
    // the tooth that is cut for that pair.
    std::optional<PairResult> pair;
    if (in.mate && in.mate->kind == MateKind::External)
        pair = ComputePair(PairOf(g, MateKind::External, in.mate->teeth, in.mate->shift));
    const double tipShortening = pair ? pair->tipShortening : g.tipShortening;
    const double tipDiameter = static_cast<double>(ExactSizesOf(g).tip) - 2 * tipShortening * g.module;

    DataSheet s;
    s.title = helical ? "はすば歯車" : "平歯車";
    const SheetRows row{s, sep};
    row("歯車歯形", "", g.shift == 0 ? "標準" : "転位");
    if (helical) {
        // The section the basic rack is given in: the normal one, or the
        // transverse one for a gear given in the transverse system.
        row("歯直角方式", "", in.gear.transverse ? "正面" : "歯直角");
    }
    row.BasicRack(g);
    row("歯数", "", FormatInteger(g.teeth));
    if (helical) {
        const HelixSizes h = HelixOf(g);
        row("ねじれ角", "", General(g.helixAngleDegrees, sep) + "°");
        row("ねじれ方向", "", g.hand == Hand::Left ? "左" : "右");
        row("リード", "", Length(static_cast<double>(h.lead), sep));
        row("基準ピッチ円直径", "", Length(static_cast<double>(g.teeth * h.module), sep));
    } else {
        row("基準ピッチ円直径", "", Length(g.module * g.teeth, sep));
    }
    row("歯先円直径", "", Length(tipDiameter, sep));
    row.Shift("転位量", "", g.shift * g.module);
    row("全歯たけ", "", pair ? Length((pair->tipDiameter[0] - pair->rootDiameter[0]) / 2, sep)
                             : LengthOf(nominal.wholeDepth, "全歯たけ", sep));
    const bool allowance = HasAllowance(in.allowance);
    if (in.overPins) {
        // A helical gear is measured over balls.
        const char* const over = helical ? "オーバーボール寸法" : "オーバーピン寸法";
        const char* const ball = helical ? "球径" : "ピン径";
        std::string value = LengthOf(nominal.overPins, over, sep);
        const std::string pin = LengthOf(nominal.pinDiameter, ball, sep);
        std::string range;
        if (allowance) {
            range = LengthOf(limits.overPins.lower, (std::string(over) + "の下限").c_str(), sep) + " ～ " +
                    LengthOf(limits.overPins.upper, (std::string(over) + "の上限").c_str(), sep);
            value += "  " + Deviation(*limits.overPins.upper.value - *nominal.overPins.value, sep) + " / " +
                     Deviation(*limits.overPins.lower.value - *nominal.overPins.value, sep);
        }
        row("歯厚", over, value);
        row("歯厚", ball, pin);
        if (allowance)
            row("歯厚", "許容範囲", range);
    } else {
        std::string value = LengthOf(nominal.spans[1].span, "またぎ歯厚", sep);
        if (allowance)
            value += "  " + Deviations(in.allowance, std::cos(alpha), sep);
        row("歯厚", helical ? "歯直角またぎ歯厚" : "またぎ歯厚", value);
        row("歯厚", "またぎ歯数", FormatInteger(nominal.spans[1].teeth));
        if (allowance)
            row("歯厚", "許容範囲", LengthOf(limits.span.lower, "またぎ歯厚の下限", sep) + " ～ " +
                                         LengthOf(limits.span.upper, "またぎ歯厚の上限", sep));
    }
    row.Accuracy(in, g);
    BacklashInput b;
    if (in.mate) {
        b.thickness = {in.allowance, in.mate->allowance};
        b.centerDistance = in.mate->centerDistance;
    }
    if (in.mate && in.mate->kind == MateKind::Rack) {
        const RackPairResult rack = ComputeRackPair(PairOf(g, MateKind::Rack, 0, 0.0));
        const double thickness = rack.rackPitch / 2;
        row("相手歯車", "種類", MateKindCaption(MateKind::Rack));
        row("相手歯車", "ピッチ", Length(rack.rackPitch, sep));
        std::string value = Length(thickness, sep);
        if (HasAllowance(in.mate->allowance))
            value += "  " + Deviations(in.mate->allowance, 1.0, sep);
        row("相手歯車", "歯厚", value);
        row.Centre("基準線までの距離", rack.centerToReferenceLine, in.mate->centerDistance);
        row.Backlash(BacklashGeometryOf(rack), b);
        row.Notes(rack.findings);
    } else if (in.mate && in.mate->kind == MateKind::Internal) {
        const InternalPairResult ring = ComputeInternalPair(PairOf(g, MateKind::Internal, in.mate->teeth, in.mate->shift));
        row("相手歯車", "種類", MateKindCaption(MateKind::Internal));
        row("相手歯車", "歯数", FormatInteger(in.mate->teeth));
        row.Shift("相手歯車", "転位量", in.mate->shift * g.module);
        row.Centre("中心距離", ring.centerDistance, in.mate->centerDistance);
        row.Backlash(BacklashGeometryOf(ring), b);
        row.Notes(ring.findings);
    } else if (pair) {
        row("相手歯車", "歯数", FormatInteger(in.mate->teeth));
        row.Shift("相手歯車", "転位量", in.mate->shift * g.module);
        row.Centre("中心距離", pair->centerDistance, in.mate->centerDistance);
        row.Notes(pair->findings);
        row.Backlash(BacklashGeometryOf(*pair), b);
    }
    row.UserRows(in);
    return s;
}

std::string DataSheetText(const DataSheet& sheet)
{
    std::string text = sheet.title + "\n";
    for (const DataSheetRow& r : sheet.rows)
        text += r.group + "\t" + r.item + "\t" + r.value + "\n";
    for (const std::string& note : sheet.notes)
        text += note + "\n";
    return text;
}

DataSheetLayout LayoutDataSheet(const DataSheet& sheet)
{
    constexpr double kGroup = 40, kItem = 34, kValue = 80;
    DataSheetLayout out;
    out.width = kGroup + kItem + kValue;
    out.cells.push_back({0, 0, out.width, kDataSheetRowHeight, sheet.title});
    double y = kDataSheetRowHeight;
    for (std::size_t i = 0; i < sheet.rows.size();) {
        const DataSheetRow& first = sheet.rows[i];
        if (first.item.empty()) {
            out.cells.push_back({0, y, kGroup + kItem, kDataSheetRowHeight, first.group});
            out.cells.push_back({kGroup + kItem, y, kValue, kDataSheetRowHeight, first.value});
            y += kDataSheetRowHeight;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < sheet.rows.size() && sheet.rows[end].group == first.group && !sheet.rows[end].item.empty())
            ++end;
        out.cells.push_back({0, y, kGroup, kDataSheetRowHeight * static_cast<double>(end - i), first.group});
        for (; i < end; ++i) {
            out.cells.push_back({kGroup, y, kItem, kDataSheetRowHeight, sheet.rows[i].item});
            out.cells.push_back({kGroup + kItem, y, kValue, kDataSheetRowHeight, sheet.rows[i].value});
            y += kDataSheetRowHeight;
        }
    }
    out.height = y;
    return out;
}

ThicknessAllowance ParseAllowancePair(const std::string& text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos)
        throw AppError("'" + text + "' は「上,下」の二つの数ではありません");
    ThicknessAllowance a;
    a.upper = static_cast<double>(ParseFloat(text.substr(0, comma), "."));
    a.lower = static_cast<double>(ParseFloat(text.substr(comma + 1), "."));
    return a;
}
