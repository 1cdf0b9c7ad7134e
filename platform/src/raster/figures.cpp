// The DC's pen and brush as the raster sees them.
#include "raster/figures.h"

#include <algorithm>

namespace win::raster {

PenInfo pen_info(const DeviceContext& dc) {
    PenInfo info;
    const GdiObject* pen = dc.pen;
    if (!pen || pen->kind != GdiObject::Kind::Pen || pen->pen_style == PS_NULL) return info;
    info.pixel = pixel_of(pen->color);
    info.width = std::max(pen->pen_width, 1);
    info.mode = info.width > 1 ? PenMode::Wide : PenMode::Thin;
    return info;
}

bool brush_paints(const DeviceContext& dc, std::uint32_t* pixel) {
    const GdiObject* brush = dc.brush;
    if (!brush || brush->kind != GdiObject::Kind::Brush || brush->is_null) return false;
    *pixel = pixel_of(brush->color);
    return true;
}

Box64 ordered_box(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

}  // namespace win::raster
