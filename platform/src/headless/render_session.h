// The headless backend's side of a render request (kv390/render.h).
#pragma once

#include "core/backend.h"

namespace kv390::headless {

// Window events as the backend sees them: the first top-level window is the
// picture window, and its pixels are kept when it is destroyed.
void render_window_event(win::HWND hwnd, win::backend::WindowEvent event);

}  // namespace kv390::headless
