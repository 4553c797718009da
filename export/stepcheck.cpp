// SPDX-License-Identifier: GPL-3.0-or-later
// The part's shell checked in time in proportion to its edges (stepcheck.h).
#include "export/stepcheck.h"

#include <Adaptor3d_CurveOnSurface.hxx>
#include <BRepAdaptor_Curve.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepCheck_ListOfStatus.hxx>
#include <BRepCheck_Result.hxx>
#include <BRepLib_ValidateEdge.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Geom2dAdaptor_Curve.hxx>
#include <Geom2d_Curve.hxx>
#include <GeomAdaptor_Surface.hxx>
#include <Geom_Plane.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Iterator.hxx>
#include <gp_Pnt2d.hxx>

#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace {

bool IsFlat(const TopoDS_Face& face)
{
    TopLoc_Location at;
    return !Handle(Geom_Plane)::DownCast(BRep_Tool::Surface(face, at)).IsNull();
}

// Each edge once forward and once reversed over the faces of the shell, as
// the faces face.
bool EdgesPaired(const TopoDS_Shell& shell)
{
    TopTools_IndexedMapOfShape edges;
    std::vector<std::array<int, 2>> uses;
    for (TopExp_Explorer e(shell, TopAbs_EDGE); e.More(); e.Next()) {
        const TopAbs_Orientation way = e.Current().Orientation();
        if (way != TopAbs_FORWARD && way != TopAbs_REVERSED)
            return false;
        const std::size_t k = static_cast<std::size_t>(edges.Add(e.Current()) - 1);
        if (k == uses.size())
            uses.push_back({0, 0});
        ++uses[k][way == TopAbs_FORWARD ? 0 : 1];
    }
    if (uses.empty())
        return false;
    for (const std::array<int, 2>& u : uses)
        if (u[0] != 1 || u[1] != 1)
            return false;
    return true;
}

// The curve in the plane of `face` keeps within the edge's tolerance of the
// curve in space, both over the same range.
bool OnPlaneAsInSpace(const TopoDS_Edge& edge, const TopoDS_Face& face, const Handle(GeomAdaptor_Surface)& plane,
                      Handle(Geom2d_Curve)& curve, double& first, double& last)
{
    if (!BRep_Tool::SameParameter(edge) || !BRep_Tool::SameRange(edge))
        return false;
    TopLoc_Location at;
    double from = 0.0, to = 0.0;
    if (BRep_Tool::Curve(edge, at, from, to).IsNull())
        return false;
    curve = BRep_Tool::CurveOnSurface(edge, face, first, last);
    if (curve.IsNull() || !(last > first))
        return false;
    const double tolerance = BRep_Tool::Tolerance(edge);
    const Handle(Adaptor3d_CurveOnSurface) onPlane =
        new Adaptor3d_CurveOnSurface(new Geom2dAdaptor_Curve(curve, first, last), plane);
    BRepLib_ValidateEdge validate(new BRepAdaptor_Curve(edge), onPlane, Standard_True);
    validate.SetExitIfToleranceExceeded(tolerance);
    validate.Process();
    return validate.IsDone() && validate.CheckTolerance(tolerance);
}

// The area a wire of a flat face bounds in the plane, positive when it runs
// counter-clockwise about the face's normal: nothing when it is not one
// closed chain of edges or an edge's curve in the plane strays from its curve
// in space.
std::optional<double> WireArea(const TopoDS_Wire& wire, const TopoDS_Face& face,
                               const Handle(GeomAdaptor_Surface)& plane)
{
    std::vector<TopoDS_Edge> edges;
    TopTools_IndexedMapOfShape vertices;
    std::vector<int> startOf, ends;   // by vertex: the edge starting there, the edges ending there
    for (TopoDS_Iterator e(wire); e.More(); e.Next()) {
        if (e.Value().ShapeType() != TopAbs_EDGE)
            return std::nullopt;
        const TopoDS_Edge& edge = TopoDS::Edge(e.Value());
        const TopAbs_Orientation way = edge.Orientation();
        if (way != TopAbs_FORWARD && way != TopAbs_REVERSED)
            return std::nullopt;
        const TopoDS_Vertex start = TopExp::FirstVertex(edge, Standard_True), end = TopExp::LastVertex(edge, Standard_True);
        if (start.IsNull() || end.IsNull())
            return std::nullopt;
        for (const TopoDS_Vertex& v : {start, end})
            if (vertices.Add(v) > static_cast<int>(startOf.size())) {
                startOf.push_back(-1);
                ends.push_back(0);
            }
        int& starting = startOf[static_cast<std::size_t>(vertices.FindIndex(start) - 1)];
        if (starting >= 0)
            return std::nullopt;
        starting = static_cast<int>(edges.size());
        ++ends[static_cast<std::size_t>(vertices.FindIndex(end) - 1)];
        edges.push_back(edge);
    }
    if (edges.empty() || vertices.Extent() != static_cast<int>(edges.size()))
        return std::nullopt;
    for (const int n : ends)
        if (n != 1)
            return std::nullopt;

    // Round the chain from the first edge, the curves sampled on the way.
    constexpr int kSamples = 8;
    std::vector<gp_Pnt2d> round;
    round.reserve(edges.size() * kSamples);
    std::size_t k = 0;
    for (std::size_t step = 0; step < edges.size(); ++step) {
        if (step > 0 && k == 0)
            return std::nullopt;   // a chain closed before it took in every edge
        const TopoDS_Edge& edge = edges[k];
        Handle(Geom2d_Curve) curve;
        double first = 0.0, last = 0.0;
        if (!OnPlaneAsInSpace(edge, face, plane, curve, first, last))
            return std::nullopt;
        const bool forward = edge.Orientation() == TopAbs_FORWARD;
        for (int s = 0; s < kSamples; ++s) {
            const double t = (last - first) * s / kSamples;
            round.push_back(curve->Value(forward ? first + t : last - t));
        }
        k = static_cast<std::size_t>(startOf[static_cast<std::size_t>(
            vertices.FindIndex(TopExp::LastVertex(edge, Standard_True)) - 1)]);
    }
    if (k != 0)
        return std::nullopt;
    double area = 0.0;
    for (std::size_t i = 0; i < round.size(); ++i) {
        const gp_Pnt2d& a = round[i];
        const gp_Pnt2d& b = round[(i + 1) % round.size()];
        area += (a.X() * b.Y() - b.X() * a.Y()) / 2.0;
    }
    return area;
}

// A flat face: each wire a closed chain of edges whose curves in the plane
// are their curves in space; the largest counter-clockwise about the normal
// the face has as it is made, the others clockwise.
bool FlatFaceSound(const TopoDS_Face& given)
{
    const TopoDS_Face face = TopoDS::Face(given.Oriented(TopAbs_FORWARD));
    const Handle(GeomAdaptor_Surface) plane = new GeomAdaptor_Surface(BRep_Tool::Surface(face));
    std::vector<double> areas;
    for (TopoDS_Iterator w(face); w.More(); w.Next()) {
        if (w.Value().ShapeType() != TopAbs_WIRE)
            return false;
        const std::optional<double> area = WireArea(TopoDS::Wire(w.Value()), face, plane);
        if (!area)
            return false;
        areas.push_back(*area);
    }
    if (areas.empty())
        return false;
    std::size_t outer = 0;
    for (std::size_t i = 1; i < areas.size(); ++i)
        if (std::abs(areas[i]) > std::abs(areas[outer]))
            outer = i;
    for (std::size_t i = 0; i < areas.size(); ++i)
        if (i == outer ? !(areas[i] > 0.0) : !(areas[i] < 0.0))
            return false;
    return true;
}

// Open CASCADE's check catches the failures raised inside it (memory running
// out among them) and reports only that it stopped.
bool StoppedByFailure(const BRepCheck_Analyzer& check, const TopoDS_Shape& checked)
{
    for (const TopAbs_ShapeEnum kind : {TopAbs_FACE, TopAbs_WIRE, TopAbs_EDGE, TopAbs_VERTEX})
        for (TopExp_Explorer e(checked, kind); e.More(); e.Next()) {
            const Handle(BRepCheck_Result)& result = check.Result(e.Current());
            if (result.IsNull())
                continue;
            for (const BRepCheck_Status status : result->Status())
                if (status == BRepCheck_CheckFail)
                    return true;
        }
    return false;
}

}  // namespace

ShellCheck CheckPartShell(const TopoDS_Shell& shell)
{
    if (!EdgesPaired(shell))
        return ShellCheck::Broken;
    // Open CASCADE checks the curved faces, each of few edges, and every edge
    // with its vertices.
    BRep_Builder builder;
    TopoDS_Compound checked;
    builder.MakeCompound(checked);
    for (TopExp_Explorer f(shell, TopAbs_FACE); f.More(); f.Next()) {
        const TopoDS_Face& face = TopoDS::Face(f.Current());
        if (!IsFlat(face))
            builder.Add(checked, face);
        else if (!FlatFaceSound(face))
            return ShellCheck::Broken;
    }
    TopTools_IndexedMapOfShape edges;
    TopExp::MapShapes(shell, TopAbs_EDGE, edges);
    for (int i = 1; i <= edges.Extent(); ++i)
        builder.Add(checked, edges(i));
    const BRepCheck_Analyzer check(checked);
    if (check.IsValid())
        return ShellCheck::Sound;
    return StoppedByFailure(check, checked) ? ShellCheck::Stopped : ShellCheck::Broken;
}
