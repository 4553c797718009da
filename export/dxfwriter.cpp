// SPDX-License-Identifier: GPL-3.0-or-later
// The DXF file of a profile, through dxflib, into memory. R12: the version every
// laser, CAD and CNC program reads, and the one whose file an independent
// reader accepts without a fix (dxflib's R2000 objects carry owner handles
// that readers have to repair). The units are declared all the same ($INSUNITS
// millimetres, $MEASUREMENT metric). The writer below formats group codes and
// values as dxflib's own file writer does, but into a string and independent
// of the C locale.
#include "export/profileexport.h"

#include "export/datasheetdxf.h"

#include <dl_dxf.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

class MemoryWriter : public DL_WriterA {
public:
    explicit MemoryWriter(DL_Codes::version version) : DL_WriterA("", version) {}

    void dxfReal(int gc, double value) const override
    {
        if (std::fabs(value) < 1e-12)
            value = 0.0;
        char text[64];
        const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
        std::string s(text, end);
        if (s.find('.') == std::string::npos)
            s += ".0";
        put(gc, s);
    }
    void dxfInt(int gc, int value) const override { put(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override
    {
        char text[16];
        std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
        put(gc, text);
    }
    void dxfString(int gc, const char* value) const override { put(gc, value); }
    void dxfString(int gc, const std::string& value) const override { put(gc, value); }

    const std::string& bytes() const { return m_bytes; }

private:
    void put(int gc, const std::string& value) const
    {
        m_bytes += gc < 10 ? "  " : gc < 100 ? " " : "";
        m_bytes += std::to_string(gc);
        m_bytes += '\n';
        m_bytes += value;
        m_bytes += '\n';
    }

    mutable std::string m_bytes;
};

constexpr int kColourGear = 7;     // white on black, black on white
constexpr int kColourPitch = 1;    // red
constexpr int kColourBore = 5;     // blue

int Colour(const std::string& layer)
{
    return layer == "PITCH" ? kColourPitch : layer == "BORE" ? kColourBore : kColourGear;
}

}  // namespace

std::string DrawingDxf(const ExportDrawing& drawing, const DataSheet* dataSheet)
{
    DL_Dxf dxf;
    const DL_Codes::version version = DL_VERSION_R12;
    delete dxf.out("", version);   // sets the library's version; the empty name opens no file
    MemoryWriter dw(version);
    // GEAR first, then every other layer in the order it is first used.
    std::vector<std::string> layers{"GEAR"};
    auto use = [&layers](const char* layer) {
        if (std::find(layers.begin(), layers.end(), layer) == layers.end())
            layers.emplace_back(layer);
    };
    for (const auto& line : drawing.lines)
        use(line.layer);
    for (const auto& circle : drawing.circles)
        use(circle.layer);

    dxf.writeHeader(dw);
    dw.dxfString(9, "$INSUNITS");
    dw.dxfInt(70, 4);                // millimetres
    dw.dxfString(9, "$MEASUREMENT");
    dw.dxfInt(70, 1);                // metric
    if (dataSheet != nullptr) {
        dw.dxfString(9, "$DWGCODEPAGE");
        dw.dxfString(3, "ANSI_932");   // the table's Japanese texts, in Shift-JIS
    }
    dw.sectionEnd();

    dw.sectionTables();
    dxf.writeVPort(dw);
    dw.tableLinetypes(3);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "BYBLOCK", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "BYLAYER", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
    dw.tableEnd();
    dw.tableLayers(static_cast<int>(layers.size()) + 1 + (dataSheet != nullptr ? 1 : 0));
    dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", kColourGear, 100, "CONTINUOUS", 1.0));
    for (const std::string& layer : layers)
        dxf.writeLayer(dw, DL_LayerData(layer, 0), DL_Attributes("", Colour(layer), 100, "CONTINUOUS", 1.0));
    if (dataSheet != nullptr)
        WriteDataSheetLayer(dxf, dw);
    dw.tableEnd();
    dw.tableStyle(dataSheet != nullptr ? 2 : 1);
    dxf.writeStyle(dw, DL_StyleData("standard", 0, 2.5, 1.0, 0.0, 0, 2.5, "txt", ""));
    if (dataSheet != nullptr)
        WriteDataSheetStyle(dxf, dw);
    dw.tableEnd();
    dxf.writeView(dw);
    dxf.writeUcs(dw);
    dw.tableAppid(1);
    dxf.writeAppid(dw, "ACAD");
    dw.tableEnd();
    dxf.writeDimStyle(dw, 2.5, 0.625, 0.625, 0.625, 2.5);
    dw.sectionEnd();

    dw.sectionBlocks();
    dxf.writeBlock(dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, "*Model_Space");
    dxf.writeBlock(dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, "*Paper_Space");
    dw.sectionEnd();

    dw.sectionEntities();
    const DL_Attributes gear("GEAR", 256, -1, "BYLAYER", 1.0);
    dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(drawing.outline.size()), 0, 0, 1), gear);
    for (const OutlinePoint& p : drawing.outline)
        dxf.writeVertex(dw, DL_VertexData(p.x, p.y, 0.0, 0.0));
    dxf.writePolylineEnd(dw);
    for (const auto& line : drawing.lines)
        dxf.writeLine(dw, DL_LineData(line.from.x, line.from.y, 0.0, line.to.x, line.to.y, 0.0),
                      DL_Attributes(line.layer, 256, -1, "BYLAYER", 1.0));
    for (const auto& circle : drawing.circles)
        dxf.writeCircle(dw, DL_CircleData(0.0, 0.0, 0.0, circle.diameter / 2.0),
                        DL_Attributes(circle.layer, 256, -1, "BYLAYER", 1.0));
    if (dataSheet != nullptr)
        WriteDataSheetEntities(dxf, dw, *dataSheet, drawing.maxX + 10.0, drawing.maxY);
    dw.sectionEnd();

    dw.dxfEOF();
    return dw.bytes();
}
