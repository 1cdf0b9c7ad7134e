// The one-pixel line rule: a line's pixels on any row come straight from the
// Bresenham rounding rule, so a clipped line covers exactly the visible
// pixels of the unclipped one.
#pragma once

#include <cstdint>

#include "raster/geometry.h"
#include "raster/shapes/exact_math.h"

namespace win::raster {

// The rows of a one-pixel line from a to b, b excluded: at most one span a row.
class LineRows {
  public:
    LineRows() = default;
    LineRows(Point64 a, Point64 b);
    RowRange rows() const { return rows_; }
    // The line's span on row y; false when the line misses the row.
    bool row_span(std::int64_t y, Span* span) const;

  private:
    Point64 a_, b_;
    std::int64_t adx_ = 0, ady_ = 0, sx_ = 1, sy_ = 1;
    bool short_ = true;  // both extents below 2^30: 64-bit arithmetic is exact
    RowRange rows_;
    // Short lines walk their rows: the steep column, or the first step of a
    // shallow row (the next row's first step ends this one).
    mutable QuotientWalk walk_;
};

}  // namespace win::raster
