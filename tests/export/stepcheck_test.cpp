// SPDX-License-Identifier: GPL-3.0-or-later
// The part module's check of a shell (CheckPartShell) given the shells of
// parts written as STEP and read back by Open CASCADE's reader: whole, it
// takes them; broken in one place each (a face left out or turned round, a
// vertex or an edge's curve moved, a flat face's outline cut open or turned
// inside out), it refuses them. And the largest gear the size limit lets
// through is written, read back as one closed solid and measured.
#include "export/profileexport.h"
#include "export/stepcheck.h"
#include "export/stepsize.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRepGProp.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <Geom2d_Curve.hxx>
#include <Geom_Plane.hxx>
#include <STEPControl_Reader.hxx>
#include <StepData_StepModel.hxx>
#include <StepShape_ManifoldSolidBrep.hxx>
#include <StepToTopoDS_Builder.hxx>
#include <Transfer_TransientProcess.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Vec2d.hxx>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <unistd.h>
#include <vector>

namespace {

ExportRequest Part(double m, int z, double bore, bool keyway, double hubD = 0, double hubL = 0)
{
    ExportRequest r;
    r.gear.module = m;
    r.gear.teeth = z;
    r.gear.cutter.tipRadius = DefaultToolTipRadius(m);
    r.faceWidth = 10;
    r.boreDiameter = bore;
    r.keyway = keyway;
    r.hubDiameter = hubD;
    r.hubLength = hubL;
    return r;
}

// The part's STEP file as Open CASCADE's reader gives it back.
TopoDS_Shape ReadBack(const ExportRequest& request)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tsumugi-stepcheck-" + std::to_string(::getpid()) + ".step");
    std::ofstream(path, std::ios::binary) << ExportBytes(PrepareExport(request, ExportFormat::Step), ExportFormat::Step);
    STEPControl_Reader reader;
    const bool read = reader.ReadFile(path.string().c_str()) == IFSelect_RetDone && reader.TransferRoots() > 0;
    std::filesystem::remove(path);
    return read ? reader.OneShape() : TopoDS_Shape();
}

TopoDS_Shell FirstShell(const TopoDS_Shape& shape)
{
    TopExp_Explorer e(shape, TopAbs_SHELL);
    return e.More() ? TopoDS::Shell(e.Current()) : TopoDS_Shell();
}

std::vector<TopoDS_Face> Faces(const TopoDS_Shell& shell)
{
    std::vector<TopoDS_Face> faces;
    for (TopoDS_Iterator f(shell); f.More(); f.Next())
        faces.push_back(TopoDS::Face(f.Value()));
    return faces;
}

TopoDS_Shell ShellOf(const std::vector<TopoDS_Face>& faces)
{
    BRep_Builder builder;
    TopoDS_Shell shell;
    builder.MakeShell(shell);
    for (const TopoDS_Face& f : faces)
        builder.Add(shell, f);
    return shell;
}

bool IsFlat(const TopoDS_Face& face)
{
    TopLoc_Location at;
    return !Handle(Geom_Plane)::DownCast(BRep_Tool::Surface(face, at)).IsNull();
}

std::size_t EdgesOf(const TopoDS_Shape& s)
{
    std::size_t n = 0;
    for (TopExp_Explorer e(s, TopAbs_EDGE); e.More(); e.Next())
        ++n;
    return n;
}

// The flat face with the most edges (a face of the teeth's outline), and a
// swept face of a tooth.
std::size_t Outline(const std::vector<TopoDS_Face>& faces)
{
    std::size_t best = 0;
    for (std::size_t i = 0; i < faces.size(); ++i)
        if (IsFlat(faces[i]) && (!IsFlat(faces[best]) || EdgesOf(faces[i]) > EdgesOf(faces[best])))
            best = i;
    return best;
}

std::size_t Swept(const std::vector<TopoDS_Face>& faces)
{
    std::size_t i = 0;
    while (BRepAdaptor_Surface(faces[i], Standard_False).GetType() != GeomAbs_SurfaceOfExtrusion)
        ++i;
    return i;
}

// The wires of a face in the face's own sense, each with its edges as the
// face has them, the one of most edges (the teeth's) first.
std::vector<std::vector<TopoDS_Edge>> WiresOf(const TopoDS_Face& face)
{
    std::vector<std::vector<TopoDS_Edge>> wires;
    for (TopoDS_Iterator w(TopoDS::Face(face.Oriented(TopAbs_FORWARD))); w.More(); w.Next()) {
        wires.emplace_back();
        for (TopoDS_Iterator e(w.Value()); e.More(); e.Next())
            wires.back().push_back(TopoDS::Edge(e.Value()));
        if (wires.back().size() > wires.front().size())
            std::swap(wires.front(), wires.back());
    }
    return wires;
}

// A face on the surface of `like` bounded by `wires`, facing as `like` faces.
TopoDS_Face FaceOn(const TopoDS_Face& like, const std::vector<std::vector<TopoDS_Edge>>& wires)
{
    BRep_Builder builder;
    TopLoc_Location at;
    const Handle(Geom_Surface)& surface = BRep_Tool::Surface(like, at);
    TopoDS_Face face;
    builder.MakeFace(face, surface, at, BRep_Tool::Tolerance(like));
    for (const std::vector<TopoDS_Edge>& edges : wires) {
        TopoDS_Wire wire;
        builder.MakeWire(wire);
        for (const TopoDS_Edge& e : edges)
            builder.Add(wire, e);
        builder.Add(face, wire);
    }
    return TopoDS::Face(face.Oriented(like.Orientation()));
}

// The edge's curve on the face moved by 0.1 mm across the surface's parameters.
void MoveCurveOn(const TopoDS_Edge& edge, const TopoDS_Face& face)
{
    double first = 0.0, last = 0.0;
    const Handle(Geom2d_Curve) curve = BRep_Tool::CurveOnSurface(edge, face, first, last);
    const Handle(Geom2d_Curve) moved = Handle(Geom2d_Curve)::DownCast(curve->Translated(gp_Vec2d(0.1, 0.1)));
    BRep_Builder().UpdateEdge(edge, moved, face, BRep_Tool::Tolerance(edge));
}

const ExportRequest kParts[] = {
    Part(2, 20, 0, false),
    Part(2, 20, 10, false),                      // a bore without a groove: its side has a seam
    Part(3, 40, 30, true, 60, 15),               // a grooved bore and a hub
};

TEST(StepCheck, TakesTheShellsOfPartsAsWritten)
{
    for (const ExportRequest& request : kParts) {
        const TopoDS_Shell shell = FirstShell(ReadBack(request));
        ASSERT_FALSE(shell.IsNull());
        EXPECT_EQ(CheckPartShell(shell), ShellCheck::Sound) << request.boreDiameter << " " << request.hubDiameter;
    }
}

TEST(StepCheck, RefusesAShellBrokenInOnePlace)
{
    using Faces_ = std::vector<TopoDS_Face>;
    const struct {
        const char* what;
        std::function<TopoDS_Shell(Faces_)> broken;
    } cases[] = {
        {"a tooth's side left out",
         [](Faces_ f) {
             f.erase(f.begin() + static_cast<std::ptrdiff_t>(Swept(f)));
             return ShellOf(f);
         }},
        {"the outline's face left out",
         [](Faces_ f) {
             f.erase(f.begin() + static_cast<std::ptrdiff_t>(Outline(f)));
             return ShellOf(f);
         }},
        {"a tooth's side turned round",
         [](Faces_ f) {
             TopoDS_Face& s = f[Swept(f)];
             s = TopoDS::Face(s.Reversed());
             return ShellOf(f);
         }},
        {"a vertex of a tooth's side moved by 0.1 mm",
         [](Faces_ f) {
             TopExp_Explorer v(f[Swept(f)], TopAbs_VERTEX);
             const TopoDS_Vertex& vertex = TopoDS::Vertex(v.Current());
             BRep_Builder().UpdateVertex(vertex, BRep_Tool::Pnt(vertex).Translated(gp_Vec(0.1, 0, 0)),
                                         BRep_Tool::Tolerance(vertex));
             return ShellOf(f);
         }},
        {"an edge's curve on a tooth's side moved",
         [](Faces_ f) {
             const TopoDS_Face& side = f[Swept(f)];
             MoveCurveOn(TopoDS::Edge(TopExp_Explorer(side, TopAbs_EDGE).Current()), side);
             return ShellOf(f);
         }},
        {"an edge's curve on the outline's face moved",
         [](Faces_ f) {
             const TopoDS_Face& flat = f[Outline(f)];
             MoveCurveOn(WiresOf(flat)[0][3], flat);
             return ShellOf(f);
         }},
        {"the outline cut in two open halves",
         [](Faces_ f) {
             TopoDS_Face& flat = f[Outline(f)];
             std::vector<std::vector<TopoDS_Edge>> wires = WiresOf(flat);
             std::vector<TopoDS_Edge>& outline = wires[0];
             std::vector<TopoDS_Edge> half(outline.begin() + static_cast<std::ptrdiff_t>(outline.size() / 2), outline.end());
             outline.resize(outline.size() / 2);
             wires.push_back(half);
             flat = FaceOn(flat, wires);
             return ShellOf(f);
         }},
        {"the outline's face turned inside out, its edges as they were",
         [](Faces_ f) {
             TopoDS_Face& flat = f[Outline(f)];
             std::vector<std::vector<TopoDS_Edge>> wires = WiresOf(flat);
             for (std::vector<TopoDS_Edge>& w : wires)
                 for (TopoDS_Edge& e : w)
                     e = TopoDS::Edge(e.Reversed());
             flat = TopoDS::Face(FaceOn(flat, wires).Reversed());
             return ShellOf(f);
         }},
    };
    for (const ExportRequest& request : kParts) {
        const TopoDS_Shape read = ReadBack(request);
        for (const auto& c : cases) {
            // Each case breaks a copy of its own, curves and all.
            const TopoDS_Shell shell = FirstShell(BRepBuilderAPI_Copy(read).Shape());
            ASSERT_FALSE(shell.IsNull());
            EXPECT_EQ(CheckPartShell(c.broken(Faces(shell))), ShellCheck::Broken)
                << c.what << " (bore " << request.boreDiameter << ", hub " << request.hubDiameter << ")";
        }
    }
}

// The STEP file's solid as Open CASCADE's reader translates it, without the
// repairs the reader makes on the way out: on a flat face of thousands of
// edges its search for self-intersecting wires alone takes many minutes.
TopoDS_Shape ReadBackUnrepaired(const ExportRequest& request)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tsumugi-stepcheck-" + std::to_string(::getpid()) + ".step");
    std::ofstream(path, std::ios::binary) << ExportBytes(PrepareExport(request, ExportFormat::Step), ExportFormat::Step);
    STEPControl_Reader reader;
    const bool read = reader.ReadFile(path.string().c_str()) == IFSelect_RetDone;
    std::filesystem::remove(path);
    if (!read)
        return TopoDS_Shape();
    const Handle(StepData_StepModel) model = reader.StepModel();
    const Handle(Transfer_TransientProcess) process = new Transfer_TransientProcess(model->NbEntities());
    process->SetModel(model);
    for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
        const Handle(StepShape_ManifoldSolidBrep) brep = Handle(StepShape_ManifoldSolidBrep)::DownCast(model->Value(i));
        if (brep.IsNull())
            continue;
        StepToTopoDS_Builder builder;
        builder.Init(brep, process);
        return builder.IsDone() ? builder.Value() : TopoDS_Shape();
    }
    return TopoDS_Shape();
}

// The largest gear at module 1 the size limit lets through, at the default
// tolerance: one closed solid of the part's volume. Open CASCADE's own check
// of the whole solid would take longer than the file; the module's check
// stands in for it.
TEST(StepCheck, TheLargestGearTheLimitTakesIsOneClosedSolidOfItsVolume)
{
    ExportRequest request = Part(1, 1000, 0, false);
    const GearProfile profile = BuildGearProfile(request.gear, request.tolerance);
    ASSERT_NO_THROW(CheckStepSize(profile));
    request.gear.teeth += 10;   // the profile has as many edges for each tooth
    EXPECT_ANY_THROW(CheckStepSize(BuildGearProfile(request.gear, request.tolerance)));
    request.gear.teeth -= 10;

    const TopoDS_Shape shape = ReadBackUnrepaired(request);
    ASSERT_EQ(shape.ShapeType(), TopAbs_SOLID);
    int shells = 0;
    for (TopoDS_Iterator e(shape); e.More(); e.Next())
        ++shells;
    EXPECT_EQ(shells, 1);
    const TopoDS_Shell shell = FirstShell(shape);
    ASSERT_FALSE(shell.IsNull());
    EXPECT_TRUE(BRep_Tool::IsClosed(shell));
    EXPECT_EQ(Faces(shell).size(), 6u * 1000u + 2u);
    EXPECT_EQ(CheckPartShell(shell), ShellCheck::Sound);
    GProp_GProps props;
    BRepGProp::VolumePropertiesGK(shape, props, 1e-6, Standard_False, Standard_True);
    const SolidInput solid = SolidOf(request);
    const double computed = PartVolume(profile, solid, CheckSolid(profile, solid, request.tolerance));
    std::printf("m1 z1000: STEP volume %.4f mm3, computed %.4f mm3\n", props.Mass(), computed);
    EXPECT_NEAR(props.Mass(), computed, 1e-4 * computed);
}

}  // namespace
