// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/teethchecks.h"

#include "commands/credits.h"
#include "geardata/gearrecord.h"
#include "geometry/gearmodel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int32_t kUndercutLimit = 13;   // this many teeth or fewer undercut
constexpr std::int32_t kMaxTeeth = kWindowMaxTeeth;   // more than this cannot be computed

}  // namespace

TeethCheckResult CheckTeethCounts(std::int32_t teeth, std::int32_t teeth2)
{
    TeethCheckResult out{{}, kChecksClean};
    if (teeth <= kUndercutLimit) {
        out.lines.emplace_back("警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生");
        out.result = kChecksWarned;
    }
    if (teeth2 <= kUndercutLimit) {
        out.lines.emplace_back("警告：歯数Ｚ２が小さい、ｱﾝﾀﾞｰｶｯﾄ発生");
        out.result = kChecksWarned;
    }
    if (teeth > kMaxTeeth) {
        out.lines.emplace_back("エラー：歯数Ｚ1が多すぎる、計算不可");
        out.result = kChecksRefused;
    }
    if (teeth2 > kMaxTeeth) {
        out.lines.emplace_back("エラー：歯数Ｚ2が多すぎる、計算不可");
        out.result = kChecksRefused;
    }
    if (!out.lines.empty())
        return out;
    out.lines = CreditLines();
    out.lines.emplace_back("エラー＝０、警告＝０");
    return out;
}

bool CountRuleWarnsUndercut(std::int32_t teeth)
{
    return teeth <= kUndercutLimit;
}

std::vector<std::string> TipThicknessFindings(double tipThickness, double module)
{
    if (const auto finding = TipFinding(tipThickness, module))
        return {FindingText(*finding)};
    return {};
}

std::vector<std::string> GeneratedToothFindings(const GearRecord& g, std::optional<GearModel>* model)
{
    const GearSpec spec = GearSpecOf(g);
    if (!GearSpecDefect(spec).empty())
        return TipThicknessFindings(g.TipThickness, g.Module);
    std::optional<GearModel> built;
    std::optional<GearModel>& kept = model != nullptr ? *model : built;
    kept.emplace(spec);
    std::vector<std::string> lines;
    for (const ToothFinding f : kept->Findings())
        if (f != ToothFinding::Undercut || !CountRuleWarnsUndercut(g.Teeth))
            lines.push_back(FindingText(f));
    return lines;
}

TeethCheckResult CheckComputedGear(const GearRecord& g)
{
    return WithToothFindings(CheckTeethCounts(g.Teeth, g.Teeth2), GeneratedToothFindings(g));
}

TeethCheckResult WithToothFindings(TeethCheckResult out, const std::vector<std::string>& findings)
{
    if (findings.empty())
        return out;
    if (out.result == kChecksClean)
        out.lines.clear();   // the no-findings block
    out.lines.insert(out.lines.end(), findings.begin(), findings.end());
    out.result = std::max(out.result, kChecksWarned);
    return out;
}

std::vector<std::string> WithoutCreditLines(const std::vector<std::string>& lines)
{
    const std::vector<std::string>& credits = CreditLines();
    std::vector<std::string> kept;
    for (const std::string& line : lines)
        if (std::find(credits.begin(), credits.end(), line) == credits.end())
            kept.push_back(line);
    return kept;
}

std::string RefusalText(const TeethCheckResult& check)
{
    std::string text;
    for (const std::string& line : check.lines)
        if (line.rfind("エラー：", 0) == 0)
            text += (text.empty() ? "" : " ") + line;
    return text;
}
