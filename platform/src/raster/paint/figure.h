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

#include "raster/geometry.h"
#include "raster/paint/arena.h"
#include "raster/paint/row_spans.h"
#include "raster/shapes/ellipse.h"
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
    // An ellipse's fill, one-pixel boundary or wide-pen ring (pen_width for rings).
    void add_ellipse(EllipsePart::Kind kind, const Box64& box, std::int64_t pen_width = 0) {
        if (kind == EllipsePart::Kind::Fill) {
            include(fills_.add(*arena_, box).rows());
            count_part(FILLS);
            most_spans_ += 1;
            return;
        }
        include(ellipse_edges_.add(*arena_, kind, box, pen_width).rows());
        count_part(ELLIPSE_EDGES);
        most_spans_ += 2;
    }
    void add_box(const Box64& box) {
        if (box.empty()) return;
        boxes_.add(*arena_, box);
        include({box.top, box.bottom});
        count_part(BOXES);
        most_spans_ += 1;
    }

    FigureArena& arena() const { return *arena_; }
    // The rows the parts cover (empty when there are none).
    RowRange rows() const { return rows_; }
    // The most spans one row may have.
    std::size_t most_spans() const { return most_spans_; }
    // Sets out to the runs of the union on row y (out has room for most_spans()).
    void row_runs(std::int64_t y, RowSpans& out) const {
        std::int64_t in_line[INLINE_CROSSINGS];
        out.clear();
        add_row_spans<ALL_KINDS>(y, out, crossings_room(in_line));
        out.merge();
    }
    // Calls use(runs_of) once, where runs_of(y, emit) calls emit(x0, x1) for
    // each run of row y, left to right.  The kinds of parts the figure holds
    // are looked at here, once, not on every row: a figure of one box, ellipse
    // fill or line has its runs already (its spans are sorted and apart) and
    // its rows are read straight from the part; the usual mixes of parts get
    // a row loop that visits only their kinds.
    template <typename Use>
    void with_runs(Use use) const {
        if (parts_ == 1) {
            switch (kinds_) {
                case BOXES:
                    // Asked only for the figure's rows, which are the box's.
                    use([&box = boxes_[0]](std::int64_t, auto emit) { emit(box.left, box.right); });
                    return;
                case FILLS:
                    use([&fill = fills_[0]](std::int64_t y, auto emit) {
                        Span s;
                        if (fill.row_span(y, &s)) emit(s.x0, s.x1);
                    });
                    return;
                case LINES:
                    use([&line = lines_[0]](std::int64_t y, auto emit) {
                        Span s;
                        if (line.row_span(y, &s)) emit(s.x0, s.x1);
                    });
                    return;
                default:
                    break;
            }
        }
        switch (kinds_) {
            case EDGES:  // a polygon's brush
                return with_gathered_runs<EDGES>(use);
            case EDGES | LINES:  // a polygon with a one-pixel pen
                return with_gathered_runs<EDGES | LINES>(use);
            case EDGES | FILLS:  // a wide pen: quads and discs
                return with_gathered_runs<EDGES | FILLS>(use);
            case LINES:  // one-pixel polylines
                return with_gathered_runs<LINES>(use);
            default:
                return with_gathered_runs<ALL_KINDS>(use);
        }
    }

  private:
    // The edges of one polygon: they end at edges_[end], and cross rows.
    struct EdgeSet {
        std::size_t end;
        RowRange rows;
    };
    static constexpr std::size_t INLINE_CROSSINGS = 16;
    // The kinds of parts, as bits.
    enum Kinds : unsigned {
        EDGES = 1,
        LINES = 2,
        FILLS = 4,
        ELLIPSE_EDGES = 8,  // ellipse boundaries and rings
        BOXES = 16,
        ALL_KINDS = 31,
    };

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
    void count_part(Kinds kind) {
        ++parts_;
        kinds_ |= kind;
    }
    // Room for the crossings of the largest edge set with a row: in_line when
    // they fit INLINE_CROSSINGS, else in the arena.
    std::int64_t* crossings_room(std::int64_t* in_line) const {
        return largest_set_ > INLINE_CROSSINGS ? crossings_ : in_line;
    }
    // Adds row y's spans from the parts of the kinds in Kinds, unsorted and
    // possibly overlapping.
    template <unsigned Kinds>
    [[gnu::always_inline]] void add_row_spans(std::int64_t y, RowSpans& out,
                                              std::int64_t* crossings) const;
    template <unsigned Kinds, typename Use>
    void with_gathered_runs(Use use) const {
        RowSpans spans(most_spans_, *arena_);
        std::int64_t in_line[INLINE_CROSSINGS];
        std::int64_t* const crossings = crossings_room(in_line);
        use([this, &spans, crossings](std::int64_t y, auto emit) {
            spans.clear();
            add_row_spans<Kinds>(y, spans, crossings);
            spans.for_each_run(emit);
        });
    }

    FigureArena* arena_;
    PartList<PolygonEdge, 16> edges_;
    PartList<EdgeSet, 4> edge_sets_;
    PartList<LineRows, 8> lines_;
    PartList<EllipseRows, 4> fills_;
    PartList<EllipsePart, 2> ellipse_edges_;
    PartList<Box64, 4> boxes_;
    RowRange rows_{0, 0};
    std::uint32_t parts_ = 0;
    unsigned kinds_ = 0;  // the Kinds of the parts, or'ed
    std::size_t most_spans_ = 0;
    // Room for the crossings of the largest edge set with a row.
    std::size_t largest_set_ = 0;
    std::int64_t* crossings_ = nullptr;  // in the arena, for sets larger than inline
};

template <unsigned Kinds>
inline void Figure::add_row_spans(std::int64_t y, RowSpans& out, std::int64_t* crossings) const {
    if constexpr ((Kinds & EDGES) != 0) {
        std::size_t first = 0;
        for (const EdgeSet& set : edge_sets_) {
            if (set.rows.holds(y)) {
                const std::size_t found =
                    row_crossings(edges_.data() + first, set.end - first, y, crossings);
                for (std::size_t i = 0; i + 1 < found; i += 2)
                    out.add(crossings[i], crossings[i + 1]);
            }
            first = set.end;
        }
    }
    Span s[2];
    if constexpr ((Kinds & LINES) != 0) {
        for (const LineRows& line : lines_) {
            if (line.row_span(y, &s[0])) out.add(s[0].x0, s[0].x1);
        }
    }
    if constexpr ((Kinds & FILLS) != 0) {
        // A wide pen's discs each cover only a few of the figure's rows.
        for (const EllipseRows& fill : fills_) {
            if (fill.rows().holds(y) && fill.row_span(y, &s[0])) out.add(s[0].x0, s[0].x1);
        }
    }
    if constexpr ((Kinds & ELLIPSE_EDGES) != 0) {
        for (const EllipsePart& ellipse : ellipse_edges_) {
            const std::size_t n = ellipse.row_spans(y, s);
            for (std::size_t i = 0; i < n; ++i) out.add(s[i].x0, s[i].x1);
        }
    }
    if constexpr ((Kinds & BOXES) != 0) {
        for (const Box64& box : boxes_) {
            if (y >= box.top && y < box.bottom) out.add(box.left, box.right);
        }
    }
}

}  // namespace win::raster
