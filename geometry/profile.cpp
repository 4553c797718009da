// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/profile.h"

#include "base/apperror.h"
#include "geardata/gearrecord.h"

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <functional>
#include <numbers>

const char* ProfileCrossingTeethMessage()
{
    return "歯先の歯厚が 0 以下で歯が交差するため、歯形を作れません";
}

std::string ProfileCutThroughMessage(double low, double high)
{
    const char* const format = "（直径 %.3f〜%.3f mm）";
    std::string where(static_cast<std::size_t>(std::max(0, std::snprintf(nullptr, 0, format, low, high))), '\0');
    std::snprintf(where.data(), where.size() + 1, format, low, high);
    return FindingBody(ToothFinding::CutThrough) + where + "のため、歯形を作れません";
}

const char* ProfileNoInvoluteMessage()
{
    return "インボリュート歯面が歯先円の下に残らないため、歯形を作れません";
}

const char* ProfileToleranceMessage()
{
    return "許容差は 0.00001 mm 以上 1 mm 以下にしてください";
}

const char* ProfileTipRadiusMessage()
{
    return "工具の歯先丸み半径は 0 以上で、ラックの歯に収まる大きさにしてください";
}

const char* ProfilePointLimitMessage()
{
    return "点の数が 500 万を超えます。許容差を大きくしてください";
}

const char* ProfileRootMessage()
{
    return "歯底円の半径が 0 以下のため、歯形を作れません";
}

const char* ProfileNotFiniteMessage()
{
    return "歯先円か歯底円の直径が有限の数にならないため、歯形を作れません";
}

namespace {

constexpr int kMaxTeeth = 10000;
constexpr int kMaxDepth = 40;
constexpr std::size_t kMaxPoints = 5000000;   // what a file and the programs reading it can take

double DistanceToChord(OutlinePoint p, OutlinePoint a, OutlinePoint b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

using Curve = std::function<OutlinePoint(double)>;

// The largest distance of the curve between parameters a and b from its chord,
// looked at in `samples` equal steps.
double ChordDeviation(const Curve& f, double a, double b, int samples)
{
    const OutlinePoint pa = f(a), pb = f(b);
    double worst = 0.0;
    for (int k = 1; k < samples; ++k)
        worst = std::max(worst, DistanceToChord(f(a + (b - a) * k / samples), pa, pb));
    return worst;
}

// Parameters from a to b (a included) whose chords stay within tol; refuses
// the gear as soon as more than `budget` of them would be needed.
void Subdivide(const Curve& f, double a, double b, double tol, int depth, std::vector<double>& params,
               std::size_t budget)
{
    if (depth < kMaxDepth && ChordDeviation(f, a, b, 8) > tol) {
        const double mid = 0.5 * (a + b);
        Subdivide(f, a, mid, tol, depth + 1, params, budget);
        Subdivide(f, mid, b, tol, depth + 1, params, budget);
        return;
    }
    if (params.size() >= budget)
        throw AppError(ProfilePointLimitMessage());
    params.push_back(a);
}

// The generated tooth of the model as points: the negative-y side of tooth 0,
// from the middle of the tooth space on the root circle up to the tooth's
// centre line on the tip circle.
class HalfTooth {
public:
    HalfTooth(const GearModel& model, double tolerance);

    std::vector<OutlinePoint> points;
    double deviation = 0.0;
    // The pieces that have points, each from its first point to the next
    // piece's first (the last one to the point on the centre line).
    std::vector<ProfilePiece> pieces;

private:
    void AddArc(double radius, double from, double to, double tol);
    // Returns the index of the curve's first point (the point before it when
    // it falls on that one).
    std::size_t AddCurve(const Curve& f, double a, double b, double tol);
    void AddPiece(PieceKind kind, std::size_t first, double radius);
    std::size_t Room() const { return m_budget - std::min(m_budget, points.size()); }

    // Points one half tooth may take before the whole gear passes the limit.
    std::size_t m_budget = 0;
};

HalfTooth::HalfTooth(const GearModel& model, double tol)
    : m_budget(kMaxPoints / (2 * static_cast<std::size_t>(model.Teeth())) + 2)
{
    for (const BoundaryPiece& piece : model.Boundary()) {
        const std::size_t first = points.size();
        switch (piece.kind) {
        case PieceKind::RootArc:
            AddArc(model.RootDiameter() / 2.0, piece.from, piece.to, tol);
            AddPiece(piece.kind, first, model.RootDiameter() / 2.0);
            break;
        case PieceKind::TipArc:
            AddArc(model.TipDiameter() / 2.0, piece.from, piece.to, tol);
            AddPiece(piece.kind, first, model.TipDiameter() / 2.0);
            break;
        case PieceKind::Trochoid:
        case PieceKind::Involute: {
            const PieceKind kind = piece.kind;
            AddPiece(kind, AddCurve([&model, kind](double t) { return model.PointOn(kind, t); },
                                    piece.from, piece.to, tol), 0.0);
            break;
        }
        }
    }
    points.push_back({model.TipDiameter() / 2.0, 0.0});
    for (std::size_t i = 0; i < pieces.size(); ++i)
        pieces[i].last = i + 1 < pieces.size() ? pieces[i + 1].first : points.size() - 1;
    std::erase_if(pieces, [](const ProfilePiece& p) { return p.last <= p.first; });

    // Nothing may reach into the neighbouring tooth space or past the centre line.
    const double spaceMiddle = -kPi / model.Teeth();
    for (const OutlinePoint& p : points) {
        const double a = Angle(p);
        if (a < spaceMiddle - 1e-12 || a > 1e-12)
            throw AppError(ProfileCrossingTeethMessage());
    }
}

void HalfTooth::AddArc(double radius, double from, double to, double tol)
{
    const double span = std::fabs(to - from);
    if (span <= 0.0)
        return;
    const double step = 2.0 * std::acos(std::max(-1.0, 1.0 - tol / radius));
    const double pieces = std::ceil(span / step);
    if (!(pieces <= static_cast<double>(Room())))
        throw AppError(ProfilePointLimitMessage());
    const int n = std::max(1, static_cast<int>(pieces));
    for (int k = 0; k < n; ++k) {
        const double a = from + (to - from) * k / n;
        points.push_back({radius * std::cos(a), radius * std::sin(a)});
    }
    deviation = std::max(deviation, radius * (1.0 - std::cos(span / n / 2.0)));
}

void HalfTooth::AddPiece(PieceKind kind, std::size_t first, double radius)
{
    if (first < points.size())
        pieces.push_back({kind, first, first, radius});
}

std::size_t HalfTooth::AddCurve(const Curve& f, double a, double b, double tol)
{
    const std::size_t first = points.size();
    bool firstKept = true;
    std::vector<double> params;
    const int pieces = 8;
    for (int k = 0; k < pieces; ++k)
        Subdivide(f, a + (b - a) * k / pieces, a + (b - a) * (k + 1) / pieces, 0.95 * tol, 0, params, Room());
    for (std::size_t i = 0; i < params.size(); ++i) {
        const OutlinePoint p = f(params[i]);
        if (points.empty() || std::hypot(p.x - points.back().x, p.y - points.back().y) > 1e-9)
            points.push_back(p);
        else if (i == 0)
            firstKept = false;
        const double next = i + 1 < params.size() ? params[i + 1] : b;
        deviation = std::max(deviation, ChordDeviation(f, params[i], next, 32));
    }
    return firstKept ? first : first - 1;
}

}  // namespace

GearProfile BuildGearProfile(const GearSpec& spec, double tolerance)
{
    if (spec.teeth < 3 || spec.teeth > kMaxTeeth)
        throw AppError("歯数は 3 以上 10000 以下にしてください");
    // Below a thousandth of a millimetre the files' digits no longer tell the points apart.
    if (!(spec.module >= 0.001) || !(spec.module <= 1000.0))
        throw AppError("モジュールは 0.001 mm 以上 1000 mm 以下にしてください");
    if (!std::isfinite(spec.shift))
        throw AppError("転位係数が数ではありません");
    if (PressureAngleIndexOfDegrees(spec.pressureAngleDegrees) < 0)
        throw AppError("圧力角の番号が正しくありません");
    if (!(tolerance >= 0.00001) || !(tolerance <= 1.0))
        throw AppError(ProfileToleranceMessage());
    // NaN is the default tool's radius; an infinite one fits no rack.
    if (std::isinf(spec.cutter.tipRadius))
        throw AppError(ProfileTipRadiusMessage());
    // Each defect for what it is: circles beyond the number range, then the rack's tip radius.
    if (!std::isfinite(spec.module * (spec.teeth + 2.0 + 2.0 * std::fabs(spec.shift)) * 4.0))
        throw AppError(ProfileNotFiniteMessage());
    if (const std::string defect = GearSpecDefect(spec); !defect.empty())
        throw AppError(defect);
    const GearModel model(spec);
    if (!std::isfinite(model.TipDiameter()) || !std::isfinite(model.RootDiameter()))
        throw AppError(ProfileNotFiniteMessage());
    if (!(model.RootDiameter() > 0.0))
        throw AppError(ProfileRootMessage());
    // A tooth that cannot be cut is refused for what the model finds wrong with it.
    for (const ToothFinding f : model.Findings())
        if (f == ToothFinding::CutThrough)
            throw AppError(ProfileCutThroughMessage(model.CutThroughLowDiameter(), model.CutThroughDiameter()));
    if (model.Has(ToothFinding::TipInsideBase))
        throw AppError(FindingBody(ToothFinding::TipInsideBase) + "のため、歯形を作れません");
    if (model.Has(ToothFinding::PointedTip))
        throw AppError(ProfileCrossingTeethMessage());
    if (!(model.InvoluteStartDiameter() < model.TipDiameter()))
        throw AppError(ProfileNoInvoluteMessage());

    return ProfileOfModel(model, tolerance);
}

GearProfile ProfileOfModel(const GearModel& model, double tolerance)
{
    const HalfTooth half(model, tolerance);
    const std::int32_t teeth = model.Teeth();
    GearProfile out;
    out.pitchDiameter = model.PitchDiameter();
    out.tipDiameter = model.TipDiameter();
    out.rootDiameter = model.RootDiameter();
    out.baseDiameter = model.BaseDiameter();
    out.involuteStartDiameter = model.InvoluteStartDiameter();
    out.undercut = model.Undercut();
    out.findings = model.Findings();
    out.deviation = half.deviation;

    // Tooth 0: up the negative-y flank to the centre line, down the mirror
    // image; the mirror of the first point is the next tooth's first point.
    std::vector<OutlinePoint> tooth;
    const auto& h = half.points;
    for (const OutlinePoint& p : h)
        tooth.push_back({p.x, p.y});
    for (std::size_t k = h.size() - 1; k-- > 1;)
        tooth.push_back({h[k].x, -h[k].y});
    for (const OutlinePoint& p : tooth)
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            throw AppError(ProfileNotFiniteMessage());
    out.pointsPerTooth = static_cast<int>(tooth.size());

    // Tooth 0's pieces from its first fillet (or flank) on: the half tooth's,
    // the tip arc joined with its mirror image, the mirror images back down,
    // and the root arc joined with the next tooth's half of it.
    const std::size_t perTooth = tooth.size(), centre = h.size() - 1;
    const std::vector<ProfilePiece>& hp = half.pieces;
    const std::size_t begin = !hp.empty() && hp.front().kind == PieceKind::RootArc ? 1 : 0;
    const bool tip = hp.size() > begin && hp.back().kind == PieceKind::TipArc && hp.back().last == centre;
    const std::size_t end = hp.size() - (tip ? 1 : 0);
    out.pieces.assign(hp.begin() + static_cast<std::ptrdiff_t>(begin), hp.begin() + static_cast<std::ptrdiff_t>(end));
    if (tip)
        out.pieces.push_back({PieceKind::TipArc, hp.back().first, perTooth - hp.back().first, hp.back().radius});
    for (std::size_t i = end; i-- > begin;)
        out.pieces.push_back({hp[i].kind, perTooth - hp[i].last, perTooth - hp[i].first, hp[i].radius});
    if (begin == 1)
        out.pieces.push_back({PieceKind::RootArc, perTooth - hp[0].last, perTooth + hp[0].last, hp[0].radius});
    if (tooth.size() * static_cast<std::size_t>(teeth) > kMaxPoints)
        throw AppError(ProfilePointLimitMessage());

    out.points.reserve(tooth.size() * static_cast<std::size_t>(teeth));
    for (int k = 0; k < teeth; ++k) {
        const double angle = 2.0 * kPi * k / teeth;
        const double c = std::cos(angle), s = std::sin(angle);
        for (const OutlinePoint& p : tooth)
            out.points.push_back({p.x * c - p.y * s, p.x * s + p.y * c});
    }
    return out;
}
