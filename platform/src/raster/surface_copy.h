// Copying a rectangle of pixels between surfaces, clipped to both.
#pragma once

#include "kv390/win.h"
#include "raster/surface.h"

namespace win {

// Copies the pixels of `area` (in from's coordinates) so that the area's
// top-left lands at (x, y) in `to`; whatever falls outside either surface is
// left out.  from and to may be the same surface.  Marks `to` changed when
// any pixel was copied.
void copy_surface_area(const Surface& from, const Rect& area, Surface& to, int x, int y);

// The whole of `from` with its top-left at (x, y) in `to`.
inline void copy_surface(const Surface& from, Surface& to, int x, int y) {
    copy_surface_area(from, Rect{0, 0, from.width, from.height}, to, x, y);
}

}  // namespace win
