// Small one-colour figures: parts kept in fixed arrays, each row's spans
// gathered, sorted and merged on the stack, then written.
#include "raster/small_figure.h"

#include <algorithm>

namespace win::raster {

void SmallFigure::include(RowRange rows) {
    if (rows.empty()) return;
    if (!has_rows_) {
        rows_ = rows;
        has_rows_ = true;
        return;
    }
    rows_.top = std::min(rows_.top, rows.top);
    rows_.bottom = std::max(rows_.bottom, rows.bottom);
}

bool SmallFigure::add_edges(const Point64* points, std::size_t n) {
    if (polygon_count_ == MAX_POLYGONS || n > edges_.room()) return false;
    for_each_edge(points, n, [this](Point64 a, Point64 b) {
        const PolygonEdge& e = edges_.add(a, b);
        include({e.top(), e.bottom()});
    });
    polygon_ends_[polygon_count_++] = edges_.size();
    return true;
}

bool SmallFigure::add_polygon(const Point64* points, std::size_t n) {
    return add_edges(points, n);
}

bool SmallFigure::add_thin_path(const Point64* points, std::size_t n, bool closed) {
    const std::size_t segments = path_segments(n, closed);
    if (segments > lines_.room()) return false;
    for (std::size_t i = 0; i < segments; ++i)
        include(lines_.add(points[i], points[(i + 1) % n]).rows());
    return true;
}

bool SmallFigure::add_disc(Point64 centre, std::int64_t width) {
    if (discs_.full()) return false;
    const Box64 box = disc_box(centre, width);
    discs_.add(box);
    include({box.top, box.bottom});
    return true;
}

bool SmallFigure::add_wide_path(const Point64* points, std::size_t n, bool closed,
                                std::int64_t width) {
    return for_each_wide_part(
        points, n, closed, width, [this](const Point64* quad) { return add_edges(quad, 4); },
        [this, width](Point64 centre) { return add_disc(centre, width); });
}

void SmallFigure::RowSpans::sort() {
    for (std::size_t i = 1; i < count; ++i) {
        const std::int64_t start = x0[i], end = x1[i];
        std::size_t j = i;
        for (; j > 0 && start < x0[j - 1]; --j) {
            x0[j] = x0[j - 1];
            x1[j] = x1[j - 1];
        }
        x0[j] = start;
        x1[j] = end;
    }
}

void SmallFigure::row_spans(std::int64_t y, RowSpans& out) const {
    out.count = 0;
    std::size_t first_edge = 0;
    for (std::size_t p = 0; p < polygon_count_; ++p) {
        std::int64_t crossings[MAX_EDGES];
        const std::size_t found =
            row_crossings(edges_.data() + first_edge, polygon_ends_[p] - first_edge, y, crossings);
        first_edge = polygon_ends_[p];
        for (std::size_t i = 0; i + 1 < found; i += 2) out.add(crossings[i], crossings[i + 1]);
    }
    Span s;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].row_span(y, &s)) out.add(s);
    }
    for (std::size_t i = 0; i < discs_.size(); ++i) {
        if (discs_[i].row_span(y, &s)) out.add(s);
    }
}

void SmallFigure::paint(DeviceContext& dc, std::uint32_t pixel) const {
    if (!dc.surface || !has_rows_) return;
    const Box64 clip = clip_of(dc);
    if (clip.left >= clip.right) return;
    bool wrote = false;
    for_each_run(std::max(rows_.top, clip.top), std::min(rows_.bottom, clip.bottom),
                 [&](std::int64_t y, std::int64_t x0, std::int64_t x1) {
                     wrote |= fill_clipped(dc.surface->row(std::int32_t(y)), x0, x1, clip, pixel);
                 });
    if (wrote) dc.surface->touch();
}

bool record_runs(const SmallFigure& figure, FigureRuns& out) {
    bool fits = true;
    const RowRange rows = figure.rows();
    figure.for_each_run(rows.top, rows.bottom,
                        [&](std::int64_t y, std::int64_t x0, std::int64_t x1) {
                            fits = fits && out.add(y, x0, x1);
                        });
    return fits;
}

}  // namespace win::raster
