// The public drawing primitives: correct and report unusable arguments,
// describe the call while logging is on, and render one DrawCommand.
#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "log_line.h"
#include "state.h"

namespace kv390 {
namespace {

constexpr int MAX_POINT_SIZE = 127;

bool logging() {
    return lib().logging_on == 1;
}

// The magnitude of a negative value; INT_MIN has no int magnitude and
// becomes INT_MAX.
int magnitude(int value) {
    return value == INT_MIN ? INT_MAX : -value;
}

int check_color(int color) {
    if (color >= 0 && color < color_count()) return color;
    KV390_log("Illegal color %d; using RED.\n", color);
    return RED;
}

int check_radius(int radius) {
    if (radius >= 0) return radius;
    KV390_log("Radius of %d not possible, using radius %d\n", radius, magnitude(radius));
    return magnitude(radius);
}

int check_width(int width) {
    if (width >= 0) return width;
    KV390_log("Width of %d not possible, using width %d\n", width, magnitude(width));
    return magnitude(width);
}

int check_point_size(int size) {
    if (size < 0) {
        KV390_log("ptsize of %d not possible, using ptsize %d\n", size, magnitude(size));
        size = magnitude(size);
    }
    if (size > MAX_POINT_SIZE) {
        KV390_log("ptsize of %d not possible, using ptsize %d\n", size, MAX_POINT_SIZE);
        size = MAX_POINT_SIZE;
    }
    return size;
}

// Upper-left corner first, lower-right second.
void sort_corners(KV390_point& p1, KV390_point& p2) {
    if (p1.x > p2.x) std::swap(p1.x, p2.x);
    if (p1.y < p2.y) std::swap(p1.y, p2.y);
}

DrawCommand box_command(DrawKind kind, int color, KV390_point p1, KV390_point p2, int width) {
    DrawCommand command;
    command.kind = kind;
    command.color = color;
    command.width = width;
    command.x1 = p1.x;
    command.y1 = p1.y;
    command.x2 = p2.x;
    command.y2 = p2.y;
    return command;
}

void log_box(const char* shape, const char* width_phrase, int color, KV390_point p1, KV390_point p2,
             int width) {
    if (!logging()) return;
    LogLine line;
    line.text(color_name(color)).text(" ").text(shape).text(" with bounding box ");
    line.point(p1).text(" to ").point(p2);
    if (width == 0) {
        line.text(", filled\n");
    } else {
        line.text(width_phrase).text(" ").number(width).text("\n");
    }
    line.log();
}

// Formats into the one-message area; a longer result is cut to 1023
// characters.  Returns what the formatter reported.
int format_message(char (&area)[FORMAT_AREA_SIZE], const char* format, std::va_list values) {
    const int length = std::vsnprintf(area, sizeof area, format, values);
    if (length < 0) area[0] = '\0';
    return length;
}

}  // namespace
}  // namespace kv390

using kv390::lib;

int KV390_pixel_pt(int color, KV390_point point) {
    color = kv390::check_color(color);
    if (kv390::logging())
        kv390::LogLine()
            .text(kv390::color_name(color))
            .text(" pixel at ")
            .point(point)
            .text("\n")
            .log();
    kv390::render_command(kv390::box_command(kv390::DRAW_PIXEL, color, point, point, 0));
    return 1;
}

int KV390_circle_pt(int color, KV390_point centre, int radius) {
    color = kv390::check_color(color);
    radius = kv390::check_radius(radius);
    if (kv390::logging()) {
        kv390::LogLine line;
        line.text(kv390::color_name(color)).text(" circle at ").point(centre);
        line.text(", radius ").number(radius).text("\n").log();
    }
    const KV390_point upper_left = {kv390::clamp_to_int(std::int64_t(centre.x) - radius),
                                    kv390::clamp_to_int(std::int64_t(centre.y) + radius)};
    const KV390_point lower_right = {kv390::clamp_to_int(std::int64_t(centre.x) + radius),
                                     kv390::clamp_to_int(std::int64_t(centre.y) - radius)};
    kv390::render_command(kv390::box_command(kv390::DRAW_OVAL, color, upper_left, lower_right, 0));
    return 1;
}

int KV390_triangle_pt(int color, KV390_point p1, KV390_point p2, KV390_point p3, int width) {
    color = kv390::check_color(color);
    width = kv390::check_width(width);
    if (kv390::logging()) {
        kv390::LogLine line;
        line.text(kv390::color_name(color)).text(" triangle at ").point(p1).text(", ").point(p2);
        line.text(", ").point(p3).text("\n").log();
    }
    kv390::DrawCommand command = kv390::box_command(kv390::DRAW_TRIANGLE, color, p1, p2, width);
    command.x3 = p3.x;
    command.y3 = p3.y;
    kv390::render_command(command);
    return 1;
}

int KV390_rectangle_pt(int color, KV390_point p1, KV390_point p2, int width) {
    kv390::sort_corners(p1, p2);
    color = kv390::check_color(color);
    width = kv390::check_width(width);
    kv390::log_box("rectangle", " with line width", color, p1, p2, width);
    kv390::render_command(kv390::box_command(kv390::DRAW_RECTANGLE, color, p1, p2, width));
    return 1;
}

int KV390_oval_pt(int color, KV390_point p1, KV390_point p2, int width) {
    kv390::sort_corners(p1, p2);
    width = kv390::check_width(width);
    color = kv390::check_color(color);
    kv390::log_box("oval", ", line width", color, p1, p2, width);
    kv390::render_command(kv390::box_command(kv390::DRAW_OVAL, color, p1, p2, width));
    return 1;
}

int KV390_line_pt(int color, KV390_point p1, KV390_point p2, int width) {
    width = kv390::check_width(width);
    color = kv390::check_color(color);
    if (kv390::logging()) {
        kv390::LogLine line;
        line.text(kv390::color_name(color)).text(" line from ").point(p1).text(" to ").point(p2);
        line.text(", width ").number(width).text("\n").log();
    }
    // Width 0 asks for the thinnest line.
    kv390::render_command(
        kv390::box_command(kv390::DRAW_LINE, color, p1, p2, width == 0 ? 1 : width));
    return 1;
}

int KV390_text_pt(int color, KV390_point point, int point_size, const char* text) {
    if (text == nullptr) text = "";
    point_size = kv390::check_point_size(point_size);
    color = kv390::check_color(color);
    if (kv390::logging()) {
        kv390::LogLine line;
        line.text(kv390::color_name(color)).text(" text at ").point(point).text(", \"");
        line.text(text).text("\"\n").log();
    }
    kv390::DrawCommand command;
    command.kind = kv390::DRAW_TEXT;
    command.color = color;
    command.x1 = point.x;
    command.y1 = point.y;
    command.point_size = point_size;
    command.text = text;
    kv390::render_command(command);
    return 1;
}

int KV390_textf_pt(int color, KV390_point point, int point_size, const char* format, ...) {
    char area[kv390::FORMAT_AREA_SIZE];
    std::va_list values;
    va_start(values, format);
    const int length = kv390::format_message(area, format, values);
    va_end(values);
    KV390_text_pt(color, point, point_size, area);
    return length;
}

int KV390_pixel(int color, int x, int y) {
    return KV390_pixel_pt(color, {x, y});
}

int KV390_circle(int color, int x, int y, int radius) {
    return KV390_circle_pt(color, {x, y}, radius);
}

int KV390_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
    return KV390_triangle_pt(color, {x1, y1}, {x2, y2}, {x3, y3}, width);
}

int KV390_rectangle(int color, int x1, int y1, int x2, int y2, int width) {
    return KV390_rectangle_pt(color, {x1, y1}, {x2, y2}, width);
}

int KV390_oval(int color, int x1, int y1, int x2, int y2, int width) {
    return KV390_oval_pt(color, {x1, y1}, {x2, y2}, width);
}

int KV390_line(int color, int x1, int y1, int x2, int y2, int width) {
    return KV390_line_pt(color, {x1, y1}, {x2, y2}, width);
}

int KV390_text(int color, int x, int y, int point_size, const char* text) {
    return KV390_text_pt(color, {x, y}, point_size, text);
}

int KV390_textf(int color, int x, int y, int point_size, const char* format, ...) {
    char area[kv390::FORMAT_AREA_SIZE];
    std::va_list values;
    va_start(values, format);
    const int length = kv390::format_message(area, format, values);
    va_end(values);
    KV390_text(color, x, y, point_size, area);
    return length;
}

int KV390_clear(void) {
    if (kv390::logging()) KV390_log("Clearing the graphics window\n");
    kv390::erase_canvas();
    return 1;
}

int KV390_undo(void) {
    KV390_log("KV390_undo is no longer supported.\n");
    return 1;
}
