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

#include "geometry/gearmodel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GearRecord;

// A value that may have no meaning for a gear; `reason` says why when it is
// absent. A value read where the tooth is not an involute (the trochoid of the
// rack's tip, the undercut) carries a `note` that says so.
struct Measure {
    std::optional<double> value;
    std::string reason;
    std::string note;

    static Measure Of(double v) { return {v, {}, {}}; }
    static Measure Absent(std::string why) { return {std::nullopt, std::move(why), {}}; }
    static Measure Noted(double v, std::string note) { return {v, {}, std::move(note)}; }
    bool present() const { return value.has_value(); }
};

// What the user asks for beyond the gear: a pin diameter (none: the ideal pin)
// and a span tooth count (none: the recommended one).
struct InspectionRequest {
    std::optional<double> pinDiameter;
    std::optional<std::int32_t> spanTeeth;
    // The face width b, mm, when known: a helical gear's span needs W sin(beta_b) < b.
    std::optional<double> faceWidth{};
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
    Measure minShift;                // x_min of the rack with its rounded tip (GearModel::MinShift)
    bool undercut = false;           // the generated tooth is undercut
    Measure involuteStartDiameter;   // where the generated involute starts
    Measure tipThickness;            // exact arc thickness on the tip circle
    std::vector<ToothFinding> findings;   // what the generated tooth says of itself
    Measure basePitch;               // pi m cos(alpha)
    Measure wholeDepth;              // 2.25 m
    // A helical gear's warnings of the span (W sin(beta_b) not below the face width).
    std::vector<std::string> spanFindings;
};

// W, M, s-bar and h-bar are measured on the tooth the rack generates: where
// the contact lies on the involute they are the involute's formulas; where it
// lies on the trochoid or the undercut they are read on the generated boundary
// with a note; absent, with the reason, where no gauge can read them.
//
// A helical gear (GearSpec::helixAngleDegrees > 0) is measured in the normal
// section, every value in the normal system: s = s_n, W across the anvils'
// normal, the balls' M, the chord of the virtual spur gear of z / cos^3(beta)
// teeth, the normal base pitch and the normal tip thickness. The span's k is
// the recommended one of the virtual spur gear of z_n = z inv(alpha_t) /
// inv(alpha_n) teeth (its contact nearest d_n + 2 x_n m_n), and the anvils
// touch on the diameter sqrt(db^2 + (W cos(beta_b))^2). The involute helicoid's
// formulas are exact there; a contact off the involute (fillet, undercut) is
// not read on the generated transverse section but given absent.
InspectionResult ComputeInspection(const GearSpec& gear, const InspectionRequest& request = {});
// The same for a gear whose model is already built; Proof::Searched reads every
// pin on the generated tooth as a search (for tests).
InspectionResult ComputeInspection(const GearModel& model, const InspectionRequest& request = {},
                                   Proof proof = Proof::Shown);
// The gear of a record is GearSpecOf(record) (geometry/gearmodel.h): a
// PressureAngleIndex outside the table gives NaN degrees (every value absent).
