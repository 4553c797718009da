// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's command sequences, written once for every front end (the
// window, the fuzzer, and what else drives the gear table).
//
// A front end implements GearView, what it shows of the program, and calls a
// sequence with the texts it read. The sequences work on the one program
// state (geardata/programstate.h) and tell the view what to show as they go.
// A failure is raised as an exception at the failing step and ends the
// sequence: whatever earlier steps stored or showed stays. RunSequence is the
// guard that turns any failure into the view's error display.

#include "geardata/gearrecord.h"
#include "commands/rowtexts.h"

#include <functional>
#include <optional>
#include <string>
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
    // Draws DisplayOutline in the view's chosen zoom.
    virtual void ShowOutline() = 0;
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
    virtual void CurrentGearChanged() {}
};

// Start-up on a fresh program state: the table headers, the default gear
// computed, shown and drawn. No teeth checks, nothing registered.
void StartUp(GearView& view);

// Parses the three texts into the module, teeth and shift of slot 0, each
// stored right after its own parse.
void ReadInputs(const InputTexts& texts, const std::string& decimalSeparator);

// The eight box texts of a gear, in the boxes' own formats.
BoxTexts BoxTextsOf(const GearRecord& gear, const std::string& decimalSeparator);

// The eight boxes from slot 0.
void ShowResults(GearView& view);

// The teeth checks of slot 0 into the message list: 0 clean, 1 warnings,
// 2 an error (the calculation stops).
int CheckTeeth(GearView& view);

// Inserts slot 0 as row 1 and shows every row in use.
void RegisterCurrentGear(GearView& view);

// "計算・登録": read, check, compute (the tip thickness findings join the
// message list), show, draw, register.
void Calculate(GearView& view, const InputTexts& texts);

// A row recall: the gear of row `row` into slot 0, shown and drawn without
// recomputing. Nothing happens for a row that cannot be recalled.
void RecallGear(GearView& view, int row);

// "削除": removes row `row` and closes the gap. Nothing happens for a row
// that cannot be deleted.
void DeleteRow(GearView& view, int row);

// After the open dialog: the file's bytes over the table (when a file was
// chosen), then the rows emptied, slot 0 shown and registered again. The
// outline is not redrawn.
void ReadTable(GearView& view, const std::optional<std::string>& path);

// Writes the table as a gear data file.
void WriteTable(const std::string& path);

// The message a caught failure shows; call inside a catch block.
std::string CurrentFailureMessage();

// Runs one command; a failure is shown through view.ShowError and ends it.
// Returns whether the command ran to its end.
bool RunSequence(GearView& view, const std::function<void()>& command);
