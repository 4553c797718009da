// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/extended.h"

#include <cfenv>

namespace {
const char* const kInvalid = "不正な浮動小数点数演算命令";
const char* const kDivideByZero = "0 による浮動小数点数除算";
const char* const kOverflow = "浮動小数点数のオーバーフロー";
}  // namespace

const char* FloatFaultMessage(FloatFaultKind kind)
{
    switch (kind) {
    case FloatFaultKind::InvalidOperation: return kInvalid;
    case FloatFaultKind::DivisionByZero: return kDivideByZero;
    case FloatFaultKind::Overflow: return kOverflow;
    }
    return kInvalid;
}

FloatFault::FloatFault(FloatFaultKind kind) : AppError(FloatFaultMessage(kind)), m_kind(kind) {}

void RaiseFloatFault(FloatFaultKind kind)
{
    throw FloatFault(kind);
}

Ext Cos(Ext a)
{
    if (std::isinf(a.value()))
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    return Ext(cosl(a.value()));
}

Ext Sin(Ext a)
{
    if (std::isinf(a.value()))
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    return Ext(sinl(a.value()));
}

Ext Abs(Ext a)
{
    return Ext(fabsl(a.value()));
}

double Store(Ext v)
{
    const long double x = v.value();
    const double d = static_cast<double>(x);
    if (std::isinf(d) && std::isfinite(x))
        RaiseFloatFault(FloatFaultKind::Overflow);
    return d;
}

std::int32_t RoundToInt32(Ext v)
{
    const long double x = v.value();
    if (!std::isfinite(x))
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    // The default rounding mode: nearest, halves to even. rintl rather than
    // nearbyintl: the same result, without saving and restoring the
    // floating-point environment around it (faults here are found by the
    // checks, never by the status flags).
    const long double r = rintl(x);
    if (r < -2147483648.0L || r > 2147483647.0L)
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    return static_cast<std::int32_t>(r);
}
