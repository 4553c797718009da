// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Placements, fonts and colours of the main window's controls, in one table
// so that they can be checked line by line. Positions are client-area pixels,
// or Panel1 pixels for the two controls inside it.

#include "commands/outlineview.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <algorithm>
#include <string_view>

namespace layout {

struct Placement {
    const char* name;
    int left, top, width, height;
};

inline constexpr Placement kControls[] = {
    {"Label2", 8, 8, 67, 15},     {"Label3", 8, 32, 30, 15},    {"Label4", 8, 56, 60, 15},
    {"Label5", 168, 16, 52, 15},  {"Label6", 168, 40, 45, 15},  {"Label7", 168, 64, 45, 15},
    {"Label8", 168, 88, 45, 15},  {"Label12", 160, 112, 60, 15},
    {"Edit1", 80, 8, 73, 21},     {"Edit2", 80, 33, 73, 21},    {"Edit4", 80, 56, 73, 21},
    {"BitBtn1", 8, 88, 81, 33},   {"BitBtn2", 96, 88, 57, 33},
    {"Edit6", 224, 8, 73, 21},    {"Edit8", 224, 32, 73, 21},   {"Edit10", 224, 56, 73, 21},
    {"Edit12", 224, 80, 73, 21},  {"Edit47", 224, 104, 73, 21},
    {"ListBox1", 320, 4, 297, 69},
    {"RG1", 320, 80, 209, 49},
    {"Panel1", 8, 136, 617, 321},
    {"sg1", 8, 9, 297, 304},
    {"Image1", 312, 8, kOutlineViewWidth, kOutlineViewHeight},
    {"BitBtn3", 536, 88, 81, 41},
};

inline const Placement& Find(const char* name)
{
    for (const Placement& p : kControls)
        if (std::string_view(p.name) == name)
            return p;
    return kControls[0];
}

// A window's frame: 8 px at the sides and bottom, a caption of 31 px; the
// client area is what the frame leaves of the outer size.
inline constexpr int kFrameWidth = 8;
inline constexpr int kCaptionHeight = 31;
inline constexpr int ClientWidthOf(int outerWidth) { return outerWidth - 2 * kFrameWidth; }
inline constexpr int ClientHeightOf(int outerHeight) { return outerHeight - kFrameWidth - kCaptionHeight; }

// A window's outer rectangle moved, and shrunk where it is larger, so that
// all of it lies inside the screen's available area.
inline QRect FitInside(QRect outer, const QRect& available)
{
    outer.setWidth(std::min(outer.width(), available.width()));
    outer.setHeight(std::min(outer.height(), available.height()));
    outer.moveTo(std::clamp(outer.left(), available.left(), available.left() + available.width() - outer.width()),
                 std::clamp(outer.top(), available.top(), available.top() + available.height() - outer.height()));
    return outer;
}

// The main window: screen position, outer size (frame included) and the
// client area below its menu bar of 19 px.
inline constexpr int kWindowLeft = 605;
inline constexpr int kWindowTop = 282;
inline constexpr int kOuterWidth = 656;
inline constexpr int kOuterHeight = 532;
inline constexpr int kMenuBarHeight = 19;
inline constexpr int kClientWidth = ClientWidthOf(kOuterWidth);
inline constexpr int kClientHeight = ClientHeightOf(kOuterHeight) - kMenuBarHeight;

// The font families the window asks for; InitApplication makes the installed
// faces answer to them.
inline const QString kGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kMincho = QStringLiteral("ＭＳ Ｐ明朝");

inline const QColor kWindowColour{0xAE, 0xCF, 0xD5};
inline const QColor kPanelColour{0xCB, 0xF5, 0xFE};
inline const QColor kListColour{0xC0, 0xC0, 0xC0};
inline const QColor kListTextColour{0x00, 0x00, 0xFF};
inline const QColor kHomePageTextColour{0xFF, 0x00, 0x00};

}  // namespace layout
