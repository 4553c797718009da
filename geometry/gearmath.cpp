// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/gearmath.h"

#include <cmath>
#include <limits>

long double Involute(long double phi)
{
    return std::tan(phi) - phi;
}

long double InverseInvolute(long double value)
{
    if (std::isnan(value) || value < 0)
        return std::numeric_limits<long double>::quiet_NaN();
    if (value == 0)
        return 0;
    // Both starts lie right of the root: inv(phi) > phi^3 / 3, and
    // tan(phi) = value + phi < value + pi/2.
    long double phi = std::fmin(std::cbrt(3 * value), std::atan(value + kPi / 2));
    for (int round = 0; round < 200; ++round) {
        const long double t = std::tan(phi);
        const long double next = phi - (t - phi - value) / (t * t);
        if (!(next < phi))
            break;   // no more progress: the root to the last bit
        phi = next;
    }
    return phi;
}
