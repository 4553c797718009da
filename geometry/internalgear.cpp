// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/internalgear.h"

#include "geardata/apperror.h"
#include "geometry/involute.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

namespace {

using L = long double;
constexpr double kPi = std::numbers::pi;
constexpr L kPiL = std::numbers::pi_v<long double>;
constexpr double kDefaultCutterTipRadius = 0.2;   // in modules
constexpr std::int32_t kSmallestDefaultCutter = 12;
constexpr std::int32_t kSmallestReducedCutter = 10;
constexpr std::size_t kMaxPoints = 5000000;

struct Pt {
    double x;
    double y;
};

Pt operator+(Pt a, Pt b) { return {a.x + b.x, a.y + b.y}; }
Pt operator-(Pt a, Pt b) { return {a.x - b.x, a.y - b.y}; }
Pt operator*(double k, Pt a) { return {k * a.x, k * a.y}; }
double Norm(Pt p) { return std::hypot(p.x, p.y); }
double Angle(Pt p) { return std::atan2(p.y, p.x); }
Pt Polar(double r, double angle) { return {r * std::cos(angle), r * std::sin(angle)}; }
Pt Rotate(Pt p, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    return {p.x * c - p.y * s, p.x * s + p.y * c};
}

double Radians(double degrees) { return degrees * kPi / 180.0; }

void CheckRing(const InternalGearInput& in)
{
    if (!(std::isfinite(in.module) && in.module > 0.0 && in.module <= 1000.0))
        throw AppError("モジュールは 0 より大きく 1000 以下にしてください");
    if (in.teeth < 3 || in.teeth > 10000)
        throw AppError("内歯車の歯数は 3 以上 10000 以下にしてください");
    if (!std::isfinite(in.shift))
        throw AppError("転位係数が数ではありません");
    if (!(in.pressureAngleDegrees > 0.0 && in.pressureAngleDegrees < 90.0))
        throw AppError("圧力角は 0° より大きく 90° より小さくなければなりません");
    if (!std::isfinite(in.cutter.shift) || std::isnan(in.cutter.tipRadius))
        throw AppError("工具の転位係数と歯先丸み半径は数にしてください");
}

// The working pressure angle of an internal mesh (pinion or cutter z1, ring z2).
L InternalWorkingAngle(L alpha, L z1, L x1, L z2, L x2)
{
    const L invW = Involute(alpha) + 2.0L * std::tan(alpha) * (x2 - x1) / (z2 - z1);
    if (!(invW > 0.0L) || !std::isfinite(invW))
        throw AppError("転位係数の差 x2−x1 が小さすぎて、かみあう中心距離がありません");
    return InverseInvolute(invW);
}

// A pinion-type cutter's tooth, negative-y side, in its own frame (tooth 0 on
// +x): the centre of its tip rounding and where the rounding meets the flank.
struct CutterCorner {
    Pt centre;
    Pt junction;
    double junctionRoll = 0.0;   // length from the base circle's tangent point to the junction
};

std::optional<CutterCorner> Corner(double m, double z0, double x0, double alpha, double rho)
{
    const double r0 = z0 * m / 2.0;
    const double rb0 = r0 * std::cos(alpha);
    const double ra0 = r0 + m * (kCutterAddendum + x0);
    const double halfBase0 = m * (kPi / 2.0 + 2.0 * x0 * std::tan(alpha)) / (2.0 * r0) + std::tan(alpha) - alpha;
    const double rq = ra0 - rho;
    if (!(rho >= 0.0) || !(rq > rb0))
        return std::nullopt;
    const double roll = rho + std::sqrt(rq * rq - rb0 * rb0);
    const double a = roll / rb0 - halfBase0;
    const Pt tangent = Polar(rb0, a);
    const Pt along{std::sin(a), -std::cos(a)};
    CutterCorner c{tangent + (roll - rho) * along, tangent + roll * along, roll};
    // The rounding must stay on its own side of the tooth's centre line.
    if (!(Angle(c.centre) <= 0.0))
        return std::nullopt;
    return c;
}

double DefaultTipRadius(double m, double z0, double x0, double alpha)
{
    const double wanted = kDefaultCutterTipRadius * m;
    if (Corner(m, z0, x0, alpha, wanted))
        return wanted;
    double lo = 0.0, hi = wanted;
    if (!Corner(m, z0, x0, alpha, 0.0))
        return 0.0;
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        (Corner(m, z0, x0, alpha, mid) ? lo : hi) = mid;
    }
    return 0.9 * lo;
}

double CutterTipDiameter(double m, std::int32_t z0, double x0)
{
    return m * (z0 + 2.0 * (kCutterAddendum + x0));
}

double RingTipDiameter(double m, std::int32_t z2, double x2)
{
    return m * z2 - 2.0 * m * (1.0 - x2);
}

bool CutsWithoutTrimming(double m, std::int32_t z0, double x0, std::int32_t z2, double x2, double alpha)
{
    if (z2 <= z0)
        return false;
    const L alphaC = InternalWorkingAngle(alpha, z0, x0, z2, x2);
    const auto margin = TrimmingMargin(m, z0, CutterTipDiameter(m, z0, x0), z2, RingTipDiameter(m, z2, x2),
                                       alpha * 180.0 / kPi, static_cast<double>(alphaC * 180.0L / kPiL));
    return margin && *margin >= 0.0;
}

using Curve = std::function<Pt(double)>;

double DistanceToChord(Pt p, Pt a, Pt b)
{
    const Pt d = b - a;
    const double len2 = d.x * d.x + d.y * d.y;
    const double t = len2 > 0.0 ? std::clamp(((p.x - a.x) * d.x + (p.y - a.y) * d.y) / len2, 0.0, 1.0) : 0.0;
    return Norm(p - (a + t * d));
}

double ChordDeviation(const Curve& f, double a, double b, int samples)
{
    const Pt pa = f(a), pb = f(b);
    double worst = 0.0;
    for (int k = 1; k < samples; ++k)
        worst = std::max(worst, DistanceToChord(f(a + (b - a) * k / samples), pa, pb));
    return worst;
}

// Points along a curve or an arc, no chord further than the tolerance from it.
class Polyline {
public:
    explicit Polyline(double tolerance) : m_tol(tolerance) {}

    void curve(const Curve& f, double a, double b)
    {
        std::vector<double> params;
        constexpr int pieces = 8;
        for (int k = 0; k < pieces; ++k)
            split(f, a + (b - a) * k / pieces, a + (b - a) * (k + 1) / pieces, 0, params);
        for (std::size_t i = 0; i < params.size(); ++i) {
            add(f(params[i]));
            const double next = i + 1 < params.size() ? params[i + 1] : b;
            deviation = std::max(deviation, ChordDeviation(f, params[i], next, 32));
        }
    }

    void arc(double radius, double from, double to)
    {
        const double span = std::fabs(to - from);
        if (!(span > 0.0))
            return;
        const double step = 2.0 * std::acos(std::max(-1.0, 1.0 - m_tol / radius));
        const int n = std::max(1, static_cast<int>(std::ceil(span / step)));
        for (int k = 0; k < n; ++k)
            add(Polar(radius, from + (to - from) * k / n));
        deviation = std::max(deviation, radius * (1.0 - std::cos(span / n / 2.0)));
    }

    void add(Pt p)
    {
        if (points.empty() || Norm(p - points.back()) > 1e-9)
            points.push_back(p);
    }

    std::vector<Pt> points;
    double deviation = 0.0;

private:
    void split(const Curve& f, double a, double b, int depth, std::vector<double>& params)
    {
        if (depth < 40 && ChordDeviation(f, a, b, 8) > 0.95 * m_tol) {
            split(f, a, 0.5 * (a + b), depth + 1, params);
            split(f, 0.5 * (a + b), b, depth + 1, params);
            return;
        }
        params.push_back(a);
    }

    double m_tol;
};

}  // namespace

std::optional<double> TrimmingMargin(double module, std::int32_t z0, double da0, std::int32_t z2, double da2,
                                     double pressureAngleDegrees, double workingPressureAngleDegrees)
{
    const L alpha = static_cast<L>(pressureAngleDegrees) * kPiL / 180.0L;
    const L alphaW = static_cast<L>(workingPressureAngleDegrees) * kPiL / 180.0L;
    const L rb1 = L(module) * z0 * std::cos(alpha) / 2.0L, rb2 = L(module) * z2 * std::cos(alpha) / 2.0L;
    const L ra1 = da0 / 2.0L, ra2 = da2 / 2.0L;
    if (!(ra1 > rb1) || !(ra2 > rb2) || !(z2 > z0))
        return std::nullopt;
    const L cos1 = rb1 / ra1, cos2 = rb2 / ra2;
    const L ratio = L(z0) / z2;
    const L q1 = (1.0L - (cos1 / cos2) * (cos1 / cos2)) / (1.0L - ratio * ratio);
    const L q2 = ((cos2 / cos1) * (cos2 / cos1) - 1.0L) / (1.0L / (ratio * ratio) - 1.0L);
    // Outside these the tips never pass each other as the pinion goes in: trimmed.
    if (!(q1 >= 0.0L && q1 <= 1.0L && q2 >= 0.0L && q2 <= 1.0L))
        return std::nullopt;
    const L theta1 = std::asin(std::sqrt(q1)), theta2 = std::asin(std::sqrt(q2));
    const L invW = Involute(alphaW);
    return static_cast<double>(theta1 + Involute(std::acos(cos1)) - invW -
                               (theta2 + Involute(std::acos(cos2)) - invW) / ratio);
}

std::int32_t SmallestRingWithoutTrimming(std::int32_t cutterTeeth, double cutterShift, double ringShift,
                                         double pressureAngleDegrees)
{
    const double alpha = Radians(pressureAngleDegrees);
    // Below the first ring that clears, every one trims; the search stops well past any cutter.
    for (std::int32_t z2 = cutterTeeth + 1; z2 <= cutterTeeth + 1000; ++z2) {
        try {
            if (CutsWithoutTrimming(1.0, cutterTeeth, cutterShift, z2, ringShift, alpha))
                return z2;
        } catch (const AppError&) {
            // No centre distance for this difference of teeth: it cannot be cut either.
        }
    }
    return 0;
}

std::int32_t DefaultCutterTeeth(double module, std::int32_t ringTeeth, double ringShift, double pressureAngleDegrees)
{
    const double alpha = Radians(pressureAngleDegrees);
    const auto common = static_cast<std::int32_t>(std::lround(std::min(kCommonCutterDiameter / module, 1e6)));
    std::int32_t z0 = std::max(kSmallestDefaultCutter, common);
    for (std::int32_t z = std::min(z0, ringTeeth - 1); z >= kSmallestReducedCutter; --z) {
        try {
            if (CutsWithoutTrimming(module, z, 0.0, ringTeeth, ringShift, alpha))
                return z;
        } catch (const AppError&) {
        }
    }
    return z0;   // too small a ring for any cutter: the findings say it is trimmed
}

InternalGearSizes ComputeInternalGear(const InternalGearInput& in, std::optional<double> pinDiameter)
{
    CheckRing(in);
    InternalGearSizes r;
    const L m = in.module, z = in.teeth, x = in.shift;
    const L alpha = static_cast<L>(in.pressureAngleDegrees) * kPiL / 180.0L;
    const L tanA = std::tan(alpha);

    r.cutter = in.cutter;
    if (r.cutter.teeth == 0)
        r.cutter.teeth = DefaultCutterTeeth(in.module, in.teeth, in.shift, in.pressureAngleDegrees);
    if (r.cutter.teeth < 5 || r.cutter.teeth >= in.teeth)
        throw AppError("工具の歯数は 5 以上で、内歯車の歯数より少なくしてください");
    const double alphaD = static_cast<double>(alpha);
    if (r.cutter.tipRadius < 0.0)
        r.cutter.tipRadius = DefaultTipRadius(in.module, r.cutter.teeth, r.cutter.shift, alphaD);
    if (!Corner(in.module, r.cutter.teeth, r.cutter.shift, alphaD, r.cutter.tipRadius))
        throw AppError("工具の歯先丸み半径が工具の歯に収まりません（歯先がとがった工具は作れません）");

    const L d = m * z, db = d * std::cos(alpha);
    const L z0 = r.cutter.teeth, x0 = r.cutter.shift;
    const L alphaC = InternalWorkingAngle(alpha, z0, x0, z, x);
    const L aC = m * (z - z0) / 2.0L * std::cos(alpha) / std::cos(alphaC);
    const L da0 = m * (z0 + 2.0L * (kCutterAddendum + x0));
    const L da = d - 2.0L * m * (1.0L - x);
    const L df = 2.0L * aC + da0;
    r.pitchDiameter = static_cast<double>(d);
    r.tipDiameter = static_cast<double>(da);
    r.rootDiameter = static_cast<double>(df);
    r.baseDiameter = static_cast<double>(db);
    r.spaceWidth = static_cast<double>(m * (kPiL / 2.0L + 2.0L * x * tanA));
    r.toothThickness = static_cast<double>(m * (kPiL / 2.0L - 2.0L * x * tanA));
    r.basePitch = static_cast<double>(kPiL * m * std::cos(alpha));
    r.wholeDepth = static_cast<double>((df - da) / 2.0L);
    r.cutterTipDiameter = static_cast<double>(da0);
    r.cuttingPressureAngle = static_cast<double>(alphaC * 180.0L / kPiL);
    r.cuttingCenterDistance = static_cast<double>(aC);

    if (!(da > db))
        r.findings.emplace_back("警告：内歯車の歯先円が基礎円の内側にある、インボリュート干渉");
    const auto margin = TrimmingMargin(in.module, r.cutter.teeth, r.cutterTipDiameter, in.teeth, r.tipDiameter,
                                       in.pressureAngleDegrees, r.cuttingPressureAngle);
    if (!(margin && *margin >= 0.0))
        r.findings.push_back("警告：歯数 " + std::to_string(r.cutter.teeth) +
                             " のピニオンカッタでは内歯車の歯先が削られる（トリミング干渉）");

    // Pins: the space is shaped like an external tooth, so the pin's centre
    // lies where inv(phi) = pi/(2z) + inv(alpha) + 2x tan(alpha)/z - dp/db.
    const L halfBase = kPiL / (2.0L * z) + Involute(alpha) + 2.0L * x * tanA / z;
    const L rb = db / 2.0L;
    L dp = 0.0L;
    r.idealPin = !pinDiameter.has_value();
    auto absent = [&r](const std::string& why, bool withPin) {
        if (withPin)
            r.pinDiameter = Measure::Absent(why);
        r.betweenPins = r.pinContactDiameter = Measure::Absent(why);
    };
    if (r.idealPin) {
        const L rc = d / 2.0L + x * m;   // the pin touches on the circle d + 2xm
        const L turn = rc > rb ? std::tan(std::acos(rb / rc)) - halfBase : -1.0L;
        if (!(turn >= 0.0L && turn < kPiL / 2.0L)) {
            absent("円 d＋2xm で歯面に接する理想ピン径がありません", true);
            return r;
        }
        dp = db * (std::tan(std::acos(rb / rc)) - std::tan(turn));
    } else {
        dp = *pinDiameter;
        if (!(std::isfinite(dp) && dp > 0.0L)) {
            absent("ピン径が正の数ではありません", true);
            return r;
        }
    }
    r.pinDiameter = Measure::Of(static_cast<double>(dp));
    const L v = halfBase - dp / db;
    if (!(v > 0.0L)) {
        absent("ピンが大きすぎて歯溝に入りません", false);
        return r;
    }
    const L phi = InverseInvolute(v);
    const L centre = rb / std::cos(phi);
    const L contact = rb * std::sqrt(1.0L + std::pow(std::tan(phi) + dp / db, 2.0L));
    if (contact < da / 2.0L) {
        absent("ピンが大きすぎて歯先に当たります", false);
        return r;
    }
    if (centre + dp / 2.0L > df / 2.0L) {
        absent("ピンが小さすぎて歯底に当たります", false);
        return r;
    }
    const bool even = in.teeth % 2 == 0;
    const L spread = even ? 2.0L * centre : 2.0L * centre * std::cos(kPiL / (2.0L * z));
    r.betweenPins = Measure::Of(static_cast<double>(spread - dp));
    r.pinContactDiameter = Measure::Of(static_cast<double>(2.0L * contact));
    return r;
}

double InvoluteEndDiameter(const InternalGearInput& in)
{
    try {
        const InternalGearSizes sizes = ComputeInternalGear(in);
        const double alpha = Radians(in.pressureAngleDegrees);
        const auto corner = Corner(in.module, sizes.cutter.teeth, sizes.cutter.shift, alpha, sizes.cutter.tipRadius);
        const double roll = corner->junctionRoll + sizes.cuttingCenterDistance * std::sin(Radians(sizes.cuttingPressureAngle));
        return std::hypot(sizes.baseDiameter, 2.0 * roll);
    } catch (const AppError&) {
        return std::numeric_limits<double>::quiet_NaN();
    }
}

GearProfile BuildInternalGearProfile(const InternalGearInput& in, double tolerance)
{
    if (!(tolerance >= 0.00001) || !(tolerance <= 1.0))
        throw AppError(ProfileToleranceMessage());
    const InternalGearSizes sizes = ComputeInternalGear(in);
    const double m = in.module, z2 = in.teeth, alpha = Radians(in.pressureAngleDegrees);
    const double z0 = sizes.cutter.teeth, rho = sizes.cutter.tipRadius;
    const CutterCorner corner = *Corner(m, z0, sizes.cutter.shift, alpha, rho);

    const double rb2 = sizes.baseDiameter / 2.0, ra2 = sizes.tipDiameter / 2.0, rf2 = sizes.rootDiameter / 2.0;
    if (!(ra2 > rb2))
        throw AppError("内歯車の歯先円が基礎円の内側にあるため、歯形を作れません（転位係数を大きくしてください）");
    const double halfBase2 = sizes.spaceWidth / (z2 * m) + std::tan(alpha) - alpha;

    // The cutting motion: the cutter's centre turns about the ring's by psi,
    // its reference (working) circle rolling inside the ring's.
    const double aC = sizes.cuttingCenterDistance;
    const double alphaC = Radians(sizes.cuttingPressureAngle);
    const double rw2 = aC * z2 / (z2 - z0);
    const double spin = 1.0 - z2 / z0;
    auto fillet = [&](double psi) {
        const Pt centre = Polar(aC, psi) + Rotate(corner.centre, spin * psi);
        const Pt pitch = Polar(rw2, psi);
        const Pt away = centre - pitch;
        return centre + (rho / Norm(away)) * away;
    };
    // The direction from the rounding's centre to the contact, in the cutter's frame.
    auto contactDirection = [&](double psi) {
        const Pt centre = Polar(aC, psi) + Rotate(corner.centre, spin * psi);
        return Angle(Rotate(centre - Polar(rw2, psi), -spin * psi));
    };
    const double psiRoot = Angle(corner.centre) * z0 / z2;   // the rounding's radial point on the root circle
    const double junctionDirection = Angle(corner.junction - corner.centre);
    // Find psi where the contact reaches the flank, on whichever side it lies.
    auto gap = [&](double psi) { return std::remainder(contactDirection(psi) - junctionDirection, 2.0 * kPi); };
    const double sRoot = gap(psiRoot);
    double lo = psiRoot, hi = psiRoot;
    bool found = false;
    const double reach = 4.0 * kPi / z2;
    constexpr int steps = 4096;
    for (int k = 1; k <= steps && !found; ++k)
        for (double dir : {-1.0, 1.0}) {
            const double psi = psiRoot + dir * reach * k / steps;
            if ((gap(psi) > 0.0) != (sRoot > 0.0)) {
                lo = psiRoot + dir * reach * (k - 1) / steps;
                hi = psi;
                found = true;
                break;
            }
        }
    if (!found)
        throw AppError("工具の歯先丸みの通り道が求まりません");
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        ((gap(mid) > 0.0) == (sRoot > 0.0) ? lo : hi) = mid;
    }
    const double psiJunction = 0.5 * (lo + hi);

    // The ring's involute: its space is shaped like an external tooth.
    auto flank = [&](double t) {
        const double a = t - halfBase2;
        return Pt{rb2 * (std::cos(a) + t * std::sin(a)), rb2 * (std::sin(a) - t * std::cos(a))};
    };
    const double roll2 = corner.junctionRoll + aC * std::sin(alphaC);
    const double tJunction = roll2 / rb2;
    const double tTip = std::sqrt(ra2 * ra2 / (rb2 * rb2) - 1.0);
    if (!(tJunction > tTip))
        throw AppError("工具の歯先丸みが内歯車の歯先まで届くため、歯形を作れません");
    const double tipCorner = Angle(flank(tTip));
    if (!(tipCorner > -kPi / z2))
        throw AppError(ProfileCrossingTeethMessage());

    // Half a pitch, from the middle of the space on the root circle to the
    // middle of the tooth on the tip circle (space 0 centred on +x).
    Polyline half(tolerance);
    half.arc(rf2, 0.0, Angle(fillet(psiRoot)));
    half.curve(fillet, psiRoot, psiJunction);
    half.curve(flank, tJunction, tTip);
    half.arc(ra2, tipCorner, -kPi / z2);
    half.add(Polar(ra2, -kPi / z2));
    for (const Pt& p : half.points) {
        const double a = Angle(p);
        if (a > 1e-12 || a < -kPi / z2 - 1e-12)
            throw AppError(ProfileCrossingTeethMessage());
    }

    GearProfile out;
    out.pitchDiameter = sizes.pitchDiameter;
    out.tipDiameter = sizes.tipDiameter;
    out.rootDiameter = sizes.rootDiameter;
    out.baseDiameter = sizes.baseDiameter;
    out.involuteStartDiameter = 2.0 * rb2 * std::sqrt(1.0 + tJunction * tJunction);
    out.deviation = half.deviation;

    // One pitch counter-clockwise from the middle of a tooth, turned so that
    // tooth 0 lies on +x.
    std::vector<OutlinePoint> pitch;
    const auto& h = half.points;
    const double turn = kPi / z2;
    for (std::size_t k = h.size(); k-- > 0;) {
        const Pt p = Rotate(h[k], turn);
        pitch.push_back({p.x, p.y});
    }
    for (std::size_t k = 1; k + 1 < h.size(); ++k) {
        const Pt p = Rotate({h[k].x, -h[k].y}, turn);
        pitch.push_back({p.x, p.y});
    }
    out.pointsPerTooth = static_cast<int>(pitch.size());
    if (pitch.size() * static_cast<std::size_t>(in.teeth) > kMaxPoints)
        throw AppError("点の数が 500 万を超えます。許容差を大きくしてください");
    out.points.reserve(pitch.size() * static_cast<std::size_t>(in.teeth));
    for (int k = 0; k < in.teeth; ++k) {
        const double angle = 2.0 * kPi * k / z2;
        const double c = std::cos(angle), s = std::sin(angle);
        for (const OutlinePoint& p : pitch)
            out.points.push_back({p.x * c - p.y * s, p.x * s + p.y * c});
    }
    return out;
}
