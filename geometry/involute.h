// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The involute function and its inverse, in extended precision.

// inv(phi) = tan(phi) - phi.
long double Involute(long double phi);

// The angle phi in [0, pi/2) with tan(phi) - phi = value, by Newton's method
// from the right (the involute is convex, so the rounds fall monotonically
// onto the root) to full long double precision. A negative or NaN value gives
// NaN.
long double InverseInvolute(long double value);
