// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/commands.h"

#include "geardata/apperror.h"
#include "geardata/gearfile.h"
#include "geardata/programstate.h"
#include "geardata/tableops.h"
#include "geometry/dimensions.h"
#include "geometry/extended.h"
#include "geometry/outline.h"
#include "commands/inputparse.h"
#include "commands/numbertext.h"
#include "commands/teethchecks.h"

#include <exception>
#include <new>

void StartUp(GearView& view)
{
    view.InitTableGrid();
    view.ShowImage();
    RegisteredCount = 0;
    ResetGearTable();
    ComputeGearDimensions();
    ShowResults(view);
    RebuildOutline();
    view.ShowOutline();
}

void ReadInputs(const InputTexts& texts, const std::string& decimalSeparator)
{
    GearRecord& g = gearTable[kCurrentSlot];
    g.Module = Store(ParseFloat(texts.module, decimalSeparator));
    g.Teeth = ParseInteger(texts.teeth);
    g.Shift = Store(ParseFloat(texts.shift, decimalSeparator));
}

BoxTexts BoxTextsOf(const GearRecord& g, const std::string& sep)
{
    return {FormatGeneral(g.Module, 11, sep),          FormatInteger(g.Teeth),
            FormatGeneral(g.Shift, 11, sep),           FormatFixed(g.PitchDiameter, 11, 3, sep),
            FormatFixed(g.TipDiameter, 11, 3, sep),    FormatFixed(g.RootDiameter, 11, 3, sep),
            FormatFixed(g.BaseDiameter, 11, 3, sep),   FormatFixed(g.TipThickness, 11, 3, sep)};
}

void ShowResults(GearView& view)
{
    view.ShowBoxes(BoxTextsOf(gearTable[kCurrentSlot], view.DecimalSeparator()));
}

int CheckTeeth(GearView& view)
{
    const GearRecord& g = gearTable[kCurrentSlot];
    const TeethCheckResult check = CheckTeethCounts(g.Teeth, g.Teeth2);
    view.ShowMessages(check.lines);
    return check.result;
}

void RegisterCurrentGear(GearView& view)
{
    RegisterSlots();
    const std::string sep = view.DecimalSeparator();
    for (int row = kFirstRow; row <= kLastRow; ++row)
        if (IsShown(gearTable[row]))
            view.ShowRow(row, FormatRowTexts(gearTable[row], sep));
}

void Calculate(GearView& view, const InputTexts& texts)
{
    ReadInputs(texts, view.DecimalSeparator());
    if (CheckTeeth(view) == 2)
        return;
    ComputeGearDimensions();
    // What the generated tooth says of itself (undercut the count rule missed,
    // cut through, a pointed or thin tip) goes into the list; the gear is still
    // shown and registered.
    const GearRecord& g = gearTable[kCurrentSlot];
    if (!GeneratedToothFindings(g).empty())
        view.ShowMessages(CheckComputedGear(g).lines);
    ShowResults(view);
    RebuildOutline();
    view.ShowOutline();
    view.ShowImage();
    RegisterCurrentGear(view);
    view.CurrentGearChanged();
}

void RecallGear(GearView& view, int row)
{
    if (!RecallRow(row))
        return;
    ShowResults(view);
    RebuildOutline();
    view.ShowOutline();
    view.CurrentGearChanged();
}

void DeleteRow(GearView& view, int row)
{
    if (DeleteRowSlots(row))
        view.MoveRowsUp(row);
}

void ReadTable(GearView& view, const std::optional<std::string>& path)
{
    if (path)
        LoadGearTableBytes(ReadGearFile(*path));
    view.ClearTableCells();
    ShowResults(view);
    RegisterCurrentGear(view);
    view.CurrentGearChanged();
}

void WriteTable(const std::string& path)
{
    WriteGearFile(path);
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

bool RunSequence(GearView& view, const std::function<void()>& command)
{
    std::string message;
    try {
        command();
        return true;
    } catch (...) {
        message = CurrentFailureMessage();
    }
    view.ShowError(message);
    return false;
}
