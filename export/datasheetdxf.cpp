// SPDX-License-Identifier: GPL-3.0-or-later
// The gear data table as DXF TEXT entities and frame lines on a layer of its own.
#include "export/datasheetdxf.h"

#include <dl_dxf.h>

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace {

constexpr int kColourTable = 3;   // green

}  // namespace

std::string ShiftJisOf(const std::string& utf8)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return utf8;
    const std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
    std::string out;
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char buffer[256];
    while (inLeft > 0) {
        char* o = buffer;
        std::size_t oLeft = sizeof buffer;
        const std::size_t done = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer, static_cast<std::size_t>(o - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A character without a code (or a broken sequence): one "?" for the whole character.
            out += '?';
            ++in;
            --inLeft;
            while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
                ++in;
                --inLeft;
            }
        }
    }
    return out;
}

void WriteDataSheetStyle(DL_Dxf& dxf, DL_WriterA& dw)
{
    dxf.writeStyle(dw, DL_StyleData(kDataTableDxfStyle, 0, 0.0, 1.0, 0.0, 0, kDataSheetTextHeight, "ipagp.ttf", ""));
}

void WriteDataSheetLayer(DL_Dxf& dxf, DL_WriterA& dw)
{
    dxf.writeLayer(dw, DL_LayerData(kDataTableDxfLayer, 0), DL_Attributes("", kColourTable, 100, "CONTINUOUS", 1.0));
}

void WriteDataSheetEntities(DL_Dxf& dxf, DL_WriterA& dw, const DataSheet& sheet, double left, double top)
{
    const DL_Attributes attributes(kDataTableDxfLayer, 256, -1, "BYLAYER", 1.0);
    const DataSheetLayout layout = LayoutDataSheet(sheet);
    auto line = [&](double x1, double y1, double x2, double y2) {
        dxf.writeLine(dw, DL_LineData(left + x1, top - y1, 0.0, left + x2, top - y2, 0.0), attributes);
    };
    // Left-aligned at x, or centred on x.
    auto text = [&](double x, double baseline, const std::string& utf8, bool centred = false) {
        dxf.writeText(dw,
                      DL_TextData(x, baseline, 0.0, centred ? x : 0.0, centred ? baseline : 0.0, 0.0,
                                  kDataSheetTextHeight, 1.0, 0, centred ? 1 : 0, 0, ShiftJisOf(utf8),
                                  kDataTableDxfStyle, 0.0),
                      attributes);
    };
    text(left, top + 2.0, "要目表");
    text(left + layout.width - 30.0, top + 2.0, "寸法の単位 mm");
    bool title = true;   // the first cell, across the table, is centred
    for (const DataSheetCell& c : layout.cells) {
        line(c.x, c.y, c.x + c.width, c.y);
        line(c.x, c.y + c.height, c.x + c.width, c.y + c.height);
        line(c.x, c.y, c.x, c.y + c.height);
        line(c.x + c.width, c.y, c.x + c.width, c.y + c.height);
        const double baseline = top - (c.y + c.height / 2 + kDataSheetTextHeight / 2);
        if (title)
            text(left + c.x + c.width / 2, baseline, c.text, true);
        else
            text(left + c.x + 2.0, baseline, c.text);
        title = false;
    }
    // The findings (sheet.notes) are the window's and the command line's, not the drawing's.
}
