// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/mate.h"

#include "geometry/internalpair.h"
#include "geometry/rackpair.h"

MateOutcome ComputeMate(const MateRequest& request, std::string_view sep)
{
    const PairInput& in = request.gears;
    const std::optional<double>& a = request.centerDistance;
    MateOutcome out;
    std::optional<PairResult> external;
    switch (in.mate) {
    case MateKind::Rack: {
        const RackPairResult r = ComputeRackPair(in);
        out.report = MateReportOf(r, sep);
        out.centerDistance = r.centerToReferenceLine;
        out.gears = in;
        out.mesh = MeshInputOf(r);
        break;
    }
    case MateKind::Internal: {
        const InternalPairResult r = a ? ComputeInternalPairForCenterDistance(in, *a) : ComputeInternalPair(in);
        out.report = MateReportOf(r, sep);
        out.centerDistance = r.centerDistance;
        out.gears = r.input;
        out.mesh = MeshInputOf(r);
        break;
    }
    case MateKind::External: {
        external = !a                   ? ComputePair(in)
                   : request.keepShift1 ? ComputePairForCenterDistanceKeepingShift1(in, *a)
                                        : ComputePairForCenterDistance(in, *a, request.split);
        out.report = MateReportOf(*external, sep);
        out.centerDistance = external->centerDistance;
        out.gears = external->input;
        out.mesh = MeshInputOf(*external);
        break;
    }
    }
    if (request.paired)
        request.paired(out);
    if (!external)
        return out;
    // The drawing shows the tightest mesh the allowances leave: the thickest
    // teeth at the shortest centre distance.
    BacklashInput allowances = request.allowances ? request.allowances() : BacklashInput{};
    out.mesh.gears.thicknessAllowance = {allowances.thickness[0].upper, allowances.thickness[1].upper};
    out.mesh.centerDistanceAllowance = allowances.centerDistance.lower;
    if (!request.backlash && !request.wanted)
        return out;
    if (request.wanted) {
        const auto proposal = ProposeAllowances(*external, request.wanted->min, request.wanted->max, allowances.centerDistance);
        allowances.thickness = {proposal[0], proposal[1]};
    }
    if (request.checkAllowances)
        request.checkAllowances(*external, allowances);
    out.backlash = ComputeBacklash(*external, allowances);
    return out;
}
