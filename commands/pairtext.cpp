// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/pairtext.h"

#include "commands/numbertext.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kSlidingAbsentText = "相手の歯先が作用線の接点に届き、その歯車の歯元のすべり率が定まらない";

// A number with its text; a count is an integer in JSON and CSV.
struct Shown {
    double value;
    std::string text;
    bool integer = false;
};

PairRow One(const char* key, const char* label, Shown v)
{
    return {key, label, false, {std::move(v.text), std::string()}, {v.value, 0.0}, v.integer};
}

PairRow Two(const char* key, const char* label, Shown first, Shown second)
{
    return {key, label, true, {std::move(first.text), std::move(second.text)}, {first.value, second.value}, first.integer};
}

Shown Count(std::int32_t value)
{
    return {static_cast<double>(value), FormatInteger(value), true};
}

}  // namespace

namespace {

// The hand as a row's text, and its number (1 right, -1 left) for JSON and CSV.
Shown HandShown(Hand hand)
{
    return {hand == Hand::Left ? -1.0 : 1.0, hand == Hand::Left ? "左" : "右", true};
}

// Two helical gears: the normal values as given and the transverse ones they
// mesh by, each row saying which section it belongs to.
std::vector<PairRow> HelicalPairInputRows(const PairResult& r, std::string_view sep)
{
    const PairInput& in = r.input;
    auto g = [sep](double value) { return Shown{value, FormatGeneral(value, 11, sep)}; };
    std::vector<PairRow> rows{
        One("module_normal", "歯直角モジュール m_n", g(in.module)),
        One("pressure_angle_normal", "歯直角圧力角 α_n（°）", g(in.pressureAngle)),
        One("helix_angle", "ねじれ角 β（°）", g(in.helixAngle)),
        Two("hand", "ねじれ方向", HandShown(in.hands[0]), HandShown(in.hands[1])),
        Two("teeth", "歯数 z", Count(in.teeth[0]), Count(in.teeth[1])),
    };
    if (std::isfinite(in.faceWidth))
        rows.push_back(One("face_width", "歯幅 b", g(in.faceWidth)));
    return rows;
}

std::vector<PairRow> HelicalPairResultRows(const PairResult& r, std::string_view sep)
{
    auto f = [sep](double value, int decimals) { return Shown{value, FormatFixed(value, 11, decimals, sep)}; };
    auto sliding = [&f](double value) { return std::isfinite(value) ? f(value, 4) : Shown{value, kNoValueText}; };
    GearSpec g;
    g.module = r.input.module;
    g.pressureAngleDegrees = r.input.pressureAngle;
    g.helixAngleDegrees = r.input.helixAngle;
    const HelixSizes h = HelixOf(g);
    const double mt = static_cast<double>(h.module);
    std::vector<PairRow> rows{
        Two("shift_normal", "歯直角転位係数 x_n", f(r.input.shift[0], 6), f(r.input.shift[1], 6)),
        One("shift_sum_normal", "歯直角転位係数の和 x_n1+x_n2", f(r.shiftSum, 6)),
        One("module_transverse", "正面モジュール m_t", f(mt, 6)),
        One("pressure_angle_transverse", "正面圧力角 α_t（°）", f(static_cast<double>(Degrees(h.alpha)), 5)),
        One("base_helix_angle", "基礎円筒ねじれ角 β_b（°）", f(static_cast<double>(Degrees(h.baseHelix)), 5)),
        One("working_pressure_angle_transverse", "正面作用圧力角 α_wt（°）", f(r.workingPressureAngle, 4)),
        One("standard_center_distance", "標準中心距離 a0", f(r.standardCenterDistance, 3)),
        One("center_distance", "中心距離 a", f(r.centerDistance, 3)),
        One("center_distance_modification", "中心距離修正係数 y（m_n 単位）", f(r.centerDistanceModification, 6)),
        One("tip_shortening", "歯先短縮係数 k（m_n 単位）", f(r.tipShortening, 6)),
        Two("pitch_diameter", "基準円直径 d", f(r.input.teeth[0] * mt, 3), f(r.input.teeth[1] * mt, 3)),
        Two("tip_diameter", "歯先円直径 da（短縮後）", f(r.tipDiameter[0], 3), f(r.tipDiameter[1], 3)),
        Two("root_diameter", "歯底円直径 df", f(r.rootDiameter[0], 3), f(r.rootDiameter[1], 3)),
        Two("base_diameter", "基礎円直径 db", f(r.baseDiameter[0], 3), f(r.baseDiameter[1], 3)),
        Two("tip_thickness_transverse", "正面歯先円弧歯厚 s_at（短縮後）", f(r.tipThickness[0], 3), f(r.tipThickness[1], 3)),
        One("clearance_unshortened", "頂げき（短縮なし）", f(r.clearanceUnshortened, 3)),
        One("clearance", "頂げき（短縮後）", f(r.clearance, 3)),
        One("line_of_action", "a・sin α_wt", f(r.lineOfAction, 3)),
        One("contact_ratio_transverse", "正面かみあい率 εα", f(r.contactRatio, 3)),
    };
    if (std::isfinite(r.overlapRatio)) {
        rows.push_back(One("overlap_ratio", "重なりかみあい率 εβ", f(r.overlapRatio, 3)));
        rows.push_back(One("total_contact_ratio", "全かみあい率 εγ", f(r.totalContactRatio, 3)));
    }
    rows.push_back(Two("specific_sliding", "歯元のすべり率 ζ", sliding(r.specificSliding[0]), sliding(r.specificSliding[1])));
    return rows;
}

}  // namespace

std::vector<PairRow> PairInputRows(const PairResult& r, std::string_view sep)
{
    const PairInput& in = r.input;
    if (in.helixAngle != 0.0)
        return HelicalPairInputRows(r, sep);
    auto g = [sep](double value) { return Shown{value, FormatGeneral(value, 11, sep)}; };
    return {
        One("module", "モジュール m", g(in.module)),
        One("pressure_angle", "圧力角 α（°）", g(in.pressureAngle)),
        Two("teeth", "歯数 z", Count(in.teeth[0]), Count(in.teeth[1])),
    };
}

std::vector<PairRow> PairResultRows(const PairResult& r, std::string_view sep)
{
    if (r.input.helixAngle != 0.0)
        return HelicalPairResultRows(r, sep);
    auto f = [sep](double value, int decimals) { return Shown{value, FormatFixed(value, 11, decimals, sep)}; };
    auto sliding = [&f](double value) { return std::isfinite(value) ? f(value, 4) : Shown{value, kNoValueText}; };
    return {
        Two("shift", "転位係数 x", f(r.input.shift[0], 6), f(r.input.shift[1], 6)),
        One("shift_sum", "転位係数の和 x1+x2", f(r.shiftSum, 6)),
        One("working_pressure_angle", "作用圧力角 αw（°）", f(r.workingPressureAngle, 4)),
        One("standard_center_distance", "標準中心距離 a0", f(r.standardCenterDistance, 3)),
        One("center_distance", "中心距離 a", f(r.centerDistance, 3)),
        One("center_distance_modification", "中心距離修正係数 y", f(r.centerDistanceModification, 6)),
        One("tip_shortening", "歯先短縮係数 k", f(r.tipShortening, 6)),
        Two("tip_diameter", "歯先円直径 da（短縮後）", f(r.tipDiameter[0], 3), f(r.tipDiameter[1], 3)),
        Two("root_diameter", "歯底円直径 df", f(r.rootDiameter[0], 3), f(r.rootDiameter[1], 3)),
        Two("base_diameter", "基礎円直径 db", f(r.baseDiameter[0], 3), f(r.baseDiameter[1], 3)),
        Two("tip_thickness", "歯先円弧歯厚 sa（短縮後）", f(r.tipThickness[0], 3), f(r.tipThickness[1], 3)),
        One("clearance_unshortened", "頂げき（短縮なし）", f(r.clearanceUnshortened, 3)),
        One("clearance", "頂げき（短縮後）", f(r.clearance, 3)),
        One("line_of_action", "a・sin αw", f(r.lineOfAction, 3)),
        One("contact_ratio", "かみあい率 εα", f(r.contactRatio, 3)),
        Two("specific_sliding", "歯元のすべり率 ζ", sliding(r.specificSliding[0]), sliding(r.specificSliding[1])),
    };
}

const char* PairModeText(const PairResult& r)
{
    return r.fromCenterDistance ? "中心距離から" : "転位係数から";
}

std::string PairReportText(const PairResult& r, std::string_view sep, std::string_view newline)
{
    return MateReportText(MateReportOf(r, sep), newline);
}

MateReport MateReportOf(const PairResult& r, std::string_view sep)
{
    MateReport report;
    report.title = std::string(r.input.helixAngle != 0.0 ? "かみあい（はすば歯車、" : "かみあい（") + PairModeText(r) + "）";
    report.mode = r.fromCenterDistance ? "center_distance" : "shifts";
    report.inputs = PairInputRows(r, sep);
    report.results = PairResultRows(r, sep);
    report.findings = r.findings;
    if (!std::isfinite(r.specificSliding[0]) || !std::isfinite(r.specificSliding[1]))
        report.absent.emplace_back("specific_sliding", kSlidingAbsentText);
    return report;
}

MateReport MateReportOf(const InternalPairResult& r, std::string_view sep)
{
    auto f = [sep](double value, int decimals) { return Shown{value, FormatFixed(value, 11, decimals, sep)}; };
    auto g = [sep](double value) { return Shown{value, FormatGeneral(value, 11, sep)}; };
    auto maybe = [&f](const InterferenceCheck& check) {
        return check.margin ? f(*check.margin, 6) : Shown{std::nan(""), kNoValueText};
    };
    auto finite = [&f](double value) { return std::isfinite(value) ? f(value, 3) : Shown{std::nan(""), kNoValueText}; };
    const PairInput& in = r.input;
    MateReport report;
    report.mate = MateKind::Internal;
    report.title = std::string("かみあい（内歯車、") + (r.fromCenterDistance ? "中心距離から" : "転位係数から") + "）";
    report.mode = r.fromCenterDistance ? "center_distance" : "shifts";
    report.inputs = {
        One("module", "モジュール m", g(in.module)),
        One("pressure_angle", "圧力角 α（°）", g(in.pressureAngle)),
        Two("teeth", "歯数 z", Count(in.teeth[0]), Count(in.teeth[1])),
    };
    report.results = {
        Two("shift", "転位係数 x", f(in.shift[0], 6), f(in.shift[1], 6)),
        One("shift_difference", "転位係数の差 x2−x1", f(r.shiftDifference, 6)),
        One("working_pressure_angle", "作用圧力角 αw（°）", f(r.workingPressureAngle, 4)),
        One("standard_center_distance", "標準中心距離 a0", f(r.standardCenterDistance, 3)),
        One("center_distance", "中心距離 a", f(r.centerDistance, 3)),
        One("center_distance_modification", "中心距離修正係数 y", f(r.centerDistanceModification, 6)),
        Two("tip_diameter", "歯先円直径 da", f(r.tipDiameter[0], 3), f(r.tipDiameter[1], 3)),
        Two("root_diameter", "歯底円直径 df", f(r.rootDiameter[0], 3), finite(r.rootDiameter[1])),
        Two("base_diameter", "基礎円直径 db", f(r.baseDiameter[0], 3), f(r.baseDiameter[1], 3)),
        Two("tip_thickness", "歯先円弧歯厚 sa", finite(r.tipThickness[0]), finite(r.tipThickness[1])),
        One("clearance_pinion_tip", "頂げき（歯車１の歯先）", finite(r.clearancePinionTip)),
        One("clearance_ring_tip", "頂げき（内歯車の歯先）", f(r.clearanceRingTip, 3)),
        One("line_of_action", "a・sin αw", f(r.lineOfAction, 3)),
        One("contact_ratio", "かみあい率 εα", f(r.contactRatio, 3)),
        One("involute_margin", "インボリュート干渉の余裕", maybe(r.involute)),
        One("trochoid_margin", "トロコイド干渉の余裕（rad）", maybe(r.trochoid)),
        One("trimming_margin", "トリミング干渉の余裕（rad）", maybe(r.trimming)),
        One("tip_interference_margin", "歯先干渉の余裕（mm）", maybe(r.tip)),
        One("tip_interference_depth", "歯先干渉の食い込み（mm）", maybe(r.tipDepth)),
    };
    report.findings = r.findings;
    for (const char* key : {"root_diameter", "clearance_pinion_tip"})
        if (!r.ringAbsent.empty())
            report.absent.emplace_back(key, r.ringAbsent);
    if (!std::isfinite(r.tipThickness[1]))
        report.absent.emplace_back("tip_thickness", "内歯車の歯先円が基礎円の内側にある");
    for (const auto& [key, check] : {std::pair{"involute_margin", &r.involute}, std::pair{"trochoid_margin", &r.trochoid},
                                     std::pair{"trimming_margin", &r.trimming}, std::pair{"tip_interference_margin", &r.tip},
                                     std::pair{"tip_interference_depth", &r.tipDepth}})
        if (!check->margin)
            report.absent.emplace_back(key, check->absent);
    return report;
}

MateReport MateReportOf(const RackPairResult& r, std::string_view sep)
{
    auto f = [sep](double value, int decimals) { return Shown{value, FormatFixed(value, 11, decimals, sep)}; };
    auto g = [sep](double value) { return Shown{value, FormatGeneral(value, 11, sep)}; };
    const PairInput& in = r.input;
    MateReport report;
    report.mate = MateKind::Rack;
    report.title = "かみあい（ラック）";
    report.inputs = {
        One("module", "モジュール m", g(in.module)),
        One("pressure_angle", "圧力角 α（°）", g(in.pressureAngle)),
        One("teeth", "歯数 z", Count(in.teeth[0])),
    };
    report.results = {
        One("shift", "転位係数 x", f(in.shift[0], 6)),
        One("center_to_reference_line", "歯車中心からラック基準線まで", f(r.centerToReferenceLine, 3)),
        One("working_pressure_angle", "作用圧力角 αw（°）", f(r.workingPressureAngle, 4)),
        One("tip_diameter", "歯先円直径 da", f(r.tipDiameter, 3)),
        One("root_diameter", "歯底円直径 df", f(r.rootDiameter, 3)),
        One("base_diameter", "基礎円直径 db", f(r.baseDiameter, 3)),
        One("tip_thickness", "歯先円弧歯厚 sa", f(r.tipThickness, 3)),
        One("contact_ratio", "かみあい率 εα", f(r.contactRatio, 3)),
        One("rack_pitch", "ラックのピッチ", f(r.rackPitch, 4)),
        One("rack_chordal_thickness", "ラックの弦歯厚", f(r.rackChordalThickness, 4)),
        One("rack_chordal_height", "ラックの弦歯たけ", f(r.rackChordalHeight, 4)),
        One("travel_per_turn", "歯車１回転のラック移動量", f(r.travelPerTurn, 3)),
    };
    report.findings = r.findings;
    return report;
}

std::string MateReportText(const MateReport& report, std::string_view newline, std::size_t laterWarnings)
{
    std::string text = report.title;
    text += newline;
    for (const auto* rows : {&report.inputs, &report.results})
        for (const PairRow& row : *rows) {
            text += row.label;
            text += '\t';
            text += row.texts[0];
            if (row.perGear) {
                text += '\t';
                text += row.texts[1];
            }
            text += newline;
        }
    if (report.findings.empty() && laterWarnings == 0) {
        text += "警告＝０";
        text += newline;
    }
    for (const std::string& finding : report.findings) {
        text += finding;
        text += newline;
    }
    return text;
}

MateReport InternalGearReport(const GearSpec& in, const InternalGearSizes& s, std::string_view sep)
{
    auto f = [sep](double value, int decimals) { return Shown{value, FormatFixed(value, 11, decimals, sep)}; };
    auto g = [sep](double value) { return Shown{value, FormatGeneral(value, 11, sep)}; };
    auto measure = [&f](const Measure& m) { return m.present() ? f(*m.value, 4) : Shown{std::nan(""), kNoValueText}; };
    MateReport report;
    report.mate = MateKind::Internal;
    report.title = "内歯車";
    report.mode = "internal_gear";
    report.inputs = {
        One("module", "モジュール m", g(in.module)),
        One("pressure_angle", "圧力角 α（°）", g(in.pressureAngleDegrees)),
        One("teeth", "歯数 z", Count(in.teeth)),
        One("shift", "転位係数 x", g(in.shift)),
    };
    report.results = {
        One("pitch_diameter", "基準円直径 d", f(s.pitchDiameter, 4)),
        One("tip_diameter", "歯先円直径 da（内径）", f(s.tipDiameter, 4)),
        One("root_diameter", "歯底円直径 df", f(s.rootDiameter, 4)),
        One("base_diameter", "基礎円直径 db", f(s.baseDiameter, 4)),
        One("space_width", "基準円上の歯溝の幅 e", f(s.spaceWidth, 4)),
        One("tooth_thickness", "基準円上の歯厚 s", f(s.toothThickness, 4)),
        One("base_pitch", "法線ピッチ pb", f(s.basePitch, 4)),
        One("whole_depth", "全歯たけ h", f(s.wholeDepth, 4)),
        One("cutter_teeth", "ピニオンカッタの歯数 z0", Count(s.cutter.teeth)),
        One("cutter_shift", "ピニオンカッタの転位係数 x0", f(s.cutter.shift, 6)),
        One("cutter_tip_diameter", "ピニオンカッタの歯先円直径", f(s.cutterTipDiameter, 4)),
        One("cutter_tip_radius", "ピニオンカッタの歯先丸み半径", f(s.cutter.tipRadius, 4)),
        One("cutting_center_distance", "切削時の中心距離", f(s.cuttingCenterDistance, 4)),
        One("smallest_ring_for_cutter", "この工具がトリミングなしで削れる最小歯数",
            Count(SmallestRingWithoutTrimming(s.cutter.teeth, s.cutter.shift, in.shift, in.pressureAngleDegrees))),
        One("pin_diameter", s.idealPin ? "ピン径 dp（理想）" : "ピン径 dp", measure(s.pinDiameter)),
        One("between_pins", "オーバーピン寸法 M（内側）", measure(s.betweenPins)),
        One("pin_contact_diameter", "ピンの接触円直径", measure(s.pinContactDiameter)),
    };
    report.findings = s.findings;
    for (const Measure* m : {&s.pinDiameter, &s.betweenPins})
        if (!m->present() && std::find(report.findings.begin(), report.findings.end(), m->reason) == report.findings.end())
            report.findings.push_back(m->reason);
    return report;
}
