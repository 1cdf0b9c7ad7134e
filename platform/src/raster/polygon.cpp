// Even-odd polygon fill and the polygon call (brush interior plus pen outline
// through the actual vertices).
#include <algorithm>
#include <functional>

#include "raster/figures.h"
#include "raster/raster_math.h"

namespace win::raster {

namespace {

// Corners this close to the origin keep every crossing product within 63 bits.
constexpr std::int64_t SMALL_COORDINATE = std::int64_t(1) << 30;

bool fits_in_64_bits(const Point64& p) {
    return p.x > -SMALL_COORDINATE && p.x < SMALL_COORDINATE && p.y > -SMALL_COORDINATE &&
           p.y < SMALL_COORDINATE;
}

}  // namespace

PolygonFillShape::PolygonFillShape(const Point64* points, std::size_t n,
                                   std::pmr::memory_resource* arena)
    : edges_(arena), crossings_(arena) {
    edges_.reserve(n);
    crossings_.reserve(n);
    for (std::size_t i = 0; i < n && n >= 3; ++i) {
        Point64 a = points[i], b = points[(i + 1) % n];
        if (a.y == b.y) continue;  // horizontal edges cross no row
        if (a.y > b.y) std::swap(a, b);
        Edge& e = edges_.emplace_back(
            Edge{a.x, a.y, b.x, b.y, fits_in_64_bits(a) && fits_in_64_bits(b), {}});
        if (e.small) e.walk.init(b.y - a.y, b.x - a.x);
    }
    if (edges_.empty()) return;
    rows_ = {edges_[0].y_top, edges_[0].y_bottom};
    for (const Edge& e : edges_) {
        rows_.top = std::min(rows_.top, e.y_top);
        rows_.bottom = std::max(rows_.bottom, e.y_bottom);
    }
}

void PolygonFillShape::add_spans(std::int64_t y, SpanList& out) const {
    crossings_.clear();
    for (const Edge& e : edges_) {
        if (y < e.y_top || y >= e.y_bottom) continue;
        // First column whose centre is at or right of the edge on this row.
        if (e.small) {
            e.walk.seek(y, [&e](std::int64_t row) { return e.numerator_at(row); });
            crossings_.push_back(e.walk.ceil());
            continue;
        }
        const i128 dy = e.y_bottom - e.y_top;
        const i128 numerator = i128(e.x_top) * dy + i128(y - e.y_top) * (e.x_bottom - e.x_top);
        crossings_.push_back(std::int64_t(ceil_div(numerator, dy)));
    }
    sort_short(crossings_.data(), crossings_.data() + crossings_.size(), std::less<>());
    for (std::size_t i = 0; i + 1 < crossings_.size(); i += 2) {
        out.push_back({crossings_[i], crossings_[i + 1]});
    }
}

}  // namespace win::raster

namespace win {

using namespace raster;

bool polygon(HDC hdc, const Point* points, int count) {
    if (!hdc || !hdc->surface || !points || count < 2) return false;
    FigureArena arena;
    std::pmr::vector<Point64> vertices(arena.resource());
    vertices.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) vertices.push_back({points[i].x, points[i].y});

    std::uint32_t brush_pixel = 0;
    const bool has_brush = brush_paints(*hdc, &brush_pixel);
    const PolygonFillShape fill(vertices.data(), vertices.size(), arena.resource());
    const RowShape* brush = has_brush ? &fill : nullptr;
    const PenInfo pen = pen_info(*hdc);
    UnionShape outline(arena.resource());
    if (pen.mode == PenMode::Thin) add_thin_path(outline, vertices.data(), vertices.size(), true);
    if (pen.mode == PenMode::Wide)
        add_wide_path(outline, vertices.data(), vertices.size(), true, pen.width);
    paint_figure(*hdc, brush, brush_pixel, outline.empty() ? nullptr : &outline, pen.pixel);
    return true;
}

}  // namespace win
