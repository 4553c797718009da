// SPDX-License-Identifier: GPL-3.0-or-later
// The part module's entry points: GearStep and Surface3mf with every exception
// caught and carried back as a result and a text. Only these three names leave
// the module; everything else in it is hidden.
#include "export/partmodule.h"

#include "base/apperror.h"

#include <exception>
#include <new>

namespace {

template <class Make>
int Run(const Make& make, std::string& bytes, std::string& message)
{
    try {
        bytes = make();
        return kPartMade;
    } catch (const AppError& e) {
        message = e.what();
        return kPartRefused;
    } catch (const std::bad_alloc&) {
        return kPartOutOfMemory;
    } catch (const std::exception& e) {
        message = e.what();
        return kPartFailed;
    }
}

}  // namespace

#define TSUMUGI_PART_ENTRY extern "C" __attribute__((visibility("default")))

TSUMUGI_PART_ENTRY int tsumugi_parts_interface() { return kPartModuleInterface; }

TSUMUGI_PART_ENTRY int tsumugi_parts_step(const GearProfile& profile, const SolidInput& solid, const HoleShape& hole,
                                          const std::string& title, std::string& bytes, std::string& message)
{
    return Run([&] { return GearStep(profile, solid, hole, title); }, bytes, message);
}

TSUMUGI_PART_ENTRY int tsumugi_parts_3mf(const TriangleSurface& surface, const std::string& title, std::string& bytes,
                                         std::string& message)
{
    return Run([&] { return Surface3mf(surface, title); }, bytes, message);
}

// The entry points have the types the loader looks them up as.
static_assert(std::is_same_v<decltype(tsumugi_parts_interface), PartModuleInterfaceFunction>);
static_assert(std::is_same_v<decltype(tsumugi_parts_step), PartStepFunction>);
static_assert(std::is_same_v<decltype(tsumugi_parts_3mf), Part3mfFunction>);
