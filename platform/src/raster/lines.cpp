// The current position and the line call (raster/shapes/lines.h for one-pixel
// pens, raster/shapes/wide_pen.h for wide ones).
#include "raster/paint/draw_figure.h"

namespace win {

using namespace raster;

bool move_to(HDC hdc, int x, int y, Point* previous) {
    if (!hdc) return false;
    if (previous) *previous = hdc->position;
    hdc->position = {x, y};
    return true;
}

bool line_to(HDC hdc, int x, int y) {
    if (!hdc || !hdc->surface) return false;
    const Point64 ends[2] = {{hdc->position.x, hdc->position.y}, {x, y}};
    hdc->position = {x, y};
    const FigureColours c = pen_colours_of(*hdc);
    if (c.pen == PenMode::None || (c.pen == PenMode::Wide && ends[0] == ends[1])) return true;
    FigureKey key(FigureKey::Kind::Line, unsigned(c.pen), false, c.pen_width);
    const bool keep = key.set_points(ends, 2);
    draw_figure(*hdc, c, keep ? &key : nullptr, ends[0], [&](Figure&, Figure& pen, Point64 o) {
        const Point64 moved[2] = {{ends[0].x - o.x, ends[0].y - o.y},
                                  {ends[1].x - o.x, ends[1].y - o.y}};
        if (c.pen == PenMode::Wide) {
            pen.add_wide_path(moved, 2, false, c.pen_width);
        } else {
            pen.add_thin_path(moved, 2, false);
        }
    });
    return true;
}

}  // namespace win
