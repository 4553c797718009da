// SPDX-License-Identifier: GPL-3.0-or-later
// Binary STL of the part's triangle surface: an 80-byte header, the facet count, then per
// facet its unit normal, three corners (single precision, little-endian) and a
// zero attribute word. Millimetres, as slicers take an STL's numbers.
#include "export/profileexport.h"

#include <bit>
#include <cmath>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "STL numbers are written as the machine holds them");

namespace {

void PutFloat(std::string& out, double v)
{
    const float f = static_cast<float>(v);
    char bytes[4];
    std::memcpy(bytes, &f, 4);
    out.append(bytes, 4);
}

void PutU32(std::string& out, std::uint32_t v)
{
    char bytes[4];
    std::memcpy(bytes, &v, 4);
    out.append(bytes, 4);
}

}  // namespace

std::string SurfaceStl(const TriangleSurface& surface, const std::string& title)
{
    std::string out;
    out.reserve(84 + surface.triangles.size() * 50);
    // A header starting with "solid" would make some readers take the file for text.
    std::string header = "binary STL, mm: " + title;
    header.resize(80, ' ');
    out += header;
    PutU32(out, static_cast<std::uint32_t>(surface.triangles.size()));
    for (const auto& t : surface.triangles) {
        const auto& a = surface.vertices[t[0]];
        const auto& b = surface.vertices[t[1]];
        const auto& c = surface.vertices[t[2]];
        const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const double v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (double& x : n)
            x = len > 0.0 ? x / len : 0.0;
        for (double x : n)
            PutFloat(out, x);
        for (const auto* p : {&a, &b, &c})
            for (double x : *p)
                PutFloat(out, x);
        out.append(2, '\0');
    }
    return out;
}
