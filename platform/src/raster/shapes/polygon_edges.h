// The polygon rule: the even-odd fill of a closed polygon covers, on each
// row, the columns whose centre lies in [left crossing, right crossing) of
// consecutive pairs of edge crossings.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "raster/geometry.h"
#include "raster/shapes/exact_math.h"

namespace win::raster {

// One non-horizontal polygon edge, top end first: it crosses rows
// [y_top, y_bottom), each at the first column whose centre is at or right of it.
class PolygonEdge {
  public:
    PolygonEdge() = default;
    PolygonEdge(Point64 a, Point64 b);  // a.y != b.y
    RowRange rows() const { return {y_top_, y_bottom_}; }
    bool crosses(std::int64_t y) const { return y >= y_top_ && y < y_bottom_; }
    std::int64_t crossing(std::int64_t y) const;

  private:
    std::int64_t numerator_at(std::int64_t y) const {
        return x_top_ * (y_bottom_ - y_top_) + (y - y_top_) * (x_bottom_ - x_top_);
    }
    std::int64_t x_top_ = 0, y_top_ = 0, x_bottom_ = 0, y_bottom_ = 0;
    bool small_ = true;  // the crossing fits 64-bit arithmetic
    // Small edges walk their rows: x_top dy + (y - y_top) dx over dy.
    mutable QuotientWalk walk_;
};

// The edges of a closed polygon that cross rows: add(a, b) for each edge
// that is not horizontal.  A polygon of fewer than three points has none.
template <typename Add>
void for_each_edge(const Point64* points, std::size_t n, Add add) {
    for (std::size_t i = 0; i < n && n >= 3; ++i) {
        const Point64 a = points[i], b = points[(i + 1) % n];
        if (a.y != b.y) add(a, b);
    }
}

// Sorts values in place.  A row holds only a few crossings or span ends,
// where straight insertion beats std::sort; long lists go to sort_long.
void sort_long(std::int64_t* first, std::int64_t* last);
inline void sort_short(std::int64_t* first, std::int64_t* last) {
    if (last - first > 16) {
        sort_long(first, last);
        return;
    }
    for (std::int64_t* i = first + 1; i < last; ++i) {
        const std::int64_t value = *i;
        std::int64_t* j = i;
        for (; j > first && value < *(j - 1); --j) *j = *(j - 1);
        *j = value;
    }
}

// The crossings of n edges with row y, sorted into out (room for n);
// returns how many there are.  Consecutive pairs bound the row's spans.
std::size_t row_crossings(const PolygonEdge* edges, std::size_t n, std::int64_t y,
                          std::int64_t* out);

}  // namespace win::raster
