// SPDX-License-Identifier: GPL-3.0-or-later
// The size of a STEP solid, counted and checked before a file is chosen: the
// programs make this check themselves, without the part module.
#include "export/stepsize.h"

#include "base/apperror.h"
#include "export/profileexport.h"

#include <algorithm>
#include <string>

std::size_t StepTeeth(const GearProfile& profile)
{
    return profile.points.size() / static_cast<std::size_t>(std::max(1, profile.pointsPerTooth));
}

// One edge for each piece of each tooth; poles: the fillets' and flanks' points.
void CheckStepSize(const GearProfile& profile)
{
    const std::size_t teeth = StepTeeth(profile);
    std::size_t poles = 0;
    for (const ProfilePiece& piece : profile.pieces)
        if (piece.kind == PieceKind::Trochoid || piece.kind == PieceKind::Involute)
            poles += piece.last - piece.first + 1;
    const std::size_t edges = profile.pieces.size() * teeth;
    poles *= teeth;
    if (edges > kStepMaxEdges || poles > kStepMaxPoles)
        throw AppError("STEP の立体には歯形の曲線が多すぎます（曲線 " + std::to_string(edges) + " 本、点 " +
                       std::to_string(poles) + " 個。作れるのは " + std::to_string(kStepMaxEdges) + " 本、" +
                       std::to_string(kStepMaxPoles) + " 個まで）。許容差を大きくするか、歯数を減らしてください");
}
