// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/commands.h"

#include "base/apperror.h"
#include "geardata/gearfile.h"
#include "commands/programstate.h"
#include "geardata/tableops.h"
#include "geometry/dimensions.h"
#include "geometry/extended.h"
#include "geometry/outline.h"
#include "commands/inputparse.h"
#include "commands/numbertext.h"
#include "commands/teethchecks.h"

#include <exception>
#include <new>

void StartUp(ProgramState& state, GearView& view)
{
    view.InitTableGrid();
    view.ShowImage();
    state.registeredCount = 0;
    ResetGearTable(state.table);
    GearRecord& current = state.table[kCurrentSlot];
    ComputeGearDimensions(current, state.solveTarget);
    ShowResults(current, view);
    RebuildOutline(current, state.gearOutline, state.displayOutline, state.solveTarget);
    view.ShowOutline(current, state.displayOutline);
}

void ReadInputs(GearRecord& g, const InputTexts& texts, const std::string& decimalSeparator)
{
    g.Module = Store(ParseFloat(texts.module, decimalSeparator));
    g.Teeth = ParseInteger(texts.teeth);
    g.Shift = Store(ParseFloat(texts.shift, decimalSeparator));
}

std::string ResultBoxText(double value, std::string_view sep)
{
    return FormatFixed(value, 11, 3, sep);
}

BoxTexts BoxTextsOf(const GearRecord& g, const std::string& sep)
{
    return {FormatGeneral(g.Module, 11, sep),        FormatInteger(g.Teeth),
            FormatGeneral(g.Shift, 11, sep),         ResultBoxText(g.PitchDiameter, sep),
            ResultBoxText(g.TipDiameter, sep),       ResultBoxText(g.RootDiameter, sep),
            ResultBoxText(g.BaseDiameter, sep),      ResultBoxText(g.TipThickness, sep)};
}

void ShowResults(const GearRecord& gear, GearView& view)
{
    view.ShowBoxes(BoxTextsOf(gear, view.DecimalSeparator()));
}

int CheckTeeth(const GearRecord& g, GearView& view)
{
    const TeethCheckResult check = CheckTeethCounts(g.Teeth, g.Teeth2);
    view.ShowMessages(check.lines);
    return check.result;
}

TeethCheckResult CalculateGear(GearRecord& g, double& solveTarget,
                               const std::function<void(const std::vector<std::string>&)>& showMessages,
                               std::optional<GearModel>* model)
{
    TeethCheckResult check = CheckTeethCounts(g.Teeth, g.Teeth2);
    showMessages(check.lines);
    if (check.result == kChecksRefused)
        return check;
    ComputeGearDimensions(g, solveTarget);
    // What the generated tooth says of itself (undercut the count rule missed,
    // cut through, a pointed or thin tip) goes into the list; the gear is
    // still computed, shown and registered.
    const std::vector<std::string> findings = GeneratedToothFindings(g, model);
    if (!findings.empty()) {
        check = WithToothFindings(std::move(check), findings);
        showMessages(check.lines);
    }
    return check;
}

void RegisterCurrentGear(ProgramState& state, GearView& view)
{
    RegisterSlots(state.table, state.registeredCount);
    const std::string sep = view.DecimalSeparator();
    for (int row = kFirstRow; row <= kLastRow; ++row)
        if (IsShown(state.table[row]))
            view.ShowRow(row, FormatRowTexts(state.table[row], sep));
}

void Calculate(ProgramState& state, GearView& view, const InputTexts& texts)
{
    GearRecord& current = state.table[kCurrentSlot];
    ReadInputs(current, texts, view.DecimalSeparator());
    const auto show = [&view](const std::vector<std::string>& lines) { view.ShowMessages(lines); };
    if (CalculateGear(current, state.solveTarget, show).result == kChecksRefused)
        return;
    ShowResults(current, view);
    RebuildOutline(current, state.gearOutline, state.displayOutline, state.solveTarget);
    view.ShowOutline(current, state.displayOutline);
    view.ShowImage();
    RegisterCurrentGear(state, view);
    view.CurrentGearChanged(current);
}

void RecallGear(ProgramState& state, GearView& view, int row)
{
    if (!RecallRow(state.table, row))
        return;
    const GearRecord& current = state.table[kCurrentSlot];
    ShowResults(current, view);
    RebuildOutline(current, state.gearOutline, state.displayOutline, state.solveTarget);
    view.ShowOutline(current, state.displayOutline);
    view.CurrentGearChanged(current);
}

void DeleteRow(ProgramState& state, GearView& view, int row)
{
    if (DeleteRowSlots(state.table, row))
        view.MoveRowsUp(row);
}

void ReadTable(ProgramState& state, GearView& view, const std::optional<std::string>& path)
{
    if (path)
        LoadGearTableBytes(state.table, ReadGearFile(*path));
    view.ClearTableCells();
    ShowResults(state.table[kCurrentSlot], view);
    RegisterCurrentGear(state, view);
    view.CurrentGearChanged(state.table[kCurrentSlot]);
}

void WriteTable(const ProgramState& state, const std::string& path)
{
    WriteGearFile(state.table, path);
}

std::string CurrentFailureMessage()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "メモリが足りません";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "予期しないエラーが発生しました";
    }
}

bool RunGuarded(const std::function<void()>& command, const std::function<void(const std::string&)>& onFailure)
{
    std::string message;
    try {
        command();
        return true;
    } catch (...) {
        message = CurrentFailureMessage();
    }
    onFailure(message);
    return false;
}

bool RunSequence(GearView& view, const std::function<void()>& command)
{
    return RunGuarded(command, [&view](const std::string& message) { view.ShowError(message); });
}

std::string WithClosingPeriod(std::string message)
{
    if (message.empty())
        return message;
    const char last = message.back();
    if (!(last == ' ' || (last >= '!' && last <= '.')))
        message += '.';
    return message;
}
