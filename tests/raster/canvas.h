// A white test surface with a DC drawing into it, and pixel queries.
#pragma once

#include <algorithm>
#include <cstdint>

#include "kv390/win.h"
#include "raster/device_context.h"

namespace raster_test {

constexpr win::COLORREF WHITE = win::rgb(255, 255, 255);
constexpr win::COLORREF BLACK = win::rgb(0, 0, 0);
constexpr win::COLORREF RED = win::rgb(255, 0, 0);
constexpr win::COLORREF BLUE = win::rgb(0, 0, 255);

struct Bounds {
    int left = 0, top = 0, right = 0, bottom = 0;  // right/bottom excluded
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

class Canvas {
  public:
    explicit Canvas(int width = 64, int height = 64, win::COLORREF fill = WHITE) {
        surface.resize(width, height, win::pixel_of(fill));
        dc = win::make_dc(&surface, nullptr);
    }
    ~Canvas() {
        drop_objects();
        win::free_dc(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const { return surface.width; }
    int height() const { return surface.height; }
    win::COLORREF at(int x, int y) const { return win::colorref_of(surface.row(y)[x]); }
    bool is(int x, int y, win::COLORREF c) const { return at(x, y) == c; }

    int count(win::COLORREF c) const {
        int n = 0;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x) n += is(x, y, c);
        return n;
    }
    // Bounding box of the pixels of colour c (all zero when there are none).
    Bounds bounds(win::COLORREF c) const {
        Bounds b{width(), height(), 0, 0};
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (is(x, y, c)) {
                    b.left = std::min(b.left, x);
                    b.top = std::min(b.top, y);
                    b.right = std::max(b.right, x + 1);
                    b.bottom = std::max(b.bottom, y + 1);
                }
        if (b.right == 0) return {};
        return b;
    }
    // Selects a pen and a brush owned by this canvas; a null brush colour
    // selects the empty stock brush.
    void use(int pen_style, int pen_width, win::COLORREF pen_color,
             const win::COLORREF* brush_color) {
        drop_objects();
        pen_ = win::create_pen(pen_style, pen_width, pen_color);
        brush_ = brush_color ? win::create_solid_brush(*brush_color) : nullptr;
        win::select_object(dc, pen_);
        win::select_object(dc, brush_ ? brush_ : win::get_stock_object(win::NULL_BRUSH));
    }
    void filled(int pen_width, win::COLORREF pen_color, win::COLORREF brush_color) {
        use(win::PS_SOLID, pen_width, pen_color, &brush_color);
    }
    void outlined(int pen_width, win::COLORREF pen_color) {
        use(win::PS_SOLID, pen_width, pen_color, nullptr);
    }
    void brush_only(win::COLORREF brush_color) { use(win::PS_NULL, 0, 0, &brush_color); }
    template <class Visit>
    void for_each_pixel(Visit visit) const {
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x) visit(x, y, at(x, y));
    }

    win::Surface surface;
    win::HDC dc = nullptr;

  private:
    void drop_objects() {
        win::select_object(dc, win::get_stock_object(win::BLACK_PEN));
        win::select_object(dc, win::get_stock_object(win::WHITE_BRUSH));
        if (pen_) win::delete_object(pen_);
        if (brush_) win::delete_object(brush_);
        pen_ = brush_ = nullptr;
    }
    win::HGDIOBJ pen_ = nullptr, brush_ = nullptr;
};

}  // namespace raster_test
