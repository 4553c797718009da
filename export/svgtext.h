// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the SVG files write alike: a coordinate as text (nine decimals,
// trailing zeros dropped, minus zero and nanometre dust written as 0), the
// opening of a picture in millimetres, and the closed outlines as paths.

#include "geometry/outline.h"

#include <QString>
#include <QXmlStreamWriter>

#include <cstddef>
#include <vector>

// A finite number's text; a number that is not finite is refused (AppError),
// never written as "nan" or "inf".
QString SvgNumber(double v);

// The document and its <svg> element: width and height in mm, the viewBox
// from (left, top) in the picture's own units (mm, y downwards).
void StartSvgInMillimetres(QXmlStreamWriter& xml, double left, double top, double width, double height);

// The most characters a path's d attribute holds. XML readers built on
// libxml2 refuse an attribute value longer than 10,000,000 characters unless
// told otherwise, and most are not told.
inline constexpr std::size_t kSvgPathDataLimit = 8000000;

// A path longer than this is followed by kSvgReleaseSpaces blanks. libxml2
// before 2.11 lets go of the input it has read only while it reads text
// between elements that runs past its buffer (a few kilobytes), and refuses
// the file once 10,000,000 characters are held: the blanks let it go after
// every long path, however many there are.
inline constexpr std::size_t kSvgReleaseAfter = 1000000;
inline constexpr int kSvgReleaseSpaces = 65536;

enum class SvgFill {
    None,      // stroked only (a cut path)
    NonZero,   // filled by the group's colour
    EvenOdd,   // filled even-odd: a rim and the outline inside it
};

// Closed outlines in the gear's coordinates (y upwards; written y downwards):
// one <path>, "M x,y L x,y … Z" for each. An outline too long for one
// attribute is written as several paths in the same place: its stroke as
// open pieces, each starting where the one before ended and the last ending
// at the first point, and (filled) its area as slices between vertical lines,
// unstroked, each overlapping the next so that no seam shows.
void WriteSvgOutlines(QXmlStreamWriter& xml, const std::vector<const std::vector<OutlinePoint>*>& outlines,
                      SvgFill fill, std::size_t limit = kSvgPathDataLimit);
