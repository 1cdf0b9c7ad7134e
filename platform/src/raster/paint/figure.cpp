// Building a figure from its parts.
#include "raster/paint/figure.h"

#include <algorithm>

#include "raster/shapes/wide_pen.h"

namespace win::raster {

void Figure::add_polygon(const Point64* points, std::size_t n) {
    const std::size_t first = edges_.size();
    edges_.reserve(*arena_, n);
    RowRange rows{0, 0};
    for_each_edge(points, n, [&](Point64 a, Point64 b) {
        const RowRange r = edges_.add(*arena_, a, b).rows();
        rows = edges_.size() == first + 1
                   ? r
                   : RowRange{std::min(rows.top, r.top), std::max(rows.bottom, r.bottom)};
    });
    const std::size_t count = edges_.size() - first;
    if (count == 0) return;
    edge_sets_.add(*arena_, EdgeSet{edges_.size(), rows});
    count_part(EDGES);
    include(rows);
    most_spans_ += count / 2;
    if (count > largest_set_) {
        largest_set_ = count;
        if (count > INLINE_CROSSINGS) crossings_ = arena_->allocate_array<std::int64_t>(count);
    }
}

void Figure::add_thin_path(const Point64* points, std::size_t n, bool closed) {
    const std::size_t segments = path_segments(n, closed);
    lines_.reserve(*arena_, segments);
    for (std::size_t i = 0; i < segments; ++i) {
        include(lines_.add(*arena_, points[i], points[(i + 1) % n]).rows());
        count_part(LINES);
    }
    most_spans_ += segments;
}

void Figure::add_wide_path(const Point64* points, std::size_t n, bool closed, std::int64_t width) {
    for_each_wide_part(
        points, n, closed, width, [this](const Point64* quad) { add_polygon(quad, 4); },
        [this, width](Point64 centre) {
            add_ellipse(EllipsePart::Kind::Fill, disc_box(centre, width));
        });
}

}  // namespace win::raster
