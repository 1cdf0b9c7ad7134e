// One-colour figures of a few parts (a filled triangle with its outline, a
// short wide line with its round caps), painted row by row from fixed-size
// storage: no arena, no virtual calls, no span lists.  They are most of what
// a busy picture draws.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "raster/figure_cache.h"
#include "raster/shapes.h"

namespace win::raster {

// Up to N parts built in place: storage for parts not yet added is left
// untouched, so an empty list costs nothing to make.
template <typename T, std::size_t N>
class InlineParts {
  public:
    InlineParts() {}
    InlineParts(const InlineParts&) = delete;
    InlineParts& operator=(const InlineParts&) = delete;
    ~InlineParts() {
        for (std::size_t i = 0; i < count_; ++i) items_[i].~T();
    }
    bool full() const { return count_ == N; }
    std::size_t size() const { return count_; }
    std::size_t room() const { return N - count_; }
    template <typename... Args>
    const T& add(Args&&... args) {
        return *new (&items_[count_++]) T(std::forward<Args>(args)...);
    }
    const T& operator[](std::size_t i) const { return items_[i]; }
    const T* data() const { return items_; }

  private:
    union {
        T items_[N];
    };
    std::size_t count_ = 0;
};

class SmallFigure {
  public:
    static constexpr std::size_t MAX_EDGES = 16, MAX_POLYGONS = 4, MAX_LINES = 8, MAX_DISCS = 4;

    // Each add returns false, adding nothing, when the part does not fit; the
    // caller then draws the figure with the general shapes.
    // The even-odd fill of a closed polygon.
    bool add_polygon(const Point64* points, std::size_t count);
    // One-pixel lines through consecutive points (closing the path when asked).
    bool add_thin_path(const Point64* points, std::size_t count, bool closed);
    // A wide pen along the path: segment quads and a disc at every vertex.
    bool add_wide_path(const Point64* points, std::size_t count, bool closed, std::int64_t width);

    // The rows the parts cover (empty when there are none).
    RowRange rows() const { return has_rows_ ? rows_ : RowRange{0, 0}; }
    // The union of the parts in one pixel value, each pixel once, cut to the
    // DC's clip; bumps the surface version when anything visible was written.
    void paint(DeviceContext& dc, std::uint32_t pixel) const;
    // Calls emit(y, x0, x1) for every run of the union on rows [top, bottom),
    // left to right: overlapping and touching spans merged, empty ones left out.
    template <typename Emit>
    void for_each_run(std::int64_t top, std::int64_t bottom, Emit emit) const;

  private:
    // A row's spans as two columns of starts and ends: sorting them moves single
    // values, which the processor forwards from store to load without stalling.
    struct RowSpans {
        static constexpr std::size_t MOST = MAX_EDGES / 2 + MAX_LINES + MAX_DISCS;
        std::int64_t x0[MOST], x1[MOST];
        std::size_t count = 0;
        void add(std::int64_t start, std::int64_t end) {
            x0[count] = start;
            x1[count] = end;
            ++count;
        }
        void add(const Span& s) { add(s.x0, s.x1); }
        void sort();
    };

    bool add_edges(const Point64* points, std::size_t count);
    bool add_disc(Point64 centre, std::int64_t width);
    void include(RowRange rows);
    // The row's spans, unsorted and possibly overlapping.
    void row_spans(std::int64_t y, RowSpans& out) const;

    InlineParts<PolygonEdge, MAX_EDGES> edges_;
    std::array<std::size_t, MAX_POLYGONS> polygon_ends_;  // each polygon's edges end here
    std::size_t polygon_count_ = 0;
    InlineParts<LineRows, MAX_LINES> lines_;
    InlineParts<EllipseShape, MAX_DISCS> discs_;
    RowRange rows_{0, 0};
    bool has_rows_ = false;
};

// Stores the figure's runs; false when they do not fit.
bool record_runs(const SmallFigure& figure, FigureRuns& out);

// Paints the small figure that build(figure, points) makes of n points in
// pixel: from the runs kept for its shape (anchored at points[0]) when the
// shape can be kept, else directly.  build returns false when the parts do
// not fit a small figure, and so does this, having painted nothing.
template <typename Build>
bool paint_small_figure(DeviceContext& dc, FigureKey key, const Point64* points, std::size_t n,
                        std::uint32_t pixel, Build build) {
    if (key.set_points(points, n)) {
        const Point64 anchor = points[0];
        const FigureRuns& runs = figure_runs(key, [&](FigureRuns& out) {
            Point64 relative[FigureKey::MOST_POINTS];
            for (std::size_t i = 0; i < n; ++i)
                relative[i] = {points[i].x - anchor.x, points[i].y - anchor.y};
            SmallFigure figure;
            return build(figure, relative) && record_runs(figure, out);
        });
        if (runs.kept) {
            paint_runs(dc, runs, anchor, pixel);
            return true;
        }
    }
    SmallFigure figure;
    if (!build(figure, points)) return false;
    figure.paint(dc, pixel);
    return true;
}

template <typename Emit>
void SmallFigure::for_each_run(std::int64_t top, std::int64_t bottom, Emit emit) const {
    RowSpans spans;
    for (std::int64_t y = top; y < bottom; ++y) {
        row_spans(y, spans);
        if (spans.count == 0) continue;
        spans.sort();
        bool open = false;
        std::int64_t run0 = 0, run1 = 0;
        for (std::size_t i = 0; i < spans.count; ++i) {
            if (spans.x1[i] <= spans.x0[i]) continue;
            if (open && spans.x0[i] <= run1) {
                run1 = std::max(run1, spans.x1[i]);
                continue;
            }
            if (open) emit(y, run0, run1);
            run0 = spans.x0[i];
            run1 = spans.x1[i];
            open = true;
        }
        if (open) emit(y, run0, run1);
    }
}

}  // namespace win::raster
