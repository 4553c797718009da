// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/inspectiontext.h"

#include "commands/numbertext.h"
#include "commands/teethchecks.h"

#include <cmath>

namespace {

constexpr int kPrecision = 15;
constexpr int kDecimals = 4;
const char* const kAbsentText = "―";

std::string KText(std::int32_t k) { return "（k＝" + FormatInteger(k) + "）"; }

}  // namespace

InspectionValues InspectionValuesOf(const InspectionResult& r)
{
    using K = InspectionRowKind;
    // Undercut is a yes/no read off x_min, and absent with it.
    static const Measure yes = Measure::Of(1), no = Measure::Of(0);
    const Measure& undercut = r.minShift.present() ? (r.undercut ? yes : no) : r.minShift;
    return {{
        {"tooth_thickness", K::Length, r.toothThickness},
        {"chordal_thickness", K::Length, r.chordalThickness},
        {"chordal_height", K::Length, r.chordalHeight},
        {"recommended_span_teeth", K::Count, r.recommendedSpanTeeth},
        {"span_k_minus_1", K::Length, r.spans[0].span},
        {"span_k", K::Length, r.spans[1].span},
        {"span_k_plus_1", K::Length, r.spans[2].span},
        {"span_contact_diameter", K::Length, r.spans[1].contactDiameter},
        {"pin_diameter", K::Length, r.pinDiameter},
        {"over_pins", K::Length, r.overPins},
        {"pin_contact_diameter", K::Length, r.pinContactDiameter},
        {"min_shift", K::Length, r.minShift},
        {"undercut", K::YesNo, undercut},
        {"involute_start_diameter", K::Length, r.involuteStartDiameter},
        {"tip_thickness", K::Length, r.tipThickness},
        {"base_pitch", K::Length, r.basePitch},
        {"whole_depth", K::Length, r.wholeDepth},
    }};
}

std::vector<InspectionRow> InspectionRows(const GearSpec&, const InspectionResult& r)
{
    // The labels in the order of InspectionValuesOf; the span rows name their k.
    static const char* const labels[] = {
        "ピッチ円歯厚 s", "弦歯厚 s̄", "弦歯たけ h̄", "推奨またぎ歯数 k", "またぎ歯厚 W", "またぎ歯厚 W", "またぎ歯厚 W",
        "測定点の直径", nullptr, "オーバーピン寸法 M", "ピン接触円直径", "切下げ限界転位係数 x_min", "切下げ",
        "インボリュート始点直径", "歯先歯厚（厳密）sa", "法線ピッチ pb", "全歯たけ h"};
    static_assert(std::size(labels) == kInspectionValueCount);
    const std::int32_t spanTeeth[] = {r.spans[0].teeth, r.spans[1].teeth, r.spans[2].teeth, r.spans[1].teeth};
    std::vector<InspectionRow> rows;
    rows.reserve(kInspectionValueCount);
    const InspectionValues values = InspectionValuesOf(r);
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string label = labels[i] != nullptr ? labels[i] : r.idealPin ? "ピン径 dp（理想）" : "ピン径 dp";
        if (i >= 4 && i <= 7)
            label += KText(spanTeeth[i - 4]);
        rows.push_back({values[i].key, std::move(label), values[i].kind, values[i].measure});
    }
    return rows;
}

std::string InspectionValueText(const InspectionRow& row, std::string_view sep)
{
    if (!row.measure.present())
        return kAbsentText;
    const double v = *row.measure.value;
    switch (row.kind) {
    case InspectionRowKind::Count:
        return std::fabs(v) < 2147483648.0 ? FormatInteger(static_cast<std::int32_t>(v)) : FormatGeneral(v, 15, sep);
    case InspectionRowKind::YesNo:
        return v != 0 ? "あり" : "なし";
    case InspectionRowKind::Length:
        break;
    }
    return FormatFixed(v, kPrecision, kDecimals, sep);
}

std::string InspectionCellText(const InspectionRow& row, std::string_view sep)
{
    if (row.measure.present())
        return InspectionValueText(row, sep) + (row.measure.note.empty() ? "" : "（" + row.measure.note + "）");
    return std::string(kAbsentText) + "（" + row.measure.reason + "）";
}

std::vector<std::string> InspectionFindings(const GearSpec& gear, const InspectionResult& r, std::string_view sep)
{
    std::vector<std::string> lines;
    for (const ToothFinding f : r.findings)
        lines.push_back(FindingText(f));
    // The calculation warns by the tooth count alone; say why there is no undercut here.
    if (CountRuleWarnsUndercut(gear.teeth) && !r.undercut && r.minShift.present())
        lines.push_back("歯数 " + FormatInteger(gear.teeth) + " は 13 以下のため計算・登録は切下げを警告しますが、転位係数 " +
                        FormatGeneral(gear.shift, 11, sep) + " が x_min " + FormatFixed(*r.minShift.value, 15, 4, sep) +
                        " 以上なので、ラックが創成する歯形に切下げはありません");
    return lines;
}

std::string TipThicknessNote(const InspectionResult& r, double boxTipThickness, std::string_view sep)
{
    const std::string box = FormatFixed(boxTipThickness, 11, 3, sep);
    if (r.tipThickness.present() && FormatFixed(*r.tipThickness.value, 11, 3, sep) == box)
        return {};
    return "主画面の「歯先歯厚」" + box + " は 20° の近似探索による値、ここの sa は歯車の圧力角による厳密な値です";
}

std::string InspectionText(const GearSpec& gear, const InspectionResult& result, std::string_view sep)
{
    std::string text = "検査寸法　m " + FormatGeneral(gear.module, 11, sep) + "　z " + FormatInteger(gear.teeth) +
                       "　x " + FormatGeneral(gear.shift, 11, sep) + "　α " +
                       FormatGeneral(gear.pressureAngleDegrees, 11, sep) + "°\n";
    for (const InspectionRow& row : InspectionRows(gear, result))
        text += row.label + "\t" + InspectionCellText(row, sep) + "\n";
    for (const std::string& line : InspectionFindings(gear, result, sep))
        text += line + "\n";
    return text;
}
