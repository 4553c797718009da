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

#include "geardata/apperror.h"

#include <APIHeaderSection_MakeHeader.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <Interface_Static.hxx>
#include <STEPControl_Writer.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <StepAP214.hxx>
#include <StepAP214_Protocol.hxx>
#include <StepBasic_Product.hxx>
#include <StepData_Protocol.hxx>
#include <StepData_StepModel.hxx>
#include <StepData_StepWriter.hxx>
#include <Standard_Failure.hxx>
#include <TCollection_HAsciiString.hxx>
#include <TColgp_HArray1OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gp_Circ.hxx>

#include <cmath>
#include <mutex>
#include <numbers>
#include <sstream>

namespace {

constexpr double kCornerAngle = 10.0 * std::numbers::pi / 180.0;

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
    auto turn = [&](std::size_t i) {
        const OutlinePoint& a = pts[(i + n - 1) % n];
        const OutlinePoint& b = pts[i];
        const OutlinePoint& c = pts[(i + 1) % n];
        const double u = std::atan2(b.y - a.y, b.x - a.x), v = std::atan2(c.y - b.y, c.x - b.x);
        return std::fabs(std::remainder(v - u, 2.0 * std::numbers::pi));
    };
    std::vector<std::size_t> corners;
    for (std::size_t i = 0; i < n; ++i)
        if (turn(i) > kCornerAngle)
            corners.push_back(i);
    if (corners.empty())
        corners.push_back(0);
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
            throw AppError("STEP ファイルのハブを歯車に付けられません");
        part = fuse.Shape();
        top += in.hubLength;
    }
    if (hole.radius > 0.0) {
        const TopoDS_Face face = BRepBuilderAPI_MakeFace(HoleWire(hole, -1.0), Standard_True).Face();
        const TopoDS_Shape bore = BRepPrimAPI_MakePrism(face, gp_Vec(0, 0, top + 2.0)).Shape();
        BRepAlgoAPI_Cut cut(part, bore);
        if (!cut.IsDone())
            throw AppError("STEP ファイルの穴をあけられません");
        part = cut.Shape();
    }
    // One face for each plane and cylinder the operations left in pieces.
    ShapeUpgrade_UnifySameDomain unify(part, Standard_True, Standard_True, Standard_False);
    unify.Build();
    part = unify.Shape();
    int solids = 0;
    for (TopExp_Explorer e(part, TopAbs_SOLID); e.More(); e.Next())
        ++solids;
    if (solids != 1 || !BRepCheck_Analyzer(part).IsValid())
        throw AppError("STEP ファイルの立体が正しく閉じていません");
    return part;
}

}  // namespace

std::string GearStep(const GearProfile& profile, const SolidInput& solid, const HoleShape& hole, const std::string& title)
{
    // The translator's settings are process-wide.
    static std::mutex lock;
    const std::lock_guard<std::mutex> guard(lock);
    try {
        const TopoDS_Shape part = PartShape(profile, solid, hole);
        Interface_Static::SetCVal("write.step.schema", "AP214IS");
        Interface_Static::SetCVal("write.step.unit", "MM");
        STEPControl_Writer writer;
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
        std::ostringstream text;
        if (!out.Print(text))
            throw AppError("STEP ファイルに立体を書けません");
        return text.str();
    } catch (const Standard_Failure& e) {
        throw AppError(std::string("STEP ファイルを作れません: ") + e.GetMessageString());
    }
}
