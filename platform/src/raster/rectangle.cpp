// The rectangle call: pen outline and brush inside (raster/shapes/box.h).
#include "raster/paint/draw_figure.h"
#include "raster/rectangle_figure.h"
#include "raster/shapes/box.h"
#include "raster/shapes/wide_pen.h"

namespace win::raster {

void draw_rectangle_figure(DeviceContext& dc, const Box64& box, const FigureColours& c) {
    if (c.pen == PenMode::None || (c.pen == PenMode::Thin && c.brush && c.one_colour())) {
        // One box: the brush alone, or outline and inside in one colour.
        const Box64 whole = c.pen == PenMode::None ? brush_without_pen(box) : box;
        paint_box(dc, whole, c.pixel());
        return;
    }
    draw_figure(dc, c, nullptr, {}, [&](Figure& brush, Figure& pen, Point64) {
        if (c.brush) brush.add_box(inside_outline(box));
        if (c.pen == PenMode::Thin) {
            Box64 sides[4];
            thin_outline(box, sides);
            for (const Box64& side : sides) pen.add_box(side);
        } else {
            Point64 corners[4];
            outline_path(box, corners);
            pen.add_wide_path(corners, 4, true, c.pen_width);
        }
    });
}

}  // namespace win::raster

namespace win {

bool rectangle(HDC hdc, int left, int top, int right, int bottom) {
    if (!hdc || !hdc->surface) return false;
    const raster::Box64 box = raster::ordered_box(left, top, right, bottom);
    const raster::FigureColours colours = raster::colours_of(*hdc);
    if (!box.empty()) raster::draw_rectangle_figure(*hdc, box, colours);
    return true;
}

}  // namespace win
