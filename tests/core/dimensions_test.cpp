// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"
#include "geometry/dimensions.h"
#include "geometry/extended.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

void SetGear(double module, std::int32_t teeth, double shift, std::int32_t pressureIndex = 1)
{
    ResetProgramState();
    ResetGearTable();
    GearRecord& g = gearTable[0];
    g.Module = module;
    g.Teeth = teeth;
    g.Shift = shift;
    g.PressureAngleIndex = pressureIndex;
}

struct WorkedExample {
    const char* name;
    double module;
    std::int32_t teeth;
    double shift;
    std::int32_t pressureIndex;
    double pitch, tip, base, root, solveTarget, tipThickness;
};

const WorkedExample kExamples[] = {
    {"default gear", 1.0, 18, 0.0, 1, 18.0, 20.0, 16.914467173865752, 15.5, 0.8457233587073176, 0.6816715558235892},
    {"m2 z12 x0.3", 2.0, 12, 0.3, 1, 24.0, 29.2, 22.55262289848767, 20.2, 0.7723500992760891, 0.871499331441594},
    {"default gear at 14.5 degrees", 1.0, 18, 0.0, 0, 18.0, 20.0, 17.426657526657014, 15.5, 0.8457233587073176,
     0.6816715558235892},
};

TEST(ComputeGearDimensions, WorkedExamplesToEveryDigit)
{
    for (const WorkedExample& e : kExamples) {
        SCOPED_TRACE(e.name);
        SetGear(e.module, e.teeth, e.shift, e.pressureIndex);
        ComputeGearDimensions();
        const GearRecord& g = gearTable[0];
        EXPECT_EQ(g.PitchDiameter, e.pitch);
        EXPECT_EQ(g.TipDiameter, e.tip);
        EXPECT_EQ(g.BaseDiameter, e.base);
        EXPECT_EQ(g.RootDiameter, e.root);
        EXPECT_EQ(g.InUse, 1);
        EXPECT_EQ(SolveTarget, e.solveTarget);
        EXPECT_EQ(g.TipThickness, e.tipThickness);
    }
}

struct SolveCase {
    double target;
    double phi;
    int rounds;
    double lastResidualAbove;
    double lastResidualBelow;
};

TEST(FalsePositionSolve, RoundsAndAnglesOfTheWorkedExamples)
{
    const SolveCase cases[] = {
        {0.8457233587073176, 0.5628760713567579, 14, 5.20e-7, 5.22e-7},
        {0.7723500992760891, 0.6882624800154191, 11, 7.46e-7, 7.48e-7},
    };
    for (const SolveCase& c : cases) {
        SolveTarget = c.target;
        double phi = -1.0;
        int rounds = 0;
        EXPECT_EQ(FalsePositionSolve(phi, 0.0, 1.5707963267948966, 1e-6, &rounds), 0);
        EXPECT_EQ(phi, c.phi);
        EXPECT_EQ(rounds, c.rounds);
        const double residual = CosineResidual(phi);
        EXPECT_GT(residual, c.lastResidualAbove);
        EXPECT_LT(residual, c.lastResidualBelow);
    }
}

TEST(FalsePositionSolve, NoSignChangeLeavesTheRootUnwritten)
{
    for (double target : {1.5, 0.0, -0.25, 6.0e-17}) {
        SolveTarget = target;
        double root = 123.0;
        EXPECT_EQ(FalsePositionSolve(root, 0.0, 1.5707963267948966, 1e-6), 1) << target;
        EXPECT_EQ(root, 123.0);
    }
}

TEST(ThicknessAtDiameter, OnThePitchCircleTheToleranceDecides)
{
    EXPECT_EQ(ThicknessAtDiameter(18, 1.0, 0.0, 18.0), 1.5708007256223149);
    double phi = 0.0;
    int rounds = 0;
    ASSERT_EQ(FalsePositionSolve(phi, 0.0, 1.5707963267948966, 1e-6, &rounds), 0);
    EXPECT_EQ(rounds, 22);
    EXPECT_NEAR(phi * 180.0 / M_PI, 19.9998943, 5e-8);
}

TEST(ThicknessAtDiameter, OnTheTwentyDegreeBaseCircle)
{
    EXPECT_EQ(ThicknessAtDiameter(18, 1.0, 0.0, 16.914467174146353), 1.7281654287217136);
    EXPECT_EQ(SolveTarget, 1.0);
    double phi = -1.0;
    int rounds = 0;
    ASSERT_EQ(FalsePositionSolve(phi, 0.0, 1.5707963267948966, 1e-6, &rounds), 0);
    EXPECT_EQ(phi, 0.0);
    EXPECT_EQ(rounds, 1);
}

TEST(ThicknessAtDiameter, InsideTheBaseCircleThereIsNoThickness)
{
    EXPECT_TRUE(std::isnan(ThicknessAtDiameter(18, 1.0, 0.0, 16.0)));
    EXPECT_TRUE(std::isnan(ThicknessAtDiameter(-5, 1.0, 0.0, -3.0)));
}

TEST(ComputeGearDimensions, TipInsideTheBaseCircleGivesNoTipThickness)
{
    SetGear(1.0, 18, -2.0);
    ComputeGearDimensions();
    EXPECT_EQ(gearTable[0].TipDiameter, 16.0);
    EXPECT_EQ(gearTable[0].InUse, 1);
    EXPECT_TRUE(std::isnan(gearTable[0].TipThickness));
}

TEST(ComputeGearDimensions, NegativeModuleMirrorsThePositiveOne)
{
    SetGear(1.0, 18, 0.0);
    ComputeGearDimensions();
    const GearRecord positive = gearTable[0];
    SetGear(-1.0, 18, 0.0);
    ComputeGearDimensions();
    const GearRecord& g = gearTable[0];
    EXPECT_EQ(g.PitchDiameter, -positive.PitchDiameter);
    EXPECT_EQ(g.TipDiameter, -positive.TipDiameter);
    EXPECT_EQ(g.BaseDiameter, -positive.BaseDiameter);
    EXPECT_EQ(g.RootDiameter, -positive.RootDiameter);
    EXPECT_EQ(g.TipThickness, -positive.TipThickness);
}

// A fault stops the computation at the failing step; the fields stored before
// it keep their new values, the others their old ones.
struct FaultCase {
    const char* name;
    double module;
    std::int32_t teeth;
    double shift;
    const char* message;
    double pitch, tip, base, root;   // NaN: the field keeps its old value
    bool inUse;
    double solveTarget;              // NaN: keeps its old value
};

const double kKept = std::numeric_limits<double>::quiet_NaN();

TEST(ComputeGearDimensions, FaultsAndWhatSurvivesThem)
{
    const FaultCase cases[] = {
        {"module 0", 0.0, 18, 0.0, "不正な浮動小数点数演算命令", 0.0, 0.0, 0.0, 0.0, true, kKept},
        {"zero tip diameter", 1.0, 18, -10.0, "0 による浮動小数点数除算", 18.0, 0.0, 16.914467173865752, -4.5, true, kKept},
        {"teeth 0", 1.0, 0, 0.0, "0 による浮動小数点数除算", 0.0, 2.0, 0.0, -2.5, true, 0.0},
        {"teeth 0 and zero tip", 1.0, 0, -1.0, "不正な浮動小数点数演算命令", 0.0, 0.0, 0.0, -4.5, true, kKept},
        {"pitch overflows", 1e308, 18, 0.0, "浮動小数点数のオーバーフロー", kKept, kKept, kKept, kKept, false, kKept},
        {"tip overflows", 9e306, 18, 0.0, "浮動小数点数のオーバーフロー", 1.62e308, kKept, kKept, kKept, false, kKept},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetGear(c.module, c.teeth, c.shift);
        GearRecord& g = gearTable[0];
        g.PitchDiameter = g.TipDiameter = g.BaseDiameter = g.RootDiameter = 7.25;
        g.TipThickness = 3.5;
        SolveTarget = 0.125;
        try {
            ComputeGearDimensions();
            ADD_FAILURE() << "no fault";
        } catch (const FloatFault& f) {
            EXPECT_STREQ(f.what(), c.message);
        }
        auto expectField = [](double actual, double expected) {
            EXPECT_EQ(actual, std::isnan(expected) ? 7.25 : expected);
        };
        expectField(g.PitchDiameter, c.pitch);
        expectField(g.TipDiameter, c.tip);
        expectField(g.BaseDiameter, c.base);
        expectField(g.RootDiameter, c.root);
        EXPECT_EQ(g.InUse, c.inUse ? 1 : 0);
        EXPECT_EQ(g.TipThickness, 3.5);
        EXPECT_EQ(SolveTarget, std::isnan(c.solveTarget) ? 0.125 : c.solveTarget);
    }
}

TEST(ComputeGearDimensions, UnknownPressureAngleIndexIsRefusedBeforeAnyField)
{
    for (std::int32_t index : {2, -1, 1000}) {
        SetGear(1.0, 18, 0.0, index);
        gearTable[0].PitchDiameter = 7.25;
        try {
            ComputeGearDimensions();
            ADD_FAILURE() << "no error for index " << index;
        } catch (const FloatFault&) {
            ADD_FAILURE() << "a floating-point fault for index " << index;
        } catch (const AppError& e) {
            EXPECT_NE(std::string(e.what()).find(std::to_string(index)), std::string::npos) << e.what();
        }
        EXPECT_EQ(gearTable[0].PitchDiameter, 7.25);
        EXPECT_EQ(gearTable[0].InUse, 0);
    }
}

}  // namespace
