#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The span W and the measurement over two balls M of tsumugi-cli gear
# --helix-angle against a helical gear built here another way, in 3D and from
# the rack alone: the flank is the envelope of the rack's flank plane (normal
# pressure angle, teeth inclined by beta, shifted by x_n m_n) as the rack rolls
# on the reference cylinder; each position's plane and its derivative meet in
# the line of contact. Nothing transverse (alpha_t, base circle, involute
# function) is used.
#  - W: the distance between the two parallel planes that touch the outer
#    flanks of k teeth, each the rack's flank plane in the position that makes
#    that line of contact (the envelope touches the enveloping plane along it).
#  - M: the ball's centre in the middle of the space, at the radius where its
#    least distance to the flank surface is D/2; M = 2R + D (even z) or
#    2R cos(90°/z) + D (odd z, both balls in one transverse plane), and the
#    diameter of the point where it touches.
#
# usage: helical_check.py TSUMUGI-CLI
import json
import math
import subprocess
import sys

CLI = sys.argv[1]
TOL = 2e-5   # mm
GOLD = (math.sqrt(5) - 1) / 2

# (m_n, z, x_n, beta, hand, ball or None)
CASES = [
    (3, 60, 0.0, 30, "right", None),
    (3, 12, 0.09809, 30, "left", None),
    (2, 25, 0.3, 15, "right", 3.5),
    (1.5, 17, -0.1, 20, "right", None),
    (4, 33, 0.5, 40, "left", 7.0),
]


def golden(f, lo, hi, iters=90):
    """The minimum of a unimodal f on [lo, hi]."""
    a, b = lo, hi
    c, d = b - GOLD * (b - a), a + GOLD * (b - a)
    fc, fd = f(c), f(d)
    for _ in range(iters):
        if fc < fd:
            b, d, fd = d, c, fc
            c = b - GOLD * (b - a)
            fc = f(c)
        else:
            a, c, fc = c, d, fd
            d = a + GOLD * (b - a)
            fd = f(d)
    x = (a + b) / 2
    return x, f(x)


def scan_then_golden(f, lo, hi, n=40):
    xs = [lo + (hi - lo) * i / n for i in range(n + 1)]
    i = min(range(n + 1), key=lambda j: f(xs[j]))
    return golden(f, xs[max(i - 1, 0)], xs[min(i + 1, n)])


class Flank:
    """One flank of the rack tooth that sits in the space at -90 degrees (z = 0),
    side +1 (the tooth's +s flank) or -1, turned by `turn` about the axis."""

    def __init__(self, m, z, x, beta, alpha, side, turn=0.0):
        self.r = z * m / (2 * math.cos(beta))
        nh = (math.cos(beta), 0.0, -math.sin(beta))   # across the rack's teeth, in its pitch plane
        ca, sa = math.cos(alpha), math.sin(alpha)
        self.n = (side * ca * nh[0], sa, side * ca * nh[2])
        p0 = (side * math.pi * m / 4 * nh[0], -(self.r + x * m), side * math.pi * m / 4 * nh[2])
        self.c0 = sum(a * b for a, b in zip(self.n, p0))
        self.turn = turn

    def point(self, phi, zax):
        """The point of the line of contact at rack position phi (gear turned by
        phi, rack moved by r phi) in the transverse plane zax."""
        nx, ny, nz = self.n
        c, s = math.cos(phi), math.sin(phi)
        a = (nx * c + ny * s, -nx * s + ny * c)            # the plane's normal, turned by -phi
        da = (-nx * s + ny * c, -nx * c - ny * s)          # its derivative
        rhs = (self.c0 + self.r * phi * nx - nz * zax, self.r * nx)
        det = a[0] * da[1] - a[1] * da[0]
        X = (rhs[0] * da[1] - a[1] * rhs[1]) / det
        Y = (a[0] * rhs[1] - rhs[0] * da[0]) / det
        ct, st = math.cos(self.turn), math.sin(self.turn)
        return (X * ct - Y * st, X * st + Y * ct, zax)


def cli(args):
    out = subprocess.run([CLI, "gear", *args, "--format", "json"], capture_output=True, text=True, check=True)
    return json.loads(out.stdout)


def span_3d(m, z, x, beta, alpha, k):
    # Along its line of contact the flank has the rack plane of that position
    # as its tangent plane. The anvils are the two tangent planes, one on the
    # first flank (rack position 0) and one on the far flank of the k-th tooth,
    # whose normals are opposite: W is the distance between them.
    s1 = Flank(m, z, x, beta, alpha, +1)
    s2 = Flank(m, z, x, beta, alpha, -1, 2 * math.pi * k / z)

    def normal(flank, phi):
        nx, ny, nz = flank.n
        a = phi - flank.turn
        return (nx * math.cos(a) + ny * math.sin(a), -nx * math.sin(a) + ny * math.cos(a), nz)

    # The position of the far flank whose normal is -n1: the nearest to its own turn.
    n1 = normal(s1, 0.0)
    want = math.atan2(-n1[1], -n1[0])
    have = math.atan2(s2.n[1], s2.n[0])
    base = s2.turn - (want - have)   # -(phi - turn) turns `have` onto `want`
    phi2 = min((base + 2 * math.pi * j for j in range(-3, 4)), key=lambda p: abs(p - s2.turn))
    n2 = normal(s2, phi2)
    assert max(abs(a + b) for a, b in zip(n1, n2)) < 1e-12
    c1 = s1.c0
    c2 = s2.c0 + s2.r * phi2 * s2.n[0]
    return -(c1 + c2)


def ball_3d(m, z, x, beta, alpha, ball):
    flank = Flank(m, z, x, beta, alpha, +1)
    r = z * m / (2 * math.cos(beta))

    def distance(R):
        c = (0.0, -R, 0.0)

        def at(phi):
            # The line of contact is straight: the nearest point on it in closed form.
            p0, p1 = flank.point(phi, 0.0), flank.point(phi, 1.0)
            d = [b - a for a, b in zip(p0, p1)]
            w = [a - b for a, b in zip(p0, c)]
            t = -sum(a * b for a, b in zip(w, d)) / sum(a * a for a in d)
            q = [a + t * b for a, b in zip(p0, d)]
            contact[0] = 2 * math.hypot(q[0], q[1])
            return math.dist(q, c)
        phi, gap = scan_then_golden(at, -4 * m / r, 4 * m / r, 80)
        at(phi)
        return gap

    contact = [0.0]

    lo, hi = r - 2 * m, r + 3 * m   # distance rises with R: the ball sinks in below, floats above
    for _ in range(80):
        mid = (lo + hi) / 2
        (lo, hi) = (mid, hi) if distance(mid) < ball / 2 else (lo, mid)
    R = (lo + hi) / 2
    distance(R)
    return (2 * R + ball if z % 2 == 0 else 2 * R * math.cos(math.pi / (2 * z)) + ball), contact[0]


def main():
    failures = 0
    for m, z, x, beta_deg, hand, ball in CASES:
        args = ["-m", str(m), "-z", str(z), "-x", str(x), "--helix-angle", str(beta_deg), "--hand", hand]
        if ball:
            args += ["--pin", str(ball)]
        got = cli(args)
        beta, alpha = math.radians(beta_deg), math.radians(20)
        k = got["span_teeth"]
        w = span_3d(m, z, x, beta, alpha, k)
        mm, touch = ball_3d(m, z, x, beta, alpha, got["ball_diameter"])
        for name, mine, theirs in (("W", w, got["span_normal"]), ("M", mm, got["over_balls"]),
                                   ("ball contact diameter", touch, got["ball_contact_diameter"])):
            ok = abs(mine - theirs) <= TOL
            failures += not ok
            print(f"{'ok  ' if ok else 'FAIL'} m_n {m} z {z} x_n {x} beta {beta_deg} {hand}: {name} {theirs:.6f}, "
                  f"3D {mine:.6f}")
    return 1 if failures else 0


sys.exit(main())
