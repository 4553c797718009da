// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/teethchecks.h"

#include "geardata/gearrecord.h"
#include "geometry/gearmodel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int32_t kUndercutLimit = 13;   // this many teeth or fewer undercut
constexpr std::int32_t kMaxTeeth = 70;        // more than this cannot be computed

}  // namespace

const char* HomePageAddress()
{
    return "https://tsumugi.example.org/";
}

TeethCheckResult CheckTeethCounts(std::int32_t teeth, std::int32_t teeth2)
{
    TeethCheckResult out{{}, 0};
    if (teeth <= kUndercutLimit) {
        out.lines.emplace_back("警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生");
        out.result = 1;
    }
    if (teeth2 <= kUndercutLimit) {
        out.lines.emplace_back("警告：歯数Ｚ２が小さい、ｱﾝﾀﾞｰｶｯﾄ発生");
        out.result = 1;
    }
    if (teeth > kMaxTeeth) {
        out.lines.emplace_back("エラー：歯数Ｚ1が多すぎる、計算不可");
        out.result = 2;
    }
    if (teeth2 > kMaxTeeth) {
        out.lines.emplace_back("エラー：歯数Ｚ2が多すぎる、計算不可");
        out.result = 2;
    }
    if (!out.lines.empty())
        return out;
    out.lines.emplace_back("作者：ツムギ開発チーム");
    out.lines.emplace_back("E-mail：tsumugi@example.org");
    out.lines.emplace_back(std::string("HP：") + HomePageAddress());
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

std::vector<std::string> GeneratedToothFindings(const GearRecord& g)
{
    const GearSpec spec = GearSpecOf(g);
    if (!GearSpecDefect(spec).empty())
        return TipThicknessFindings(g.TipThickness, g.Module);
    std::vector<std::string> lines;
    for (const ToothFinding f : GearModel(spec).Findings())
        if (f != ToothFinding::Undercut || !CountRuleWarnsUndercut(g.Teeth))
            lines.push_back(FindingText(f));
    return lines;
}

TeethCheckResult CheckComputedGear(const GearRecord& g)
{
    TeethCheckResult out = CheckTeethCounts(g.Teeth, g.Teeth2);
    const std::vector<std::string> findings = GeneratedToothFindings(g);
    if (findings.empty())
        return out;
    if (out.result == 0)
        out.lines.clear();   // the no-findings block
    out.lines.insert(out.lines.end(), findings.begin(), findings.end());
    out.result = std::max(out.result, 1);
    return out;
}
