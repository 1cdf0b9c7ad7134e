// The painter: every figure reaches the surface through one row loop that
// cuts to the DC's clip, visits only the visible rows, writes runs of one
// pixel value and marks the surface changed once when anything was written.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "raster/device_context.h"
#include "raster/geometry.h"
#include "raster/paint/figure.h"
#include "raster/paint/row_fill.h"

namespace win::raster {

// The pixels a DC may write: its surface bounds cut by its clip.
inline Box64 clip_of(const DeviceContext& dc) {
    const Rect b = dc_bounds(dc);
    return {b.left, b.top, b.right, b.bottom};
}

// Writes columns [x0, x1) of a row, cut to the clip; returns whether any
// pixel was written.
inline bool fill_clipped(std::uint32_t* row, std::int64_t x0, std::int64_t x1, const Box64& clip,
                         std::uint32_t pixel) {
    x0 = std::max(x0, clip.left);
    x1 = std::min(x1, clip.right);
    if (x0 >= x1) return false;
    fill_pixels(row + x0, x1 - x0, pixel);
    return true;
}

// The row loop: paint_row(y, fill) is called for every visible row of rows
// and calls fill(x0, x1, pixel) for each run it writes.  Rows are reached by
// stepping a pointer (wrapping at the end of the surface's row ring), with
// the surface's fields read once: pixel stores may alias them, so reading
// them per row would load them again.
template <typename PaintRow>
void paint_rows(DeviceContext& dc, RowRange rows, PaintRow paint_row) {
    if (!dc.surface) return;
    const Box64 clip = clip_of(dc);
    if (clip.left >= clip.right) return;
    const std::int64_t top = std::max(rows.top, clip.top);
    const std::int64_t bottom = std::min(rows.bottom, clip.bottom);
    if (top >= bottom) return;
    Surface& surface = *dc.surface;
    const std::size_t width = std::size_t(surface.width);
    std::uint32_t* const ring_start = surface.pixels.data();
    std::uint32_t* const ring_end = ring_start + width * std::size_t(surface.height);
    std::uint32_t* row = surface.row(std::int32_t(top));
    bool wrote = false;
    for (std::int64_t y = top; y < bottom; ++y) {
        paint_row(y, [&](std::int64_t x0, std::int64_t x1, std::uint32_t pixel) {
            wrote |= fill_clipped(row, x0, x1, clip, pixel);
        });
        row += width;
        if (row == ring_end) row = ring_start;
    }
    if (wrote) surface.touch();
}

// Paints a box in one pixel value: the figure of one box, which needs no
// list of parts.
inline void paint_box(DeviceContext& dc, const Box64& box, std::uint32_t pixel) {
    if (box.empty()) return;
    paint_rows(dc, {box.top, box.bottom},
               [&box, pixel](std::int64_t, auto fill) { fill(box.left, box.right, pixel); });
}

// Paints a figure in one pixel value, each pixel once.
void paint_figure(DeviceContext& dc, const Figure& figure, std::uint32_t pixel);
// Paints the pen figure in pen_pixel and the brush figure, less the pen's
// pixels, in brush_pixel: each pixel once.
void paint_figure(DeviceContext& dc, const Figure& brush, std::uint32_t brush_pixel,
                  const Figure& pen, std::uint32_t pen_pixel);

}  // namespace win::raster
