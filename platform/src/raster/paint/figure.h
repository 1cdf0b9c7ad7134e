// A figure: the union of a closed set of parts, each known row by row by a
// coverage rule (raster/shapes): polygon edge sets (even-odd), one-pixel
// lines, ellipse parts and boxes.  Parts live inline for the few a drawing
// call usually makes and spill to the arena for long paths.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "raster/paint/arena.h"
#include "raster/paint/row_spans.h"
#include "raster/shapes/ellipse.h"
#include "raster/geometry.h"
#include "raster/shapes/lines.h"
#include "raster/shapes/polygon_edges.h"

namespace win::raster {

// Up to N parts inline, more in the arena.  Storage not yet used is left
// untouched, so an empty list costs nothing to make.
template <typename T, std::size_t N>
class PartList {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

  public:
    PartList() {}
    PartList(const PartList&) = delete;
    PartList& operator=(const PartList&) = delete;

    // Room for n more parts.
    void reserve(FigureArena& arena, std::size_t n) {
        if (n > capacity_ - count_) grow(arena, count_ + n);
    }
    template <typename... Args>
    const T& add(FigureArena& arena, Args&&... args) {
        if (count_ == capacity_) grow(arena, 2 * capacity_);
        return *new (items_ + count_++) T(std::forward<Args>(args)...);
    }
    std::size_t size() const { return count_; }
    const T& operator[](std::size_t i) const { return items_[i]; }
    const T* data() const { return items_; }
    const T* begin() const { return items_; }
    const T* end() const { return items_ + count_; }

  private:
    void grow(FigureArena& arena, std::size_t capacity) {
        T* more = arena.allocate_array<T>(capacity);
        if (count_ > 0) std::memcpy(static_cast<void*>(more), items_, count_ * sizeof(T));
        items_ = more;
        capacity_ = capacity;
    }

    T* items_ = inline_;
    std::size_t count_ = 0, capacity_ = N;
    union {
        T inline_[N];
    };
};

class Figure {
  public:
    explicit Figure(FigureArena& arena) : arena_(&arena) {}
    Figure(const Figure&) = delete;
    Figure& operator=(const Figure&) = delete;

    // The even-odd fill of a closed polygon.
    void add_polygon(const Point64* points, std::size_t count);
    // One-pixel lines through consecutive points (closing the path when asked);
    // each line leaves out its end point.
    void add_thin_path(const Point64* points, std::size_t count, bool closed);
    // A wide pen along the path: segment quads and a disc at every vertex.
    void add_wide_path(const Point64* points, std::size_t count, bool closed, std::int64_t width);
    void add_ellipse(EllipsePart::Kind kind, const Box64& box, std::int64_t pen_width = 0) {
        include(ellipses_.add(*arena_, kind, box, pen_width).rows());
        count_part(Single::Ellipse);
        most_spans_ += 2;
    }
    void add_box(const Box64& box) {
        if (box.empty()) return;
        boxes_.add(*arena_, box);
        include({box.top, box.bottom});
        count_part(Single::Box);
        most_spans_ += 1;
    }

    FigureArena& arena() const { return *arena_; }
    // The rows the parts cover (empty when there are none).
    RowRange rows() const { return rows_; }
    // The most spans add_row_spans may add for one row.
    std::size_t most_spans() const { return most_spans_; }
    // Adds row y's spans, unsorted and possibly overlapping.
    void add_row_spans(std::int64_t y, RowSpans& out) const;
    // Sets out to the runs of the union on row y (out has room for most_spans()).
    void row_runs(std::int64_t y, RowSpans& out) const {
        out.clear();
        add_row_spans(y, out);
        out.merge();
    }
    // Calls use(runs_of) once, where runs_of(y, emit) calls emit(x0, x1) for
    // each run of row y, left to right.  A
    // figure of one box, ellipse part or line has its runs already (its spans
    // are sorted and apart), so its rows are read straight from the part.
    template <typename Use>
    void with_runs(Use use) const {
        switch (single_) {
            case Single::Box:
                // Asked only for the figure's rows, which are the box's.
                use([&box = boxes_[0]](std::int64_t, auto emit) { emit(box.left, box.right); });
                return;
            case Single::Ellipse:
                use([&ellipse = ellipses_[0]](std::int64_t y, auto emit) {
                    Span s[2];
                    const std::size_t n = ellipse.row_spans(y, s);
                    for (std::size_t i = 0; i < n; ++i) emit(s[i].x0, s[i].x1);
                });
                return;
            case Single::Line:
                use([&line = lines_[0]](std::int64_t y, auto emit) {
                    Span s;
                    if (line.row_span(y, &s)) emit(s.x0, s.x1);
                });
                return;
            case Single::None: {
                RowSpans buffer(most_spans_, *arena_);
                use([this, &buffer](std::int64_t y, auto emit) {
                    buffer.clear();
                    add_row_spans(y, buffer);
                    buffer.for_each_run(emit);
                });
                return;
            }
        }
    }

  private:
    // The edges of one polygon: they end at edges_[end], and cross rows.
    struct EdgeSet {
        std::size_t end;
        RowRange rows;
    };
    static constexpr std::size_t INLINE_CROSSINGS = 16;

    enum class Single : std::uint8_t { None, Box, Ellipse, Line };
    // Widens the figure's rows to cover rows.
    void include(RowRange rows) {
        if (rows.empty()) return;
        if (rows_.empty()) {
            rows_ = rows;
            return;
        }
        rows_.top = std::min(rows_.top, rows.top);
        rows_.bottom = std::max(rows_.bottom, rows.bottom);
    }
    // Counts a part of that kind.
    void count_part(Single kind) { single_ = parts_++ == 0 ? kind : Single::None; }

    FigureArena* arena_;
    PartList<PolygonEdge, 16> edges_;
    PartList<EdgeSet, 4> edge_sets_;
    PartList<LineRows, 8> lines_;
    PartList<EllipsePart, 4> ellipses_;
    PartList<Box64, 4> boxes_;
    RowRange rows_{0, 0};
    std::size_t parts_ = 0;
    Single single_ = Single::None;  // the kind of the only part
    std::size_t most_spans_ = 0;
    // Room for the crossings of the largest edge set with a row.
    std::size_t largest_set_ = 0;
    std::int64_t* crossings_ = nullptr;  // in the arena, for sets larger than inline
};

}  // namespace win::raster
