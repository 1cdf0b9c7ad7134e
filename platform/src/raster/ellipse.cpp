// The ellipse call: brush fill and pen outline or ring (raster/shapes/ellipse.h).
#include "raster/paint/draw_figure.h"
#include "raster/rectangle_figure.h"
#include "raster/shapes/box.h"

namespace win {

using namespace raster;

namespace {

// A filled ellipse of one colour, kept by its size.
void draw_filled_ellipse(DeviceContext& dc, const FigureColours& colours, const Box64& box) {
    FigureKey key(FigureKey::Kind::Ellipse, 0, true, 0);
    const bool keep = key.set_size(box.width(), box.height());
    draw_figure(dc, colours, keep ? &key : nullptr, {box.left, box.top},
                [&box](Figure& brush, Figure&, Point64 o) {
                    brush.add_ellipse(EllipsePart::Kind::Fill, box.shifted(-o.x, -o.y));
                });
}

}  // namespace

bool ellipse(HDC hdc, int left, int top, int right, int bottom) {
    if (!hdc || !hdc->surface) return false;
    const Box64 box = ordered_box(left, top, right, bottom);
    if (box.empty()) return true;
    const FigureColours c = colours_of(*hdc);
    if (box.width() <= 2 || box.height() <= 2) {
        draw_rectangle_figure(*hdc, box, c);
        return true;
    }
    if (c.pen == PenMode::None) {
        // Without a pen the brush covers the box less one pixel right and bottom.
        if (c.brush) draw_filled_ellipse(*hdc, c, brush_without_pen(box));
        return true;
    }
    if (c.pen == PenMode::Thin && c.brush && c.one_colour()) {
        // The thin outline lies inside the fill: one colour paints the fill alone.
        draw_filled_ellipse(*hdc, c, box);
        return true;
    }
    draw_figure(*hdc, c, nullptr, {}, [&](Figure& brush, Figure& pen, Point64) {
        if (c.brush) brush.add_ellipse(EllipsePart::Kind::Fill, box);
        if (c.pen == PenMode::Thin) {
            pen.add_ellipse(EllipsePart::Kind::Outline, box);
        } else {
            pen.add_ellipse(EllipsePart::Kind::Ring, box, c.pen_width);
        }
    });
    return true;
}

}  // namespace win
