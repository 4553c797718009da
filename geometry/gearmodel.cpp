// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/gearmodel.h"

#include "base/apperror.h"
#include "geardata/gearrecord.h"

#include <algorithm>
#include <cmath>

namespace {

using L = long double;

constexpr double kThinTipFactor = 0.25;     // a tip thinner than 0.25 m is too thin
constexpr double kDefaultTipRadiusFactor = 0.38;
constexpr long double kExactDefaultTipRadiusFactor = 0.38L;   // the same, to extended precision


}  // namespace

double DefaultToolTipRadius(double module)
{
    return kDefaultTipRadiusFactor * module;
}

GearSpec NormalSystemOf(const GearSpec& g)
{
    GearSpec n = g;
    n.transverse = false;
    if (!g.transverse || g.helixAngleDegrees == 0)
        return n;
    const L beta = Radians(g.helixAngleDegrees), c = std::cos(beta);
    n.module = static_cast<double>(g.module * c);
    n.pressureAngleDegrees = static_cast<double>(Degrees(std::atan(std::tan(Radians(g.pressureAngleDegrees)) * c)));
    n.shift = static_cast<double>(g.shift / c);
    n.thicknessAllowance = static_cast<double>(g.thicknessAllowance * c);
    n.tipShortening = static_cast<double>(g.tipShortening / c);
    return n;
}

GearSpec TransverseSystemOf(const GearSpec& g)
{
    const GearSpec n = NormalSystemOf(g);
    GearSpec t = n;
    t.transverse = true;
    if (n.helixAngleDegrees == 0)
        return t;
    const L beta = Radians(n.helixAngleDegrees), c = std::cos(beta);
    t.module = static_cast<double>(n.module / c);
    t.pressureAngleDegrees = static_cast<double>(Degrees(std::atan(std::tan(Radians(n.pressureAngleDegrees)) / c)));
    t.shift = static_cast<double>(n.shift * c);
    t.thicknessAllowance = static_cast<double>(n.thicknessAllowance / c);
    t.tipShortening = static_cast<double>(n.tipShortening * c);
    return t;
}

HelixSizes HelixOf(const GearSpec& spec)
{
    const GearSpec g = NormalSystemOf(spec);
    // A spur gear keeps its own numbers: beta 0 takes no arc tangent and no
    // quotient of involutes, so alpha_t is alpha_n and z_n is z to the bit.
    HelixSizes h;
    const L m = g.module, z = g.teeth;
    h.beta = Radians(g.helixAngleDegrees);
    h.cosBeta = g.helixAngleDegrees == 0.0 ? 1.0L : std::cos(h.beta);   // cos 0 is 1: no call on the batch's path
    h.normalAlpha = Radians(g.pressureAngleDegrees);
    h.module = m / h.cosBeta;
    if (!h.helical()) {
        h.alpha = h.normalAlpha;
        h.baseHelix = 0;
        h.lead = std::numeric_limits<long double>::infinity();
        h.spanVirtualTeeth = z;
        h.chordVirtualTeeth = z;
        return h;
    }
    h.alpha = std::atan(std::tan(h.normalAlpha) / h.cosBeta);
    h.baseHelix = std::atan(std::tan(h.beta) * std::cos(h.alpha));
    h.lead = kPi * z * h.module / std::tan(h.beta);
    h.spanVirtualTeeth = z * Involute(h.alpha) / Involute(h.normalAlpha);
    h.chordVirtualTeeth = z / (h.cosBeta * h.cosBeta * h.cosBeta);
    return h;
}

ExactSizes ExactSizesOf(const GearSpec& spec)
{
    const GearSpec g = NormalSystemOf(spec);
    ExactSizes s;
    const L m = g.module, z = g.teeth, x = g.shift;
    const HelixSizes h = HelixOf(g);
    s.alpha = h.alpha;
    s.pitch = z * h.module;
    s.base = BaseCircle(s.pitch, s.alpha);
    if (g.kind == GearKind::Internal) {
        s.tip = s.pitch - 2 * m * (1 - x);
        s.root = s.pitch + 2 * m * (L(g.cutter.addendumFactor) + x);
        return s;
    }
    // The radial sizes are the normal rack's: addendum, dedendum and shift in m_n.
    s.tip = m * (z / h.cosBeta + 2 + 2 * x);
    s.root = s.tip - 2 * (L(g.cutter.addendumFactor) + 1) * m + L(g.thicknessAllowance) / std::tan(h.normalAlpha);
    return s;
}

long double ExactInvoluteStartRadius(const GearSpec& spec)
{
    const GearSpec g = NormalSystemOf(spec);
    const ExactSizes sizes = ExactSizesOf(g);
    const HelixSizes h = HelixOf(g);
    const L m = g.module, alpha = sizes.alpha, alphaN = h.normalAlpha;
    const L rho = std::isnan(g.cutter.tipRadius) ? kExactDefaultTipRadiusFactor * m : L(g.cutter.tipRadius);
    const L hTangent = L(g.cutter.addendumFactor) * m - rho + rho * std::sin(alphaN);
    const L xm = L(g.shift) * m + L(g.thicknessAllowance) / (2.0L * std::tan(alphaN));
    const L lambda = (hTangent - xm) / std::sin(alpha) - sizes.pitch / 2.0L * std::sin(alpha);
    const L rb = sizes.base / 2.0L;
    return std::sqrt(rb * rb + lambda * lambda);
}

GearSpec GearSpecOf(const GearRecord& record)
{
    GearSpec g;
    g.module = record.Module;
    g.teeth = record.Teeth;
    g.shift = record.Shift;
    // NaN for an unknown index: GearSpecDefect names it, and the teeth checks fall back on it.
    g.pressureAngleDegrees = IsPressureAngleIndex(record.PressureAngleIndex)
                                 ? PressureAngleDegrees(record.PressureAngleIndex)
                                 : std::numeric_limits<double>::quiet_NaN();
    return g;
}

std::string GearSpecDefect(const GearSpec& spec)
{
    if (!(spec.helixAngleDegrees >= 0 && spec.helixAngleDegrees < 90))
        return "ねじれ角が 0° 以上 90° 未満ではありません";
    if (spec.transverse && !(spec.pressureAngleDegrees > 0 && spec.pressureAngleDegrees < 90))
        return "圧力角が 0° と 90° の間にありません";
    const GearSpec g = NormalSystemOf(spec);
    if (g.helixAngleDegrees != 0 && g.kind == GearKind::Internal)
        return "内歯車のはすば歯車はまだ扱えません";
    if ((g.kind == GearKind::External) != (g.cutter.kind == CutterKind::Rack))
        return g.kind == GearKind::External ? "外歯車をピニオンカッタで削ることはまだ扱えません"
                                            : "内歯車はピニオンカッタで削ります";
    if (g.kind == GearKind::Internal)
        return InternalGearSpecDefect(g);
    if (!std::isfinite(g.module) || g.module <= 0)
        return "モジュールが正の数ではありません";
    if (g.teeth < 1)
        return "歯数が 1 未満です";
    if (!std::isfinite(g.shift))
        return "転位係数が有限の数ではありません";
    if (!(g.pressureAngleDegrees > 0 && g.pressureAngleDegrees < 90))
        return "圧力角が 0° と 90° の間にありません";
    if (!std::isfinite(g.module * (g.teeth + 2.0 + 2.0 * std::fabs(g.shift)) * 4.0) ||
        !std::isfinite(static_cast<double>(HelixOf(g).module) * (g.teeth + 2.0 + 2.0 * std::fabs(g.shift)) * 4.0))
        return "値が数の範囲を超えます";
    if (!std::isfinite(g.thicknessAllowance) || !std::isfinite(g.tipShortening))
        return "歯厚の許容差か歯先の短縮が有限の数ではありません";
    const double rho = std::isnan(g.cutter.tipRadius) ? DefaultToolTipRadius(g.module) : g.cutter.tipRadius;
    const double alpha = static_cast<double>(Radians(g.pressureAngleDegrees));
    const double hc = g.cutter.addendumFactor * g.module - rho;
    if (!(rho >= 0) || !std::isfinite(rho) || !(hc >= 0) ||
        !(kPi * g.module / 4.0 - hc * std::tan(alpha) - rho / std::cos(alpha) >= 0))
        return "工具の歯先丸み半径は 0 以上で、ラックの歯に収まる大きさにしてください";
    return {};
}

TipCondition ClassifyTip(double tipThickness, double module)
{
    if (std::isnan(tipThickness))
        return TipCondition::Missing;
    if (!(tipThickness > 0))
        return TipCondition::Crossing;
    if (tipThickness < kThinTipFactor * module)
        return TipCondition::Thin;
    return TipCondition::Sound;
}

std::optional<ToothFinding> TipFinding(double tipThickness, double module)
{
    switch (ClassifyTip(tipThickness, module)) {
    case TipCondition::Missing:
        return ToothFinding::TipInsideBase;
    case TipCondition::Crossing:
        return ToothFinding::PointedTip;
    case TipCondition::Thin:
        return ToothFinding::ThinTip;
    case TipCondition::Sound:
        break;
    }
    return std::nullopt;
}

std::string FindingBody(ToothFinding finding)
{
    switch (finding) {
    case ToothFinding::Undercut:
        return "創成歯形にｱﾝﾀﾞｰｶｯﾄ発生";
    case ToothFinding::CutThrough:
        return "ｱﾝﾀﾞｰｶｯﾄが歯を貫通、歯形不成立";
    case ToothFinding::TipInsideBase:
        return "歯先円が基礎円内、歯形不成立";
    case ToothFinding::PointedTip:
        return "歯先が尖って交差、歯形不成立";
    case ToothFinding::ThinTip:
        return "歯先歯厚が薄い、０．２５ｍ未満";
    }
    return {};
}

std::string FindingText(ToothFinding finding, const std::string& gearName)
{
    return "警告：" + (gearName.empty() ? std::string() : gearName + "：") + FindingBody(finding);
}

GearModel::GearModel(const GearSpec& given, Proof proof)
    : m_spec(NormalSystemOf(given)), m_proof(proof), m_tool(given.cutter)
{
    const GearSpec& spec = m_spec;
    if (const std::string defect = GearSpecDefect(given); !defect.empty())
        throw AppError(defect);
    m_helix = HelixOf(spec);
    m_stretch = static_cast<double>(1.0L / m_helix.cosBeta);
    m_sizes = ExactSizesOf(spec);
    if (spec.kind == GearKind::Internal)
        GenerateInternal();
    else
        Generate();
    m_tipThickness = ExactTipThickness();
    m_findings = FindingsOfTooth();
}

double GearModel::BasePitch() const
{
    return static_cast<double>(kPi * m_helix.module * std::cos(m_helix.alpha));
}

double GearModel::NormalBasePitch() const
{
    return static_cast<double>(kPi * L(m_spec.module) * std::cos(Radians(m_spec.pressureAngleDegrees)));
}

double GearModel::ReferenceThickness() const
{
    const L alpha = Radians(m_spec.pressureAngleDegrees);
    if (m_spec.kind == GearKind::Internal)
        return static_cast<double>(RingReferenceThickness(L(m_spec.module), L(m_spec.shift), alpha));
    return static_cast<double>(::ReferenceThickness(m_helix.module, L(m_spec.shift), alpha) +
                               L(m_spec.thicknessAllowance) / m_helix.cosBeta);
}

double GearModel::NormalReferenceThickness() const
{
    if (m_spec.kind == GearKind::Internal)
        return ReferenceThickness();
    return static_cast<double>(::ReferenceThickness(L(m_spec.module), L(m_spec.shift), m_helix.normalAlpha) +
                               L(m_spec.thicknessAllowance));
}

namespace {

long double InvoluteThicknessOnCircle(const GearSpec& spec, const ExactSizes& sizes, long double d)
{
    const L m = spec.module, x = spec.shift, alpha = sizes.alpha, pitch = sizes.pitch, base = sizes.base;
    if (!(d >= base))
        return std::numeric_limits<long double>::quiet_NaN();
    if (spec.kind == GearKind::Internal) {
        // A ring's tooth widens outward: its space has the shape of an external tooth.
        const L s = RingReferenceThickness(m, x, alpha);
        return d * (s / pitch - Involute(alpha) + Involute(std::acos(base / d)));
    }
    // The transverse arc: m_t (pi/2 + 2 x_n tan alpha_n) + A / cos(beta), which
    // is m (pi/2 + 2x tan alpha) + A for a spur gear.
    const HelixSizes h = HelixOf(spec);
    const L s = ::ReferenceThickness(h.module, x, h.normalAlpha) + L(spec.thicknessAllowance) / h.cosBeta;
    return d * (s / pitch + Involute(alpha) - Involute(std::acos(base / d)));
}

}  // namespace

long double InvoluteThicknessOnCircle(const GearSpec& given, long double d)
{
    const GearSpec spec = NormalSystemOf(given);
    return InvoluteThicknessOnCircle(spec, ExactSizesOf(spec), d);
}

double GearModel::InvoluteThicknessAt(double d) const
{
    return static_cast<double>(InvoluteThicknessOnCircle(m_spec, m_sizes, d));
}

double GearModel::TipThickness() const
{
    return m_tipThickness;
}

double GearModel::NormalTipThickness() const
{
    // The helix on the tip cylinder is steeper than on the reference one:
    // tan(beta_a) = tan(beta) da / d.
    const double betaTip = std::atan(std::tan(static_cast<double>(m_helix.beta)) * (m_ra / m_rp));
    return m_tipThickness * std::cos(betaTip);
}

double GearModel::ExactTipThickness() const
{
    if (m_spec.kind == GearKind::Internal)
        return static_cast<double>(InvoluteThicknessOnCircle(m_spec, m_sizes, 2.0L * m_ra));
    const L shortening = 2 * L(m_spec.tipShortening) * m_spec.module;
    return static_cast<double>(InvoluteThicknessOnCircle(m_spec, m_sizes, m_sizes.tip - shortening));
}

double GearModel::MinShift() const
{
    // The rounding meets the flank at the normal section's height (alpha_n);
    // the interference point lies rp sin^2(alpha_t) below the rolling line,
    // rp = z m_n / (2 cos beta).
    const double m = m_spec.module;
    const double sinA = std::sin(m_alpha), alphaN = static_cast<double>(m_helix.normalAlpha);
    const double sinN = std::sin(alphaN);
    return (m_spec.cutter.addendumFactor * m - m_rho * (1.0 - sinN)) / m - m_z * sinA * sinA / 2.0 * m_stretch -
           m_spec.thicknessAllowance / (2.0 * m * std::tan(alphaN));
}

double GearModel::TextbookMinShift() const
{
    const L sinA = std::sin(m_helix.alpha);
    return static_cast<double>(1 - L(m_spec.teeth) * sinA * sinA / 2 / m_helix.cosBeta);
}

void GearModel::Generate()
{
    // A helical gear's transverse section is cut by the rack's transverse
    // section rolling on the reference circle (the rack slides along its teeth,
    // across the plane, without changing it). That section has the heights of
    // the normal one (addendum, dedendum, the shift x_n m_n) and its lengths
    // along the rack stretched by 1 / cos(beta): pitch pi m_t, flanks at
    // alpha_t, and the tip rounding of radius rho an ellipse of half-axes
    // rho / cos(beta) along the rack and rho across it, touching the flank and
    // the tip line where the circle does (RoundingOffset). Its trochoid is that
    // ellipse's; the rounding meets the flank at the height of the normal
    // section, hc + rho sin(alpha_n), which sets the involute's start and x_min.
    const double z = m_spec.teeth, m = m_spec.module;
    m_z = z;
    m_alpha = static_cast<double>(m_helix.alpha);
    const double alphaN = static_cast<double>(Radians(m_spec.pressureAngleDegrees));
    m_rho = std::isnan(m_spec.cutter.tipRadius) ? DefaultToolTipRadius(m) : m_spec.cutter.tipRadius;
    const double tanA = std::tan(alphaN), sinA = std::sin(m_alpha), cosA = std::cos(alphaN);
    const double sinN = std::sin(alphaN);
    const double deeper = -m_spec.thicknessAllowance / (2.0 * tanA);   // the tool set this much deeper
    const double addendum = m_spec.cutter.addendumFactor * m;

    const ExactSizes& sizes = m_sizes;
    m_xm = m_spec.shift * m - deeper;
    m_rp = static_cast<double>(sizes.pitch / 2);
    m_ra = static_cast<double>(sizes.tip / 2 - L(m_spec.tipShortening) * m);
    m_rf = static_cast<double>(sizes.root / 2);
    m_rb = static_cast<double>(sizes.base / 2);

    // The rack: reference line at rp + xm from the centre, teeth pointing to
    // the centre, the tooth's middle at 0 when the gear has turned by 0.
    m_hc = addendum - m_rho;                                        // height of the rounding's centre
    m_xic = (kPi * m / 4.0 - m_hc * tanA - m_rho / cosA) * m_stretch;
    m_etac = -(m_rp + m_xm) + m_hc;
    m_turn = kPi / 2.0 - kPi / z;                                    // puts tooth 0 on the x-axis
    m_halfBase = ReferenceThickness() / (2.0 * m_rp) + static_cast<double>(Involute(m_alpha));
    m_tipInside = !(m_ra > m_rb);

    // Where the rounding meets the straight flank; above the base circle the
    // flank's contact makes the involute, below it the rounding undercuts.
    double thetaJoin = m_alpha;
    m_undercut = m_spec.shift < MinShift();
    if (!m_undercut) {
        // ExactInvoluteStartRadius in the double arithmetic the profiles and tables are drawn in.
        const double hTangent = m_hc + m_rho * sinN;
        const double lambda = (hTangent - m_xm) / sinA - m_rp * sinA;
        m_involuteStart = std::sqrt(m_rb * m_rb + lambda * lambda);
    } else {
        // The trochoid cuts the involute: find where it meets it again on the
        // way up from the flank to the root.
        auto gap = [this](double theta) {
            const OutlinePoint p = Trochoid(theta);
            const double r = Length(p);
            // Below the base circle there is no involute: the trochoid is the profile there.
            return r < m_rb ? 1.0 : Angle(p) - FlankAngleAt(r);
        };
        constexpr int steps = 4096;
        double lo = m_alpha, hi = m_alpha;
        bool found = false;
        for (int k = 1; k <= steps && !found; ++k) {
            hi = m_alpha + (kPi / 2.0 - m_alpha) * k / steps;
            if (gap(hi) > 0.0)
                found = true;
            else
                lo = hi;
        }
        if (found) {
            for (int i = 0; i < 200 && hi - lo > 1e-16; ++i) {
                const double mid = 0.5 * (lo + hi);
                (gap(mid) > 0.0 ? hi : lo) = mid;
            }
            thetaJoin = hi;
            m_involuteStart = Length(Trochoid(thetaJoin));
        } else {
            thetaJoin = m_alpha;
            m_involuteStart = std::numeric_limits<double>::infinity();
        }
    }

    // A flank that is trochoid up to the tip circle: cut it there.
    double thetaTop = thetaJoin;
    const bool involuteOnFlank = m_involuteStart < m_ra && !m_tipInside;
    if (!involuteOnFlank && Length(Trochoid(thetaJoin)) > m_ra && Length(Trochoid(kPi / 2.0)) < m_ra) {
        double lo = thetaJoin, hi = kPi / 2.0;   // radius above ra at lo, below at hi
        for (int i = 0; i < 200 && hi - lo > 1e-16; ++i) {
            const double mid = 0.5 * (lo + hi);
            (Length(Trochoid(mid)) > m_ra ? lo : hi) = mid;
        }
        thetaTop = hi;
    }

    // The undercut of this flank reaching past the tooth's centre line meets
    // that of the other flank: the tooth is cut through between the crossing
    // going in and the one coming back out. Most trochoids are shown to stay
    // on their own side in a few steps; the others are searched.
    if (m_proof == Proof::Searched || !TrochoidClearOfCentreLine(thetaTop)) {
        constexpr int steps = 4096;
        // Angle(p) > 0: atan2 of a y below zero (or not a number) never is,
        // so the arc tangent is only taken from the centre line on.
        auto across = [this](double theta) {
            const OutlinePoint p = Trochoid(theta);
            return p.y >= 0.0 && Angle(p) > 0.0;
        };
        // The crossing between a and b (across(a) != across(b)), by bisection.
        auto crossing = [&](double a, double b) {
            const bool atA = across(a);
            for (int i = 0; i < 200 && std::fabs(b - a) > 1e-16; ++i) {
                const double mid = 0.5 * (a + b);
                (across(mid) == atA ? a : b) = mid;
            }
            return Length(Trochoid(b));
        };
        // A trochoid already past the centre line at its top makes a pointed
        // tooth, not a cut one: only a crossing from the tooth's own side counts.
        double prev = thetaTop;
        bool inside = across(thetaTop);
        for (int k = 1; k <= steps; ++k) {
            const double theta = thetaTop + (kPi / 2.0 - thetaTop) * k / steps;
            const bool now = across(theta);
            if (now && !inside && !m_cutThrough) {
                m_cutThrough = true;
                m_cutRadius = crossing(prev, theta);
            } else if (!now && inside && m_cutThrough) {
                m_cutLowRadius = crossing(prev, theta);
                break;
            }
            inside = now;
            prev = theta;
        }
        if (m_cutThrough && m_cutLowRadius == 0.0)
            m_cutLowRadius = m_rf;
    }

    // The pieces, from the middle of the tooth space up to the centre line.
    m_pieces.clear();
    const double spaceMiddle = -kPi / z;
    m_pieces.push_back({PieceKind::RootArc, spaceMiddle, Angle(Trochoid(kPi / 2.0))});
    m_pieces.push_back({PieceKind::Trochoid, kPi / 2.0, thetaTop});
    if (m_tipInside)
        return;
    if (involuteOnFlank) {
        const double tStart =
            std::sqrt(std::max(0.0, m_involuteStart * m_involuteStart / (m_rb * m_rb) - 1.0));
        double tEnd = std::sqrt(m_ra * m_ra / (m_rb * m_rb) - 1.0);
        m_pointed = !(ExactTipThickness() > 0.0);
        if (m_pointed) {
            tEnd = std::tan(static_cast<double>(InverseInvolute(m_halfBase)));   // the flank's point on the centre line
            m_topRadius = m_rb * std::sqrt(1.0 + tEnd * tEnd);
        }
        m_pieces.push_back({PieceKind::Involute, tStart, std::max(tStart, tEnd)});
        if (!m_pointed)
            m_pieces.push_back({PieceKind::TipArc, Angle(Flank(tEnd)), 0.0});
    } else {
        m_pointed = !(Angle(Trochoid(thetaTop)) < 0.0);
        if (!m_pointed)
            m_pieces.push_back({PieceKind::TipArc, Angle(Trochoid(thetaTop)), 0.0});
        else if (Angle(Trochoid(kPi / 2.0)) < 0.0) {
            // The point: where the trochoid comes back to the centre line on its way down.
            double lo = thetaTop, hi = kPi / 2.0;   // at or past the centre line at lo, before it at hi
            for (int i = 0; i < 200 && hi - lo > 1e-16; ++i) {
                const double mid = 0.5 * (lo + hi);
                (Angle(Trochoid(mid)) < 0.0 ? hi : lo) = mid;
            }
            m_topRadius = std::min(m_ra, Length(Trochoid(lo)));
        }
    }
}

// The cut-through search samples the trochoid at 4096 angles and asks whether
// its polar angle is positive (across the centre line). It finds nothing when
// the polar angle stays inside (-pi, 0) over the whole piece, and that is
// shown here by halving the piece until, on each part, the angle at its middle
// lies farther from both ends than the angle can change across the part.
// Along u = cot(theta) (0 at the root) the contact moves at a bounded rate:
//   c = ((hc - xm) u + rho cos(theta), etac + rho sin(theta)), |c'| <= |hc - xm| + 2 rho,
// the rack turns by roll' / rp = (hc - xm) / rp, and the contact stays at
// least rMin = -(etac + rho) from the centre, so the polar angle changes at
// most |hc - xm| / rp + |c'| / rMin and a point moves at most |c'| + r |hc - xm| / rp.
// The margins cover the rounding of both computations many times over.
namespace {

// Proves `clear` on every part of [a, b] (the whole piece in u), each part
// judged by its middle and half its width; false when 256 parts do not.
// cot(theta) a little past theta towards 0, so a piece ending at theta is covered.
double CotPast(double theta)
{
    return (1.0 + 1e-12) / std::tan(theta) + 1e-12;
}

template <class Judge>
bool ShownOnEveryPart(double a, double b, Judge judge)
{
    int budget = 256;
    auto part = [&](auto&& self, double lo, double hi) -> int {
        if (--budget < 0)
            return -1;
        const int verdict = judge(0.5 * (lo + hi), 0.5 * (hi - lo));   // 1 shown, 0 split, -1 fails
        if (verdict != 0)
            return verdict;
        const double mid = 0.5 * (lo + hi);
        const int left = self(self, lo, mid);
        return left == 1 ? self(self, mid, hi) : left;
    };
    return part(part, a, b) == 1;
}

}  // namespace

OutlinePoint GearModel::TrochoidAtCot(double u) const
{
    const double sinT = 1.0 / std::sqrt(1.0 + u * u), cosT = u * sinT;
    const double roll = -m_xic + (m_hc - m_xm) * u;
    return Rotate({m_xic + roll + m_rho * cosT, m_etac + m_rho * sinT}, m_turn - roll / m_rp);
}

double GearModel::TrochoidTopCot() const
{
    for (const BoundaryPiece& p : m_pieces)
        if (p.kind == PieceKind::Trochoid)
            return CotPast(p.to);
    return std::numeric_limits<double>::quiet_NaN();
}

bool GearModel::TrochoidClearOfCentreLine(double thetaTop) const
{
    const double rMin = -(m_etac + m_rho), h = std::fabs(m_hc - m_xm), top = CotPast(thetaTop);
    if (m_spec.kind == GearKind::Internal || m_helix.helical() || !(rMin > 0.0) || !(m_rp > 0.0) || !(top >= 0.0) || !std::isfinite(top))
        return false;
    constexpr double kMargin = 1e-9;
    const double pi = static_cast<double>(kPi);
    const double rate = h / m_rp + (h + 2.0 * m_rho) / rMin;
    return ShownOnEveryPart(0.0, top, [&](double u, double half) {
        const double sinT = 1.0 / std::sqrt(1.0 + u * u), cosT = u * sinT;
        const double roll = -m_xic + (m_hc - m_xm) * u;
        // The polar angle unwrapped: the contact lies below the centre (its y < 0).
        const double value = m_turn - roll / m_rp + std::atan2(m_etac + m_rho * sinT, m_xic + roll + m_rho * cosT);
        const double slack = rate * half + kMargin;
        if (!std::isfinite(value) || !std::isfinite(slack) || !(value < -kMargin) || !(value > kMargin - pi))
            return -1;   // at or near an end already: let the search decide
        return value + slack < 0.0 && value - slack > -pi ? 1 : 0;
    });
}

double GearModel::TrochoidReach() const
{
    // In the rack's frame the rounding's contact is (h cot(theta) + rho cos(theta),
    // -(R0 - rho sin(theta))), h = hc - xm, R0 = -etac; on the piece (theta from
    // its top thetaTop >= alpha up to pi/2) both parts shrink as theta grows.
    if (m_spec.kind == GearKind::Internal || m_helix.helical())
        return std::numeric_limits<double>::infinity();   // a ring's fillet is the cutter's, not bounded here
    double top = static_cast<double>(kPi / 2.0);
    for (const BoundaryPiece& p : m_pieces)
        if (p.kind == PieceKind::Trochoid)
            top = p.to;
    const double r0 = -m_etac;
    if (!(top > 0.0) || !(r0 >= m_rho))
        return std::numeric_limits<double>::infinity();
    const double along = std::fabs(m_hc - m_xm) / std::tan(top) + m_rho * std::cos(top);
    const double down = r0 - m_rho * std::sin(top);
    return std::max(m_rf, std::hypot(along, down));
}

bool GearModel::TrochoidClearOfDisc(OutlinePoint centre, double radius) const
{
    const double reach = TrochoidReach(), h = std::fabs(m_hc - m_xm), top = TrochoidTopCot();
    if (m_spec.kind == GearKind::Internal || !std::isfinite(reach) || !(radius >= 0.0) || !(top >= 0.0) ||
        !std::isfinite(top))
        return false;
    const double margin = 1e-9 * (radius + Length(centre));
    const double speed = h + 2.0 * m_rho + reach * h / m_rp;
    return ShownOnEveryPart(0.0, top, [&](double u, double half) {
        const double gap = Distance(TrochoidAtCot(u), centre) - radius, slack = speed * half + margin;
        if (!std::isfinite(gap) || !std::isfinite(slack) || !(gap > margin))
            return -1;
        return gap > slack ? 1 : 0;
    });
}

OutlinePoint GearModel::RoundingOffset(double theta) const
{
    // The point of the ellipse (half-axes a = rho / cos(beta) along the rack,
    // b = rho across) whose outward normal has the angle theta:
    // (a^2 cos(theta), b^2 sin(theta)) / sqrt(a^2 cos^2(theta) + b^2 sin^2(theta)).
    const double c = std::cos(theta) * m_stretch, s = std::sin(theta);
    const double q = m_rho / std::sqrt(c * c + s * s);
    return {q * c * m_stretch, q * s};
}

OutlinePoint GearModel::Trochoid(double theta) const
{
    if (m_helix.helical()) {
        // The normal of the contact passes through the pitch point; on the
        // ellipse it misses the centre, so the roll takes the offset.
        const OutlinePoint o = RoundingOffset(theta);
        const double roll = -m_xic - o.x + (m_hc - m_xm + o.y) / std::tan(theta);
        const OutlinePoint contact{m_xic + roll + o.x, m_etac + o.y};
        return Rotate(contact, m_turn - roll / m_rp);
    }
    // The normal of the contact passes through the pitch point.
    const double roll = -m_xic + (m_hc - m_xm) / std::tan(theta);
    const double phi = roll / m_rp;
    const OutlinePoint contact{m_xic + roll + m_rho * std::cos(theta), m_etac + m_rho * std::sin(theta)};
    return Rotate(contact, m_turn - phi);
}

OutlinePoint GearModel::Flank(double t) const
{
    const double a = t - m_halfBase;
    return {m_rb * (std::cos(a) + t * std::sin(a)), m_rb * (std::sin(a) - t * std::cos(a))};
}

double GearModel::FlankAngleAt(double radius) const
{
    return -m_halfBase + static_cast<double>(Involute(std::acos(m_rb / radius)));
}

OutlinePoint GearModel::PointOn(PieceKind kind, double parameter) const
{
    const bool ring = m_spec.kind == GearKind::Internal;
    switch (kind) {
    case PieceKind::RootArc:
        return {m_rf * std::cos(parameter), m_rf * std::sin(parameter)};
    case PieceKind::Trochoid:
        return ring ? CutterPath(parameter) : Trochoid(parameter);
    case PieceKind::Involute:
        return ring ? RingFlank(parameter) : Flank(parameter);
    case PieceKind::TipArc:
        return {m_ra * std::cos(parameter), m_ra * std::sin(parameter)};
    }
    return {};
}

std::vector<ToothFinding> GearModel::FindingsOfTooth() const
{
    std::vector<ToothFinding> out;
    if (m_undercut)
        out.push_back(ToothFinding::Undercut);
    if (m_cutThrough)
        out.push_back(ToothFinding::CutThrough);
    if (m_tipInside) {
        out.push_back(ToothFinding::TipInsideBase);
        return out;
    }
    if (m_pointed)
        out.push_back(ToothFinding::PointedTip);
    else if (const auto tip = TipFinding(NormalTipThickness(), m_spec.module))
        out.push_back(*tip);
    return out;
}

bool GearModel::Has(ToothFinding finding) const
{
    return std::find(m_findings.begin(), m_findings.end(), finding) != m_findings.end();
}
