// SPDX-License-Identifier: GPL-3.0-or-later
// The internal gear of the gear model: the ring as a pinion-type cutter cuts
// it. The cutter's centre turns about the ring's at the cutting centre
// distance while its working circle rolls inside the ring's; the flanks its
// involutes cut are the ring's involutes, and the path of its tip rounding is
// the ring's root fillet.
#include "geometry/gearmodel.h"

#include "base/apperror.h"
#include "geometry/pinioncutter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

std::string InternalGearSpecDefect(const GearSpec& g)
{
    if (!std::isfinite(g.module) || g.module <= 0)
        return "モジュールが正の数ではありません";
    if (g.teeth < 3)
        return "内歯車の歯数が 3 未満です";
    if (!std::isfinite(g.shift))
        return "転位係数が有限の数ではありません";
    if (!(g.pressureAngleDegrees > 0 && g.pressureAngleDegrees < 90))
        return "圧力角が 0° と 90° の間にありません";
    if (g.thicknessAllowance != 0.0 || g.tipShortening != 0.0)
        return "内歯車の歯厚の許容差と歯先の短縮はまだ扱えません";
    const Cutter& c = g.cutter;
    if (c.teeth != 0 && (c.teeth < 5 || c.teeth >= g.teeth))
        return "工具の歯数は 5 以上で、内歯車の歯数より少なくしてください";
    if (!std::isfinite(c.shift) || !std::isfinite(c.addendumFactor) || c.addendumFactor <= 0)
        return "工具の転位係数と歯たけが有限の数ではありません";
    const double alpha = static_cast<double>(Radians(g.pressureAngleDegrees));
    CutterCorner corner;
    if (c.teeth != 0 && !std::isnan(c.tipRadius) &&
        !PinionCutterCorner(g.module, c.teeth, c.shift, c.addendumFactor, alpha, c.tipRadius, corner))
        return "工具の歯先丸み半径が工具の歯に収まりません（歯先がとがった工具は作れません）";
    return {};
}

double GearModel::CutterTipDiameter() const
{
    return m_spec.kind == GearKind::Internal
               ? PinionCutterTipDiameter(m_spec.module, m_tool.teeth, m_tool.shift, m_tool.addendumFactor)
               : 0.0;
}

void GearModel::GenerateInternal()
{
    const double z = m_spec.teeth, m = m_spec.module, x = m_spec.shift;
    m_z = z;
    m_alpha = static_cast<double>(Radians(m_spec.pressureAngleDegrees));
    if (m_tool.teeth == 0)
        m_tool.teeth = DefaultCutterTeeth(m, m_spec.teeth, x, m_spec.pressureAngleDegrees);
    const double z0 = m_tool.teeth, x0 = m_tool.shift;
    if (std::isnan(m_tool.tipRadius))
        m_tool.tipRadius = DefaultPinionTipRadius(m, z0, x0, m_tool.addendumFactor, m_alpha);
    m_rho = m_tool.tipRadius;
    CutterCorner corner;
    if (!PinionCutterCorner(m, z0, x0, m_tool.addendumFactor, m_alpha, m_rho, corner))
        throw AppError("工具の歯先丸み半径が工具の歯に収まりません（歯先がとがった工具は作れません）");
    m_corner = corner.centre;

    // The cutting mesh: inv alpha_c = inv alpha + 2 tan alpha (x - x0) / (z - z0),
    // the involute of the exact angle, the tangent of the double one the
    // cutter is drawn with.
    const long double invC = WorkingInvoluteOf(Involute(Radians(m_spec.pressureAngleDegrees)),
                                               std::tan(static_cast<long double>(m_alpha)), x - x0, z - z0);
    if (!(invC > 0.0L))
        throw AppError(CuttingMeshMessage(m_tool.teeth));
    m_alphaC = static_cast<double>(InverseInvolute(invC));
    m_aC = m * (z - z0) / 2.0 * std::cos(m_alpha) / std::cos(m_alphaC);
    m_rw = m_aC * z / (z - z0);
    m_spin = 1.0 - z / z0;

    m_xm = x * m;
    m_rp = z * m / 2.0;
    m_ra = RingTipDiameter(m, m_spec.teeth, x) / 2.0;
    m_rf = m_aC + CutterTipDiameter() / 2.0;
    m_rb = m_rp * std::cos(m_alpha);
    // The space on the base circle, half of it: the space has the shape of an external tooth.
    m_halfBase = ::HalfBaseAngle(m, x, m_alpha, m_rp);
    m_tipInside = !(m_ra > m_rb);

    // Where the cutter's rounding meets its flank, on the ring: the contact
    // of the cutter's junction lies a_c sin alpha_c further along the line of
    // action from the ring's base circle than from the cutter's.
    const double roll = corner.junctionRoll + m_aC * std::sin(m_alphaC);
    m_involuteStart = std::hypot(m_rb, roll);
    const double tJunction = roll / m_rb;

    // The contact on the rounding runs from its radial point (on the root
    // circle) to the junction: find the cutter positions psi of both.
    const double psiRoot = Angle(m_corner) * z0 / z;
    const double junctionDirection = Angle(Sub(corner.junction, corner.centre));
    auto direction = [this](double psi) { return Angle(Rotate(RoundingNormal(psi), -m_spin * psi)); };
    auto gap = [&](double psi) { return std::remainder(direction(psi) - junctionDirection, 2.0 * kPi); };
    const bool rootSide = gap(psiRoot) > 0.0;
    double lo = psiRoot, hi = psiRoot;
    bool found = false;
    // The cutter turns against the ring by (z - z0) / z0 of psi: with few
    // teeth between them the contact takes a large turn of psi to run over
    // the rounding, so the search widens until it has looked half a turn.
    constexpr int steps = 4096;
    const double halfTurn = static_cast<double>(kPi);
    for (double reach = 4.0 * halfTurn / z; !found && reach < 4.0 * halfTurn; reach *= 4.0) {
        const double span = std::min(reach, halfTurn);
        for (int k = 1; k <= steps && !found; ++k)
            for (const double dir : {-1.0, 1.0}) {
                const double before = psiRoot + dir * span * (k - 1) / steps, psi = psiRoot + dir * span * k / steps;
                const double g = gap(psi), gBefore = gap(before);
                // A change of sign by the wrap at half a turn is no crossing.
                if ((g > 0.0) != rootSide && (gBefore > 0.0) == rootSide && std::fabs(g - gBefore) < halfTurn / 2.0) {
                    lo = before;
                    hi = psi;
                    found = true;
                    break;
                }
            }
    }
    if (!found)
        throw AppError("工具の歯先丸みの通り道が求まりません");
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        ((gap(mid) > 0.0) == rootSide ? lo : hi) = mid;
    }
    const double psiJunction = 0.5 * (lo + hi);

    m_pieces.clear();
    m_pieces.push_back({PieceKind::RootArc, static_cast<double>(-kPi / z), Angle(CutterPath(psiRoot))});
    m_pieces.push_back({PieceKind::Trochoid, psiRoot, psiJunction});
    if (m_tipInside)
        return;
    const double tTip = std::sqrt(m_ra * m_ra / (m_rb * m_rb) - 1.0);
    if (!(tJunction > tTip)) {
        m_pointed = true;   // the fillet reaches the tip: no involute is left
        return;
    }
    m_pieces.push_back({PieceKind::Involute, tJunction, tTip});
    const double corner0 = Angle(RingFlank(tTip));
    m_pointed = !(corner0 < 0.0);
    if (!m_pointed)
        m_pieces.push_back({PieceKind::TipArc, corner0, 0.0});
}

// Both below are worked out with the space centred on +x and the cutter's
// tooth 0 in it, then mirrored and turned so that the ring's tooth 0 lies on
// +x and the point on its negative-y side.
OutlinePoint GearModel::RoundingNormal(double psi) const
{
    // The normal of the cut passes through the pitch point Polar(m_rw, psi).
    // Of the two points of the rounding on that line, the cut is made by the
    // one on the cutter's outside: the pitch point lies inside the rounding's
    // centre as a rule, but beyond it when the cutting pressure angle is
    // large (a large shift, or few teeth between cutter and ring).
    const OutlinePoint cutter = Polar(m_aC, psi);
    const OutlinePoint centre = Add(cutter, Rotate(m_corner, m_spin * psi));
    OutlinePoint away = Sub(centre, Polar(m_rw, psi));
    const OutlinePoint outward = Sub(centre, cutter);
    if (Dot(away, outward) < 0.0)
        away = Scale(-1.0, away);
    return Scale(1.0 / Length(away), away);
}

OutlinePoint GearModel::CutterPath(double psi) const
{
    const OutlinePoint centre = Add(Polar(m_aC, psi), Rotate(m_corner, m_spin * psi));
    const OutlinePoint p = Add(centre, Scale(m_rho, RoundingNormal(psi)));
    return Rotate({p.x, -p.y}, -kPi / m_z);
}

OutlinePoint GearModel::RingFlank(double t) const
{
    const double a = t - m_halfBase;
    const OutlinePoint p{m_rb * (std::cos(a) + t * std::sin(a)), m_rb * (std::sin(a) - t * std::cos(a))};
    return Rotate({p.x, -p.y}, -kPi / m_z);
}

namespace {

using L = long double;
constexpr std::int32_t kSmallestDefaultCutter = 12;
constexpr std::int32_t kSmallestReducedCutter = 10;

// Why a cutter of z0 teeth (no shift, default rounding) does not cut the ring
// soundly; empty when it does. A ring whose tip lies inside its base circle
// is judged for trimming at its base circle, where its involute begins.
std::string CutterDefect(double module, std::int32_t z0, std::int32_t ringTeeth, double ringShift,
                         double pressureAngleDegrees)
{
    GearSpec spec;
    spec.kind = GearKind::Internal;
    spec.module = module;
    spec.teeth = ringTeeth;
    spec.shift = ringShift;
    spec.pressureAngleDegrees = pressureAngleDegrees;
    spec.cutter.kind = CutterKind::Pinion;
    spec.cutter.teeth = z0;
    const double alpha = static_cast<double>(Radians(pressureAngleDegrees));
    const double db = module * ringTeeth * std::cos(alpha);
    const double da = std::max(RingTipDiameter(module, ringTeeth, ringShift), db * (1.0 + 1e-12));
    L alphaC = 0.0L;
    try {
        alphaC = InternalWorkingAngle(alpha, z0, 0.0, ringTeeth, ringShift);
    } catch (const AppError&) {
        return "切削中心距離がない（内歯車の転位係数が小さすぎる）";
    }
    try {
        const auto margin = TrimmingMargin(module, z0, PinionCutterTipDiameter(module, z0, 0.0), ringTeeth, da,
                                           pressureAngleDegrees, static_cast<double>(Degrees(alphaC)));
        if (!(margin && *margin >= 0.0))
            return "内歯車の歯先が削られる（トリミング干渉）";
        const GearModel model(spec);
        if (!model.Has(ToothFinding::TipInsideBase) && !(model.InvoluteStartDiameter() > model.TipDiameter()))
            return "工具の歯先丸みが内歯車の歯先まで届く";
    } catch (const AppError& e) {
        return e.what();
    }
    return {};
}

}  // namespace


std::int32_t DefaultCutterTeeth(double module, std::int32_t ringTeeth, double ringShift, double pressureAngleDegrees)
{
    const auto common = static_cast<std::int32_t>(std::lround(std::min(kCommonCutterDiameter / module, 1e6)));
    const std::int32_t z0 = std::max(kSmallestDefaultCutter, common);
    const std::int32_t largest = ringTeeth - 1;
    // The common cutter, or the largest below it, then smaller ones, then
    // larger ones up to a tooth less than the ring: the first that cuts it.
    std::vector<std::int32_t> candidates;
    for (std::int32_t z = std::min(z0, largest); z >= kSmallestReducedCutter; --z)
        candidates.push_back(z);
    for (std::int32_t z = z0 + 1; z <= largest; ++z)
        candidates.push_back(z);
    std::string first, last;
    for (const std::int32_t z : candidates) {
        const std::string defect = CutterDefect(module, z, ringTeeth, ringShift, pressureAngleDegrees);
        if (defect.empty())
            return z;
        const std::string why = "歯数 " + std::to_string(z) + " では" + defect;
        (first.empty() ? first : last) = why;
    }
    if (candidates.empty())
        throw AppError("内歯車の歯数が少なすぎて、それより歯数の少ないピニオンカッタ（" +
                       std::to_string(kSmallestReducedCutter) + " 枚以上）がありません");
    // The smallest cutter tried is the last of the smaller ones.
    if (z0 < largest)
        last = "歯数 " + std::to_string(kSmallestReducedCutter) + " では" +
               CutterDefect(module, kSmallestReducedCutter, ringTeeth, ringShift, pressureAngleDegrees);
    throw AppError("歯数 " + std::to_string(kSmallestReducedCutter) + "～" + std::to_string(largest) +
                   " のどのピニオンカッタでもこの内歯車をトリミング干渉なしに削れません（" + first +
                   (last.empty() || last == first ? "" : "、" + last) + "）");
}
