// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/tableops.h"

void RegisterSlots(GearTable& table, std::int32_t& registeredCount)
{
    int firstFree = 0;
    for (int r = kFirstRow; r <= kLastRow && firstFree == 0; ++r)
        if (IsFreeForInsertion(table[r]))
            firstFree = r;
    registeredCount = firstFree != 0 ? firstFree : kLastRow;

    int from = registeredCount;
    if (firstFree != 0 && firstFree < kLastRow && IsShown(table[firstFree + 1]))
        from = firstFree - 1;   // keep the gear right below the free row
    for (int k = from; k >= 0; --k)
        table[k + 1] = table[k];

    if (registeredCount < kLastRow)
        ++registeredCount;
}

bool RecallRow(GearTable& table, int row)
{
    if (row <= 0 || row > kLastRow || !CanRecall(table[row]))
        return false;
    table[kCurrentSlot] = table[row];
    return true;
}

bool DeleteRowSlots(GearTable& table, int row)
{
    if (row <= 0 || row > kLastRow || !CanDelete(table[row]))
        return false;
    for (int j = row; j <= kLastRow; ++j)
        table[j] = table[j + 1];
    table[kLastRow].InUse = 0;
    return true;
}
