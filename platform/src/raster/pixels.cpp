// Single pixels and brush-filled rectangles.
#include <algorithm>

#include "raster/paint/draw_figure.h"

namespace win {

namespace {

bool inside(const Rect& bounds, int x, int y) {
    return x >= bounds.left && x < bounds.right && y >= bounds.top && y < bounds.bottom;
}

}  // namespace

COLORREF set_pixel(HDC hdc, int x, int y, COLORREF color) {
    if (!hdc || !hdc->surface || !inside(dc_bounds(*hdc), x, y)) return 0xFFFFFFFFu;
    color &= 0xFFFFFFu;
    hdc->surface->row(y)[x] = pixel_of(color);
    hdc->surface->touch();
    return color;
}

COLORREF get_pixel(HDC hdc, int x, int y) {
    if (!hdc || !hdc->surface || !inside(dc_bounds(*hdc), x, y)) return 0xFFFFFFFFu;
    return colorref_of(hdc->surface->row(y)[x]);
}

bool fill_rect(HDC hdc, const Rect* rect, HGDIOBJ brush) {
    if (!hdc || !hdc->surface || !rect || !brush || brush->kind != GdiObject::Kind::Brush) {
        return false;
    }
    if (brush->is_null) return true;
    const raster::Box64 box{rect->left, rect->top, rect->right, rect->bottom};
    raster::paint_box(*hdc, box, pixel_of(brush->color));
    return true;
}

}  // namespace win
