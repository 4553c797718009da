// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"
#include "geometry/dimensions.h"
#include "geometry/extended.h"
#include "geometry/outline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

void ComputeGear(double module, std::int32_t teeth, double shift)
{
    std::memset(GearTableBytes(), 0, kGearTableBytes);
    ResetGearTable();
    gearTable[0].Module = module;
    gearTable[0].Teeth = teeth;
    gearTable[0].Shift = shift;
    ComputeGearDimensions();
}

void ClearBuffers()
{
    GearOutline.fill({0.0, 0.0});
    DisplayOutline.fill({0.0, 0.0});
}

void ExpectRelative(double actual, double expected, const std::string& what)
{
    EXPECT_LE(std::fabs(actual - expected), 1e-12 * std::max(1.0, std::fabs(expected))) << what;
}

TEST(ToothOutline, DefaultGearToothZeroToFiveDecimals)
{
    ClearBuffers();
    ComputeGear(1.0, 18, 0.0);
    RebuildOutline();
    const double table[14][2] = {
        {7.63226, -1.34577}, {7.70958, -0.79045}, {8.15724, -0.83634}, {8.60768, -0.85460}, {9.06863, -0.75497},
        {9.53240, -0.57955}, {9.99419, -0.34077}, {10.00000, 0.00000}, {9.99419, 0.34077},  {9.53240, 0.57955},
        {9.06863, 0.75497},  {8.60768, 0.85460},  {8.15724, 0.83634},  {7.70958, 0.79045}};
    for (int i = 0; i < 14; ++i) {
        EXPECT_NEAR(DisplayOutline[i].x, table[i][0], 5e-6) << "point " << i;
        EXPECT_NEAR(DisplayOutline[i].y, table[i][1], 5e-6) << "point " << i;
    }
    EXPECT_NEAR(DisplayOutline[14].x, 7.63226, 5e-6);
    EXPECT_NEAR(DisplayOutline[14].y, 1.34577, 5e-6);
    EXPECT_NEAR(DisplayOutline[21].x, 9.39693, 5e-6);
    EXPECT_NEAR(DisplayOutline[21].y, 3.42020, 5e-6);
    EXPECT_NEAR(DisplayOutline[251].x, 7.51499, 5e-6);
    EXPECT_NEAR(DisplayOutline[251].y, -1.89406, 5e-6);
}

// The same points from the gear formulas written out independently, in long double.
TEST(ToothOutline, DefaultGearPointsFromTheGearFormulas)
{
    ClearBuffers();
    ComputeGear(1.0, 18, 0.0);
    RebuildOutline();
    const long double pi = 3.14159265358979323846L;
    const long double a0 = pi / 9;
    const long double db = cosl(a0) * 18.0L;
    const long double psiBase = (pi / 18.0L + 0.029808767L) / 2.0L;   // Sb/db below the base circle
    const double diameters[6] = {15.5, 16.4, 17.3, 18.2, 19.1, 20.0};
    const long double phi = pi / 18.0L;
    ExpectRelative(DisplayOutline[0].x, 7.75L * cosl(phi), "point 0 x");
    ExpectRelative(DisplayOutline[0].y, -7.75L * sinl(phi), "point 0 y");
    for (int i = 1; i <= 6; ++i) {
        const long double d = diameters[i - 1];
        const long double psi = d <= db ? psiBase : ThicknessAtDiameter(18, 1.0, 0.0, diameters[i - 1]) / d;
        ExpectRelative(DisplayOutline[i].x, d / 2 * cosl(psi), "x of point " + std::to_string(i));
        ExpectRelative(DisplayOutline[i].y, -d / 2 * sinl(psi), "y of point " + std::to_string(i));
        EXPECT_EQ(DisplayOutline[14 - i].x, DisplayOutline[i].x);
        EXPECT_EQ(DisplayOutline[14 - i].y, -DisplayOutline[i].y);
    }
    EXPECT_EQ(DisplayOutline[7].x, 10.0);
    EXPECT_EQ(DisplayOutline[7].y, 0.0);
    ExpectRelative(DisplayOutline[21].x, 10.0L * cosl(pi / 9), "tooth 1 tip x");
    ExpectRelative(DisplayOutline[21].y, 10.0L * sinl(pi / 9), "tooth 1 tip y");
    const long double theta = 17.0L * (2.0L * pi / 18.0L);
    const long double x13 = DisplayOutline[13].x, y13 = DisplayOutline[13].y;
    ExpectRelative(DisplayOutline[251].x, x13 * cosl(theta) - y13 * sinl(theta), "point 251 x");
    ExpectRelative(DisplayOutline[251].y, x13 * sinl(theta) + y13 * cosl(theta), "point 251 y");
}

TEST(ToothOutline, FlankDiameterEqualToTheBaseDiameterTakesTheProportionalRule)
{
    const double db = Store(Cos(Ext(kAlpha0)) * Ext(18) * Ext(1.0));
    // Root diameter exactly on the base circle: point 1 lies at d = db.
    BuildToothOutline(18, 1.0, 0.0, 20.0, db);
    const double sb = Store(Ext(db) / Ext(2.0L) * (Ext(kPi) / Ext(18) + Ext(0.029808767L)));
    const double s = Store(Ext(sb) * Ext(db) / Ext(db));
    const double psi = Store(Ext(s) / 2 / (Ext(db) / 2));
    EXPECT_EQ(GearOutline[1].x, Store(Ext(db) / 2 * Cos(psi)));
    EXPECT_EQ(GearOutline[1].y, Store(-(Ext(db) / 2) * Sin(psi)));
}

TEST(ToothOutline, OneToothHasItsRootPointOnTheNegativeXAxis)
{
    ClearBuffers();
    ComputeGear(1.0, 1, 0.0);
    RebuildOutline();
    EXPECT_NEAR(DisplayOutline[0].x, gearTable[0].RootDiameter / 2 * -1.0, 1e-15);
    EXPECT_NEAR(DisplayOutline[0].y, 0.0, 1e-15);
    for (int i = 14; i < 1001; ++i)
        ASSERT_EQ(GearOutline[i].x, 0.0) << i;
}

TEST(ToothOutline, CapacityAtSeventyAndSeventyOneTeeth)
{
    for (std::int32_t teeth : {70, 71}) {
        ClearBuffers();
        ComputeGear(1.0, teeth, 0.0);
        RebuildOutline();
        const int points = 14 * teeth;
        // The last tooth is tooth 0 turned by (teeth - 1) pitches.
        const double theta = Store(Ext(teeth - 1) * Ext(Store(Ext(2.0L) * Ext(kPi) / Ext(teeth))));
        double x = 0, y = 0;
        RotatePoint(GearOutline[7].x, GearOutline[7].y, theta, x, y);
        EXPECT_EQ(DisplayOutline[points - 7].x, x);
        EXPECT_EQ(DisplayOutline[points - 7].y, y);
        for (int i = points; i < 1001; ++i) {
            ASSERT_EQ(DisplayOutline[i].x, 0.0) << teeth << " teeth, point " << i;
            ASSERT_EQ(GearOutline[i].x, 0.0) << teeth << " teeth, point " << i;
        }
    }
}

TEST(ToothOutline, RebuildingFewerTeethLeavesTheOldPointsBehind)
{
    ClearBuffers();
    ComputeGear(1.0, 30, 0.0);
    RebuildOutline();
    const OutlineBuffer thirty = GearOutline;
    ComputeGear(1.0, 18, 0.0);
    RebuildOutline();
    for (int i = 252; i <= 419; ++i) {
        EXPECT_EQ(GearOutline[i].x, thirty[i].x) << i;
        EXPECT_EQ(DisplayOutline[i].x, thirty[i].x) << i;
        EXPECT_EQ(DisplayOutline[i].y, thirty[i].y) << i;
    }
    EXPECT_NE(DisplayOutline[251].x, thirty[251].x);
}

TEST(ToothOutline, EntryOneThousandOfTheDisplayIsNeverWritten)
{
    ClearBuffers();
    GearOutline[1000] = {5.0, 6.0};
    ComputeGear(1.0, 18, 0.0);
    RebuildOutline();
    EXPECT_EQ(DisplayOutline[1000].x, 0.0);
    EXPECT_EQ(DisplayOutline[1000].y, 0.0);
}

TEST(ToothOutline, TeethZeroFaultsBeforeAnyPointIsWritten)
{
    ClearBuffers();
    ComputeGear(1.0, 18, 0.0);
    RebuildOutline();
    const OutlineBuffer before = DisplayOutline;
    gearTable[0].Teeth = 0;
    try {
        RebuildOutline();
        ADD_FAILURE() << "no fault";
    } catch (const FloatFault& f) {
        EXPECT_EQ(f.kind(), FloatFaultKind::DivisionByZero);
        EXPECT_STREQ(f.what(), "0 による浮動小数点数除算");
    }
    EXPECT_EQ(std::memcmp(&before, &DisplayOutline, sizeof before), 0);
    EXPECT_EQ(std::memcmp(&before, &GearOutline, sizeof(OutlinePoint) * 1000), 0);
}

// Rows read from a file can hold tooth counts and modules that give no outline;
// the build must stay inside the buffers whatever they hold.
TEST(ToothOutline, HostileGearsStayInsideTheBuffers)
{
    ClearBuffers();
    ComputeGear(1.0, 18, 0.0);
    RebuildOutline();
    const OutlineBuffer before = DisplayOutline;
    for (std::int32_t teeth : {72, 1000, 2147483647}) {
        gearTable[0].Teeth = teeth;
        try {
            RebuildOutline();
            ADD_FAILURE() << "no error for " << teeth;
        } catch (const FloatFault&) {
            ADD_FAILURE() << "a floating-point fault for " << teeth;
        } catch (const AppError& e) {
            EXPECT_STREQ(e.what(), TooManyTeethToDrawMessage());
        }
        EXPECT_EQ(std::memcmp(&before, &DisplayOutline, sizeof before), 0);
    }
    // Building more teeth than fit directly never writes past the buffer either.
    BuildToothOutline(200, 1.0, 0.0, 202.0, 197.5);
    ReplicateTeeth(200);
    EXPECT_EQ(GearOutline[1000].x, 0.0);

    for (std::int32_t teeth : {-1, -5, -2147483647 - 1}) {
        gearTable[0] = gearTable[1];
        gearTable[0].Teeth = teeth;
        gearTable[0].TipDiameter = 20.0;
        gearTable[0].RootDiameter = 15.5;
        EXPECT_NO_THROW(RebuildOutline()) << teeth;
    }
}

TEST(ToothOutline, NegativeModuleBuildsWithoutFault)
{
    ClearBuffers();
    ComputeGear(-1.0, 18, 0.0);
    EXPECT_NO_THROW(RebuildOutline());
    for (int i = 0; i < 252; ++i) {
        ASSERT_TRUE(std::isfinite(DisplayOutline[i].x)) << i;
        ASSERT_TRUE(std::isfinite(DisplayOutline[i].y)) << i;
    }
}

}  // namespace
