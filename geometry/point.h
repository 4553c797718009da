// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A point (or a vector) of the plane in gear millimetres, and the few
// operations the geometry does with it. Each is written out in the order the
// drawings and profiles have always computed it, so a point comes out the same
// wherever it is worked out.

#include <cmath>

struct OutlinePoint {
    double x = 0.0;
    double y = 0.0;
};

inline OutlinePoint Add(OutlinePoint a, OutlinePoint b) { return {a.x + b.x, a.y + b.y}; }
inline OutlinePoint Sub(OutlinePoint a, OutlinePoint b) { return {a.x - b.x, a.y - b.y}; }
// The point k times as far from the origin.
inline OutlinePoint Scale(double k, OutlinePoint a) { return {k * a.x, k * a.y}; }
inline double Dot(OutlinePoint a, OutlinePoint b) { return a.x * b.x + a.y * b.y; }
// The distance from the origin, and between two points.
inline double Length(OutlinePoint p) { return std::hypot(p.x, p.y); }
inline double Distance(OutlinePoint a, OutlinePoint b) { return std::hypot(a.x - b.x, a.y - b.y); }
// The polar angle, radians, from atan2.
inline double Angle(OutlinePoint p) { return std::atan2(p.y, p.x); }
// The point at radius r and polar angle a.
inline OutlinePoint Polar(double r, double angle) { return {r * std::cos(angle), r * std::sin(angle)}; }
// Turned counter-clockwise about the origin by the angle.
inline OutlinePoint Rotate(OutlinePoint p, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    return {p.x * c - p.y * s, p.x * s + p.y * c};
}
