// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/pairtext.h"

#include "commands/numbertext.h"

namespace {

// A number with its text.
struct Shown {
    double value;
    std::string text;
};

PairRow One(const char* key, const char* label, Shown v)
{
    return {key, label, false, {std::move(v.text), std::string()}, {v.value, 0.0}, false};
}

PairRow Two(const char* key, const char* label, Shown first, Shown second)
{
    return {key, label, true, {std::move(first.text), std::move(second.text)}, {first.value, second.value}, false};
}

Shown Count(std::int32_t value)
{
    return {static_cast<double>(value), FormatInteger(value)};
}

}  // namespace

std::vector<PairRow> PairInputRows(const PairResult& r, std::string_view sep)
{
    const PairInput& in = r.input;
    auto g = [sep](double value) { return Shown{value, FormatGeneral(value, 11, sep)}; };
    PairRow teeth = Two("teeth", "歯数 z", Count(in.teeth[0]), Count(in.teeth[1]));
    teeth.integer = true;
    return {
        One("module", "モジュール m", g(in.module)),
        One("pressure_angle", "圧力角 α（°）", g(in.pressureAngle)),
        std::move(teeth),
    };
}

std::vector<PairRow> PairResultRows(const PairResult& r, std::string_view sep)
{
    auto f = [sep](double value, int decimals) { return Shown{value, FormatFixed(value, 11, decimals, sep)}; };
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
    };
}

const char* PairModeText(const PairResult& r)
{
    return r.fromCenterDistance ? "中心距離から" : "転位係数から";
}

std::string PairReportText(const PairResult& r, std::string_view sep, std::string_view newline)
{
    std::string text = std::string("かみあい（") + PairModeText(r) + "）";
    text += newline;
    for (const auto& rows : {PairInputRows(r, sep), PairResultRows(r, sep)})
        for (const PairRow& row : rows) {
            text += row.label;
            text += '\t';
            text += row.texts[0];
            if (row.perGear) {
                text += '\t';
                text += row.texts[1];
            }
            text += newline;
        }
    if (r.findings.empty()) {
        text += "警告＝０";
        text += newline;
    }
    for (const std::string& finding : r.findings) {
        text += finding;
        text += newline;
    }
    return text;
}
