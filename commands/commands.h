// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's command sequences, written once for every front end (the
// window, the fuzzer, and what else drives the gear table).
//
// A front end implements GearView, what it shows of the program, and calls a
// sequence with the state it works on and the texts it read. The sequences
// change only the ProgramState they are given (the window gives the program's
// one state, commands/programstate.h) and tell the view what to show as they
// go. A failure is raised as an exception at the failing step and ends the
// sequence: whatever earlier steps stored or showed stays. RunSequence is the
// guard that turns any failure into the view's error display.
//
// The calculation itself (teeth checks, dimensions, tip findings) is one
// sequence, CalculateGear, run on a gear it is given: by the window's
// Calculate on slot 0, and by the command line on a gear of its own.

#include "geardata/gearrecord.h"
#include "commands/rowtexts.h"
#include "commands/teethchecks.h"
#include "geometry/outline.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The texts of the eight boxes, in the order they are written.
struct BoxTexts {
    std::string module, teeth, shift;                        // the inputs, in their own formats
    std::string pitch, tip, root, base, tipThickness;        // the results, 3 decimals
};

// The three input texts exactly as typed.
struct InputTexts {
    std::string module, teeth, shift;
};

class GearView {
public:
    virtual ~GearView() = default;

    // The decimal separator of every number text the view shows and reads.
    virtual std::string DecimalSeparator() const = 0;
    // The table's header texts and row numbers.
    virtual void InitTableGrid() = 0;
    // The eight boxes of the current gear.
    virtual void ShowBoxes(const BoxTexts& texts) = 0;
    // The message list, replaced whole, top to bottom.
    virtual void ShowMessages(const std::vector<std::string>& lines) = 0;
    // Draws the gear's display outline in the view's chosen zoom.
    virtual void ShowOutline(const GearRecord& gear, const OutlineBuffer& display) = 0;
    // Makes the outline drawing visible.
    virtual void ShowImage() = 0;
    // The four texts of table row 1-20.
    virtual void ShowRow(int row, const RowTexts& texts) = 0;
    // Empties the texts of every table row.
    virtual void ClearTableCells() = 0;
    // After a row is deleted: the texts of the rows below move up one and
    // the last row shows a blank.
    virtual void MoveRowsUp(int row) = 0;
    // A failed command's message, without the closing period.
    virtual void ShowError(const std::string& message) = 0;
    // Slot 0 now holds another gear, fully shown.
    virtual void CurrentGearChanged(const GearRecord& gear) { (void)gear; }
};

struct ProgramState;

// Start-up on a fresh program state: the table headers, the default gear
// computed, shown and drawn. No teeth checks, nothing registered.
void StartUp(ProgramState& state, GearView& view);

// Parses the three texts into the module, teeth and shift of the gear, each
// stored right after its own parse.
void ReadInputs(GearRecord& gear, const InputTexts& texts, const std::string& decimalSeparator);

// The eight box texts of a gear, in the boxes' own formats.
BoxTexts BoxTextsOf(const GearRecord& gear, const std::string& decimalSeparator);
// The text of one of the five result boxes (pitch, tip, root, base diameter, tip thickness).
std::string ResultBoxText(double value, std::string_view decimalSeparator);

// The eight boxes from a gear (the window: slot 0).
void ShowResults(const GearRecord& gear, GearView& view);

// The teeth checks of a gear into the message list: 0 clean, 1 warnings,
// 2 an error (the calculation stops).
int CheckTeeth(const GearRecord& gear, GearView& view);

// The calculation of one gear, as every front end runs it: the teeth checks,
// their lines handed to `showMessages`; unless they refuse the gear, the
// dimensions, and the message list once computed (handed over again when the
// tip findings change it: a gear that cannot be made is still computed, with
// its finding in the list). Returns the final lines and result. A fault of
// the arithmetic is raised; the fields stored before it stay.
// `model`, when given, keeps the gear model the findings were read from
// (GeneratedToothFindings).
TeethCheckResult CalculateGear(GearRecord& gear, double& solveTarget,
                               const std::function<void(const std::vector<std::string>&)>& showMessages,
                               std::optional<GearModel>* model = nullptr);

// Inserts slot 0 as row 1 and shows every row in use.
void RegisterCurrentGear(ProgramState& state, GearView& view);

// "計算・登録": read into slot 0, CalculateGear, show, draw, register.
void Calculate(ProgramState& state, GearView& view, const InputTexts& texts);

// A row recall: the gear of row `row` into slot 0, shown and drawn without
// recomputing. Nothing happens for a row that cannot be recalled.
void RecallGear(ProgramState& state, GearView& view, int row);

// "削除": removes row `row` and closes the gap. Nothing happens for a row
// that cannot be deleted.
void DeleteRow(ProgramState& state, GearView& view, int row);

// After the open dialog: the file's bytes over the table (when a file was
// chosen), then the rows emptied, slot 0 shown and registered again. The
// outline is not redrawn.
void ReadTable(ProgramState& state, GearView& view, const std::optional<std::string>& path);

// Writes the table as a gear data file.
void WriteTable(const ProgramState& state, const std::string& path);

// The message a caught failure shows; call inside a catch block.
std::string CurrentFailureMessage();

// The guard every front end runs its commands through: any failure ends the
// command and its message is handed to `onFailure` (after the exception is
// gone). Returns whether the command ran to its end.
bool RunGuarded(const std::function<void()>& command, const std::function<void(const std::string&)>& onFailure);

// RunGuarded with the view's error display.
bool RunSequence(GearView& view, const std::function<void()>& command);

// The message as the error box shows it: a closing "." unless the text is
// empty or ends in a blank or one of the characters "!" to ".".
std::string WithClosingPeriod(std::string message);
