// SPDX-License-Identifier: GPL-3.0-or-later
// The part's files written by the export and read back by the libraries made
// for them: Open CASCADE's STEP reader and lib3mf's 3MF reader. Each must hold
// one closed solid of the part's volume.
#include "export/profileexport.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <STEPControl_Reader.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <Model/COM/NMR_DLLInterfaces.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

struct Case {
    const char* name;
    ExportRequest request;
};

ExportRequest Part(double m, int z, double x, double b, double bore, bool keyway, double hubD = 0, double hubL = 0)
{
    ExportRequest r;
    r.gear.module = m;
    r.gear.teeth = z;
    r.gear.shift = x;
    r.gear.cutter.tipRadius = DefaultToolTipRadius(m);
    r.faceWidth = b;
    r.boreDiameter = bore;
    r.keyway = keyway;
    r.hubDiameter = hubD;
    r.hubLength = hubL;
    return r;
}

const Case kCases[] = {
    {"m2_z20_b10_bore10_keyway", Part(2, 20, 0, 10, 10, true)},
    {"m3_z40_x0.5_b25_bore30_keyway_hub60x15", Part(3, 40, 0.5, 25, 30, true, 60, 15)},
    {"m1_z12_b5_solid", Part(1, 12, 0, 5, 0, false)},
};

class PartFiles : public ::testing::TestWithParam<Case> {
protected:
    std::filesystem::path m_dir = std::filesystem::temp_directory_path() /
                                  ("tsumugi-readers-" + std::to_string(::getpid()));
    void SetUp() override { std::filesystem::create_directories(m_dir); }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    double Computed() const
    {
        const ExportRequest& r = GetParam().request;
        const GearProfile p = BuildGearProfile(r.gear, r.tolerance);
        const SolidInput s = SolidOf(r);
        return PartVolume(p, s, CheckSolid(p, s, r.tolerance));
    }
};

TEST_P(PartFiles, StepReaderFindsOneClosedSolidOfThePartsVolume)
{
    const std::string path = (m_dir / "part.step").string();
    ExportProfile(GetParam().request, path);
    STEPControl_Reader reader;
    ASSERT_EQ(reader.ReadFile(path.c_str()), IFSelect_RetDone);
    ASSERT_GT(reader.TransferRoots(), 0);
    const TopoDS_Shape shape = reader.OneShape();
    int solids = 0, shells = 0, open = 0;
    for (TopExp_Explorer e(shape, TopAbs_SOLID); e.More(); e.Next())
        ++solids;
    for (TopExp_Explorer e(shape, TopAbs_SHELL); e.More(); e.Next()) {
        ++shells;
        open += !BRep_Tool::IsClosed(e.Current());
    }
    EXPECT_EQ(solids, 1);
    EXPECT_EQ(shells, 1);
    EXPECT_EQ(open, 0);
    EXPECT_TRUE(BRepCheck_Analyzer(shape).IsValid());
    // Integrated knot span by knot span: the faces are B-splines of many spans.
    GProp_GProps props;
    BRepGProp::VolumePropertiesGK(shape, props, 1e-6, Standard_False, Standard_True);
    const double computed = Computed();
    std::printf("%s: STEP volume %.4f mm3, computed %.4f mm3\n", GetParam().name, props.Mass(), computed);
    EXPECT_NEAR(props.Mass(), computed, 1e-3 * computed);
}

TEST_P(PartFiles, Lib3mfReadsOneClosedMeshOfThePartsVolumeInMillimetres)
{
    using namespace NMR;
    const std::string path = (m_dir / "part.3mf").string();
    ExportProfile(GetParam().request, path);
    std::ifstream file(path, std::ios::binary);
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    PLib3MFModel* model = nullptr;
    ASSERT_EQ(lib3mf_createmodel(&model), LIB3MF_OK);
    PLib3MFModelReader* reader = nullptr;
    ASSERT_EQ(lib3mf_model_queryreader(model, "3mf", &reader), LIB3MF_OK);
    ASSERT_EQ(lib3mf_reader_readfrombuffer(reader, bytes.data(), bytes.size()), LIB3MF_OK);
    DWORD unit = 99;
    lib3mf_model_getunit(model, &unit);
    EXPECT_EQ(unit, static_cast<DWORD>(MODELUNIT_MILLIMETER));

    PLib3MFModelResourceIterator* it = nullptr;
    ASSERT_EQ(lib3mf_model_getmeshobjects(model, &it), LIB3MF_OK);
    int meshes = 0;
    double volume = 0.0;
    int unpaired = 0;
    BOOL more = false;
    while (lib3mf_resourceiterator_movenext(it, &more) == LIB3MF_OK && more) {
        ++meshes;
        PLib3MFModelResource* object = nullptr;
        ASSERT_EQ(lib3mf_resourceiterator_getcurrent(it, &object), LIB3MF_OK);
        DWORD nv = 0, nt = 0;
        lib3mf_meshobject_getvertexcount(object, &nv);
        lib3mf_meshobject_gettrianglecount(object, &nt);
        std::vector<MODELMESHVERTEX> v(nv);
        std::vector<MODELMESHTRIANGLE> t(nt);
        lib3mf_meshobject_getvertices(object, v.data(), nv, nullptr);
        lib3mf_meshobject_gettriangleindices(object, t.data(), nt, nullptr);
        std::map<std::pair<DWORD, DWORD>, int> edges;
        for (const auto& tri : t) {
            const float* a = v[tri.m_nIndices[0]].m_fPosition;
            const float* b = v[tri.m_nIndices[1]].m_fPosition;
            const float* c = v[tri.m_nIndices[2]].m_fPosition;
            volume += (double(a[0]) * (double(b[1]) * c[2] - double(b[2]) * c[1]) -
                       double(a[1]) * (double(b[0]) * c[2] - double(b[2]) * c[0]) +
                       double(a[2]) * (double(b[0]) * c[1] - double(b[1]) * c[0])) / 6.0;
            for (int k = 0; k < 3; ++k)
                ++edges[{tri.m_nIndices[k], tri.m_nIndices[(k + 1) % 3]}];
        }
        for (const auto& [e, n] : edges)
            unpaired += n != 1 || edges.count({e.second, e.first}) != 1;
        lib3mf_release(object);
    }
    lib3mf_release(it);
    lib3mf_release(reader);
    lib3mf_release(model);
    EXPECT_EQ(meshes, 1);
    EXPECT_EQ(unpaired, 0);
    const double computed = Computed();
    std::printf("%s: 3MF volume %.4f mm3, computed %.4f mm3\n", GetParam().name, volume, computed);
    EXPECT_NEAR(volume, computed, 1e-3 * computed);
}

// Open CASCADE prints nothing of its own while a STEP file is made (its
// transfer statistics once went to standard output, into a file sent there),
// and the bytes alone are a file its reader takes.
TEST(StepBytes, NothingOnStandardOutputOrErrorAndTheReaderTakesTheBytes)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("tsumugi-quiet-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string printed = (dir / "printed").string(), path = (dir / "g.step").string();
    std::fflush(stdout);
    std::fflush(stderr);
    const int out = ::dup(1), err = ::dup(2), sink = ::open(printed.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(sink, 1);
    ::dup2(sink, 2);
    std::string bytes;
    for (int run = 0; run < 2; ++run)   // the first one sets Open CASCADE up
        bytes = ExportBytes(PrepareExport(Part(2, 20, 0, 10, 10, false), ExportFormat::Step), ExportFormat::Step);
    std::fflush(stdout);
    std::fflush(stderr);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::close(sink);
    EXPECT_EQ(std::filesystem::file_size(printed), 0u);
    EXPECT_EQ(bytes.rfind("ISO-10303-21;", 0), 0u);
    std::ofstream(path, std::ios::binary) << bytes;
    STEPControl_Reader reader;
    EXPECT_EQ(reader.ReadFile(path.c_str()), IFSelect_RetDone);
    EXPECT_GT(reader.TransferRoots(), 0);
    std::filesystem::remove_all(dir);
}

// The solid is built of the profile's pieces: for each tooth a cylindrical
// face on the root circle and one on the tip circle and four swept faces (the
// fillets and flanks), and the flat, bore and hub faces each whole. Its
// volume is the true outline's area (a fine profile's polygon) times the face
// width, nearer than a solid of the chords at the export's tolerance would be.
TEST(StepSolid, FacesAreTheProfilesPiecesAndTheVolumeIsTheTrueOutlines)
{
    struct {
        ExportRequest request;
        int cylinders, planes, swept;
    } const cases[] = {
        {Part(2, 20, 0, 10, 0, false), 40, 2, 80},
        // The bore's arc and the hub's side; the hub's top and the groove's three sides.
        {Part(2, 20, 0, 10, 10, true, 30, 5), 42, 6, 80},
    };
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("tsumugi-pieces-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "g.step").string();
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary) << ExportBytes(PrepareExport(c.request, ExportFormat::Step), ExportFormat::Step);
        STEPControl_Reader reader;
        ASSERT_EQ(reader.ReadFile(path.c_str()), IFSelect_RetDone);
        ASSERT_GT(reader.TransferRoots(), 0);
        const TopoDS_Shape shape = reader.OneShape();
        std::map<GeomAbs_SurfaceType, int> faces;
        for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next())
            ++faces[BRepAdaptor_Surface(TopoDS::Face(e.Current())).GetType()];
        EXPECT_EQ(faces[GeomAbs_Cylinder], c.cylinders);
        EXPECT_EQ(faces[GeomAbs_Plane], c.planes);
        EXPECT_EQ(faces[GeomAbs_SurfaceOfExtrusion], c.swept);
        EXPECT_EQ(faces.size(), 3u);
        if (c.request.boreDiameter > 0.0)
            continue;
        const std::vector<OutlinePoint> fine = BuildGearProfile(c.request.gear, 1e-5).points;
        double area = 0.0;
        for (std::size_t i = 0; i < fine.size(); ++i) {
            const OutlinePoint& a = fine[i];
            const OutlinePoint& b = fine[(i + 1) % fine.size()];
            area += (a.x * b.y - b.x * a.y) / 2.0;
        }
        GProp_GProps props;
        BRepGProp::VolumePropertiesGK(shape, props, 1e-7, Standard_False, Standard_True);
        EXPECT_NEAR(props.Mass(), area * c.request.faceWidth, 1e-5 * area * c.request.faceWidth);
    }
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Parts, PartFiles, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

}  // namespace
