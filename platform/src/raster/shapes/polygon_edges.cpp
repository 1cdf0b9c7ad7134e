// Polygon edges and their crossings with a row.
#include "raster/shapes/polygon_edges.h"

#include <algorithm>

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

void sort_long(std::int64_t* first, std::int64_t* last) {
    std::sort(first, last);
}

std::size_t row_crossings(const PolygonEdge* edges, std::size_t n, std::int64_t y,
                          std::int64_t* out) {
    std::size_t found = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (edges[i].crosses(y)) out[found++] = edges[i].crossing(y);
    }
    sort_short(out, out + found);
    return found;
}

}  // namespace win::raster
