// The whole-window scale factor of the desktop: on a big screen every window
// is shown enlarged by a whole number (each pixel a square of pixels, so the
// picture stays exact), and positions from the mouse are mapped back.  The
// layer itself sees a screen that much smaller and never learns of the scale.
#pragma once

#include <string>

#include "kv390/win.h"

namespace win::sdl {

// The graphics window of the library, 601 x 540: what the factor is
// measured against.
constexpr Size SCALED_WINDOW{601, 540};
constexpr int MAX_SCALE = 8;

// The factor for a screen of that size.  `requested` is the value of
// KV390_SCALE (null when unset): a whole number from 1 to MAX_SCALE is taken
// as it is; anything else is ignored with a one-line complaint.  Without a
// request the factor is the largest at which the graphics window still fits
// in the screen's top two thirds (above the text window across the bottom
// third), or 1 when that is less than 2.
int choose_scale(Size screen, const char* requested, std::string* complaint);

// A physical position to the layer's: division that rounds down, also for
// positions left of or above the window.
inline int unscaled(int physical, int scale) {
    return physical >= 0 ? physical / scale : -((-physical + scale - 1) / scale);
}

}  // namespace win::sdl
