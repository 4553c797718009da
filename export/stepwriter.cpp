// SPDX-License-Identifier: GPL-3.0-or-later
// The part as a STEP AP214 solid through Open CASCADE. Its faces come from the
// profile's curves: the outline is cut where it has a corner (the tips, an
// undercut), each smooth run becomes a B-spline through its points (a run of
// two points a line), and the face they bound is extruded by the face width;
// the hub is a cylinder fused onto the face z = b and the bore with its groove
// (an arc and three lines) is cut through both. The file is made in memory.
// Open CASCADE's headers are many and slow: this is the only file that
// includes them.
#include "export/profileexport.h"
#include "export/stepsize.h"

#include "base/apperror.h"
#include "geometry/gearmath.h"

#include <APIHeaderSection_MakeHeader.hxx>
#include <BOPAlgo_Alerts.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepCheck_ListOfStatus.hxx>
#include <BRepCheck_Result.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <STEPControl_Writer.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <StepAP214.hxx>
#include <StepAP214_Protocol.hxx>
#include <StepBasic_Product.hxx>
#include <StepData_Protocol.hxx>
#include <StepData_StepModel.hxx>
#include <StepData_StepWriter.hxx>
#include <Standard_Failure.hxx>
#include <Standard_OutOfMemory.hxx>
#include <TCollection_HAsciiString.hxx>
#include <TColgp_HArray1OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <Transfer_FinderProcess.hxx>
#include <XSControl_TransferWriter.hxx>
#include <XSControl_WorkSession.hxx>
#include <gp_Circ.hxx>

#include <cmath>
#include <mutex>
#include <new>
#include <numbers>
#include <sstream>
#include <string>

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

// Open CASCADE's algorithms catch the failures raised inside them (memory
// running out among them) and report only that they stopped. On a part that
// passed CheckSolid, with its curves built and its sizes well above the
// modelling precision, nothing but memory stops them that way: that is said.
[[noreturn]] void Stopped(const char* message, bool byFailure)
{
    if (byFailure)
        throw std::bad_alloc();
    throw AppError(message);
}

bool StoppedByFailure(const BRepAlgoAPI_BooleanOperation& operation)
{
    return operation.HasError(STANDARD_TYPE(BOPAlgo_AlertBuilderFailed)) ||
           operation.HasError(STANDARD_TYPE(BOPAlgo_AlertIntersectionFailed));
}

bool CheckStoppedByFailure(const BRepCheck_Analyzer& check, const TopoDS_Shape& part)
{
    for (const TopAbs_ShapeEnum kind : {TopAbs_SOLID, TopAbs_SHELL, TopAbs_FACE, TopAbs_WIRE, TopAbs_EDGE, TopAbs_VERTEX})
        for (TopExp_Explorer e(part, kind); e.More(); e.Next()) {
            const Handle(BRepCheck_Result)& result = check.Result(e.Current());
            if (result.IsNull())
                continue;
            for (const BRepCheck_Status status : result->Status())
                if (status == BRepCheck_CheckFail)
                    return true;
        }
    return false;
}

gp_Pnt At(const OutlinePoint& p, double z = 0.0) { return gp_Pnt(p.x, p.y, z); }

// The edge through points [from, to] of the outline (indices wrap round).
TopoDS_Edge RunEdge(const std::vector<OutlinePoint>& pts, std::size_t from, std::size_t count)
{
    const std::size_t n = pts.size();
    if (count == 2)
        return BRepBuilderAPI_MakeEdge(At(pts[from % n]), At(pts[(from + 1) % n])).Edge();
    Handle(TColgp_HArray1OfPnt) poles = new TColgp_HArray1OfPnt(1, static_cast<int>(count));
    for (std::size_t k = 0; k < count; ++k)
        poles->SetValue(static_cast<int>(k) + 1, At(pts[(from + k) % n]));
    GeomAPI_Interpolate curve(poles, Standard_False, 1e-9);
    curve.Perform();
    if (!curve.IsDone())
        throw AppError("STEP ファイルの歯形の曲線を作れません");
    return BRepBuilderAPI_MakeEdge(curve.Curve()).Edge();
}

// The outline as a wire of smooth runs, cut at its corners.
TopoDS_Wire OutlineWire(const std::vector<OutlinePoint>& pts)
{
    const std::size_t n = pts.size();
    const std::vector<std::size_t> corners = StepCorners(pts);
    BRepBuilderAPI_MakeWire wire;
    for (std::size_t k = 0; k < corners.size(); ++k) {
        const std::size_t from = corners[k];
        const std::size_t to = k + 1 < corners.size() ? corners[k + 1] : corners[0] + n;
        wire.Add(RunEdge(pts, from, to - from + 1));
        if (!wire.IsDone())
            throw AppError("STEP ファイルの歯形を閉じた線にできません");
    }
    return wire.Wire();
}

// The bore with its groove, in the plane z.
TopoDS_Wire HoleWire(const HoleShape& h, double z)
{
    const gp_Ax2 axis(gp_Pnt(0, 0, z), gp::DZ());
    BRepBuilderAPI_MakeWire wire;
    if (!h.keyway) {
        wire.Add(BRepBuilderAPI_MakeEdge(gp_Circ(axis, h.radius)).Edge());
        return wire.Wire();
    }
    const double x0 = h.SideStart(), w = h.keyHalfWidth;
    const gp_Pnt upper(x0, w, z), lower(x0, -w, z), bottomLower(h.keyBottom, -w, z), bottomUpper(h.keyBottom, w, z);
    wire.Add(BRepBuilderAPI_MakeEdge(GC_MakeArcOfCircle(gp_Circ(axis, h.radius), upper, lower, Standard_True).Value()).Edge());
    wire.Add(BRepBuilderAPI_MakeEdge(lower, bottomLower).Edge());
    wire.Add(BRepBuilderAPI_MakeEdge(bottomLower, bottomUpper).Edge());
    wire.Add(BRepBuilderAPI_MakeEdge(bottomUpper, upper).Edge());
    if (!wire.IsDone())
        throw AppError("STEP ファイルの穴を閉じた線にできません");
    return wire.Wire();
}

TopoDS_Shape PartShape(const GearProfile& profile, const SolidInput& in, const HoleShape& hole)
{
    const TopoDS_Face section = BRepBuilderAPI_MakeFace(OutlineWire(profile.points), Standard_True).Face();
    TopoDS_Shape part = BRepPrimAPI_MakePrism(section, gp_Vec(0, 0, in.faceWidth)).Shape();
    double top = in.faceWidth;
    if (in.hubDiameter > 0.0) {
        const gp_Ax2 axis(gp_Pnt(0, 0, in.faceWidth), gp::DZ());
        const TopoDS_Shape hub = BRepPrimAPI_MakeCylinder(axis, in.hubDiameter / 2.0, in.hubLength).Shape();
        BRepAlgoAPI_Fuse fuse(part, hub);
        if (!fuse.IsDone())
            Stopped("STEP ファイルのハブを歯車に付けられません", StoppedByFailure(fuse));
        part = fuse.Shape();
        top += in.hubLength;
    }
    if (hole.radius > 0.0) {
        const TopoDS_Face face = BRepBuilderAPI_MakeFace(HoleWire(hole, -1.0), Standard_True).Face();
        const TopoDS_Shape bore = BRepPrimAPI_MakePrism(face, gp_Vec(0, 0, top + 2.0)).Shape();
        BRepAlgoAPI_Cut cut(part, bore);
        if (!cut.IsDone())
            Stopped("STEP ファイルの穴をあけられません", StoppedByFailure(cut));
        part = cut.Shape();
    }
    // One face for each plane and cylinder the operations left in pieces.
    ShapeUpgrade_UnifySameDomain unify(part, Standard_True, Standard_True, Standard_False);
    unify.Build();
    part = unify.Shape();
    int solids = 0;
    for (TopExp_Explorer e(part, TopAbs_SOLID); e.More(); e.Next())
        ++solids;
    const BRepCheck_Analyzer check(part);
    if (solids != 1 || !check.IsValid())
        Stopped("STEP ファイルの立体が正しく閉じていません", CheckStoppedByFailure(check, part));
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
        if (writer.Transfer(part, STEPControl_AsIs) != IFSelect_RetDone)
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
