// The polygon call: brush interior (even-odd) plus pen outline through the
// actual vertices.
#include "raster/paint/draw_figure.h"

namespace win {

using namespace raster;

bool polygon(HDC hdc, const Point* points, int count) {
    if (!hdc || !hdc->surface || !points || count < 2) return false;
    const FigureColours c = colours_of(*hdc);
    const std::size_t n = std::size_t(count);
    FigureArena vertex_room;
    Point64* vertices = vertex_room.allocate_array<Point64>(n);
    for (std::size_t i = 0; i < n; ++i) vertices[i] = {points[i].x, points[i].y};

    FigureKey key(FigureKey::Kind::Polygon, unsigned(c.pen), c.brush, c.pen_width);
    const bool keep = key.set_points(vertices, n);
    draw_figure(*hdc, c, keep ? &key : nullptr, vertices[0],
                [&](Figure& brush, Figure& pen, Point64 o) {
                    const Point64* at = vertices;
                    Point64* moved = nullptr;
                    if (o.x != 0 || o.y != 0) {
                        moved = brush.arena().allocate_array<Point64>(n);
                        for (std::size_t i = 0; i < n; ++i)
                            moved[i] = {vertices[i].x - o.x, vertices[i].y - o.y};
                        at = moved;
                    }
                    if (c.brush) brush.add_polygon(at, n);
                    if (c.pen == PenMode::Thin) pen.add_thin_path(at, n, true);
                    if (c.pen == PenMode::Wide) pen.add_wide_path(at, n, true, c.pen_width);
                });
    return true;
}

}  // namespace win
