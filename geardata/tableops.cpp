// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/tableops.h"

void RegisterSlots()
{
    int firstFree = 0;
    for (int r = kFirstRow; r <= kLastRow && firstFree == 0; ++r)
        if (IsFreeForInsertion(gearTable[r]))
            firstFree = r;
    RegisteredCount = firstFree != 0 ? firstFree : kLastRow;

    int from = RegisteredCount;
    if (firstFree != 0 && firstFree < kLastRow && IsShown(gearTable[firstFree + 1]))
        from = firstFree - 1;   // keep the gear right below the free row
    for (int k = from; k >= 0; --k)
        gearTable[k + 1] = gearTable[k];

    if (RegisteredCount < kLastRow)
        ++RegisteredCount;
}

bool RecallRow(int row)
{
    if (row <= 0 || row > kLastRow || !CanRecall(gearTable[row]))
        return false;
    gearTable[kCurrentSlot] = gearTable[row];
    return true;
}

bool DeleteRowSlots(int row)
{
    if (row <= 0 || row > kLastRow || !CanDelete(gearTable[row]))
        return false;
    for (int j = row; j <= kLastRow; ++j)
        gearTable[j] = gearTable[j + 1];
    gearTable[kLastRow].InUse = 0;
    return true;
}
