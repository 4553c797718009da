// SPDX-License-Identifier: GPL-3.0-or-later
// The part as a STEP AP214 solid through Open CASCADE, put together from the
// pieces the profile knows its tooth is made of: the root and tip arcs are
// arcs of their circles, each fillet and each flank one B-spline through that
// piece's points, every piece joined to the next at the point the model joins
// them. The outline's face swept by the face width gives the tooth sides; the
// bottom, the face at z = b (less the hub's circle), the hub's side and top and
// the bore's sides (its circle and groove, an arc and three lines) are made
// on the edges already there, so no boolean operation is needed and every
// face is whole. The solid is checked before it is written (stepcheck.cpp); the
// file is made in memory. Open CASCADE's headers are many and slow: only this
// file and stepcheck.cpp include them.
#include "export/profileexport.h"
#include "export/stepcheck.h"
#include "export/stepsize.h"

#include "base/apperror.h"
#include "geometry/gearmath.h"

#include <APIHeaderSection_MakeHeader.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRepLib.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_Circle.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <STEPControl_Writer.hxx>
#include <StepAP214.hxx>
#include <StepAP214_Protocol.hxx>
#include <StepBasic_Product.hxx>
#include <StepData_Protocol.hxx>
#include <StepData_StepModel.hxx>
#include <StepData_StepWriter.hxx>
#include <Standard_Failure.hxx>
#include <Standard_OutOfMemory.hxx>
#include <TCollection_HAsciiString.hxx>
#include <TColStd_HArray1OfReal.hxx>
#include <TColgp_HArray1OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopTools_MapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <Transfer_FinderProcess.hxx>
#include <XSControl_TransferWriter.hxx>
#include <XSControl_WorkSession.hxx>
#include <gp_Circ.hxx>
#include <gp_Pln.hxx>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <new>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Open CASCADE reports on messengers whose printers write on standard output
// (the transfer's statistics, in colour, among them): a STEP file sent there
// would carry them. Its default messenger loses its printers, once for the
// process, and the transfer gets a messenger of its own that prints nothing.
const Handle(Message_Messenger)& QuietMessenger()
{
    static const Handle(Message_Messenger) quiet = [] {
        Message::DefaultMessenger()->ChangePrinters().Clear();
        Handle(Message_Messenger) messenger = new Message_Messenger();
        messenger->ChangePrinters().Clear();
        return messenger;
    }();
    return quiet;
}

// The check of the shell reports only that Open CASCADE's part of it stopped on
// a failure raised inside. On a part that passed CheckSolid, with its curves
// built and its sizes well above the modelling precision, nothing but memory
// stops it that way: that is said.
[[noreturn]] void Stopped(const char* message, bool byFailure)
{
    if (byFailure)
        throw std::bad_alloc();
    throw AppError(message);
}

gp_Pnt At(const OutlinePoint& p) { return gp_Pnt(p.x, p.y, 0.0); }


// The cubic B-spline through points[i] at i's distance along the points, for
// the points picked.
Handle(Geom_BSplineCurve) Interpolated(const std::vector<gp_Pnt>& points, const std::vector<double>& along,
                                       const std::vector<std::size_t>& picked)
{
    const int count = static_cast<int>(picked.size());
    Handle(TColgp_HArray1OfPnt) poles = new TColgp_HArray1OfPnt(1, count);
    Handle(TColStd_HArray1OfReal) at = new TColStd_HArray1OfReal(1, count);
    for (int k = 0; k < count; ++k) {
        poles->SetValue(k + 1, points[picked[static_cast<std::size_t>(k)]]);
        at->SetValue(k + 1, along[picked[static_cast<std::size_t>(k)]]);
    }
    GeomAPI_Interpolate curve(poles, at, Standard_False, 1e-9);
    curve.Perform();
    if (!curve.IsDone())
        throw AppError("STEP ファイルの歯形の曲線を作れません");
    return curve.Curve();
}

// A smooth curve through points of a piece: the B-spline through every 16th,
// 8th, 4th or 2nd of them (and the last) when it passes within `budget` of each
// point left out, else through all of them. The points lie on the true curve,
// so few poles do where the curve is gentle.
Handle(Geom_BSplineCurve) Through(const std::vector<gp_Pnt>& points, double budget)
{
    std::vector<double> along(points.size(), 0.0);
    for (std::size_t i = 1; i < points.size(); ++i)
        along[i] = along[i - 1] + points[i - 1].Distance(points[i]);
    std::vector<std::size_t> picked;
    for (const std::size_t stride : {16u, 8u, 4u, 2u}) {
        if ((points.size() - 1) / stride < 2)
            continue;
        picked.clear();
        for (std::size_t i = 0; i + 1 < points.size(); i += stride)
            picked.push_back(i);
        picked.push_back(points.size() - 1);
        const Handle(Geom_BSplineCurve) curve = Interpolated(points, along, picked);
        bool close = true;
        for (std::size_t i = 0; i < points.size() && close; ++i)
            close = i % stride == 0 || curve->Value(along[i]).Distance(points[i]) <= budget;
        if (close)
            return curve;
    }
    picked.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        picked[i] = i;
    return Interpolated(points, along, picked);
}

// The edge of a piece from vertex `from` to vertex `to`: an arc of its circle,
// or a B-spline through its points (indices wrap round the outline).
TopoDS_Edge PieceEdge(const std::vector<OutlinePoint>& pts, const ProfilePiece& piece, std::size_t offset,
                      double budget, const TopoDS_Vertex& from, const TopoDS_Vertex& to)
{
    const std::size_t n = pts.size();
    const OutlinePoint& a = pts[(offset + piece.first) % n];
    const OutlinePoint& b = pts[(offset + piece.last) % n];
    if (piece.kind == PieceKind::RootArc || piece.kind == PieceKind::TipArc) {
        const Handle(Geom_Circle) circle = new Geom_Circle(gp::XOY(), piece.radius);
        const double start = std::atan2(a.y, a.x);
        double end = std::atan2(b.y, b.x);
        while (end <= start)
            end += 2.0 * std::numbers::pi;
        BRepBuilderAPI_MakeEdge edge(circle, from, to, start, end);
        if (!edge.IsDone())
            throw AppError("STEP ファイルの歯形の曲線を作れません");
        return edge.Edge();
    }
    const std::size_t count = piece.last - piece.first + 1;
    if (count == 2)
        return BRepBuilderAPI_MakeEdge(from, to).Edge();
    std::vector<gp_Pnt> points;
    points.reserve(count);
    for (std::size_t k = 0; k < count; ++k)
        points.push_back(At(pts[(offset + piece.first + k) % n]));
    BRepBuilderAPI_MakeEdge edge(Through(points, budget), from, to);
    if (!edge.IsDone())
        throw AppError("STEP ファイルの歯形の曲線を作れません");
    return edge.Edge();
}

}  // namespace

namespace {

// The outline in the plane z = 0, counter-clockwise: one edge for each piece
// of each tooth, neighbours sharing their vertex.
TopoDS_Wire OutlineWire(const GearProfile& profile)
{
    const std::vector<OutlinePoint>& pts = profile.points;
    const std::size_t teeth = StepTeeth(profile), perTooth = static_cast<std::size_t>(profile.pointsPerTooth);
    const std::size_t pieces = profile.pieces.size(), edges = pieces * teeth;
    if (edges == 0)
        throw AppError("STEP ファイルの歯形を閉じた線にできません");
    // A curve through some of a piece's points keeps within a quarter of the
    // profile's chord deviation of the others.
    const double budget = profile.deviation / 4.0;
    std::vector<TopoDS_Vertex> vertices;
    vertices.reserve(edges);
    for (std::size_t k = 0; k < teeth; ++k)
        for (const ProfilePiece& piece : profile.pieces)
            vertices.push_back(BRepBuilderAPI_MakeVertex(At(pts[(k * perTooth + piece.first) % pts.size()])).Vertex());
    // The edges are joined by the vertices they share, in order: the wire is
    // put together as it stands (a wire maker would look for each new vertex
    // among all the wire's vertices by position) and checked with the shell.
    BRep_Builder builder;
    TopoDS_Wire wire;
    builder.MakeWire(wire);
    for (std::size_t e = 0; e < edges; ++e) {
        const std::size_t k = e / pieces;
        builder.Add(wire, PieceEdge(pts, profile.pieces[e % pieces], k * perTooth, budget, vertices[e],
                                    vertices[(e + 1) % edges]));
    }
    wire.Closed(Standard_True);
    return wire;
}

// The bore with its groove in the plane z = 0, counter-clockwise.
TopoDS_Wire HoleWire(const HoleShape& h)
{
    const gp_Ax2 axis = gp::XOY();
    BRepBuilderAPI_MakeWire wire;
    if (!h.keyway) {
        wire.Add(BRepBuilderAPI_MakeEdge(gp_Circ(axis, h.radius)).Edge());
        return wire.Wire();
    }
    const double x0 = h.SideStart(), w = h.keyHalfWidth;
    const gp_Pnt upper(x0, w, 0), lower(x0, -w, 0), bottomLower(h.keyBottom, -w, 0), bottomUpper(h.keyBottom, w, 0);
    wire.Add(BRepBuilderAPI_MakeEdge(GC_MakeArcOfCircle(gp_Circ(axis, h.radius), upper, lower, Standard_True).Value()).Edge());
    wire.Add(BRepBuilderAPI_MakeEdge(lower, bottomLower).Edge());
    wire.Add(BRepBuilderAPI_MakeEdge(bottomLower, bottomUpper).Edge());
    wire.Add(BRepBuilderAPI_MakeEdge(bottomUpper, upper).Edge());
    if (!wire.IsDone())
        throw AppError("STEP ファイルの穴を閉じた線にできません");
    return wire.Wire();
}

// The flat face at height z inside `outer` and, when given, outside `inner`,
// its normal +z. The outline runs counter-clockwise as it is made (and so does
// its copy at the top): a face on it is taken as it is, the others' wires are
// turned the right way round.
TopoDS_Face FlatFace(const TopoDS_Wire& outer, const TopoDS_Wire* inner, double z, bool outline = false)
{
    const gp_Pln plane(gp_Pnt(0, 0, z), gp::DZ());
    BRepBuilderAPI_MakeFace face(plane, outer, outline ? Standard_False : Standard_True);
    if (face.IsDone() && inner != nullptr) {
        // A hole's wire runs the other way round than the face's own.
        const BRepBuilderAPI_MakeFace hole(plane, *inner, Standard_True);
        if (!hole.IsDone())
            return TopoDS_Face();
        face.Add(TopoDS::Wire(BRepTools::OuterWire(hole.Face()).Reversed()));
    }
    if (!face.IsDone())
        return TopoDS_Face();
    // The edges' curves in the plane, kept rather than projected again at every use.
    TopTools_ListOfShape edges;
    for (TopExp_Explorer e(face.Face(), TopAbs_EDGE); e.More(); e.Next())
        edges.Append(e.Current());
    BRepLib::BuildPCurveForEdgesOnPlane(edges, face.Face());
    return face.Face();
}

// The side faces that the edges of `around` (a wire of the flat face `base`)
// sweep when the face is swept by `height` along z, facing out of the swept
// solid, and that wire moved to the top.
struct Sides {
    std::vector<TopoDS_Face> faces;
    TopoDS_Wire top;
};

Sides SweptSides(const TopoDS_Face& base, const TopoDS_Wire& around, double height)
{
    BRepPrimAPI_MakePrism prism(base, gp_Vec(0, 0, height));
    Sides out;
    if (!prism.IsDone())
        return out;
    TopTools_MapOfShape swept;
    for (TopExp_Explorer e(around, TopAbs_EDGE); e.More(); e.Next())
        for (const TopoDS_Shape& face : prism.Generated(e.Current()))
            swept.Add(face);
    for (TopExp_Explorer e(prism.Shape(), TopAbs_FACE); e.More(); e.Next())
        if (swept.Contains(e.Current()))
            out.faces.push_back(TopoDS::Face(e.Current()));
    out.top = TopoDS::Wire(prism.LastShape(around));
    return out;
}

// The part put together face by face, each face facing out: the bore's sides
// swept from z = 0 to the top, the tooth sides the bottom (the outline less the
// bore) sweeps up to z = b, the hub's side, then the flat faces: the bottom, the
// face at z = b (less the hub's circle or the bore) and the hub's top. No face
// needs cutting or joining: every edge is shared by the two faces it bounds as
// it is made. The swept faces come first: the STEP transfer writes an edge on
// the first face it meets it on and measures that face's extent for it, which
// on a flat face is a walk round all of its edges.
TopoDS_Shape PartShape(const GearProfile& profile, const SolidInput& in, const HoleShape& hole)
{
    const double b = in.faceWidth;
    const bool hasHub = in.hubDiameter > 0.0, hasHole = hole.radius > 0.0;
    const double top = hasHub ? b + in.hubLength : b;
    BRep_Builder builder;
    TopoDS_Shell shell;
    builder.MakeShell(shell);

    const TopoDS_Wire outline = OutlineWire(profile);
    TopoDS_Wire bore, boreTop;
    if (hasHole) {
        bore = HoleWire(hole);
        const TopoDS_Face plug = FlatFace(bore, nullptr, 0.0);
        const Sides sides = plug.IsNull() ? Sides{} : SweptSides(plug, bore, top);
        if (sides.faces.empty())
            throw AppError("STEP ファイルの穴をあけられません");
        // The bore's sides face into the bore, away from the part.
        for (const TopoDS_Face& f : sides.faces)
            builder.Add(shell, f.Reversed());
        boreTop = sides.top;
    }
    const TopoDS_Face bottom = FlatFace(outline, hasHole ? &bore : nullptr, 0.0, true);
    if (bottom.IsNull())
        throw AppError(hasHole ? "STEP ファイルの穴をあけられません" : "STEP ファイルの歯形を閉じた線にできません");
    const Sides teeth = SweptSides(bottom, outline, b);
    if (teeth.faces.empty())
        throw AppError("STEP ファイルの立体を作れません");
    for (const TopoDS_Face& f : teeth.faces)
        builder.Add(shell, f);
    std::vector<TopoDS_Face> flat{TopoDS::Face(bottom.Reversed())};

    if (hasHub) {
        BRepBuilderAPI_MakeWire circle(
            BRepBuilderAPI_MakeEdge(gp_Circ(gp_Ax2(gp_Pnt(0, 0, b), gp::DZ()), in.hubDiameter / 2.0)).Edge());
        const TopoDS_Wire rim = circle.Wire();
        const TopoDS_Face disc = FlatFace(rim, nullptr, b);
        const Sides sides = disc.IsNull() ? Sides{} : SweptSides(disc, rim, in.hubLength);
        const TopoDS_Face face = FlatFace(teeth.top, &rim, b, true);
        const TopoDS_Face end = sides.faces.empty() ? TopoDS_Face() : FlatFace(sides.top, hasHole ? &boreTop : nullptr, top);
        if (face.IsNull() || end.IsNull())
            throw AppError("STEP ファイルのハブを歯車に付けられません");
        for (const TopoDS_Face& f : sides.faces)
            builder.Add(shell, f);
        flat.push_back(face);
        flat.push_back(end);
    } else {
        const TopoDS_Face face = FlatFace(teeth.top, hasHole ? &boreTop : nullptr, b, true);
        if (face.IsNull())
            throw AppError("STEP ファイルの立体を作れません");
        flat.push_back(face);
    }
    for (const TopoDS_Face& f : flat)
        builder.Add(shell, f);
    shell.Closed(BRep_Tool::IsClosed(shell));
    TopoDS_Solid part;
    builder.MakeSolid(part);
    builder.Add(part, shell);

    const ShellCheck check = shell.Closed() ? CheckPartShell(shell) : ShellCheck::Broken;
    if (check != ShellCheck::Sound)
        Stopped("STEP ファイルの立体が正しく閉じていません", check == ShellCheck::Stopped);
    return part;
}

}  // namespace

std::string GearStep(const GearProfile& profile, const SolidInput& solid, const HoleShape& hole, const std::string& title)
{
    // The translator's settings are process-wide.
    static std::mutex lock;
    const std::lock_guard<std::mutex> guard(lock);
    CheckStepSize(profile);
    try {
        const Handle(Message_Messenger)& quiet = QuietMessenger();
        const TopoDS_Shape part = PartShape(profile, solid, hole);
        Interface_Static::SetCVal("write.step.schema", "AP214IS");
        Interface_Static::SetCVal("write.step.unit", "MM");
        STEPControl_Writer writer;
        const Handle(Transfer_FinderProcess)& process = writer.WS()->TransferWriter()->FinderProcess();
        process->SetMessenger(quiet);
        process->SetTraceLevel(0);
        // A failure inside the transfer comes out as the exception it is
        // (memory running out among them), not as a bare refusal.
        process->SetErrorHandle(Standard_False);
        // The work session's graph of the entities is not needed to write them.
        if (writer.Transfer(part, STEPControl_AsIs, Standard_False) != IFSelect_RetDone)
            throw AppError("STEP ファイルに立体を書けません");
        const Handle(StepData_StepModel) model = writer.Model();
        // The part is named after the gear, in the product and in the file's header.
        const Handle(TCollection_HAsciiString) name = new TCollection_HAsciiString(title.c_str());
        for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
            const Handle(StepBasic_Product) product = Handle(StepBasic_Product)::DownCast(model->Value(i));
            if (!product.IsNull()) {
                product->SetId(name);
                product->SetName(name);
            }
        }
        APIHeaderSection_MakeHeader header(model);
        header.SetName(name);
        header.SetOriginatingSystem(new TCollection_HAsciiString("tsumugi"));
        Handle(StepData_Protocol) protocol = Handle(StepData_Protocol)::DownCast(model->Protocol());
        if (protocol.IsNull())
            protocol = StepAP214::Protocol();
        StepData_StepWriter out(model);
        out.SendModel(protocol);
        // Text made in memory fails only for want of memory.
        std::ostringstream text;
        text.exceptions(std::ios::badbit);
        if (!out.Print(text))
            throw std::bad_alloc();
        return text.str();
    } catch (const Standard_OutOfMemory&) {
        throw std::bad_alloc();
    } catch (const Standard_Failure&) {
        // Open CASCADE's own text names its internals, not the part.
        throw AppError("STEP ファイルの立体を作れません");
    }
}
