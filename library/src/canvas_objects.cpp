// The pens and brushes the renderer keeps instead of making a pair for every
// figure.  They are selected only while one figure is drawn, so the pen kept
// for an uncommon width can be deleted and replaced when another one is asked for.
#include "state.h"

namespace kv390 {

win::HGDIOBJ canvas_pen(int color, int width) {
    CanvasObjects& kept = lib().canvas_objects;
    const bool common = width >= 0 && width < KEPT_PEN_WIDTHS;
    win::HGDIOBJ& pen = common ? kept.pens[color][width] : kept.wide_pens[color];
    if (pen != nullptr && (common || kept.wide_pen_widths[color] == width)) return pen;
    if (pen != nullptr) win::delete_object(pen);
    pen = win::create_pen(win::PS_SOLID, width, color_rgb(color));
    if (!common) kept.wide_pen_widths[color] = width;
    return pen;
}

win::HGDIOBJ canvas_brush(int color) {
    win::HGDIOBJ& brush = lib().canvas_objects.brushes[color];
    if (brush == nullptr) brush = win::create_solid_brush(color_rgb(color));
    return brush;
}

void forget_canvas_objects() {
    lib().canvas_objects = CanvasObjects{};
}

}  // namespace kv390
