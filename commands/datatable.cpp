// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/datatable.h"

#include "commands/inputparse.h"
#include "commands/numbertext.h"
#include "base/apperror.h"
#include "geometry/gearmath.h"
#include "geometry/internalpair.h"
#include "geometry/pair.h"

#include <cmath>

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

DataSheet BuildDataSheet(const DataSheetInput& in)
{
    CheckAllowance(in.allowance);
    const std::string_view sep = in.decimalSeparator;
    const GearSpec& g = in.gear;
    const InspectionResult nominal = ComputeInspection(g, in.request);
    if (!nominal.toothThickness.present())
        throw AppError(nominal.toothThickness.reason);
    const ThicknessLimits limits = ComputeThicknessLimits(g, nominal, in.allowance);
    const double alpha = RadiansInDouble(g.pressureAngleDegrees);
    // With another external gear the pair shortens the tips: the table gives
    // the tooth that is cut for that pair.
    std::optional<PairResult> pair;
    if (in.mate && in.mate->kind == MateKind::External) {
        PairInput p;
        p.module = g.module;
        p.pressureAngle = g.pressureAngleDegrees;
        p.teeth = {g.teeth, in.mate->teeth};
        p.shift = {g.shift, in.mate->shift};
        pair = ComputePair(p);
    }
    const double tipShortening = pair ? pair->tipShortening : g.tipShortening;
    const double tipDiameter = static_cast<double>(ExactSizesOf(g).tip) - 2 * tipShortening * g.module;

    DataSheet s;
    s.title = "平歯車";
    auto row = [&s](std::string group, std::string item, std::string value) {
        s.rows.push_back({std::move(group), std::move(item), std::move(value)});
    };
    row("歯車歯形", "", g.shift == 0 ? "標準" : "転位");
    row("基準ラック", "歯形", "並歯");
    row("基準ラック", "モジュール", General(g.module, sep));
    row("基準ラック", "圧力角", General(g.pressureAngleDegrees, sep) + "°");
    row("歯数", "", FormatInteger(g.teeth));
    row("基準ピッチ円直径", "", Length(g.module * g.teeth, sep));
    row("歯先円直径", "", Length(tipDiameter, sep));
    row("転位量", "", Deviation(g.shift * g.module, sep) == "0" ? Length(0, sep) : Deviation(g.shift * g.module, sep));
    row("全歯たけ", "", pair ? Length((pair->tipDiameter[0] - pair->rootDiameter[0]) / 2, sep)
                             : LengthOf(nominal.wholeDepth, "全歯たけ", sep));
    const bool allowance = HasAllowance(in.allowance);
    if (in.overPins) {
        std::string value = LengthOf(nominal.overPins, "オーバーピン寸法", sep);
        const std::string pin = LengthOf(nominal.pinDiameter, "ピン径", sep);
        std::string range;
        if (allowance) {
            range = LengthOf(limits.overPins.lower, "オーバーピン寸法の下限", sep) + " ～ " +
                    LengthOf(limits.overPins.upper, "オーバーピン寸法の上限", sep);
            value += "  " + Deviation(*limits.overPins.upper.value - *nominal.overPins.value, sep) + " / " +
                     Deviation(*limits.overPins.lower.value - *nominal.overPins.value, sep);
        }
        row("歯厚", "オーバーピン寸法", value);
        row("歯厚", "ピン径", pin);
        if (allowance)
            row("歯厚", "許容範囲", range);
    } else {
        std::string value = LengthOf(nominal.spans[1].span, "またぎ歯厚", sep);
        if (allowance)
            value += "  " + Deviations(in.allowance, std::cos(alpha), sep);
        row("歯厚", "またぎ歯厚", value);
        row("歯厚", "またぎ歯数", FormatInteger(nominal.spans[1].teeth));
        if (allowance)
            row("歯厚", "許容範囲", LengthOf(limits.span.lower, "またぎ歯厚の下限", sep) + " ～ " +
                                         LengthOf(limits.span.upper, "またぎ歯厚の上限", sep));
    }
    if (in.accuracyClass) {
        AccuracyInput a;
        a.accuracyClass = *in.accuracyClass;
        a.module = g.module;
        a.teeth = g.teeth;
        a.referenceDiameter = g.module * g.teeth;
        a.faceWidth = in.faceWidth;
        const AccuracyTolerances t = ComputeAccuracy(a);
        row("精度", "", AccuracyClassName(t.accuracyClass));
        s.notes.insert(s.notes.end(), t.findings.begin(), t.findings.end());
    } else {
        row("精度", "", "―");
    }
    if (in.mate && in.mate->kind == MateKind::Rack) {
        row("相手歯車", "種類", MateKindCaption(MateKind::Rack));
    } else if (in.mate && in.mate->kind == MateKind::Internal) {
        PairInput p;
        p.mate = MateKind::Internal;
        p.module = g.module;
        p.pressureAngle = g.pressureAngleDegrees;
        p.teeth = {g.teeth, in.mate->teeth};
        p.shift = {g.shift, in.mate->shift};
        const InternalPairResult pair = ComputeInternalPair(p);
        row("相手歯車", "種類", MateKindCaption(MateKind::Internal));
        row("相手歯車", "歯数", FormatInteger(in.mate->teeth));
        const double mateShift = in.mate->shift * g.module;
        row("相手歯車", "転位量", Deviation(mateShift, sep) == "0" ? Length(0, sep) : Deviation(mateShift, sep));
        row("中心距離", "", Length(pair.centerDistance, sep));
        s.notes.insert(s.notes.end(), pair.findings.begin(), pair.findings.end());
    } else if (pair) {
        BacklashInput b;
        b.thickness = {in.allowance, in.mate->allowance};
        b.centerDistance = in.mate->centerDistance;
        const BacklashResult backlash = ComputeBacklash(*pair, b);
        row("相手歯車", "歯数", FormatInteger(in.mate->teeth));
        const double mateShift = in.mate->shift * g.module;
        row("相手歯車", "転位量", Deviation(mateShift, sep) == "0" ? Length(0, sep) : Deviation(mateShift, sep));
        std::string centre = Length(pair->centerDistance, sep);
        if (HasAllowance(in.mate->centerDistance))
            centre += "  " + Deviations(in.mate->centerDistance, 1.0, sep);
        row("中心距離", "", centre);
        row("バックラッシ", "法線方向", Length(backlash.normal.min, sep) + " ～ " + Length(backlash.normal.max, sep));
        row("バックラッシ", "円周方向", Length(backlash.circumferential.min, sep) + " ～ " +
                                           Length(backlash.circumferential.max, sep));
        s.notes.insert(s.notes.end(), pair->findings.begin(), pair->findings.end());
        s.notes.insert(s.notes.end(), backlash.findings.begin(), backlash.findings.end());
    }
    for (const auto& [name, text] : in.userRows)
        row(name, "", text);
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
