// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/rackpair.h"

#include "base/apperror.h"
#include "geometry/extended.h"
#include "geometry/gearmath.h"
#include "geometry/gearmodel.h"
#include "geometry/profile.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using L = long double;
constexpr double kRackFillet = 0.38;      // root fillet radius, modules
constexpr double kRackDedendum = 1.25;    // reference line to root line, modules
constexpr double kRackBack = 2.0;         // body below the root line, modules

}  // namespace

RackPairResult ComputeRackPair(const PairInput& input)
{
    PairInput in = input;
    in.mate = MateKind::Rack;
    in.teeth[1] = 0;
    in.shift[1] = 0.0;
    in.thicknessAllowance = {};
    in.tipShortening = 0.0;
    CheckPairBasics(in);
    if (!std::isfinite(in.shift[0]))
        throw AppError("転位係数 x1 は有限の数でなければなりません");

    RackPairResult r;
    r.input = in;
    const GearSpec pinion = GearOf(in, 0);
    const ExactSizes sizes = ExactSizesOf(pinion);
    const L m = in.module, z = in.teeth[0], x = in.shift[0];
    const L alpha = sizes.alpha;
    const L d = sizes.pitch, db = sizes.base, da = sizes.tip;
    if (!(da > db))
        throw AppError("歯車１の歯先円が基礎円の内側にあり、かみあいません");
    const GearModel model(pinion);
    r.pitchDiameter = Store(d);
    r.tipDiameter = Store(da);
    r.rootDiameter = Store(sizes.root);
    r.baseDiameter = Store(db);
    r.tipThickness = model.TipThickness();
    r.centerToReferenceLine = Store(d / 2.0L + x * m);
    r.workingPressureAngle = in.pressureAngle;
    // Recess on the pinion's tip, approach from the rack's tip line, which lies
    // m (1 - x) inside the pinion's reference circle.
    const L recess = std::sqrt(da * da - db * db) / 2.0L - d / 2.0L * std::sin(alpha);
    // Contact cannot start before the pinion's tangent point T1, r sin(alpha)
    // before the pitch point.
    const L approach = m * (1.0L - x) / std::sin(alpha);
    const L toTangent = d / 2.0L * std::sin(alpha);
    r.contactRatio = Store((recess + std::min(approach, toTangent)) / (kPi * m * std::cos(alpha)));
    r.rackPitch = Store(kPi * m);
    r.rackChordalThickness = Store(kPi * m / 2.0L);
    r.rackChordalHeight = Store(m);
    r.travelPerTurn = Store(kPi * m * z);
    r.minShift = model.MinShift();

    if (r.contactRatio < kMinimumContactRatio)
        r.findings.emplace_back("警告：かみあい率εαが1.2未満、かみあいが途切れる");
    if (approach > toTangent)
        r.findings.emplace_back(kContactFromTangentText);
    if (model.Undercut())
        r.findings.push_back(FindingText(ToothFinding::Undercut, "歯車１"));
    if (!(r.tipThickness > 0.0))
        r.findings.emplace_back("警告：歯車１の歯先がとがる（歯先厚さ０以下）");
    return r;
}

RackProfile BuildRackProfile(double module, double pressureAngleDegrees, double length, double tolerance)
{
    if (!(module > 0.0) || !(module <= 1000.0))
        throw AppError("モジュールは 0 より大きく 1000 以下にしてください");
    if (!(pressureAngleDegrees > 0.0 && pressureAngleDegrees < 45.0))
        throw AppError("ラックの圧力角は 0° より大きく 45° より小さくしてください");
    if (!(tolerance >= 0.00001) || !(tolerance <= 1.0))
        throw AppError(ProfileToleranceMessage());
    const double pitch = std::numbers::pi * module;
    if (!(length > 0.0) || !(length <= 100000.0 * pitch))
        throw AppError("ラックの長さは 0 より大きく、10 万歯以下にしてください");

    const double alpha = RadiansInDouble(pressureAngleDegrees);
    const double tanA = std::tan(alpha);
    const double top = module, root = -kRackDedendum * module, rho = kRackFillet * module;
    // One pitch from the middle of a space (x = 0) to the next: the space's
    // root with its two fillets, then the tooth. y as a function of x.
    const double halfSpaceRoot = pitch / 4.0 - kRackDedendum * module * tanA;   // half the root width between the flanks
    const double turn = std::numbers::pi / 2.0 - alpha;                                // the fillet's angle
    const double tangent = rho * std::tan(turn / 2.0);
    if (!(tangent <= halfSpaceRoot))
        throw AppError("ラックの歯底丸みが歯溝に収まりません");
    const double cx = halfSpaceRoot - tangent;                            // fillet centre, right of the space
    const double cy = root + rho;
    const double tipStart = pitch / 4.0 + module * tanA;                  // where the right flank meets the tip
    std::vector<OutlinePoint> one;
    const double step = 2.0 * std::acos(std::max(-1.0, 1.0 - tolerance / rho));
    const int n = std::max(1, static_cast<int>(std::ceil(turn / step)));
    // The left fillet mirrors the right one.
    std::vector<OutlinePoint> right;
    for (int k = 0; k <= n; ++k) {
        const double a = -std::numbers::pi / 2.0 + turn * k / n;
        right.push_back({cx + rho * std::cos(a), cy + rho * std::sin(a)});
    }
    one.push_back({0.0, root});
    for (const OutlinePoint& p : right)
        one.push_back(p);
    one.push_back({tipStart, top});
    one.push_back({pitch - tipStart, top});
    for (auto it = right.rbegin(); it != right.rend(); ++it)
        one.push_back({pitch - it->x, it->y});

    RackProfile out;
    out.length = length;
    out.top = top;
    out.root = root;
    out.bottom = root - kRackBack * module;
    out.deviation = rho * (1.0 - std::cos(turn / n / 2.0));
    // The teeth from x = 0 to the length, cut off where the length ends.
    auto yAt = [&](double x) {
        const double u = x - pitch * std::floor(x / pitch);
        for (std::size_t k = 0; k + 1 < one.size(); ++k)
            if (u <= one[k + 1].x) {
                const double t = (u - one[k].x) / (one[k + 1].x - one[k].x);
                return one[k].y + t * (one[k + 1].y - one[k].y);
            }
        return root;
    };
    const auto pitches = static_cast<long>(std::ceil(length / pitch));
    out.points.push_back({0.0, out.bottom});
    out.points.push_back({length, out.bottom});
    out.points.push_back({length, yAt(length)});
    for (long k = pitches; k-- > 0;)
        for (std::size_t i = one.size(); i-- > 0;) {
            const double x = k * pitch + one[i].x;
            if (x < length && x > 0.0 && std::fabs(x - out.points.back().x) > 1e-9)
                out.points.push_back({x, one[i].y});
        }
    out.points.push_back({0.0, yAt(0.0)});
    return out;
}
