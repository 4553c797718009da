// SPDX-License-Identifier: GPL-3.0-or-later
// A part module the programs must not use: built with another interface
// number, or (PART_MODULE_INTERFACE_ONLY) with no entry point but the number.
#include "export/partmodule.h"

#define ENTRY extern "C" __attribute__((visibility("default")))

ENTRY int tsumugi_parts_interface() { return kPartModuleInterface + 1; }

#ifndef PART_MODULE_INTERFACE_ONLY
ENTRY int tsumugi_parts_step(const GearProfile&, const SolidInput&, const HoleShape&, const std::string&, std::string&,
                             std::string&)
{
    return kPartMade;
}

ENTRY int tsumugi_parts_3mf(const TriangleSurface&, const std::string&, std::string&, std::string&) { return kPartMade; }
#endif
