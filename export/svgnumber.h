// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A coordinate as the SVG files write it: nine decimals, trailing zeros
// dropped, minus zero and nanometre dust written as 0.

#include <QString>

#include <cmath>

inline QString SvgNumber(double v)
{
    if (std::fabs(v) < 5e-10)
        v = 0.0;
    QString s = QString::number(v, 'f', 9);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}
