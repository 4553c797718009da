// SPDX-License-Identifier: GPL-3.0-or-later
// What the part module refuses reaches the caller as the AppError it was, its
// text unchanged, across the module's boundary.
#include "base/apperror.h"
#include "export/profileexport.h"
#include "geometry/gearmodel.h"

#include <gtest/gtest.h>

namespace {

// Prepared for an STL, the request skips the size check a STEP file gets
// before it is chosen: the module's own check refuses it.
TEST(PartModule, ARefusalInsideTheModuleKeepsItsTypeAndText)
{
    ExportRequest request;
    request.gear.module = 0.5;
    request.gear.teeth = 2000;
    request.gear.cutter.tipRadius = DefaultToolTipRadius(0.5);
    request.tolerance = 0.00001;
    const PreparedExport prepared = PrepareExport(request, ExportFormat::Stl);
    try {
        ExportBytes(prepared, ExportFormat::Step);
        ADD_FAILURE() << "the STEP solid was not refused";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "STEP の立体には歯形の曲線が多すぎます（曲線 12000 本、点 328000 個。作れるのは 6000 本、"
                               "500000 個まで）。許容差を大きくするか、歯数を減らしてください");
    }
}

}  // namespace
