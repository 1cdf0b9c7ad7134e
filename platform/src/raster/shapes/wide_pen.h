// The wide solid pen rule: along a path, a quad of the pen's width centred on
// every segment and a round disc at every vertex (caps of open paths and joins
// alike); the pen covers their union.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/geometry.h"

namespace win::raster {

// The box of a round disc of diameter width centred on a point; for an even
// width the extra pixel falls toward the top-left.
Box64 disc_box(Point64 centre, std::int64_t width);
// The quad of a segment a-b; false when a == b (the segment has no direction).
bool segment_quad(Point64 a, Point64 b, std::int64_t width, Point64 quad[4]);

// The parts of a wide pen along a path: quad(const Point64[4]) for every
// segment, then disc(centre) for every vertex (a repeated vertex once).
template <typename Quad, typename Disc>
void for_each_wide_part(const Point64* points, std::size_t n, bool closed, std::int64_t width,
                        Quad quad, Disc disc) {
    for (std::size_t i = 0; i < path_segments(n, closed); ++i) {
        Point64 corners[4];
        if (segment_quad(points[i], points[(i + 1) % n], width, corners)) quad(corners);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && points[i] == points[i - 1]) continue;
        disc(points[i]);
    }
}

}  // namespace win::raster
