// The rectangle rule: the one-pixel outline runs through columns left and
// right - 1 and rows top and bottom - 1, a wide pen is centred on that path,
// and the brush fills inside the outline; without a pen the brush stops one
// pixel short of the right and bottom edges.
#pragma once

#include <algorithm>

#include "raster/geometry.h"

namespace win::raster {

// The box of two corners in any order.
inline Box64 ordered_box(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

// What the brush covers when there is no pen.
inline Box64 brush_without_pen(const Box64& b) {
    return {b.left, b.top, b.right - 1, b.bottom - 1};
}
// What the brush covers inside an outline.
inline Box64 inside_outline(const Box64& b) {
    return {b.left + 1, b.top + 1, b.right - 1, b.bottom - 1};
}
// The one-pixel outline as four boxes: top, bottom, left and right sides.
inline void thin_outline(const Box64& b, Box64 sides[4]) {
    sides[0] = {b.left, b.top, b.right, b.top + 1};
    sides[1] = {b.left, b.bottom - 1, b.right, b.bottom};
    sides[2] = {b.left, b.top, b.left + 1, b.bottom};
    sides[3] = {b.right - 1, b.top, b.right, b.bottom};
}
// The outline's path, which a wide pen follows as a closed path.
inline void outline_path(const Box64& b, Point64 corners[4]) {
    corners[0] = {b.left, b.top};
    corners[1] = {b.right - 1, b.top};
    corners[2] = {b.right - 1, b.bottom - 1};
    corners[3] = {b.left, b.bottom - 1};
}

}  // namespace win::raster
