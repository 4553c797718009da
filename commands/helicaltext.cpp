// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/helicaltext.h"

#include "commands/numbertext.h"
#include "commands/tolerancetext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct Row {
    const char* key;
    const char* label;
};

}  // namespace

const char* HandText(Hand hand)
{
    return hand == Hand::Left ? "左" : "右";
}

const char* HandKey(Hand hand)
{
    return hand == Hand::Left ? "left" : "right";
}

MateReport HelicalGearReport(const GearSpec& gear, const InspectionResult& r, std::string_view sep)
{
    const GearModel model(gear);
    const HelixSizes& h = model.Helix();
    const auto degrees = [](long double radians) { return static_cast<double>(Degrees(radians)); };
    const auto fixed = [sep](const char* key, const char* label, double value, int decimals) {
        return PairRow{key, label, false, {FormatFixed(value, 11, decimals, sep), std::string()}, {value, 0.0}, false};
    };
    const auto general = [sep](const char* key, const char* label, double value) {
        return PairRow{key, label, false, {FormatGeneral(value, 11, sep), std::string()}, {value, 0.0}, false};
    };
    const auto count = [](const char* key, const char* label, double value) {
        return PairRow{key, label, false, {FormatInteger(static_cast<std::int32_t>(value)), std::string()}, {value, 0.0}, true};
    };
    MateReport report;
    report.title = "はすば歯車";
    report.mode = "helical_gear";
    // The hand is a word; its number (1 right, -1 left) is what JSON and CSV carry beside HandKey.
    report.inputs = {
        general("module_normal", "歯直角モジュール m_n", gear.module),
        general("pressure_angle_normal", "歯直角圧力角 α_n（°）", gear.pressureAngleDegrees),
        general("helix_angle", "ねじれ角 β（°）", gear.helixAngleDegrees),
        PairRow{"hand", "ねじれ方向", false, {HandText(gear.hand), std::string()},
                {gear.hand == Hand::Left ? -1.0 : 1.0, 0.0}, true},
        count("teeth", "歯数 z", gear.teeth),
        general("shift_normal", "歯直角転位係数 x_n", gear.shift),
    };
    const double mt = static_cast<double>(h.module);
    std::vector<PairRow>& out = report.results;
    out = {
        fixed("module_transverse", "正面モジュール m_t", mt, 6),
        fixed("pressure_angle_transverse", "正面圧力角 α_t（°）", degrees(h.alpha), 5),
        fixed("base_helix_angle", "基礎円筒ねじれ角 β_b（°）", degrees(h.baseHelix), 5),
        fixed("lead", "リード L", static_cast<double>(h.lead), 4),
        fixed("shift_transverse", "正面転位係数 x_t（＝x_n cos β）", static_cast<double>(gear.shift * h.cosBeta), 6),
        fixed("virtual_teeth_span", "相当平歯車歯数 z_n（またぎ歯数用、z inv α_t／inv α_n）",
              static_cast<double>(h.spanVirtualTeeth), 4),
        fixed("virtual_teeth_chord", "相当平歯車歯数 z_v（弦歯厚用、z／cos³β）", static_cast<double>(h.chordVirtualTeeth), 4),
        fixed("pitch_diameter", "基準円直径 d", model.PitchDiameter(), 4),
        fixed("tip_diameter", "歯先円直径 d_a", model.TipDiameter(), 4),
        fixed("root_diameter", "歯底円直径 d_f", model.RootDiameter(), 4),
        fixed("base_diameter", "基礎円直径 d_b", model.BaseDiameter(), 4),
        fixed("whole_depth", "全歯たけ h", model.WholeDepth(), 4),
        fixed("pitch_normal", "歯直角ピッチ p_n", static_cast<double>(kPi * gear.module), 4),
        fixed("pitch_transverse", "正面ピッチ p_t", static_cast<double>(kPi * h.module), 4),
        fixed("base_pitch_normal", "歯直角法線ピッチ p_bn", model.NormalBasePitch(), 4),
        fixed("base_pitch_transverse", "正面法線ピッチ p_bt", model.BasePitch(), 4),
        fixed("tooth_thickness_normal", "歯直角歯厚 s_n（基準円上）", model.NormalReferenceThickness(), 4),
        fixed("tooth_thickness_transverse", "正面歯厚 s_t（基準円上）", model.ReferenceThickness(), 4),
    };
    const auto measure = [&](const char* key, const char* label, const Measure& m, int decimals) {
        if (m.present())
            out.push_back(fixed(key, label, *m.value, decimals));
        else {
            out.push_back(PairRow{key, label, false, {kNoValueText, std::string()}, {kNone, 0.0}, false});
            report.absent.emplace_back(key, m.reason);
        }
    };
    measure("chordal_thickness_normal", "歯直角弦歯厚 s̄_n（z_v による）", r.chordalThickness, 4);
    measure("chordal_height", "弦歯たけ h̄（z_v による）", r.chordalHeight, 4);
    const SpanMeasure& span = r.spans[1];
    if (r.recommendedSpanTeeth.present())
        out.push_back(count("recommended_span_teeth", "推奨またぎ歯数 k（z_n による）", *r.recommendedSpanTeeth.value));
    out.push_back(count("span_teeth", "またぎ歯数 k", span.teeth));
    measure("span_normal", "歯直角またぎ歯厚 W", span.span, 4);
    measure("span_contact_diameter", "測定点の直径", span.contactDiameter, 4);
    if (span.span.present())
        out.push_back(fixed("span_face_reach", "アンビルの歯幅方向の広がり W sin β_b",
                            *span.span.value * std::sin(static_cast<double>(h.baseHelix)), 4));
    measure("ball_diameter", r.idealPin ? "球径 D（理想）" : "球径 D", r.pinDiameter, 4);
    measure("over_balls", "オーバーボール寸法 M", r.overPins, 4);
    measure("ball_contact_diameter", "球の接触円直径", r.pinContactDiameter, 4);
    measure("min_shift_normal", "歯直角の切下げ限界転位係数 x_n,min", r.minShift, 4);
    measure("involute_start_diameter", "インボリュート始点直径", r.involuteStartDiameter, 4);
    measure("tip_thickness_normal", "歯直角歯先歯厚 s_an", r.tipThickness, 4);
    out.push_back(fixed("tip_thickness_transverse", "正面歯先歯厚 s_at", model.TipThickness(), 4));

    for (const ToothFinding f : r.findings)
        report.findings.push_back(FindingText(f));
    report.findings.insert(report.findings.end(), r.spanFindings.begin(), r.spanFindings.end());
    return report;
}

void AddHelicalTolerances(MateReport& report, const GearSpec& gear, const InspectionResult& nominal,
                          const std::optional<ThicknessAllowance>& allowance,
                          const std::optional<AccuracyTolerances>& accuracy, std::string_view sep)
{
    std::vector<PairRow>& out = report.results;
    const auto fixed = [sep](const char* key, const char* label, double value, int decimals) {
        return PairRow{key, label, false, {FormatFixed(value, 11, decimals, sep), std::string()}, {value, 0.0}, false};
    };
    if (allowance) {
        const ThicknessLimits limits = ComputeThicknessLimits(gear, nominal, *allowance);
        out.push_back(fixed("thickness_allowance_upper", "歯直角歯厚許容差（上）", allowance->upper, 4));
        out.push_back(fixed("thickness_allowance_lower", "歯直角歯厚許容差（下）", allowance->lower, 4));
        // The lower limit comes with the lower (thinner) allowance.
        const auto limit = [&](const char* key, const char* label, const Measure& m) {
            if (m.present())
                out.push_back(fixed(key, label, *m.value, 4));
            else {
                out.push_back(PairRow{key, label, false, {kNoValueText, std::string()}, {kNone, 0.0}, false});
                report.absent.emplace_back(key, m.reason);
            }
        };
        const auto both = [&](const char* lowKey, const char* lowLabel, const char* highKey, const char* highLabel,
                              const LimitPair& p) {
            limit(lowKey, lowLabel, p.lower);
            limit(highKey, highLabel, p.upper);
        };
        both("tooth_thickness_normal_min", "歯直角歯厚 s_n の下限", "tooth_thickness_normal_max",
             "歯直角歯厚 s_n の上限", limits.toothThickness);
        both("chordal_thickness_normal_min", "歯直角弦歯厚 s̄_n の下限", "chordal_thickness_normal_max",
             "歯直角弦歯厚 s̄_n の上限", limits.chordalThickness);
        both("span_min", "歯直角またぎ歯厚 W の下限", "span_max", "歯直角またぎ歯厚 W の上限", limits.span);
        if (nominal.pinDiameter.present())
            both("over_balls_min", "オーバーボール寸法 M の下限", "over_balls_max", "オーバーボール寸法 M の上限",
                 limits.overPins);
    }
    if (!accuracy)
        return;
    out.push_back(PairRow{"accuracy_class", "精度等級（ISO 1328-1:2013）", false,
                          {AccuracyClassName(accuracy->accuracyClass), std::string()},
                          {static_cast<double>(accuracy->accuracyClass), 0.0}, true});
    for (const AccuracyRow& row : AccuracyRows(*accuracy))
        if (row.micrometres)
            out.push_back(PairRow{row.key, row.label, false, {ToleranceValueText(row.micrometres, sep), std::string()},
                                  {*row.micrometres, 0.0}, false});
    report.findings.insert(report.findings.end(), accuracy->findings.begin(), accuracy->findings.end());
}
