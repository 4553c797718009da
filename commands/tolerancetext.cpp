// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/tolerancetext.h"

#include "commands/numbertext.h"

namespace {

std::string Length4(double v, std::string_view sep) { return FormatFixed(v, 15, 4, sep); }
std::string Length3(double v, std::string_view sep) { return FormatFixed(v, 15, 3, sep); }

}  // namespace

std::vector<AccuracyRow> AccuracyRows(const AccuracyTolerances& t)
{
    return {
        {"f_pT", "単一ピッチ許容値 fpT", t.singlePitch},
        {"F_pT", "累積ピッチ許容値 FpT", t.totalPitch},
        {"f_falpha", "歯形形状許容値 ffα", t.profileForm},
        {"f_Halpha", "歯形勾配許容値 fHα", t.profileSlope},
        {"F_alpha", "全歯形許容値 Fα", t.profileTotal},
        {"f_fbeta", "歯すじ形状許容値 ffβ", t.helixForm},
        {"f_Hbeta", "歯すじ勾配許容値 fHβ", t.helixSlope},
        {"F_beta", "全歯すじ許容値 Fβ", t.helixTotal},
    };
}

std::string ToleranceValueText(std::optional<double> um, std::string_view sep)
{
    if (!um)
        return "―";
    if (*um >= 10 && *um < 2147483647.0)
        return FormatInteger(static_cast<std::int32_t>(*um)) + " µm";
    return FormatFixed(*um, 15, 1, sep) + " µm";
}

std::vector<LimitRow> LimitRows(const ThicknessLimits& l)
{
    const std::string k = "（k＝" + FormatInteger(l.spanTeeth) + "）";
    return {
        {"tooth_thickness", "ピッチ円歯厚 s", l.toothThickness},
        {"chordal_thickness", "弦歯厚 s̄", l.chordalThickness},
        {"chordal_height", "弦歯たけ h̄", l.chordalHeight},
        {"span_k", "またぎ歯厚 W" + k, l.span},
        {"over_pins", "オーバーピン寸法 M", l.overPins},
    };
}

std::string LimitRangeText(const LimitPair& p, std::string_view sep)
{
    if (!p.lower.present() || !p.upper.present())
        return "―（" + (p.lower.present() ? p.upper.reason : p.lower.reason) + "）";
    return Length4(*p.lower.value, sep) + " ～ " + Length4(*p.upper.value, sep);
}

std::string TolerancesText(const std::optional<AccuracyTolerances>& accuracy, const ThicknessLimits* limits,
                           std::string_view sep)
{
    std::string text;
    if (limits != nullptr) {
        text += "歯厚許容差\t上 " + Length4(limits->allowance.upper, sep) + "　下 " +
                Length4(limits->allowance.lower, sep) + "\n";
        for (const LimitRow& row : LimitRows(*limits))
            text += row.label + "の許容範囲\t" + LimitRangeText(row.limits, sep) + "\n";
    }
    if (accuracy) {
        text += "精度等級\t" + AccuracyClassName(accuracy->accuracyClass) + "\n";
        for (const AccuracyRow& row : AccuracyRows(*accuracy))
            text += std::string(row.label) + "\t" + ToleranceValueText(row.micrometres, sep) + "\n";
        for (const std::string& finding : accuracy->findings)
            text += finding + "\n";
    }
    return text;
}

std::vector<BacklashRow> BacklashRows(const BacklashResult& b, std::string_view sep)
{
    const auto range = [sep](const char* key, const char* label, const BacklashRange& r) {
        return BacklashRow{key, label, {Length3(r.min, sep), Length3(r.max, sep)}, {r.min, r.max}};
    };
    return {
        range("normal_backlash", "法線バックラッシ jbn", b.normal),
        range("circumferential_backlash", "円周バックラッシ jt", b.circumferential),
        range("radial_backlash", "半径方向バックラッシ jr", b.radial),
        {"recommended_min_backlash", "推奨最小法線バックラッシ", {Length3(b.recommendedMinimum, sep), ""},
         {b.recommendedMinimum, b.recommendedMinimum}},
    };
}
