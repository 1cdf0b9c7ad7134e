// Even-odd polygon fill and the polygon call (brush interior plus pen outline
// through the actual vertices).
#include <algorithm>
#include <functional>

#include "raster/figures.h"
#include "raster/raster_math.h"
#include "raster/small_figure.h"

namespace win::raster {

namespace {

// Corners this close to the origin keep every crossing product within 63 bits.
constexpr std::int64_t SMALL_COORDINATE = std::int64_t(1) << 30;

bool fits_in_64_bits(const Point64& p) {
    return p.x > -SMALL_COORDINATE && p.x < SMALL_COORDINATE && p.y > -SMALL_COORDINATE &&
           p.y < SMALL_COORDINATE;
}

}  // namespace

PolygonEdge::PolygonEdge(Point64 a, Point64 b) {
    if (a.y > b.y) std::swap(a, b);
    x_top_ = a.x;
    y_top_ = a.y;
    x_bottom_ = b.x;
    y_bottom_ = b.y;
    small_ = fits_in_64_bits(a) && fits_in_64_bits(b);
    if (small_) {
        walk_.init(b.y - a.y, b.x - a.x);
        walk_.place_quotient(a.y, a.x, 0);  // the top row's numerator is x_top dy
    }
}

std::int64_t PolygonEdge::crossing(std::int64_t y) const {
    if (small_) {
        walk_.seek(y, [this](std::int64_t row) { return numerator_at(row); });
        return walk_.ceil();
    }
    const i128 dy = y_bottom_ - y_top_;
    const i128 numerator = i128(x_top_) * dy + i128(y - y_top_) * (x_bottom_ - x_top_);
    return std::int64_t(ceil_div(numerator, dy));
}

std::size_t row_crossings(const PolygonEdge* edges, std::size_t n, std::int64_t y,
                          std::int64_t* out) {
    std::size_t found = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (edges[i].crosses(y)) out[found++] = edges[i].crossing(y);
    }
    sort_short(out, out + found, std::less<>());
    return found;
}

PolygonFillShape::PolygonFillShape(const Point64* points, std::size_t n, FigureArena& arena)
    : edges_(ArenaAllocator<PolygonEdge>(arena)), crossings_(ArenaAllocator<std::int64_t>(arena)) {
    edges_.reserve(n);
    for_each_edge(points, n, [this](Point64 a, Point64 b) { edges_.emplace_back(a, b); });
    crossings_.resize(edges_.size());
    if (edges_.empty()) return;
    rows_ = {edges_[0].top(), edges_[0].bottom()};
    for (const PolygonEdge& e : edges_) {
        rows_.top = std::min(rows_.top, e.top());
        rows_.bottom = std::max(rows_.bottom, e.bottom());
    }
}

void PolygonFillShape::add_spans(std::int64_t y, SpanList& out) const {
    const std::size_t found = row_crossings(edges_.data(), edges_.size(), y, crossings_.data());
    for (std::size_t i = 0; i + 1 < found; i += 2)
        out.push_back({crossings_[i], crossings_[i + 1]});
}

}  // namespace win::raster

namespace win {

using namespace raster;

namespace {

// The small figure of a polygon with the DC's pen and brush; false when it does not fit.
bool build_polygon(SmallFigure& figure, const Point64* vertices, std::size_t n, const PenInfo& pen,
                   bool has_brush) {
    if (has_brush && !figure.add_polygon(vertices, n)) return false;
    if (pen.mode == PenMode::Thin) return figure.add_thin_path(vertices, n, true);
    if (pen.mode == PenMode::Wide) return figure.add_wide_path(vertices, n, true, pen.width);
    return true;
}

// A polygon of a few vertices whose pen and brush paint one colour (or only
// one of them paints) goes to the small-figure painter; false when it does
// not qualify or does not fit.
bool paint_small_polygon(DeviceContext& dc, const Point* points, int count, const PenInfo& pen,
                         bool has_brush, std::uint32_t brush_pixel) {
    constexpr int MOST_VERTICES = FigureKey::MOST_POINTS;
    if (count > MOST_VERTICES) return false;
    const bool has_pen = pen.mode != PenMode::None;
    if (has_pen && has_brush && pen.pixel != brush_pixel) return false;
    const std::uint32_t pixel = has_pen ? pen.pixel : brush_pixel;
    // Only the vertices given are written: zeroing all eight costs more than the figure.
    InlineParts<Point64, MOST_VERTICES> corners;
    for (int i = 0; i < count; ++i) corners.add(Point64{points[i].x, points[i].y});
    const std::size_t n = std::size_t(count);

    const FigureKey key(FigureKey::Kind::Polygon, unsigned(pen.mode), has_brush, pen.width);
    return paint_small_figure(dc, key, corners.data(), n, pixel,
                              [&](SmallFigure& figure, const Point64* vertices) {
                                  return build_polygon(figure, vertices, n, pen, has_brush);
                              });
}

}  // namespace

bool polygon(HDC hdc, const Point* points, int count) {
    if (!hdc || !hdc->surface || !points || count < 2) return false;
    std::uint32_t brush_pixel = 0;
    const bool has_brush = brush_paints(*hdc, &brush_pixel);
    const PenInfo pen = pen_info(*hdc);
    if (paint_small_polygon(*hdc, points, count, pen, has_brush, brush_pixel)) return true;

    FigureArena arena;
    std::vector<Point64, ArenaAllocator<Point64>> vertices{ArenaAllocator<Point64>(arena)};
    vertices.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) vertices.push_back({points[i].x, points[i].y});
    const PolygonFillShape fill(vertices.data(), vertices.size(), arena);
    const RowShape* brush = has_brush ? &fill : nullptr;
    UnionShape outline(arena);
    if (pen.mode == PenMode::Thin) add_thin_path(outline, vertices.data(), vertices.size(), true);
    if (pen.mode == PenMode::Wide)
        add_wide_path(outline, vertices.data(), vertices.size(), true, pen.width);
    paint_figure(*hdc, brush, brush_pixel, outline.empty() ? nullptr : &outline, pen.pixel);
    return true;
}

}  // namespace win
