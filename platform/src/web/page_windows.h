// The canvases of the page: one per top-level window, showing the window's
// composed picture (menu bar strip, client area, children, drop-down).
#pragma once

#include <cstdint>
#include <string>

#include "kv390/win.h"

namespace win::web {

struct PageWindow {
    HWND hwnd = nullptr;
    int id = 0;  // the canvas's number on the page
    bool visible = false;
    bool floating = false;  // placed over the page (dialogs), not in the flow
    Point at{};             // floating windows: where, in page pixels
    std::string title;
    std::uint64_t shown = 0;  // version of the picture last presented
    bool needs_present = true;
};

// Creates, updates and removes canvases to match the core's top-level windows.
void sync_page_windows();
// Presents every window whose picture changed since it was last presented.
void present_page_windows();
// The window of a canvas, or null when it is gone.
PageWindow* page_window_by_id(int id);
PageWindow* page_window_of(HWND hwnd);

}  // namespace win::web
