// SPDX-License-Identifier: GPL-3.0-or-later
// The size of a STEP solid, counted and checked before a file is chosen: the
// programs make this check themselves, without the part module.
#include "export/stepsize.h"

#include "base/apperror.h"
#include "export/profileexport.h"
#include "geometry/gearmath.h"

#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double kCornerAngle = RadiansInDouble(10.0);

}  // namespace

std::vector<std::size_t> StepCorners(const std::vector<OutlinePoint>& pts)
{
    const std::size_t n = pts.size();
    auto turn = [&](std::size_t i) {
        const OutlinePoint& a = pts[(i + n - 1) % n];
        const OutlinePoint& b = pts[i];
        const OutlinePoint& c = pts[(i + 1) % n];
        const double u = std::atan2(b.y - a.y, b.x - a.x), v = std::atan2(c.y - b.y, c.x - b.x);
        return std::fabs(std::remainder(v - u, 2.0 * std::numbers::pi));
    };
    std::vector<std::size_t> corners;
    for (std::size_t i = 0; i < n; ++i)
        if (turn(i) > kCornerAngle)
            corners.push_back(i);
    if (corners.empty())
        corners.push_back(0);
    return corners;
}

void CheckStepSize(const GearProfile& profile)
{
    const std::size_t edges = StepCorners(profile.points).size(), poles = profile.points.size();
    if (edges > kStepMaxEdges || poles > kStepMaxPoles)
        throw AppError("STEP の立体には歯形の曲線が多すぎます（曲線 " + std::to_string(edges) + " 本、点 " +
                       std::to_string(poles) + " 個。作れるのは " + std::to_string(kStepMaxEdges) + " 本、" +
                       std::to_string(kStepMaxPoles) + " 個まで）。許容差を大きくするか、歯数を減らしてください");
}
