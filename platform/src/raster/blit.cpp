// Copies between surfaces (bit_blt) and scrolling within one (scroll_dc).
#include <algorithm>
#include <cstring>

#include "raster/device_context.h"
#include "raster/geometry.h"
#include "raster/surface_copy.h"

namespace win {

namespace {

using raster::Box64;

Box64 box_of(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
Box64 surface_box(const Surface& s) {
    return {0, 0, s.width, s.height};
}
Rect rect_of(const Box64& b) {
    if (b.empty()) return {};
    return {std::int32_t(b.left), std::int32_t(b.top), std::int32_t(b.right),
            std::int32_t(b.bottom)};
}

// Copies the pixels of dest_box from src_box's position (same size), in an
// order that is safe when both lie in the same surface.
void copy_pixels(Surface& dest, const Box64& dest_box, const Surface& src, std::int64_t src_x,
                 std::int64_t src_y) {
    const std::size_t bytes = std::size_t(dest_box.right - dest_box.left) * sizeof(std::uint32_t);
    const std::int64_t rows = dest_box.bottom - dest_box.top;
    const bool bottom_up = &dest == &src && dest_box.top > src_y;
    for (std::int64_t i = 0; i < rows; ++i) {
        const std::int64_t r = bottom_up ? rows - 1 - i : i;
        std::memmove(dest.row(std::int32_t(dest_box.top + r)) + dest_box.left,
                     src.row(std::int32_t(src_y + r)) + src_x, bytes);
    }
}

// Bounding rectangle of outer minus inner (inner lies within outer).
Box64 uncovered_bounds(const Box64& outer, const Box64& inner) {
    if (inner.empty()) return outer;
    Box64 bounds{outer.right, outer.bottom, outer.left, outer.top};
    auto include = [&](const Box64& b) {
        if (b.empty()) return;
        bounds = {std::min(bounds.left, b.left), std::min(bounds.top, b.top),
                  std::max(bounds.right, b.right), std::max(bounds.bottom, b.bottom)};
    };
    include({outer.left, outer.top, inner.left, outer.bottom});
    include({inner.right, outer.top, outer.right, outer.bottom});
    include({inner.left, outer.top, inner.right, inner.top});
    include({inner.left, inner.bottom, inner.right, outer.bottom});
    return bounds;
}

// A whole-surface vertical scroll: turn the ring of rows, then copy back the
// rows of the uncovered strip so that they keep what they showed.
void rotate_rows(Surface& s, std::int32_t dy) {
    const std::int32_t h = s.height, k = dy < 0 ? -dy : dy;
    const std::size_t bytes = std::size_t(s.width) * sizeof(std::uint32_t);
    if (dy < 0) {
        s.first_row = (s.first_row + k) % h;
        for (std::int32_t y = h - k; y < h; ++y) std::memcpy(s.row(y), s.row(y - k), bytes);
    } else {
        s.first_row = (s.first_row + h - k) % h;
        for (std::int32_t y = 0; y < k; ++y) std::memcpy(s.row(y), s.row(y + k), bytes);
    }
}

bool covers(const Box64& a, const Box64& b) {
    return a.left <= b.left && a.top <= b.top && a.right >= b.right && a.bottom >= b.bottom;
}

}  // namespace

void copy_surface_area(const Surface& from, const Rect& area, Surface& to, int x, int y) {
    const std::int64_t shift_x = std::int64_t(area.left) - x, shift_y = std::int64_t(area.top) - y;
    Box64 source = intersect(box_of(area), surface_box(from));
    Box64 target = intersect(source.shifted(-shift_x, -shift_y), surface_box(to));
    if (target.empty()) return;
    copy_pixels(to, target, from, target.left + shift_x, target.top + shift_y);
    to.touch();
}

bool bit_blt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, UINT rop) {
    if (!dest || !dest->surface || !source || !source->surface || rop != SRCCOPY) return false;
    if (width <= 0 || height <= 0) return true;
    const std::int64_t shift_x = std::int64_t(sx) - x, shift_y = std::int64_t(sy) - y;
    Box64 target{x, y, std::int64_t(x) + width, std::int64_t(y) + height};
    target = intersect(target, box_of(dc_bounds(*dest)));
    target = intersect(target, surface_box(*source->surface).shifted(-shift_x, -shift_y));
    if (target.empty()) return true;
    copy_pixels(*dest->surface, target, *source->surface, target.left + shift_x,
                target.top + shift_y);
    dest->surface->touch();
    return true;
}

bool scroll_dc(HDC hdc, int dx, int dy, const Rect* scroll, const Rect* clip, Rect* update) {
    if (!hdc || !hdc->surface) return false;
    Surface& s = *hdc->surface;
    const Box64 whole = surface_box(s);
    const Box64 area = scroll ? intersect(box_of(*scroll), whole) : whole;
    Box64 allowed = intersect(area, box_of(dc_bounds(*hdc)));
    if (clip) allowed = intersect(allowed, box_of(*clip));
    const Box64 moved = intersect(area.shifted(dx, dy), allowed);
    if (update) *update = rect_of(uncovered_bounds(allowed, moved));
    if (moved.empty() || (dx == 0 && dy == 0)) return true;

    const bool whole_rows = dx == 0 && covers(area, whole) && covers(allowed, whole);
    const std::int64_t k = dy < 0 ? -std::int64_t(dy) : dy;
    if (whole_rows && 2 * k <= s.height) {
        rotate_rows(s, dy);
    } else {
        copy_pixels(s, moved, s, moved.left - dx, moved.top - dy);
    }
    s.touch();
    return true;
}

}  // namespace win
