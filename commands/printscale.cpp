// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/printscale.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::int64_t kScreenDpi = 96;

}  // namespace

int PrintedDots(int pixels, int dpi)
{
    const std::int64_t product = std::int64_t{pixels} * dpi;
    const std::int64_t magnitude = (std::llabs(product) + kScreenDpi / 2) / kScreenDpi;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}
