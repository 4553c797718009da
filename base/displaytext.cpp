// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/displaytext.h"

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
        const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                 : lead >= 0xF0 && lead <= 0xF4                  ? 4
                                                                                 : 1;
        // A well-formed sequence only: a stray or cut-off byte sets no direction.
        bool whole = length > 1 && i + length <= text.size();
        std::uint32_t c = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
        for (std::size_t k = 1; whole && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            whole = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (whole && SetsDirection(c))
            return "\u2068" + text + "\u2069";
        i += whole ? length : 1;
    }
    return text;
}
