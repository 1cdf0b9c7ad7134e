// Rectangles: the one-pixel outline runs through columns left and right - 1 and
// rows top and bottom - 1; without a pen the brush stops one pixel short of the
// right and bottom edges.
#include "raster/figures.h"
#include "raster/one_colour.h"

namespace win::raster {

namespace {

std::unique_ptr<UnionShape> thin_rectangle_outline(const Box64& b) {
    auto outline = std::make_unique<UnionShape>();
    outline->add(std::make_unique<BoxShape>(b.left, b.top, b.right, b.top + 1));
    outline->add(std::make_unique<BoxShape>(b.left, b.bottom - 1, b.right, b.bottom));
    outline->add(std::make_unique<BoxShape>(b.left, b.top, b.left + 1, b.bottom));
    outline->add(std::make_unique<BoxShape>(b.right - 1, b.top, b.right, b.bottom));
    return outline;
}

std::unique_ptr<UnionShape> wide_rectangle_outline(const Box64& b, std::int64_t width) {
    const std::vector<Point64> corners{
        {b.left, b.top}, {b.right - 1, b.top}, {b.right - 1, b.bottom - 1}, {b.left, b.bottom - 1}};
    return make_wide_path(corners, true, width);
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
    const auto outline = pen.mode == PenMode::Thin ? thin_rectangle_outline(box)
                                                   : wide_rectangle_outline(box, pen.width);
    paint_figure(dc, has_brush ? &inside : nullptr, brush_pixel, outline.get(), pen.pixel);
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
