// Segment quads and vertex discs of wide pens.
#include "raster/shapes/wide_pen.h"

#include <cmath>

namespace win::raster {

Box64 disc_box(Point64 centre, std::int64_t width) {
    const std::int64_t left = centre.x - width / 2, top = centre.y - width / 2;
    return {left, top, left + width, top + width};
}

namespace {

// Offset along one axis toward the side whose direction component is sign: the narrow half on
// the negative side, the wide half on the positive side.
std::int64_t side_offset(std::int64_t sign, std::int64_t narrow, std::int64_t wide) {
    return sign < 0 ? -narrow : (sign > 0 ? wide : 0);
}

}  // namespace

bool segment_quad(Point64 a, Point64 b, std::int64_t width, Point64 quad[4]) {
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    if (dx == 0 && dy == 0) return false;
    // Perpendicular extents of the pen, split into halves on either side.  An
    // upright or level segment has them exactly, without the root.
    std::int64_t hx = dx == 0 ? width : 0, hy = dy == 0 ? width : 0;
    if (dx != 0 && dy != 0) {
        const long double length = std::sqrt((long double)dx * dx + (long double)dy * dy);
        hx = std::llround((long double)width * std::fabs((long double)dy) / length);
        hy = std::llround((long double)width * std::fabs((long double)dx) / length);
    }
    const std::int64_t nx = hx / 2, wx = hx - nx, ny = hy / 2, wy = hy - ny;
    // Side A lies along (-dy, dx), side B along (dy, -dx).
    const Point64 side_a{side_offset(-dy, nx, wx), side_offset(dx, ny, wy)};
    const Point64 side_b{side_offset(dy, nx, wx), side_offset(-dx, ny, wy)};
    quad[0] = {a.x + side_a.x, a.y + side_a.y};
    quad[1] = {b.x + side_a.x, b.y + side_a.y};
    quad[2] = {b.x + side_b.x, b.y + side_b.y};
    quad[3] = {a.x + side_b.x, a.y + side_b.y};
    return true;
}

}  // namespace win::raster
