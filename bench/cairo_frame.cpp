// Cairo versions of the library's figures.  Boxes, ovals and circles cover
// the same pixels as the library's (both corners included); triangles are
// filled through the pixel centres of their corners, lines are stroked
// through pixel centres with round caps when wide, as the library's wide pens.
#include "cairo_frame.h"

#include <algorithm>
#include <cmath>

#include "state.h"

namespace bench {
namespace {

constexpr int ORIGIN_X = 297;
constexpr int ORIGIN_Y = 248;

double device_x(int x) {
    return double(ORIGIN_X) + x;
}
double device_y(int y) {
    return double(ORIGIN_Y) - y;
}

}  // namespace

CairoCanvas::CairoCanvas()
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kv390::CANVAS_WIDTH,
                                          kv390::CANVAS_HEIGHT)),
      cr_(cairo_create(surface_)) {
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
    cairo_select_font_face(cr_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
}

CairoCanvas::~CairoCanvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void CairoCanvas::draw(const CallList& calls) {
    for (const DrawCall& call : calls) draw(call);
}

void CairoCanvas::draw(const DrawCall& call) {
    set_color(call.color);
    switch (call.kind) {
        case CallKind::Circle:
            oval_path(device_x(call.x1 - call.x2), device_y(call.y1 + call.x2),
                      device_x(call.x1 + call.x2 + 1), device_y(call.y1 - call.x2 - 1));
            cairo_fill(cr_);
            break;
        case CallKind::Triangle:
            cairo_move_to(cr_, device_x(call.x1) + 0.5, device_y(call.y1) + 0.5);
            cairo_line_to(cr_, device_x(call.x2) + 0.5, device_y(call.y2) + 0.5);
            cairo_line_to(cr_, device_x(call.x3) + 0.5, device_y(call.y3) + 0.5);
            cairo_close_path(cr_);
            fill_or_stroke(call.width);
            break;
        case CallKind::Rectangle:
        case CallKind::Oval:
            box_path(call);
            fill_or_stroke(call.width);
            break;
        case CallKind::Line:
            line(call);
            break;
        case CallKind::Text:
            text(call);
            break;
    }
}

void CairoCanvas::set_color(int color) {
    const win::COLORREF c = kv390::palette_rgb[std::clamp(color, 0, KV390_COLOR_COUNT - 1)];
    cairo_set_source_rgb(cr_, (c & 255u) / 255.0, ((c >> 8) & 255u) / 255.0,
                         ((c >> 16) & 255u) / 255.0);
}

// The box with both corners included; an outline runs inside it.
void CairoCanvas::box_path(const DrawCall& call) {
    double left = device_x(std::min(call.x1, call.x2));
    double right = device_x(std::max(call.x1, call.x2)) + 1;
    double top = device_y(std::max(call.y1, call.y2));
    double bottom = device_y(std::min(call.y1, call.y2)) + 1;
    if (call.width > 0) {
        const double inset = call.width / 2.0;
        left += inset;
        top += inset;
        right -= inset;
        bottom -= inset;
    }
    if (call.kind == CallKind::Rectangle) {
        cairo_rectangle(cr_, left, top, right - left, bottom - top);
    } else {
        oval_path(left, top, right, bottom);
    }
}

void CairoCanvas::oval_path(double left, double top, double right, double bottom) {
    const double rx = (right - left) / 2;
    const double ry = (bottom - top) / 2;
    if (rx <= 0 || ry <= 0) return;
    cairo_save(cr_);
    cairo_translate(cr_, left + rx, top + ry);
    cairo_scale(cr_, rx, ry);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr_);
}

void CairoCanvas::fill_or_stroke(int width) {
    if (width == 0) {
        cairo_fill(cr_);
        return;
    }
    cairo_set_line_width(cr_, width);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr_, width > 1 ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr_);
}

void CairoCanvas::line(const DrawCall& call) {
    const int width = std::max(call.width, 1);
    cairo_move_to(cr_, device_x(call.x1) + 0.5, device_y(call.y1) + 0.5);
    cairo_line_to(cr_, device_x(call.x2) + 0.5, device_y(call.y2) + 0.5);
    cairo_set_line_width(cr_, width);
    cairo_set_line_cap(cr_, width > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cr_);
}

// The anchor is the lower-left corner of the text cell; cairo wants the
// baseline, about a quarter of the size above it.
void CairoCanvas::text(const DrawCall& call) {
    cairo_set_font_size(cr_, call.size);
    cairo_move_to(cr_, device_x(call.x1), device_y(call.y1) - call.size / 4.0);
    cairo_show_text(cr_, call.text.c_str());
    cairo_new_path(cr_);
}

}  // namespace bench
