// The canvas renderer: draws one DrawCommand into the canvas with the kept
// pen and brush of its colour (or a font made for that command alone), and
// erases the canvas.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "state.h"

namespace kv390 {
namespace {

// Device coordinates are computed in 64 bits and held within the int range,
// so no drawing argument can overflow on its way to the canvas.
int device_x(std::int64_t x) {
    return clamp_to_int(lib().origin_x + x);
}
int device_y(std::int64_t y) {
    return clamp_to_int(lib().origin_y - y);
}
win::Point device_point(std::int32_t x, std::int32_t y) {
    return {device_x(x), device_y(y)};
}

void draw_figure(const DrawCommand& command, int color) {
    win::HDC dc = lib().canvas_dc;
    const bool filled = command.width == 0;
    win::HGDIOBJ brush = filled ? canvas_brush(color) : win::get_stock_object(win::NULL_BRUSH);
    win::HGDIOBJ previous_pen = win::select_object(dc, canvas_pen(color, command.width));
    win::HGDIOBJ previous_brush = win::select_object(dc, brush);

    // Rectangles and ovals cover both corners: the platform leaves out the
    // right and bottom edges of the box, hence the + 1 there.
    const int left = device_x(command.x1);
    const int top = device_y(command.y1);
    const int right = device_x(std::int64_t(command.x2) + 1);
    const int bottom = device_y(std::int64_t(command.y2) - 1);
    if (command.kind == DRAW_TRIANGLE) {
        const win::Point corners[3] = {device_point(command.x1, command.y1),
                                       device_point(command.x2, command.y2),
                                       device_point(command.x3, command.y3)};
        win::polygon(dc, corners, 3);
    } else if (command.kind == DRAW_RECTANGLE) {
        win::rectangle(dc, left, top, right, bottom);
    } else {
        win::ellipse(dc, left, top, right, bottom);
    }

    win::select_object(dc, previous_pen);
    win::select_object(dc, previous_brush);
}

void draw_line(const DrawCommand& command, int color) {
    win::HDC dc = lib().canvas_dc;
    win::HGDIOBJ previous_pen = win::select_object(dc, canvas_pen(color, command.width));
    win::move_to(dc, device_x(command.x1), device_y(command.y1), nullptr);
    win::line_to(dc, device_x(command.x2), device_y(command.y2));
    win::select_object(dc, previous_pen);
}

// Each line starts at the anchor's x; the first line stands on the anchor's
// row, every further line one text height lower.
void draw_text_lines(win::HDC dc, const DrawCommand& command, int line_height) {
    const std::string& text = command.text;
    std::size_t start = 0;
    for (std::int64_t line = 0;; ++line) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) end = text.size();
        const std::int64_t top =
            std::int64_t(lib().origin_y) - command.y1 + (line - 1) * line_height;
        win::text_out(dc, device_x(command.x1), clamp_to_int(top), text.data() + start,
                      int(end - start));
        if (last) break;
        start = end + 1;
    }
}

void draw_text(const DrawCommand& command, win::COLORREF rgb) {
    win::HDC dc = lib().canvas_dc;
    win::set_text_color(dc, rgb);
    const int previous_mode = win::get_bk_mode(dc);
    win::set_bk_mode(dc, win::TRANSPARENT);
    win::HGDIOBJ font =
        win::create_font(-command.point_size, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "KV390-font");
    win::HGDIOBJ previous_font = win::select_object(dc, font);

    win::Size extent;
    win::get_text_extent_point(dc, command.text.c_str(), int(command.text.size()), &extent);
    draw_text_lines(dc, command, extent.cy);

    win::set_bk_mode(dc, previous_mode);
    win::select_object(dc, previous_font);
    win::delete_object(font);
}

}  // namespace

void render_command(const DrawCommand& command) {
    if (lib().canvas_dc == nullptr) return tell_drawing_before_begin();
    const int color = std::clamp(command.color, 0, color_count() - 1);
    const win::COLORREF rgb = color_rgb(color);
    switch (command.kind) {
        case DRAW_TRIANGLE:
        case DRAW_RECTANGLE:
        case DRAW_OVAL:
            draw_figure(command, color);
            break;
        case DRAW_LINE:
            draw_line(command, color);
            break;
        case DRAW_PIXEL:
            win::set_pixel(lib().canvas_dc, device_x(command.x1), device_y(command.y1), rgb);
            break;
        case DRAW_TEXT:
            draw_text(command, rgb);
            break;
        default:
            break;
    }
    lib().canvas_changed = 1;
    lib().has_drawn = true;
}

void erase_canvas() {
    win::HDC dc = lib().canvas_dc;
    if (dc == nullptr) return tell_drawing_before_begin();
    win::HGDIOBJ previous_brush = win::select_object(dc, canvas_brush(WHITE));
    win::rectangle(dc, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
    win::select_object(dc, previous_brush);
    lib().canvas_changed = 1;
    lib().has_drawn = true;
}

}  // namespace kv390
