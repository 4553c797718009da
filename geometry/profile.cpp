// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/profile.h"

#include "geardata/apperror.h"
#include "geardata/gearrecord.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

const char* ProfileCrossingTeethMessage()
{
    return "歯先の歯厚が 0 以下で歯が交差するため、歯形を作れません";
}

const char* ProfileToleranceMessage()
{
    return "許容差は 0.00001 mm 以上 1 mm 以下にしてください";
}

const char* ProfileTipRadiusMessage()
{
    return "工具の歯先丸み半径は 0 以上で、ラックの歯に収まる大きさにしてください";
}

const char* ProfileAllowanceMessage()
{
    return "歯厚の増減は -m 以上 m 以下にしてください";
}

double DefaultToolTipRadius(double module)
{
    return 0.38 * module;
}

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kMaxTeeth = 10000;
constexpr int kMaxDepth = 40;
constexpr std::size_t kMaxPoints = 5000000;   // what a file and the programs reading it can take

struct Pt {
    double x;
    double y;
};

Pt Rotate(Pt p, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    return {p.x * c - p.y * s, p.x * s + p.y * c};
}

double Radius(Pt p) { return std::hypot(p.x, p.y); }
double Angle(Pt p) { return std::atan2(p.y, p.x); }

double DistanceToChord(Pt p, Pt a, Pt b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double Involute(double angle) { return std::tan(angle) - angle; }

using Curve = std::function<Pt(double)>;

// The largest distance of the curve between parameters a and b from its chord,
// looked at in `samples` equal steps.
double ChordDeviation(const Curve& f, double a, double b, int samples)
{
    const Pt pa = f(a), pb = f(b);
    double worst = 0.0;
    for (int k = 1; k < samples; ++k)
        worst = std::max(worst, DistanceToChord(f(a + (b - a) * k / samples), pa, pb));
    return worst;
}

// Parameters from a to b (a included) whose chords stay within tol.
void Subdivide(const Curve& f, double a, double b, double tol, int depth, std::vector<double>& params)
{
    if (depth < kMaxDepth && ChordDeviation(f, a, b, 8) > tol) {
        const double mid = 0.5 * (a + b);
        Subdivide(f, a, mid, tol, depth + 1, params);
        Subdivide(f, mid, b, tol, depth + 1, params);
        return;
    }
    params.push_back(a);
}

// The rack-generated flank of the negative-y side of tooth 0, from the middle
// of the tooth space on the root circle up to the tooth's centre line on the
// tip circle.
class HalfTooth {
public:
    explicit HalfTooth(const ProfileInput& in);

    std::vector<Pt> points;
    double deviation = 0.0;
    double involuteStartRadius = 0.0;
    bool undercut = false;
    double rp = 0, ra = 0, rf = 0, rb = 0;

private:
    // The contact point of the rack's tip rounding whose normal makes the
    // angle theta with the rack's reference line (alpha .. pi/2), on the gear.
    Pt Fillet(double theta) const;
    // The involute of the flank at roll angle t.
    Pt Flank(double t) const;
    double FlankAngleAt(double radius) const;
    void AddArc(double radius, double from, double to, double tol);
    void AddCurve(const Curve& f, double a, double b, double tol);

    double m_z, m_alpha, m_rho, m_xm, m_hc, m_xic, m_etac, m_halfBase, m_turn;
};

HalfTooth::HalfTooth(const ProfileInput& in)
{
    const double z = in.teeth, m = in.module;
    m_z = z;
    m_alpha = PressureAngleTable[static_cast<std::size_t>(in.pressureAngleIndex)] * kPi / 180.0;
    m_rho = in.tipRadius;
    // The rack's reference line stands xm from the pitch circle: the shift,
    // less the depth the allowance sets it in. The tip circle is the blank's.
    const double depth = -in.thicknessAllowance / (2.0 * std::tan(m_alpha));
    m_xm = in.shift * m - depth;
    rp = z * m / 2.0;
    ra = (2.0 * in.shift + (z + 2.0)) * m / 2.0;
    rf = ra - 2.25 * m - depth;
    rb = rp * std::cos(m_alpha);

    // The rack: reference line at rp + xm from the centre, teeth pointing to
    // the centre, the tooth's middle at 0 when the gear has turned by 0.
    m_hc = 1.25 * m - m_rho;                                        // height of the rounding's centre
    m_xic = kPi * m / 4.0 - m_hc * std::tan(m_alpha) - m_rho / std::cos(m_alpha);
    m_etac = -(rp + m_xm) + m_hc;
    if (!(m_rho >= 0.0) || m_hc < 0.0 || m_xic < 0.0)
        throw AppError(ProfileTipRadiusMessage());
    m_turn = kPi / 2.0 - kPi / z;                                    // puts tooth 0 on the x-axis

    const double pitchThickness = m * (kPi / 2.0 + 2.0 * in.shift * std::tan(m_alpha)) + in.thicknessAllowance;
    m_halfBase = pitchThickness / (2.0 * rp) + Involute(m_alpha);
    if (!(ra > rb) || !(m_halfBase - Involute(std::acos(rb / ra)) > 0.0))
        throw AppError(ProfileCrossingTeethMessage());

    // Where the rounding meets the straight flank, and where the flank's
    // contact reaches the base circle: beyond it the flank undercuts.
    const double hTangent = m_hc + m_rho * std::sin(m_alpha);
    const double hBase = m_xm + rp * std::sin(m_alpha) * std::sin(m_alpha);
    double thetaJoin = m_alpha;
    if (hTangent <= hBase) {
        const double lambda = (hTangent - m_xm) / std::sin(m_alpha) - rp * std::sin(m_alpha);
        involuteStartRadius = std::sqrt(rb * rb + lambda * lambda);
    } else {
        // The fillet cuts the involute: find where it crosses it again on the
        // way up from the flank to the root.
        undercut = true;
        auto gap = [this](double theta) {
            const Pt p = Fillet(theta);
            const double r = Radius(p);
            // Below the base circle there is no involute: the fillet is the profile there.
            return r < rb ? 1.0 : Angle(p) - FlankAngleAt(r);
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
        if (!found)
            throw AppError(ProfileCrossingTeethMessage());
        for (int i = 0; i < 200 && hi - lo > 1e-16; ++i) {
            const double mid = 0.5 * (lo + hi);
            (gap(mid) > 0.0 ? hi : lo) = mid;
        }
        thetaJoin = hi;
        involuteStartRadius = Radius(Fillet(thetaJoin));
    }
    if (!(involuteStartRadius < ra))
        throw AppError(ProfileCrossingTeethMessage());

    const double tol = in.tolerance;
    const double spaceMiddle = -kPi / z;
    const Pt filletStart = Fillet(kPi / 2.0);
    AddArc(rf, spaceMiddle, Angle(filletStart), tol);
    AddCurve([this](double th) { return Fillet(th); }, kPi / 2.0, thetaJoin, tol);
    const double tStart = std::sqrt(std::max(0.0, involuteStartRadius * involuteStartRadius / (rb * rb) - 1.0));
    const double tTip = std::sqrt(ra * ra / (rb * rb) - 1.0);
    AddCurve([this](double t) { return Flank(t); }, tStart, tTip, tol);
    AddArc(ra, Angle(Flank(tTip)), 0.0, tol);
    points.push_back({ra, 0.0});

    // Nothing may reach into the neighbouring tooth space or past the centre line.
    for (const Pt& p : points) {
        const double a = Angle(p);
        if (a < spaceMiddle - 1e-12 || a > 1e-12)
            throw AppError(ProfileCrossingTeethMessage());
    }
}

Pt HalfTooth::Fillet(double theta) const
{
    // The normal of the contact passes through the pitch point.
    const double roll = -m_xic + (m_hc - m_xm) / std::tan(theta);
    const double phi = roll / rp;
    const Pt contact{m_xic + roll + m_rho * std::cos(theta), m_etac + m_rho * std::sin(theta)};
    return Rotate(contact, m_turn - phi);
}

Pt HalfTooth::Flank(double t) const
{
    const double a = t - m_halfBase;
    return {rb * (std::cos(a) + t * std::sin(a)), rb * (std::sin(a) - t * std::cos(a))};
}

double HalfTooth::FlankAngleAt(double radius) const
{
    return -m_halfBase + Involute(std::acos(rb / radius));
}

void HalfTooth::AddArc(double radius, double from, double to, double tol)
{
    const double span = std::fabs(to - from);
    if (span <= 0.0)
        return;
    const double step = 2.0 * std::acos(std::max(-1.0, 1.0 - tol / radius));
    const int n = std::max(1, static_cast<int>(std::ceil(span / step)));
    for (int k = 0; k < n; ++k) {
        const double a = from + (to - from) * k / n;
        points.push_back({radius * std::cos(a), radius * std::sin(a)});
    }
    deviation = std::max(deviation, radius * (1.0 - std::cos(span / n / 2.0)));
}

void HalfTooth::AddCurve(const Curve& f, double a, double b, double tol)
{
    std::vector<double> params;
    const int pieces = 8;
    for (int k = 0; k < pieces; ++k)
        Subdivide(f, a + (b - a) * k / pieces, a + (b - a) * (k + 1) / pieces, 0.95 * tol, 0, params);
    for (std::size_t i = 0; i < params.size(); ++i) {
        const Pt p = f(params[i]);
        if (points.empty() || std::hypot(p.x - points.back().x, p.y - points.back().y) > 1e-9)
            points.push_back(p);
        const double next = i + 1 < params.size() ? params[i + 1] : b;
        deviation = std::max(deviation, ChordDeviation(f, params[i], next, 32));
    }
}

}  // namespace

GearProfile BuildGearProfile(const ProfileInput& in)
{
    if (in.teeth < 3 || in.teeth > kMaxTeeth)
        throw AppError("歯数は 3 以上 10000 以下にしてください");
    if (!(in.module > 0.0) || !(in.module <= 1000.0))
        throw AppError("モジュールは 0 より大きく 1000 以下にしてください");
    if (!std::isfinite(in.shift))
        throw AppError("転位係数が数ではありません");
    if (in.pressureAngleIndex < 0 || in.pressureAngleIndex >= static_cast<int>(PressureAngleTable.size()))
        throw AppError("圧力角の番号が正しくありません");
    if (!(in.tolerance >= 0.00001) || !(in.tolerance <= 1.0))
        throw AppError(ProfileToleranceMessage());
    if (!std::isfinite(in.tipRadius))
        throw AppError(ProfileTipRadiusMessage());
    if (!std::isfinite(in.thicknessAllowance) || !(std::fabs(in.thicknessAllowance) <= in.module))
        throw AppError(ProfileAllowanceMessage());

    const HalfTooth half(in);
    GearProfile out;
    out.pitchDiameter = 2.0 * half.rp;
    out.tipDiameter = 2.0 * half.ra;
    out.rootDiameter = 2.0 * half.rf;
    out.baseDiameter = 2.0 * half.rb;
    out.involuteStartDiameter = 2.0 * half.involuteStartRadius;
    out.undercut = half.undercut;
    out.deviation = half.deviation;

    // Tooth 0: up the negative-y flank to the centre line, down the mirror
    // image; the mirror of the first point is the next tooth's first point.
    std::vector<OutlinePoint> tooth;
    const auto& h = half.points;
    for (const Pt& p : h)
        tooth.push_back({p.x, p.y});
    for (std::size_t k = h.size() - 1; k-- > 1;)
        tooth.push_back({h[k].x, -h[k].y});
    out.pointsPerTooth = static_cast<int>(tooth.size());
    if (tooth.size() * static_cast<std::size_t>(in.teeth) > kMaxPoints)
        throw AppError("点の数が 500 万を超えます。許容差を大きくしてください");

    out.points.reserve(tooth.size() * static_cast<std::size_t>(in.teeth));
    for (int k = 0; k < in.teeth; ++k) {
        const double angle = 2.0 * kPi * k / in.teeth;
        const double c = std::cos(angle), s = std::sin(angle);
        for (const OutlinePoint& p : tooth)
            out.points.push_back({p.x * c - p.y * s, p.x * s + p.y * c});
    }
    return out;
}
