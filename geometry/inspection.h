// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The numbers a machinist measures on a cut gear: tooth thickness and its
// chord, the span over k teeth, the measurement over two pins or balls, the
// shift below which the rack undercuts, the exact tip thickness, base pitch
// and whole depth.
//
// Everything here is exact involute arithmetic with the gear's own pressure
// angle (exact pi, long double intermediates, the involute inverted by Newton's
// method to full precision), separate from the dimension calculation of the
// main window and its 20-degree search. No value raises a floating-point
// fault: a value without meaning for the gear is absent, with a reason.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GearRecord;

// A value that may have no meaning for a gear; `reason` says why when it is absent.
struct Measure {
    std::optional<double> value;
    std::string reason;

    static Measure Of(double v) { return {v, {}}; }
    static Measure Absent(std::string why) { return {std::nullopt, std::move(why)}; }
    bool present() const { return value.has_value(); }
};

// The gear as the inspection sees it.
struct InspectionGear {
    double module = 1.0;
    std::int32_t teeth = 18;
    double shift = 0.0;
    double pressureAngleDegrees = 20.0;
};

// What the user asks for beyond the gear: a pin diameter (none: the ideal pin)
// and a span tooth count (none: the recommended one).
struct InspectionRequest {
    std::optional<double> pinDiameter;
    std::optional<std::int32_t> spanTeeth;
};

struct SpanMeasure {
    std::int32_t teeth = 0;          // k
    Measure span;                    // W over k teeth
    Measure contactDiameter;         // where the micrometer's anvils touch the flanks
};

struct InspectionResult {
    Measure toothThickness;          // s on the pitch circle
    Measure chordalThickness;        // s-bar
    Measure chordalHeight;           // h-bar, from the tip circle
    Measure recommendedSpanTeeth;    // k whose contact lies nearest the circle d + 2xm
    SpanMeasure spans[3];            // k - 1, k, k + 1 (k given or recommended)
    Measure pinDiameter;             // the pin measured with (given or ideal)
    bool idealPin = true;
    Measure overPins;                // M
    Measure pinContactDiameter;      // where the pins touch the flanks
    Measure minShift;                // x_min = 1 - z sin^2(alpha) / 2
    bool undercut = false;           // shift below x_min
    Measure tipThickness;            // exact arc thickness on the tip circle
    std::vector<std::string> tipFindings;   // pointed tip: teeth cross / too thin
    Measure basePitch;               // pi m cos(alpha)
    Measure wholeDepth;              // 2.25 m
};

InspectionResult ComputeInspection(const InspectionGear& gear, const InspectionRequest& request = {});

// The gear of a record: its module, teeth, shift and pressure angle. A
// PressureAngleIndex outside the table gives NaN degrees (every value absent).
InspectionGear InspectionGearOf(const GearRecord& record);

// What a tip thickness says of the teeth: none at all (NaN: the tip circle
// lies inside the base circle), not positive (the teeth come to a point and
// cross), below a quarter of the module (too thin), or sound.
enum class TipCondition { Sound, Missing, Crossing, Thin };
TipCondition ClassifyTip(double tipThickness, double module);

// The pointed-tip findings for an exact tip thickness, as the inspection
// lists them. Empty for a sound tip.
std::vector<std::string> TipFindings(double tipThickness, double module);
