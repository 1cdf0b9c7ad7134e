// The headless backend's side of a render request (kv390/render.h).
#pragma once

#include "core/backend.h"

namespace win::headless {

// Window events as the backend sees them: the first top-level window is the
// picture window, its animation frames are recorded, and its pixels are kept
// when it is destroyed.
void render_window_event(HWND hwnd, backend::WindowEvent event);

}  // namespace win::headless
