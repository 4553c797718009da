// SPDX-License-Identifier: GPL-3.0-or-later
// The DXF file of a profile, through dxflib, into memory. R12: the version every
// laser, CAD and CNC program reads, and the one whose file an independent
// reader accepts without a fix (dxflib's R2000 objects carry owner handles
// that readers have to repair). The units are declared all the same ($INSUNITS
// millimetres, $MEASUREMENT metric). The writer below formats group codes and
// values as dxflib's own file writer does, but into a string and independent
// of the C locale.
#include "export/profileexport.h"
#include "export/drawingnumber.h"

#include "export/datasheetdxf.h"
#include "base/apperror.h"

#include <dl_dxf.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>
#include <algorithm>
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
        // Fixed notation holds any finite double in 310 characters before the
        // point and, for the values kept, fewer than 32 after it.
        char text[400];
        const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
        if (!std::isfinite(value) || error != std::errc())
            throw AppError(DrawingNumberMessage());
        std::string s(text, end);
        if (s.find('.') == std::string::npos)
            s += ".0";
        put(gc, s);
    }
    void dxfInt(int gc, int value) const override { put(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override
    {
        char text[16];
        const int length = std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof text)
            throw AppError(DrawingNumberMessage());
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

constexpr int kColourGear = 7;     // white on black, black on white: cut
constexpr int kColourBore = 5;     // blue: cut
constexpr int kColourConstruction = 8;   // grey: never cut
constexpr int kColourNote = 3;     // green: engraved or left alone, never cut

// The note's placeholders as DXF text codes (R12 text is in the ANSI code page).
std::string DxfText(std::string s)
{
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"{deg}", "%%d"}, {"{alpha}", "alpha"}, {"{beta}", "beta"}}) {
        for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
            s.replace(at, from.size(), to);
    }
    return s;
}

int Colour(const std::string& layer)
{
    return layer == "PITCH" ? kColourConstruction : layer == "BORE" ? kColourBore : kColourGear;
}

// What every drawing writes the same way, in the file's order: the header
// with the units and extents, then the tables up to the layers (the linetypes
// with the pitch circle's dashes)...
void WriteHeaderAndLinetypes(DL_Dxf& dxf, MemoryWriter& dw, const double (&extMin)[2], const double (&extMax)[2],
                             double dash, bool japanese)
{
    dxf.writeHeader(dw);
    dw.dxfString(9, "$INSUNITS");
    dw.dxfInt(70, 4);                // millimetres
    dw.dxfString(9, "$MEASUREMENT");
    dw.dxfInt(70, 1);                // metric
    dw.dxfString(9, "$EXTMIN");
    dw.dxfReal(10, extMin[0]);
    dw.dxfReal(20, extMin[1]);
    dw.dxfReal(30, 0.0);
    dw.dxfString(9, "$EXTMAX");
    dw.dxfReal(10, extMax[0]);
    dw.dxfReal(20, extMax[1]);
    dw.dxfReal(30, 0.0);
    if (japanese) {
        dw.dxfString(9, "$DWGCODEPAGE");
        dw.dxfString(3, "ANSI_932");   // the table's Japanese texts, in Shift-JIS
    }
    dw.sectionEnd();

    dw.sectionTables();
    dxf.writeVPort(dw);
    dw.tableLinetypes(4);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "BYBLOCK", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "BYLAYER", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
    double pattern[2] = {dash, -dash / 2.0};
    dxf.writeLinetype(dw, DL_LinetypeData("DASHED", "Dashed __ __ __", 0, 2, 1.5 * dash, pattern));
    dw.tableEnd();
}

// ...then, after the caller's layers, the rest of the tables, the blocks, and
// the entities section opened with the outline on layer GEAR.
void WriteTablesToOutline(DL_Dxf& dxf, MemoryWriter& dw, const DataSheet* dataSheet,
                          const std::vector<OutlinePoint>& outline)
{
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
    dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(outline.size()), 0, 0, 1), gear);
    for (const OutlinePoint& p : outline)
        dxf.writeVertex(dw, DL_VertexData(p.x, p.y, 0.0, 0.0));
    dxf.writePolylineEnd(dw);
}

}  // namespace

std::string CutDrawingDxf(const CutDrawing& d, const DataSheet* dataSheet)
{
    DL_Dxf dxf;
    const DL_Codes::version version = DL_VERSION_R12;
    delete dxf.out("", version);   // sets the library's version; the empty name opens no file
    MemoryWriter dw(version);
    const bool bore = d.hole.radius > 0.0;
    const bool note = !d.note.empty();

    // Dashes a twentieth of the pitch radius long, so that a circle of any size shows them.
    WriteHeaderAndLinetypes(dxf, dw, d.extMin, d.extMax, std::max(0.5, d.pitchDiameter / 40.0), dataSheet != nullptr);
    dw.tableLayers(4 + (bore ? 1 : 0) + (note ? 1 : 0) + (dataSheet != nullptr ? 1 : 0));
    dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", kColourGear, 100, "CONTINUOUS", 1.0));
    dxf.writeLayer(dw, DL_LayerData("GEAR", 0), DL_Attributes("", kColourGear, 100, "CONTINUOUS", 1.0));
    dxf.writeLayer(dw, DL_LayerData("PITCH", 0), DL_Attributes("", kColourConstruction, 100, "DASHED", 1.0));
    dxf.writeLayer(dw, DL_LayerData("CENTER", 0), DL_Attributes("", kColourConstruction, 100, "CONTINUOUS", 1.0));
    if (bore)
        dxf.writeLayer(dw, DL_LayerData("BORE", 0), DL_Attributes("", kColourBore, 100, "CONTINUOUS", 1.0));
    if (note)
        dxf.writeLayer(dw, DL_LayerData("NOTE", 0), DL_Attributes("", kColourNote, 100, "CONTINUOUS", 1.0));
    WriteTablesToOutline(dxf, dw, dataSheet, d.outline);
    // Dashed by its layer and by itself, for readers that draw only one of the
    // two (dxflib's R12 circle carries no linetype of its own).
    dw.dxfString(0, "CIRCLE");
    dw.dxfString(8, "PITCH");
    dw.dxfString(6, "DASHED");
    dw.dxfReal(10, 0.0);
    dw.dxfReal(20, 0.0);
    dw.dxfReal(30, 0.0);
    dw.dxfReal(40, d.pitchDiameter / 2.0);
    const DL_Attributes centre("CENTER", 256, -1, "BYLAYER", 1.0);
    dxf.writeLine(dw, DL_LineData(-d.centreMark, 0.0, 0.0, d.centreMark, 0.0, 0.0), centre);
    dxf.writeLine(dw, DL_LineData(0.0, -d.centreMark, 0.0, 0.0, d.centreMark, 0.0), centre);
    if (bore && !d.hole.keyway) {
        dxf.writeCircle(dw, DL_CircleData(0.0, 0.0, 0.0, d.hole.radius), DL_Attributes("BORE", 256, -1, "BYLAYER", 1.0));
    } else if (bore) {
        // The bore's arc as one bulged segment from the groove's upper side round
        // to its lower side, then the groove: side, bottom, side.
        const HoleShape& h = d.hole;
        const double x0 = h.SideStart(), w = h.keyHalfWidth;
        const double sweep = 2.0 * std::numbers::pi - 2.0 * std::atan2(w, x0);
        dxf.writePolyline(dw, DL_PolylineData(4, 0, 0, 1), DL_Attributes("BORE", 256, -1, "BYLAYER", 1.0));
        dxf.writeVertex(dw, DL_VertexData(x0, w, 0.0, std::tan(sweep / 4.0)));
        dxf.writeVertex(dw, DL_VertexData(x0, -w, 0.0, 0.0));
        dxf.writeVertex(dw, DL_VertexData(h.keyBottom, -w, 0.0, 0.0));
        dxf.writeVertex(dw, DL_VertexData(h.keyBottom, w, 0.0, 0.0));
        dxf.writePolylineEnd(dw);
    }
    for (std::size_t i = 0; i < d.note.size(); ++i) {
        const double y = d.noteY - 1.6 * d.noteHeight * static_cast<double>(i);
        dxf.writeText(dw, DL_TextData(d.noteX, y, 0.0, d.noteX, y, 0.0, d.noteHeight, 1.0, 0, 0, 0, DxfText(d.note[i]), "standard", 0.0),
                      DL_Attributes("NOTE", 256, -1, "BYLAYER", 1.0));
    }
    if (dataSheet != nullptr)
        WriteDataSheetEntities(dxf, dw, *dataSheet, d.extMax[0] + 10.0, d.extMax[1]);
    dw.sectionEnd();

    dw.dxfEOF();
    return dw.bytes();
}

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

    // Dashes a fortieth of the drawing's size, as the gear's pitch circle gets them.
    const double extMin[2] = {drawing.minX, drawing.minY}, extMax[2] = {drawing.maxX, drawing.maxY};
    WriteHeaderAndLinetypes(dxf, dw, extMin, extMax,
                            std::max(0.5, std::max(drawing.maxX - drawing.minX, drawing.maxY - drawing.minY) / 40.0),
                            dataSheet != nullptr);
    dw.tableLayers(static_cast<int>(layers.size()) + 1 + (dataSheet != nullptr ? 1 : 0));
    dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", kColourGear, 100, "CONTINUOUS", 1.0));
    for (const std::string& layer : layers)
        dxf.writeLayer(dw, DL_LayerData(layer, 0),
                       DL_Attributes("", Colour(layer), 100, layer == "PITCH" ? "DASHED" : "CONTINUOUS", 1.0));
    WriteTablesToOutline(dxf, dw, dataSheet, drawing.outline);
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
