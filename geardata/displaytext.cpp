// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/displaytext.h"

#include <cstdint>

namespace {

// The code points that are right-to-left letters or explicit direction
// formatting: Hebrew, Arabic, Syriac, Thaana, NKo, Samaritan, Mandaic and
// their presentation forms, the right-to-left scripts of the SMP, and the marks,
// embeddings, overrides and isolates.
bool SetsDirection(std::uint32_t c)
{
    return (c >= 0x0590 && c <= 0x08FF) || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF) ||
           (c >= 0x10800 && c <= 0x10FFF) || (c >= 0x1E800 && c <= 0x1EFFF);
}

}  // namespace

std::string DirectionIsolated(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (lead >= 0xC0 && i + length <= text.size()) {
            std::uint32_t c = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
            for (std::size_t k = 1; k < length; ++k)
                c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            if (SetsDirection(c))
                return "\u2068" + text + "\u2069";
        }
        i += lead >= 0xC0 ? length : 1;
    }
    return text;
}
