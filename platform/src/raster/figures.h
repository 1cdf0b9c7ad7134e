// What the drawing calls share: the DC's pen and brush as the raster sees
// them, and the rectangle figure that small ellipses fall back to.
#pragma once

#include <algorithm>
#include <cstdint>

#include "raster/device_context.h"
#include "raster/shapes.h"

namespace win::raster {

enum class PenMode { None, Thin, Wide };

struct PenInfo {
    PenMode mode = PenMode::None;
    std::int64_t width = 1;
    std::uint32_t pixel = 0;
};
// The DC's pen as the raster sees it.
inline PenInfo pen_info(const DeviceContext& dc) {
    PenInfo info;
    const GdiObject* pen = dc.pen;
    if (!pen || pen->kind != GdiObject::Kind::Pen || pen->pen_style == PS_NULL) return info;
    info.pixel = pixel_of(pen->color);
    info.width = std::max(pen->pen_width, 1);
    info.mode = info.width > 1 ? PenMode::Wide : PenMode::Thin;
    return info;
}

// Whether the DC's brush paints, and in which pixel value.
inline bool brush_paints(const DeviceContext& dc, std::uint32_t* pixel) {
    const GdiObject* brush = dc.brush;
    if (!brush || brush->kind != GdiObject::Kind::Brush || brush->is_null) return false;
    *pixel = pixel_of(brush->color);
    return true;
}

// The box of two corners in any order, in 64-bit coordinates.
Box64 ordered_box(int left, int top, int right, int bottom);

// Draws a rectangle figure (pen outline and brush inside) for a non-empty box.
void draw_rectangle_figure(DeviceContext& dc, const Box64& box);

}  // namespace win::raster
