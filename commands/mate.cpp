// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/mate.h"

#include "geometry/internalpair.h"
#include "geometry/rackpair.h"

MateOutcome ComputeMate(const MateRequest& request, std::string_view sep)
{
    const PairInput& in = request.gears;
    const std::optional<double>& a = request.centerDistance;
    MateOutcome out;
    BacklashGeometry geometry;
    switch (in.mate) {
    case MateKind::Rack: {
        const RackPairResult r = ComputeRackPair(in);
        out.report = MateReportOf(r, sep);
        out.centerDistance = r.centerToReferenceLine;
        out.gears = in;
        out.mesh = MeshInputOf(r);
        geometry = BacklashGeometryOf(r);
        break;
    }
    case MateKind::Internal: {
        const InternalPairResult r = a ? ComputeInternalPairForCenterDistance(in, *a) : ComputeInternalPair(in);
        out.report = MateReportOf(r, sep);
        out.centerDistance = r.centerDistance;
        out.gears = r.input;
        out.mesh = MeshInputOf(r);
        geometry = BacklashGeometryOf(r);
        break;
    }
    case MateKind::External: {
        const PairResult r = !a                   ? ComputePair(in)
                             : request.keepShift1 ? ComputePairForCenterDistanceKeepingShift1(in, *a)
                                                  : ComputePairForCenterDistance(in, *a, request.split);
        out.report = MateReportOf(r, sep);
        out.centerDistance = r.centerDistance;
        out.gears = r.input;
        out.mesh = MeshInputOf(r);
        geometry = BacklashGeometryOf(r);
        break;
    }
    }
    if (request.paired)
        request.paired(out);
    BacklashInput allowances = request.allowances ? request.allowances() : BacklashInput{};
    if (in.mate == MateKind::External) {
        // The drawing shows the tightest mesh the allowances leave: the
        // thickest teeth at the shortest centre distance.
        out.mesh.gears.thicknessAllowance = {allowances.thickness[0].upper, allowances.thickness[1].upper};
        out.mesh.centerDistanceAllowance = allowances.centerDistance.lower;
    }
    if (!request.backlash && !request.wanted)
        return out;
    if (request.wanted) {
        const auto proposal = ProposeAllowances(geometry, request.wanted->min, request.wanted->max,
                                                allowances.centerDistance, request.wantedKind);
        allowances.thickness = {proposal[0], proposal[1]};
    }
    if (request.checkAllowances)
        request.checkAllowances(out.gears, allowances);
    out.backlash = ComputeBacklash(geometry, allowances);
    return out;
}
