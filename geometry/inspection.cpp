// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/inspection.h"

#include "geometry/gearmath.h"

#include "geardata/gearrecord.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace {

using L = long double;

const char* const kCutThroughReason = "歯が切下げで切り離されていて測れません";
const char* const kPointNote = "歯先が尖っているので歯面の交わる点から測定";

// Where the gauge's contact may lie at most: the tip circle, or the point of
// a tooth whose flanks cross below it.
std::string AboveTopReason(const GearModel& g, const char* onTipCircle)
{
    return g.Has(ToothFinding::PointedTip) ? "測定点が歯面の交わる点（尖った歯先）より外にあります" : onTipCircle;
}


// A value as a double; one that is not finite or leaves the double range has no meaning here.
Measure Value(L v)
{
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<double>::max())
        return Measure::Absent("値が数の範囲を超えます");
    return Measure::Of(static_cast<double>(v));
}

// A helical gear: m, x, the allowance and the normal angle are the normal
// section's (m_n, x_n, A, alpha_n), alpha the transverse alpha_t, the circles
// the transverse section's. A spur gear has the same numbers in both.
struct Circles {
    L m, z, x, alpha;
    L invAlpha;                                 // of alpha, worked out once
    L alphaN, cosN, sinN, tanN, invN;           // alpha_n and its functions
    L cosBeta, cosBaseHelix, sinBaseHelix;      // of beta and beta_b
    bool helical;
    L spanTeeth, chordTeeth;   // the virtual spur gears: z_n, z / cos^3(beta)
    L allowance;           // A: the tooth thinner (negative) by this arc on the reference circle
    L d, db, da, df, dx;   // pitch, base, tip, root, and the circle d + 2xm
};

const char* const kHelicalOffInvolute = "はすば歯車のインボリュート外の接触は測れません（インボリュートで接するものだけ）";

// The generated tooth of tooth 0's negative-y side, sampled densely, for the
// readings that do not lie on the involute. The samples are made when a
// reading first needs them: most gears' readings all lie on the involute.
class GeneratedFlank {
public:
    static constexpr int kPerPiece = 600;

    explicit GeneratedFlank(const GearModel& g) : m_g(g) {}

    struct Sample {
        std::size_t piece;
        double t;
        OutlinePoint p;
    };

    // Where f is largest on the boundary (over all samples when `first` is
    // false; else the first local maximum walking from the tooth's centre line
    // down to the root), refined on its piece. `found` is false when no sample
    // gives a finite value (or no local maximum exists).
    struct Peak {
        bool found = false;
        double value = 0;
        OutlinePoint at;
        PieceKind kind = PieceKind::RootArc;
        bool joint = false;               // at the end of a piece (a corner)
        PieceKind otherKind = PieceKind::RootArc;
    };
    // What the search finds when its largest value lies inside the involute.
    static Peak InvolutePeak()
    {
        Peak peak;
        peak.found = true;
        peak.kind = PieceKind::Involute;
        return peak;
    }

    Peak Maximum(const std::function<double(OutlinePoint)>& f, bool firstFromTip) const
    {
        MakeSamples();
        const std::size_t n = m_samples.size();
        std::vector<double> v(n);
        for (std::size_t i = 0; i < n; ++i)
            v[i] = f(m_samples[i].p);
        std::size_t best = n;
        if (firstFromTip) {
            for (std::size_t j = n; j-- > 0;) {   // from the centre line downwards
                if (!std::isfinite(v[j]))
                    continue;
                const bool upOk = j + 1 == n || !(v[j + 1] > v[j]);
                const bool downOk = j > 0 && !(v[j - 1] > v[j]);
                if (upOk && downOk) {
                    best = j;
                    break;
                }
            }
        } else {
            for (std::size_t i = 0; i < n; ++i)
                if (std::isfinite(v[i]) && (best == n || v[i] > v[best]))
                    best = i;
        }
        Peak peak;
        if (best == n)
            return peak;
        peak.found = true;
        const Sample& s = m_samples[best];
        const auto& pieces = m_g.Boundary();
        peak.kind = pieces[s.piece].kind;
        // The last sample of a piece is the corner with the next one.
        peak.joint = best + 1 < n && m_samples[best + 1].piece != s.piece;
        if (peak.joint)
            peak.otherKind = pieces[m_samples[best + 1].piece].kind;
        double bestT = s.t, bestV = v[best];
        PieceKind bestKind = peak.kind;
        // Refine by golden section between the neighbouring samples, on each
        // piece that meets at the sample.
        auto refine = [&](PieceKind kind, double lo, double hi) {
            if (lo == hi)
                return;
            auto at = [&](double t) { return f(m_g.PointOn(kind, t)); };
            constexpr double g = 0.6180339887498949;
            double a = lo, b = hi;
            for (int i = 0; i < 200 && std::fabs(b - a) > 1e-15 * (1 + std::fabs(a)); ++i) {
                const double c = b - g * (b - a), d = a + g * (b - a);
                (at(d) > at(c) ? a : b) = at(d) > at(c) ? c : d;
            }
            const double t = 0.5 * (a + b);
            if (at(t) > bestV) {
                bestV = at(t);
                bestT = t;
                bestKind = kind;
            }
        };
        const double before = best > 0 && m_samples[best - 1].piece == s.piece ? m_samples[best - 1].t : s.t;
        const double after = best + 1 < n && !peak.joint ? m_samples[best + 1].t : s.t;
        refine(peak.kind, before, after);
        if (peak.joint)
            refine(peak.otherKind, pieces[m_samples[best + 1].piece].from, m_samples[best + 1].t);
        if (bestT != s.t || bestKind != peak.kind) {
            peak.joint = false;
            peak.kind = bestKind;
        }
        peak.value = bestV;
        peak.at = m_g.PointOn(peak.kind, bestT);
        return peak;
    }

private:
    void MakeSamples() const
    {
        if (!m_samples.empty())
            return;
        const auto& pieces = m_g.Boundary();
        for (std::size_t i = 0; i < pieces.size(); ++i)
            for (int k = 0; k <= kPerPiece; ++k) {
                if (k == 0 && i > 0)
                    continue;   // the joint is the last sample of the piece before
                m_samples.push_back({i, SampleParameter(pieces[i], k), m_g.PointOn(pieces[i].kind, SampleParameter(pieces[i], k))});
            }
    }

    const GearModel& m_g;
    mutable std::vector<Sample> m_samples;

public:
    static double SampleParameter(const BoundaryPiece& piece, int k)
    {
        return piece.from + (piece.to - piece.from) * k / kPerPiece;
    }
};


// The note of a reading on the generated tooth where it is no involute.
std::string OffInvoluteNote(const GearModel& g, const GeneratedFlank::Peak& peak)
{
    if (peak.joint || peak.kind == PieceKind::Involute)
        return g.Undercut() ? "切下げの縁（インボリュート始点）に接触、創成歯形で測定"
                            : "インボリュート始点に接触、創成歯形で測定";
    return g.Undercut() ? "切下げ部（トロコイド）に接触、創成歯形で測定"
                        : "歯元のフィレット（トロコイド）に接触、創成歯形で測定";
}

bool OnInvolute(const GeneratedFlank::Peak& peak)
{
    return peak.kind == PieceKind::Involute && !peak.joint;
}

SpanMeasure Span(const Circles& c, const GearModel& g, const GeneratedFlank& flank, std::int32_t k)
{
    SpanMeasure out;
    out.teeth = k;
    if (k < 1) {
        out.span = out.contactDiameter = Measure::Absent("またぎ歯数 k が 1 未満です");
        return out;
    }
    // W in the normal section; the anvils' contacts, seen in the transverse
    // section, lie W cos(beta_b) apart on a tangent of the base circle.
    const L w = c.m * c.cosN * (kPi * (L(k) - 0.5L) + c.z * c.invAlpha) + 2 * c.x * c.m * c.sinN +
                c.allowance * c.cosN;
    const L across = w * c.cosBaseHelix;
    const L contact = std::sqrt(c.db * c.db + across * across);
    std::string why;
    if (!(w > 0))
        why = "またぎ歯厚が正になりません";
    else if (contact > L(g.TopDiameter()))
        why = AboveTopReason(g, "測定点が歯先円の外にあります");
    else if (g.CutThrough())
        why = kCutThroughReason;
    if (!why.empty()) {
        out.span = out.contactDiameter = Measure::Absent(why);
        return out;
    }
    if (contact >= L(g.InvoluteStartDiameter())) {
        out.span = Value(w);
        out.contactDiameter = Value(contact);
        return out;
    }
    if (c.helical) {
        out.span = out.contactDiameter = Measure::Absent(kHelicalOffInvolute);
        return out;
    }
    // Below the involute: the anvil parallel to the group's middle line rests on
    // the outermost point of tooth 0's outer flank, the first local maximum of
    // the distance from that line walking down from the tip.
    const double beta = static_cast<double>((L(k) - 1) * kPi / c.z);
    const double sb = std::sin(beta), cb = std::cos(beta);
    const GeneratedFlank::Peak peak = flank.Maximum([sb, cb](OutlinePoint p) { return p.x * sb - p.y * cb; }, true);
    if (!peak.found || peak.kind == PieceKind::RootArc ||
        (peak.kind == PieceKind::Trochoid && !g.Undercut() && !peak.joint)) {
        out.span = out.contactDiameter = Measure::Absent("アンビルが歯面に当たりません（接点が歯元のフィレットより下）");
        return out;
    }
    if (peak.kind == PieceKind::TipArc || (peak.joint && peak.otherKind == PieceKind::TipArc)) {
        out.span = out.contactDiameter = Measure::Absent("測定点が歯先円の外にあります");
        return out;
    }
    const std::string note = OffInvoluteNote(g, peak);
    out.span = Measure::Noted(2 * peak.value, note);
    out.contactDiameter = Measure::Noted(2 * Length(peak.at), note);
    return out;
}

// Whether the search of the generated tooth would stop a pin on the interior
// of the involute (a sample other than its two ends; z >= 2): true when the sample of
// the involute nearest the contact (roll tContact) stops it farther out than
// any point of the root, the fillet or the tip arc can (the arc stops it
// farthest at its corner). Then the
// involute's own formula is the reading and the boundary need not be sampled.
bool PinStopsOnInvolute(const GearModel& g, double tContact, double space, double radius,
                        const std::function<double(OutlinePoint)>& stopsAt)
{
    const auto& pieces = g.Boundary();
    if (pieces.size() != 4 || pieces[2].kind != PieceKind::Involute || pieces[3].kind != PieceKind::TipArc)
        return false;   // a pointed tooth, a tip inside the base circle
    const BoundaryPiece& flank = pieces[2];
    if (!(flank.to > flank.from) || g.Teeth() < 2)
        return false;   // (one tooth: the tip arc may reach round past the space's middle line)
    const double k = std::round((tContact - flank.from) / (flank.to - flank.from) * GeneratedFlank::kPerPiece);
    if (!(k >= 1 && k <= GeneratedFlank::kPerPiece - 1))
        return false;
    const double nearest = stopsAt(g.PointOn(PieceKind::Involute, GeneratedFlank::SampleParameter(flank, static_cast<int>(k))));
    if (!std::isfinite(nearest))
        return false;
    // Below it: the root arc stops it at most at rf + radius; a point of the
    // fillet (all within TrochoidReach of the centre, short of `nearest`)
    // stops it beyond `nearest` only when it lies in the pin standing there.
    const double margin = 1e-9 * (std::fabs(nearest) + radius);
    const double reach = g.TrochoidReach();
    if (!(g.RootDiameter() / 2 + radius + margin < nearest) || !(reach + margin < nearest))
        return false;
    if (!(reach + radius + margin < nearest) && !g.TrochoidClearOfDisc(Polar(nearest, space), radius + margin))
        return false;
    // The corner as both pieces sample it: the involute's last point and the tip arc's first.
    const double corner = std::max(stopsAt(g.PointOn(PieceKind::Involute, flank.to)),
                                   stopsAt(g.PointOn(PieceKind::TipArc, pieces[3].from)));
    return corner + margin < nearest;
}

// The largest distance from the middle line of the measuring direction u
// (angle `direction`) of any point of the gear: how far the tips stand out.
double TipReach(const GearModel& g, double direction)
{
    const double z = g.Teeth(), ra = g.TopDiameter() / 2;   // a pointed tooth reaches its point
    double tipHalf = 0;   // the tip arc's half angle
    for (const BoundaryPiece& p : g.Boundary())
        if (p.kind == PieceKind::TipArc)
            tipHalf = -p.from;
    const double pitchAngle = 2 * kPi / z;
    const double nearest = std::round(direction / pitchAngle);
    double reach = 0;
    for (int j = -3; j <= 3; ++j) {
        const double centre = (nearest + j) * pitchAngle;
        double off = std::remainder(centre - direction, 2 * kPi);
        const double gap = std::max(0.0, std::fabs(off) - tipHalf);
        reach = std::max(reach, gap < kPi / 2 ? ra * std::cos(gap) : 0.0);
    }
    return reach;
}

void Pins(const Circles& c, const GearModel& g, const GeneratedFlank& flank, const InspectionRequest& request,
          Proof proof, InspectionResult& r)
{
    const L rb = c.db / 2;
    // inv(phi) at the pin centre is dp / db + offset. A ball between helical
    // teeth: its centre lies on the parallel helicoid D/2 off the flank, whose
    // transverse section is the involute of the same base circle set
    // D / (2 rb cos(beta_b)) further round, so there inv(phi) = D / (z m_n
    // cos(alpha_n)) + inv(alpha_t) - (pi/2 - 2 x_n tan(alpha_n)) / z + A / (d cos(beta)).
    const L offset = c.invAlpha + 2 * c.x * c.tanN / c.z - kPi / (2 * c.z) + c.allowance / (c.d * c.cosBeta);
    const L normalBase = c.z * c.m * c.cosN;   // db cos(beta_b); db for a spur gear
    L dp = 0;
    r.idealPin = !request.pinDiameter.has_value();
    if (r.idealPin) {
        // The pin that touches the flanks on the circle d + 2xm.
        if (!(c.dx > c.db)) {
            r.pinDiameter = r.overPins = r.pinContactDiameter =
                Measure::Absent("円 d＋2xm が基礎円の内側にあり理想ピン径がありません");
            return;
        }
        const L tanAtContact = std::tan(std::acos(c.db / c.dx));
        L phi = tanAtContact - offset;
        if (c.helical) {
            // The ball's contact lies (D/2) cos(beta_b) before its centre along the
            // transverse tangent: (phi + offset) cos^2(beta_b) + tan(phi) sin^2(beta_b)
            // = tan(alpha_x), rising with phi; bisection.
            const L c2 = c.cosBaseHelix * c.cosBaseHelix, s2 = c.sinBaseHelix * c.sinBaseHelix;
            L lo = std::max(L(0), -offset), hi = kPi / 2;
            for (int i = 0; i < 200; ++i) {
                const L mid = (lo + hi) / 2;
                ((mid + offset) * c2 + std::tan(mid) * s2 < tanAtContact ? lo : hi) = mid;
            }
            phi = (lo + hi) / 2;
        }
        if (!(phi > 0 && phi < kPi / 2) || !(std::tan(phi) > tanAtContact)) {
            r.pinDiameter = r.overPins = r.pinContactDiameter = Measure::Absent("理想ピン径がありません");
            return;
        }
        dp = c.helical ? normalBase * (Involute(phi) - offset) : c.db * (std::tan(phi) - tanAtContact);
    } else {
        dp = *request.pinDiameter;
        if (!std::isfinite(dp) || dp <= 0) {
            r.pinDiameter = r.overPins = r.pinContactDiameter = Measure::Absent("ピン径が正の数ではありません");
            return;
        }
    }
    r.pinDiameter = Value(dp);
    if (g.CutThrough()) {
        r.overPins = r.pinContactDiameter = Measure::Absent(kCutThroughReason);
        return;
    }

    // On the involute.
    const L v = dp / normalBase + offset;
    const L phi = InverseInvolute(v);
    const bool reachesFlank = v > 0 && std::isfinite(phi) && phi + offset >= 0;
    L centre = 0, roll = 0;
    if (reachesFlank) {
        centre = rb / std::cos(phi);
        // From the base circle to the contact point, along the flank's normal:
        // rb tan(phi) - dp / 2, which is rb (phi + offset) without the
        // cancellation that loses a very large pin. A ball: rb tan(phi) -
        // (D/2) cos(beta_b), the contact out of the centre's transverse plane.
        roll = rb * (phi + offset);
        if (c.helical)
            roll += dp / 2 * (c.sinBaseHelix * c.sinBaseHelix / c.cosBaseHelix);
        if (2 * std::sqrt(rb * rb + roll * roll) > L(g.TopDiameter())) {
            r.overPins = r.pinContactDiameter = Measure::Absent(AboveTopReason(g, "ピンが大きすぎて歯先に当たります"));
            return;
        }
    }

    // On the generated tooth: coming in from outside along the space's middle
    // line, the pin stops at the first point of the boundary it meets.
    const double space = -kPi / c.z, radius = static_cast<double>(dp / 2);
    const auto stopsAt = [space, radius](OutlinePoint q) {
        const double rq = Length(q), psi = std::atan2(q.y, q.x) - space;
        const double lateral = rq * std::sin(psi);
        if (std::fabs(lateral) > radius)
            return -std::numeric_limits<double>::infinity();
        return rq * std::cos(psi) + std::sqrt(radius * radius - lateral * lateral);
    };
    const bool onInvolute = reachesFlank && 2 * std::sqrt(rb * rb + roll * roll) >= L(g.InvoluteStartDiameter());
    if (c.helical) {
        // Only the involute helicoid's contact is read: the ball above the
        // root cylinder, touching the flanks where they are involute.
        std::string none;
        if (!reachesFlank)
            none = "ピンが小さすぎて歯面に当たりません";
        else if (!onInvolute)
            none = kHelicalOffInvolute;
        else if (centre - dp / 2 < c.df / 2)
            none = "ピンが歯底に当たります";
        if (!none.empty()) {
            r.overPins = r.pinContactDiameter = Measure::Absent(none);
            return;
        }
    }
    const GeneratedFlank::Peak peak =
        onInvolute && (c.helical || (proof == Proof::Shown &&
                                     PinStopsOnInvolute(g, static_cast<double>(roll / rb), space, radius, stopsAt)))
            ? GeneratedFlank::InvolutePeak()
            : flank.Maximum(stopsAt, false);
    std::string why;
    if (!peak.found || peak.kind == PieceKind::RootArc)
        why = reachesFlank ? "ピンが歯底に当たります" : "ピンが小さすぎて歯面に当たりません";
    else if (peak.kind == PieceKind::TipArc || (peak.joint && peak.otherKind == PieceKind::TipArc))
        why = "ピンが大きすぎて歯先に当たります";
    if (!why.empty()) {
        r.overPins = r.pinContactDiameter = Measure::Absent(why);
        return;
    }
    const bool even = static_cast<std::int64_t>(c.z) % 2 == 0;
    const L halfSpread = even ? 1.0L : std::cos(kPi / (2 * c.z));
    // The involute's contact counts only where the cut tooth has that involute:
    // below its start the pin meets the edge of the undercut or the fillet.
    const bool involute = OnInvolute(peak) && onInvolute;
    const L pinCentre = involute ? centre : L(peak.value);
    // The pins must stand out beyond the tips along the measuring line, or the
    // micrometer rests on the tips.
    const double direction = space - (even ? 0.0 : kPi / (2 * c.z));
    if (!(static_cast<double>(pinCentre * halfSpread + dp / 2) > TipReach(g, direction))) {
        r.overPins = r.pinContactDiameter = Measure::Absent("ピンが歯先より外に出ず、測定器が歯先に当たります");
        return;
    }
    if (involute) {
        r.overPins = Value(2 * centre * halfSpread + dp);
        r.pinContactDiameter = Value(2 * std::sqrt(rb * rb + roll * roll));
        return;
    }
    const std::string note = OffInvoluteNote(g, peak);
    r.overPins = Measure::Noted(static_cast<double>(2 * pinCentre * halfSpread + dp), note);
    r.pinContactDiameter = Measure::Noted(2 * Length(peak.at), note);
}

// s-bar and h-bar: the chord between the flanks where the pitch circle crosses
// them, and its height below the tip circle.
// A helical gear: the normal thickness s_n on the reference circle of the
// virtual spur gear of z / cos^3(beta) teeth (the curvature of the normal
// section there), its height added to the radial addendum.
void Chord(const Circles& c, const GearModel& g, InspectionResult& r)
{
    const L s = ReferenceThickness(c.m, c.x, c.alphaN) + c.allowance;
    const L chordDiameter = c.chordTeeth * c.m;
    // h-bar from the tip circle, or from the point of a tooth that comes to one below it.
    const bool pointed = g.Has(ToothFinding::PointedTip);
    const L top = pointed ? L(g.TopDiameter()) : c.da;
    const L addendum = (top - c.d) / 2;
    std::string why;
    if (g.CutThrough())
        why = kCutThroughReason;
    else if (!(s > 0))
        why = "ピッチ円上に歯がありません";
    else if (addendum < 0)
        why = pointed ? "ピッチ円が歯面の交わる点（尖った歯先）より外にあります" : "ピッチ円が歯先円の外にあります";
    else if (c.d < c.df)
        why = "ピッチ円が歯底円の内側にあり歯面上にありません";
    if (!why.empty()) {
        r.chordalThickness = r.chordalHeight = Measure::Absent(why);
        return;
    }
    if (c.d >= L(g.InvoluteStartDiameter())) {
        const L halfAngle = s / chordDiameter;
        r.chordalThickness = Value(chordDiameter * std::sin(halfAngle));
        r.chordalHeight = Value(addendum + chordDiameter / 2 * (1 - std::cos(halfAngle)));
        if (pointed && r.chordalHeight.present())
            r.chordalHeight.note = kPointNote;
        return;
    }
    if (c.helical) {
        r.chordalThickness = r.chordalHeight = Measure::Absent(kHelicalOffInvolute);
        return;
    }
    // Below the involute: the trochoid's point on the pitch circle, the first
    // met coming down from the tip.
    const double rp = static_cast<double>(c.d / 2);
    for (const BoundaryPiece& p : g.Boundary()) {
        if (p.kind != PieceKind::Trochoid)
            continue;
        auto above = [&](double t) { return Length(g.PointOn(p.kind, t)) >= rp; };
        constexpr int steps = 4096;
        double prev = p.to;   // the top of the trochoid
        for (int k = 1; k <= steps; ++k) {
            const double t = p.to + (p.from - p.to) * k / steps;
            if (!above(t)) {
                double a = prev, b = t;
                for (int i = 0; i < 200 && std::fabs(b - a) > 1e-16; ++i) {
                    const double mid = 0.5 * (a + b);
                    (above(mid) ? a : b) = mid;
                }
                const OutlinePoint q = g.PointOn(p.kind, 0.5 * (a + b));
                const double half = -std::atan2(q.y, q.x);
                if (!(half > 0))
                    break;
                const std::string note = g.Undercut() ? "ピッチ円が切下げ部（トロコイド）を通る、創成歯形で測定"
                                                      : "ピッチ円が歯元のフィレット（トロコイド）を通る、創成歯形で測定";
                r.chordalThickness = Measure::Noted(2 * rp * std::sin(half), note);
                r.chordalHeight = Measure::Noted(static_cast<double>(top / 2) - rp * std::cos(half),
                                                 pointed ? note + "、" + kPointNote : note);
                return;
            }
            prev = t;
        }
    }
    r.chordalThickness = r.chordalHeight = Measure::Absent("ピッチ円上に歯がありません");
}

}  // namespace

InspectionResult ComputeInspection(const GearSpec& gear, const InspectionRequest& request)
{
    InspectionResult r;
    if (const std::string defect = GearSpecDefect(gear); !defect.empty()) {
        for (Measure* m : {&r.toothThickness, &r.chordalThickness, &r.chordalHeight, &r.recommendedSpanTeeth,
                           &r.pinDiameter, &r.overPins, &r.pinContactDiameter, &r.minShift,
                           &r.involuteStartDiameter, &r.tipThickness, &r.basePitch, &r.wholeDepth})
            *m = Measure::Absent(defect);
        for (int i = 0; i < 3; ++i) {
            const std::int64_t ki = std::int64_t{request.spanTeeth.value_or(1)} - 1 + i;
            const bool fits = ki >= std::numeric_limits<std::int32_t>::min() &&
                              ki <= std::numeric_limits<std::int32_t>::max();
            r.spans[i].teeth = fits ? static_cast<std::int32_t>(ki) : 0;
            r.spans[i].span = r.spans[i].contactDiameter = Measure::Absent(fits ? defect : "またぎ歯数が大きすぎます");
        }
        return r;
    }
    return ComputeInspection(GearModel(gear), request);
}

InspectionResult ComputeInspection(const GearModel& model, const InspectionRequest& request, Proof proof)
{
    InspectionResult r;
    const GearSpec& gear = model.Spec();
    const GeneratedFlank flank(model);

    const ExactSizes& sizes = model.Sizes();
    const HelixSizes& helix = model.Helix();
    Circles c;
    c.m = gear.module;
    c.z = gear.teeth;
    c.x = gear.shift;
    c.allowance = gear.thicknessAllowance;
    c.alpha = sizes.alpha;
    c.invAlpha = Involute(c.alpha);
    c.alphaN = helix.normalAlpha;
    c.cosN = std::cos(helix.normalAlpha);
    c.sinN = std::sin(helix.normalAlpha);
    c.tanN = std::tan(helix.normalAlpha);
    c.invN = Involute(helix.normalAlpha);
    c.helical = helix.helical();
    c.cosBeta = helix.cosBeta;
    c.cosBaseHelix = std::cos(helix.baseHelix);
    c.sinBaseHelix = std::sin(helix.baseHelix);
    c.spanTeeth = helix.spanVirtualTeeth;
    c.chordTeeth = helix.chordVirtualTeeth;
    c.d = sizes.pitch;
    c.db = sizes.base;
    c.da = sizes.tip;
    c.df = sizes.root;
    c.dx = c.d + 2 * c.x * c.m;

    // The alpha of a spur gear and the alpha_n of a helical one: the normal thickness.
    r.toothThickness = Value(ReferenceThickness(c.m, c.x, helix.normalAlpha) + c.allowance);
    Chord(c, model, r);

    // Span: the recommended k puts the contact nearest the circle d + 2xm
    // (a helical gear: of its virtual spur gear of z_n teeth, d_n + 2 x_n m_n).
    const L dn = c.spanTeeth * c.m, dbn = BaseCircle(dn, helix.normalAlpha), dxn = dn + 2 * c.x * c.m;
    const L angleAtMiddle = dxn > dbn ? std::acos(dbn / dxn) : 0;
    const L kReal =
        c.spanTeeth / kPi * (std::tan(angleAtMiddle) - c.invN - 2 * c.x * c.tanN / c.spanTeeth) + 0.5L;
    const L kRecommended = std::floor(kReal + 0.5L);
    constexpr L kTeethCeiling = 2147483647.0L;
    const bool countable = std::fabs(kRecommended) <= kTeethCeiling;   // NaN is not
    r.recommendedSpanTeeth = countable ? Measure::Of(static_cast<double>(kRecommended))
                                       : Measure::Absent("推奨またぎ歯数が求まりません");
    const std::int64_t k = request.spanTeeth ? *request.spanTeeth
                           : countable        ? static_cast<std::int64_t>(kRecommended)
                                              : 0;
    for (int i = 0; i < 3; ++i) {
        const std::int64_t ki = k - 1 + i;
        if (!countable && !request.spanTeeth) {
            r.spans[i] = {static_cast<std::int32_t>(ki), r.recommendedSpanTeeth, r.recommendedSpanTeeth};
            continue;
        }
        r.spans[i] = ki < std::numeric_limits<std::int32_t>::min() || ki > std::numeric_limits<std::int32_t>::max()
                         ? SpanMeasure{0, Measure::Absent("またぎ歯数が大きすぎます"),
                                       Measure::Absent("またぎ歯数が大きすぎます")}
                         : Span(c, model, flank, static_cast<std::int32_t>(ki));
    }

    if (c.helical && request.faceWidth) {
        // The anvils reach across the tooth W sin(beta_b) along the face.
        const SpanMeasure& middle = r.spans[1];
        if (middle.span.present() && !(*middle.span.value * static_cast<double>(c.sinBaseHelix) < *request.faceWidth))
            r.spanFindings.push_back("警告：W sin βb が歯幅 b 以上、アンビルが歯面に収まらずまたぎ歯厚を測れません（k＝" +
                                     std::to_string(middle.teeth) + "）");
    }

    Pins(c, model, flank, request, proof, r);

    r.minShift = Value(model.MinShift());
    r.undercut = model.Undercut();
    r.involuteStartDiameter = model.InvoluteStartDiameter() < model.TipDiameter()
                                  ? Value(model.InvoluteStartDiameter())
                                  : Measure::Absent("インボリュートが歯先円の下にありません");
    r.tipThickness = c.da < c.db ? Measure::Absent("歯先円が基礎円の内側にあります") : Value(model.NormalTipThickness());
    r.findings = model.Findings();
    r.basePitch = Value(model.NormalBasePitch());
    r.wholeDepth = Value((c.da - c.df) / 2);
    return r;
}
