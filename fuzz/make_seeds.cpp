// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the hand-made seed corpus of the fuzz targets:
//   make_seeds <folder>   ->  <folder>/gearfile/*.hgd and <folder>/text/*
// Gear data files start from the table as the program leaves it after
// start-up and a few calculations; every reserved byte carries a pattern, so
// a byte that gets lost or moved shows. Then single fields are bent to the
// extremes a file can bring. Text seeds are box texts, and eight-byte doubles
// for the number texts.

#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"
#include "geardata/tableops.h"
#include "geometry/dimensions.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

void Write(const std::string& path, const Bytes& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) ||
        std::fclose(f) != 0) {
        std::fprintf(stderr, "make_seeds: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

Bytes TableImage()
{
    return Bytes(GearTableBytes(), GearTableBytes() + kGearTableBytes);
}

// Every reserved byte of every slot gets its own value.
void MarkReservedBytes()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        GearRecord& g = gearTable[slot];
        auto mark = [slot](auto& field, int offset) {
            for (std::size_t i = 0; i < field.size(); ++i)
                field[i] = static_cast<std::uint8_t>(0x80 + slot * 5 + offset + static_cast<int>(i));
        };
        mark(g.Reserved32, 32);
        mark(g.Reserved72, 72);
        mark(g.Reserved88, 88);
        mark(g.Reserved104, 104);
        mark(g.Reserved120, 120);
        mark(g.Reserved144, 144);
    }
}

// The program's start-up: reset and the default gear computed.
void StartUp()
{
    ResetProgramState();
    RegisteredCount = 0;
    ResetGearTable();
    ComputeGearDimensions();
}

// A calculation that completes: the gear computed in slot 0 and registered.
void Calculate(double module, std::int32_t teeth, double shift)
{
    GearRecord& g = gearTable[kCurrentSlot];
    g.Module = module;
    g.Teeth = teeth;
    g.Shift = shift;
    ComputeGearDimensions();
    RegisterSlots();
}

// Start-up, `rows` gears registered, then the reserved bytes marked.
void Table(int rows)
{
    StartUp();
    for (int i = 0; i < rows; ++i)
        Calculate(0.5 + 0.25 * (i % 7), 14 + 3 * i % 57, -0.5 + 0.1 * i);
    MarkReservedBytes();
}

template <typename T>
void Put(int slot, T GearRecord::*field, T value)
{
    gearTable[static_cast<std::size_t>(slot)].*field = value;
}

void GearFiles(const std::string& folder)
{
    auto save = [&](const char* name, const Bytes& bytes) { Write(folder + "/" + name, bytes); };

    StartUp();
    save("startup.hgd", TableImage());

    Table(3);
    save("three-gears.hgd", TableImage());
    const Bytes three = TableImage();

    Table(21);
    save("full-table-and-spill.hgd", TableImage());

    // Tooth counts: the outline holds 71 teeth, the calculation takes 70.
    Table(12);
    const std::int32_t teeth[] = {kMinInt, kMaxInt, 0, -1, -2, -34, 1, 70, 71, 72, 1000, kMinInt + 1};
    for (int row = 1; row <= 12; ++row)
        Put(row, &GearRecord::Teeth, teeth[row - 1]);
    Put(0, &GearRecord::Teeth, 72);
    save("teeth-extremes.hgd", TableImage());

    // Not-a-number, infinite, zero, tiny and huge fields in recallable rows.
    Table(20);
    Put(0, &GearRecord::Module, kNaN);
    Put(1, &GearRecord::Module, kNaN);
    Put(2, &GearRecord::Module, kInf);
    Put(3, &GearRecord::Module, -kInf);
    Put(4, &GearRecord::Shift, kNaN);
    Put(5, &GearRecord::Shift, -kInf);
    Put(6, &GearRecord::TipDiameter, kNaN);
    Put(7, &GearRecord::TipDiameter, kInf);
    Put(8, &GearRecord::RootDiameter, kNaN);
    Put(9, &GearRecord::RootDiameter, -kInf);
    Put(10, &GearRecord::Module, 0.0);
    Put(11, &GearRecord::Module, -0.0);
    Put(12, &GearRecord::Module, std::numeric_limits<double>::denorm_min());
    Put(13, &GearRecord::Module, 1e308);
    Put(14, &GearRecord::Module, -1.0);
    Put(15, &GearRecord::TipDiameter, -2.0 * gearTable[15].Module);   // "全体" extent 0
    Put(16, &GearRecord::TipDiameter, 1e308);
    Put(16, &GearRecord::RootDiameter, -1e308);
    Put(17, &GearRecord::Shift, 1e300);
    Put(18, &GearRecord::TipDiameter, std::numeric_limits<double>::max());
    Put(19, &GearRecord::Module, 1e-300);
    Put(20, &GearRecord::BaseDiameter, kNaN);
    Put(20, &GearRecord::TipThickness, -kInf);
    save("nonfinite-fields.hgd", TableImage());

    // InUse beyond 0 and 1, a free row between gears, a free current gear.
    Table(10);
    Put(0, &GearRecord::InUse, 0);
    Put(2, &GearRecord::InUse, -1);
    Put(3, &GearRecord::InUse, 2);
    Put(5, &GearRecord::InUse, 0);
    Put(7, &GearRecord::InUse, kMinInt);
    Put(8, &GearRecord::InUse, kMaxInt);
    Put(21, &GearRecord::InUse, 1);
    save("inuse-values.hgd", TableImage());

    // Pressure angle indexes and second tooth counts no calculation makes.
    Table(6);
    Put(0, &GearRecord::PressureAngleIndex, 2);
    Put(1, &GearRecord::PressureAngleIndex, 0);
    Put(2, &GearRecord::PressureAngleIndex, -1);
    Put(3, &GearRecord::PressureAngleIndex, kMaxInt);
    Put(4, &GearRecord::Teeth2, 71);
    Put(5, &GearRecord::Teeth2, kMinInt);
    Put(6, &GearRecord::Teeth2, 13);
    save("pressure-angle-and-teeth2.hgd", TableImage());

    // Lengths: nothing, one byte, slot 0 alone and one byte either side, a
    // long file.
    save("empty.hgd", Bytes());
    save("one-byte.hgd", Bytes{0x01});
    Bytes slot0(three.begin(), three.begin() + 152);
    std::memcpy(slot0.data() + 16, &teeth[9], sizeof(std::int32_t));   // 72 teeth
    save("slot0-only.hgd", slot0);
    save("short-151.hgd", Bytes(three.begin(), three.begin() + 151));
    save("short-153.hgd", Bytes(three.begin(), three.begin() + 153));
    Bytes longFile = three;
    for (int i = 0; i < 656; ++i)
        longFile.push_back(static_cast<std::uint8_t>(i * 7));
    save("long-4000.hgd", longFile);
    save("all-ff.hgd", Bytes(kGearTableBytes, 0xFF));
}

void TextFiles(const std::string& folder)
{
    int index = 0;
    auto save = [&](const Bytes& bytes) {
        char name[16];
        std::snprintf(name, sizeof name, "/%02d", ++index);
        Write(folder + name, bytes);
    };
    const char* const texts[] = {
        "18", " +18", "-0", "$0C", "0x7FFFFFFF", "$80000000", "X7fffffff", "-2147483648", "2147483647",
        "2147483648", "-2147483649", "18 ", "18.0", "", " ", "+", "0x", "00000000000000000000000012",
        "1.50", " 2 ", "1,5", "-0.5", ".5", "5.", ".", "-.5e-3", "1e308", "1E309", "-1e-300", "1e-5000",
        "1.18973149535723176502e4932", "1.2e4932", "99999e4928", "0.000001e4938", "1e", "1e+", "1e 5",
        "1.2.3", "- 1", "１８", "nan", "inf", "0x1p3", "1e0000000000000000000001"};
    for (const char* text : texts)
        save(Bytes(text, text + std::strlen(text)));
    const double doubles[] = {0.0,
                              -0.0,
                              kNaN,
                              kInf,
                              -kInf,
                              std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::min(),
                              std::numeric_limits<double>::denorm_min(),
                              0.0005,
                              -0.0004999,
                              1234.5678,
                              999999.5,
                              99999999999.5,
                              1e11,
                              0.0001,
                              0.00012,
                              5e-5,
                              1.5e12,
                              0.9999995,
                              0.6816715558235892,
                              16.914467173865752};
    for (double v : doubles) {
        Bytes bytes(sizeof v);
        std::memcpy(bytes.data(), &v, sizeof v);
        save(bytes);
    }
    // A UTF-8 lead byte without its continuation: it sets no direction in a message.
    save(Bytes{0xDA, 0x04, 0x4D, 0x85, 0x1A, 0xEA, 0x30, 0x40});
}

// Geometry inputs, every parameter raw (flags 0xFF): teeth, module, shift,
// pressure angle byte, tolerance, tip radius in modules, teeth2, shift2,
// centre distance, pin and span bytes.
void GeometryFiles(const std::string& folder)
{
    struct Seed {
        const char* name;
        std::int32_t z;
        double m, x;
        std::uint8_t angle;
        double tolerance, rho;
        std::int32_t z2;
        double x2, a;
    };
    const Seed seeds[] = {
        {"m1-z20", 20, 1, 0, 1, 0.001, 0.38, 30, 0, 25.5},
        {"m3-z12-undercut", 12, 3, 0, 1, 0.001, 0.38, 24, 0.2, 55},
        {"m1-z12-pointed", 12, 1, 2, 1, 0.001, 0.38, 12, 0, 13},
        {"m2-z40-14.5", 40, 2, 0.3, 0, 0.01, 0.3, 20, -0.2, 61},
        {"m10-z70-fine", 70, 10, 0, 1, 0.00001, 0.38, 70, 0, 700},
        {"infinite-tip", 20, 1e-300, 1e308, 1, 0.001, 0.38, 20, 0, kInf},
        {"tiny-module", 20, 1e-300, 0, 1, 0.001, 0.38, 20, 0, kNaN},
        {"module-1e-12", 20, 1e-12, 0, 1, 0.001, 0.38, 20, 0, 1e-11},
        {"root-past-centre-z3", 3, 1.0112, -0.388, 1, 0.001, 0.38, 3, 0, 3},
        {"root-past-centre-z4", 4, 1, -0.8, 1, 0.001, 0.38, 4, 0, 4},
        {"huge-shift", 20, 1, 1e12, 1, 0.001, 0.38, 20, 1e12, 1e300},
        {"m1000-z400-fine", 400, 1000, 0, 1, 0.00001, 0.38, 400, 0, 400000},
        {"span-limit", -1, 2, 0, 1, 0.001, 0.38, kMaxInt, 0, 0},
        {"few-teeth", 3, 1, 0.5, 1, 0.001, 0.2, kMinInt, kNaN, -1},
    };
    for (const Seed& s : seeds) {
        Bytes bytes{0xFF};
        const auto put = [&bytes](const void* p, std::size_t n) {
            const auto* b = static_cast<const std::uint8_t*>(p);
            bytes.insert(bytes.end(), b, b + n);
        };
        put(&s.z, 4);
        put(&s.m, 8);
        put(&s.x, 8);
        put(&s.angle, 1);
        put(&s.tolerance, 8);
        put(&s.rho, 8);
        put(&s.z2, 4);
        put(&s.x2, 8);
        put(&s.a, 8);
        bytes.push_back(1);
        bytes.push_back(1);
        Write(folder + "/" + s.name, bytes);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <folder>\n");
        return 2;
    }
    const std::string root = argv[1];
    for (const std::string& folder : {root, root + "/gearfile", root + "/text", root + "/geometry"})
        ::mkdir(folder.c_str(), 0777);
    GearFiles(root + "/gearfile");
    TextFiles(root + "/text");
    GeometryFiles(root + "/geometry");
    return 0;
}
