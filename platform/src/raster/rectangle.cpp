// Rectangles: the one-pixel outline runs through columns left and right - 1 and
// rows top and bottom - 1; without a pen the brush stops one pixel short of the
// right and bottom edges.
#include "raster/figures.h"
#include "raster/one_colour.h"

namespace win::raster {

namespace {

void add_thin_rectangle_outline(UnionShape& outline, const Box64& b) {
    outline.reserve(4);
    outline.add<BoxShape>(b.left, b.top, b.right, b.top + 1);
    outline.add<BoxShape>(b.left, b.bottom - 1, b.right, b.bottom);
    outline.add<BoxShape>(b.left, b.top, b.left + 1, b.bottom);
    outline.add<BoxShape>(b.right - 1, b.top, b.right, b.bottom);
}

void add_wide_rectangle_outline(UnionShape& outline, const Box64& b, std::int64_t width) {
    const Point64 corners[4] = {
        {b.left, b.top}, {b.right - 1, b.top}, {b.right - 1, b.bottom - 1}, {b.left, b.bottom - 1}};
    add_wide_path(outline, corners, 4, true, width);
}

}  // namespace

void draw_rectangle_figure(DeviceContext& dc, const Box64& box) {
    const PenInfo pen = pen_info(dc);
    std::uint32_t brush_pixel = 0;
    const bool has_brush = brush_paints(dc, &brush_pixel);
    if (pen.mode == PenMode::None) {
        if (has_brush)
            paint_box(dc, {box.left, box.top, box.right - 1, box.bottom - 1}, brush_pixel);
        return;
    }
    if (pen.mode == PenMode::Thin && has_brush && pen.pixel == brush_pixel) {
        // Outline and inside in one colour: the whole box.
        paint_box(dc, box, brush_pixel);
        return;
    }
    const BoxShape inside(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
    FigureArena arena;
    UnionShape outline(arena);
    if (pen.mode == PenMode::Thin) {
        add_thin_rectangle_outline(outline, box);
    } else {
        add_wide_rectangle_outline(outline, box, pen.width);
    }
    paint_figure(dc, has_brush ? &inside : nullptr, brush_pixel, &outline, pen.pixel);
}

}  // namespace win::raster

namespace win {

bool rectangle(HDC hdc, int left, int top, int right, int bottom) {
    if (!hdc || !hdc->surface) return false;
    const raster::Box64 box = raster::ordered_box(left, top, right, bottom);
    if (!box.empty()) raster::draw_rectangle_figure(*hdc, box);
    return true;
}

}  // namespace win
