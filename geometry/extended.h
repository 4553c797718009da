// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Extended-precision arithmetic with the three floating-point faults raised as
// errors: invalid operation, division by zero and overflow. Every operation that
// can fault is checked explicitly, so the behaviour does not depend on hardware
// traps, optimisation or sanitizers. Underflow, denormals and inexact results
// pass silently. Quiet NaNs travel through arithmetic without a fault, but any
// comparison with a NaN is an invalid operation.

#include "base/apperror.h"
#include "geometry/gearmath.h"   // kPi

#include <cmath>
#include <cstdint>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64, "extended precision needs the x87 64-bit significand");

enum class FloatFaultKind { InvalidOperation, DivisionByZero, Overflow };

class FloatFault : public AppError {
public:
    explicit FloatFault(FloatFaultKind kind);
    FloatFaultKind kind() const { return m_kind; }

private:
    FloatFaultKind m_kind;
};

// The fault messages as the error box shows them.
const char* FloatFaultMessage(FloatFaultKind kind);

[[noreturn]] void RaiseFloatFault(FloatFaultKind kind);

// An extended-precision value whose operators raise the faults.
class Ext {
public:
    constexpr Ext() = default;
    constexpr Ext(long double v) : m_v(v) {}       // NOLINT: implicit on purpose, formulas read naturally
    constexpr long double value() const { return m_v; }

    friend Ext operator+(Ext a, Ext b) { return Checked(a.m_v + b.m_v, a, b); }
    friend Ext operator-(Ext a, Ext b) { return Checked(a.m_v - b.m_v, a, b); }
    friend Ext operator*(Ext a, Ext b)
    {
        if ((IsZero(a) && std::isinf(b.m_v)) || (std::isinf(a.m_v) && IsZero(b)))
            RaiseFloatFault(FloatFaultKind::InvalidOperation);
        return Checked(a.m_v * b.m_v, a, b);
    }
    friend Ext operator/(Ext a, Ext b)
    {
        if (std::isnan(a.m_v) || std::isnan(b.m_v))
            return Ext(a.m_v / b.m_v);
        if (IsZero(b)) {
            if (IsZero(a))
                RaiseFloatFault(FloatFaultKind::InvalidOperation);
            if (std::isfinite(a.m_v))
                RaiseFloatFault(FloatFaultKind::DivisionByZero);
        }
        if (std::isinf(a.m_v) && std::isinf(b.m_v))
            RaiseFloatFault(FloatFaultKind::InvalidOperation);
        return Checked(a.m_v / b.m_v, a, b);
    }
    Ext operator-() const { return Ext(-m_v); }

    friend bool operator<(Ext a, Ext b) { return Ordered(a, b), a.m_v < b.m_v; }
    friend bool operator>(Ext a, Ext b) { return Ordered(a, b), a.m_v > b.m_v; }
    friend bool operator<=(Ext a, Ext b) { return Ordered(a, b), a.m_v <= b.m_v; }
    friend bool operator>=(Ext a, Ext b) { return Ordered(a, b), a.m_v >= b.m_v; }

private:
    static bool IsZero(Ext a) { return a.m_v == 0.0L; }
    static void Ordered(Ext a, Ext b)
    {
        if (std::isnan(a.m_v) || std::isnan(b.m_v))
            RaiseFloatFault(FloatFaultKind::InvalidOperation);
    }
    // A NaN out of non-NaN operands is an invalid operation (inf - inf);
    // an infinity out of finite operands is an overflow.
    static Ext Checked(long double r, Ext a, Ext b)
    {
        if (std::isnan(r) && !std::isnan(a.m_v) && !std::isnan(b.m_v))
            RaiseFloatFault(FloatFaultKind::InvalidOperation);
        if (std::isinf(r) && std::isfinite(a.m_v) && std::isfinite(b.m_v))
            RaiseFloatFault(FloatFaultKind::Overflow);
        return Ext(r);
    }

    long double m_v = 0.0L;
};

Ext Cos(Ext a);                 // an infinite argument is an invalid operation
Ext Sin(Ext a);
Ext Abs(Ext a);

// Rounds to double where a value is stored. A finite value beyond the double
// range is an overflow; NaN and infinities are stored as they are.
double Store(Ext v);

// Rounds a pixel coordinate to the nearest integer, halves to even. A value
// that is not finite or does not fit a 32-bit integer is an invalid operation.
std::int32_t RoundToInt32(Ext v);

// Constants at full extended precision.
inline constexpr long double kAlpha0 = 0.34906585039886591540L;   // 20 degrees, pi/9
