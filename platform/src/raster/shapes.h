// The row shapes behind the drawing calls: ellipses, one-pixel lines, polygon
// fills and wide-pen strokes.  All coordinates are 64-bit device pixels.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/geometry.h"
#include "raster/raster_math.h"
#include "raster/spans.h"

namespace win::raster {

// The filled ellipse inscribed in a box: the pixels whose centres lie inside
// the ellipse touching the box's outer edges.  A box 2 pixels or less across
// in either direction is the whole box.  Each row is computed directly.
class EllipseShape final : public RowShape {
  public:
    EllipseShape() = default;
    explicit EllipseShape(Box64 box) : box_(box) {}
    RowRange rows() const override { return {box_.top, box_.bottom}; }
    void add_spans(std::int64_t y, SpanList& out) const override;
    // The row's single span; false when the row is empty.
    bool row_span(std::int64_t y, Span* span) const;

  private:
    Box64 box_;
    // The last row's doubled half-width: where the next row's search starts.
    mutable std::int64_t hint_ = -1;
    mutable bool has_hint_ = false;
};

// The one-pixel boundary of a filled ellipse: its pixels that have a
// horizontal or vertical neighbour outside it.
class EllipseOutlineShape final : public RowShape {
  public:
    explicit EllipseOutlineShape(Box64 box) : fill_(box), box_(box) {}
    RowRange rows() const override { return {box_.top, box_.bottom}; }
    void add_spans(std::int64_t y, SpanList& out) const override;

  private:
    struct CachedRow {
        std::int64_t y = 0;
        bool valid = false, present = false;
        Span span;
    };
    bool cached_row(std::int64_t y, Span* span) const;

    EllipseShape fill_;
    Box64 box_;
    mutable std::array<CachedRow, 4> cache_{};
};

// A wide pen around an ellipse's boundary path: the outer ellipse minus the
// inner one, each offset by the pen width centred on the path.
class EllipseRingShape final : public RowShape {
  public:
    EllipseRingShape(Box64 box, std::int64_t pen_width);
    RowRange rows() const override { return outer_.rows(); }
    void add_spans(std::int64_t y, SpanList& out) const override;

  private:
    EllipseShape outer_;
    Box64 inner_box_;
    EllipseShape inner_;
};

// The rows of a one-pixel Bresenham line from a to b, b excluded: at most
// one span a row.
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

// A one-pixel line as a shape.
class LineShape final : public RowShape {
  public:
    LineShape(Point64 a, Point64 b) : line_(a, b) {}
    RowRange rows() const override { return line_.rows(); }
    void add_spans(std::int64_t y, SpanList& out) const override;

  private:
    LineRows line_;
};

// One non-horizontal polygon edge, top end first: it crosses rows
// [y_top, y_bottom), each at the first column whose centre is at or right of it.
class PolygonEdge {
  public:
    PolygonEdge() = default;
    PolygonEdge(Point64 a, Point64 b);  // a.y != b.y
    std::int64_t top() const { return y_top_; }
    std::int64_t bottom() const { return y_bottom_; }
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

// The even-odd fill of a closed polygon: a row covers the columns whose
// centre lies in [left edge, right edge).
class PolygonFillShape final : public RowShape {
  public:
    // Edges and the per-row crossings live in arena.
    PolygonFillShape(const Point64* points, std::size_t count, FigureArena& arena);
    RowRange rows() const override { return rows_; }
    void add_spans(std::int64_t y, SpanList& out) const override;

  private:
    std::vector<PolygonEdge, ArenaAllocator<PolygonEdge>> edges_;
    RowRange rows_;
    mutable std::vector<std::int64_t, ArenaAllocator<std::int64_t>> crossings_;
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
// The crossings of n edges with row y, sorted into out (room for n);
// returns how many there are.  Consecutive pairs bound the row's spans.
std::size_t row_crossings(const PolygonEdge* edges, std::size_t n, std::int64_t y,
                          std::int64_t* out);

// The number of segments of a path of n points.
inline std::size_t path_segments(std::size_t n, bool closed) {
    return closed ? n : (n == 0 ? 0 : n - 1);
}

// Wide solid pens, added to a path: a round disc of diameter width centred on
// a point (for an even width the extra pixel falls toward the top-left), a
// quad of the pen's width along a segment, and whole paths with round caps
// (open paths) or joins (every vertex).
Box64 disc_box(Point64 centre, std::int64_t width);
// The quad of a segment a-b; false when a == b (the segment has no direction).
bool segment_quad(Point64 a, Point64 b, std::int64_t width, Point64 quad[4]);
// The parts of a wide pen along a path: quad(const Point64[4]) for every
// segment, then disc(centre) for every vertex (a repeated vertex once).
// Stops, returning false, as soon as a callback returns false.
template <typename Quad, typename Disc>
bool for_each_wide_part(const Point64* points, std::size_t n, bool closed, std::int64_t width,
                        Quad quad, Disc disc) {
    for (std::size_t i = 0; i < path_segments(n, closed); ++i) {
        Point64 corners[4];
        if (segment_quad(points[i], points[(i + 1) % n], width, corners) && !quad(corners))
            return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && points[i] == points[i - 1]) continue;
        if (!disc(points[i])) return false;
    }
    return true;
}
void add_disc(UnionShape& path, Point64 centre, std::int64_t width);
void add_wide_path(UnionShape& path, const Point64* points, std::size_t count, bool closed,
                   std::int64_t width);
// A one-pixel path: its lines (each line excludes its end point).
void add_thin_path(UnionShape& path, const Point64* points, std::size_t count, bool closed);

}  // namespace win::raster
