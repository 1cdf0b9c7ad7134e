// Wide solid pens: every segment is a quad of the pen's width centred on the
// path, every vertex a round disc; the union is painted once.
#include <cmath>

#include "raster/shapes.h"

namespace win::raster {

std::unique_ptr<RowShape> make_disc(Point64 centre, std::int64_t width) {
    const std::int64_t left = centre.x - width / 2, top = centre.y - width / 2;
    return std::make_unique<EllipseShape>(Box64{left, top, left + width, top + width});
}

namespace {

// Offset along one axis toward the side whose direction component is sign: the narrow half on
// the negative side, the wide half on the positive side.
std::int64_t side_offset(std::int64_t sign, std::int64_t narrow, std::int64_t wide) {
    return sign < 0 ? -narrow : (sign > 0 ? wide : 0);
}

}  // namespace

std::unique_ptr<RowShape> make_segment(Point64 a, Point64 b, std::int64_t width) {
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    if (dx == 0 && dy == 0) return nullptr;
    const long double length = std::sqrt((long double)dx * dx + (long double)dy * dy);
    // Perpendicular extents of the pen, split into halves on either side.
    const std::int64_t hx = std::llround((long double)width * std::fabs((long double)dy) / length);
    const std::int64_t hy = std::llround((long double)width * std::fabs((long double)dx) / length);
    const std::int64_t nx = hx / 2, wx = hx - nx, ny = hy / 2, wy = hy - ny;
    // Side A lies along (-dy, dx), side B along (dy, -dx).
    const Point64 side_a{side_offset(-dy, nx, wx), side_offset(dx, ny, wy)};
    const Point64 side_b{side_offset(dy, nx, wx), side_offset(-dx, ny, wy)};
    return std::make_unique<PolygonFillShape>(std::vector<Point64>{
        {a.x + side_a.x, a.y + side_a.y},
        {b.x + side_a.x, b.y + side_a.y},
        {b.x + side_b.x, b.y + side_b.y},
        {a.x + side_b.x, a.y + side_b.y},
    });
}

std::unique_ptr<UnionShape> make_wide_path(const std::vector<Point64>& points, bool closed,
                                           std::int64_t width) {
    auto path = std::make_unique<UnionShape>();
    const std::size_t n = points.size();
    const std::size_t segments = closed ? n : (n == 0 ? 0 : n - 1);
    for (std::size_t i = 0; i < segments; ++i) {
        path->add(make_segment(points[i], points[(i + 1) % n], width));
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && points[i] == points[i - 1]) continue;
        path->add(make_disc(points[i], width));
    }
    return path;
}

}  // namespace win::raster
