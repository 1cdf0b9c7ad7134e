// Classic frame metrics and the client area they leave.
#include <algorithm>

#include "core/backend.h"
#include "core/window.h"

namespace win {

int get_system_metrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
            return ensure_backend().screen_size().cx;
        case SM_CYSCREEN:
            return ensure_backend().screen_size().cy;
        case SM_CYCAPTION:
            return CAPTION_HEIGHT;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXFIXEDFRAME:
        case SM_CYFIXEDFRAME:
            return FIXED_FRAME;
        case SM_CYMENU:
            return MENU_BAR_HEIGHT;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return SIZING_FRAME;
        default:
            return 0;
    }
}

// A sizing frame is 4 pixels; a caption or dialog frame 3; a plain border
// (edit boxes and other bordered controls) 1.
FrameMetrics frame_metrics(UINT style, bool has_menu_bar) {
    FrameMetrics m;
    if (style & WS_THICKFRAME) {
        m.frame = SIZING_FRAME;
    } else if (style & WS_DLGFRAME) {
        m.frame = FIXED_FRAME;
    } else if (style & WS_BORDER) {
        m.frame = 1;
    }
    if ((style & WS_CAPTION) == WS_CAPTION) m.caption = CAPTION_HEIGHT;
    if (has_menu_bar) m.menu = MENU_BAR_HEIGHT;
    return m;
}

static bool has_menu_bar(const Window& w) {
    return w.menu != nullptr && !(w.style & WS_CHILD);
}

Point client_origin(const Window& w) {
    FrameMetrics m = frame_metrics(w.style, has_menu_bar(w));
    return Point{w.outer.left + m.frame, w.outer.top + m.frame + m.caption + m.menu};
}

// Resizes the client pixels, keeping what stays visible and filling new
// pixels with white.
static void resize_surface(Surface& s, int width, int height) {
    Surface old = s;
    s.resize(width, height, 0xFFFFFF);
    int rows = std::min(old.height, s.height);
    int cols = std::min(old.width, s.width);
    for (int y = 0; y < rows; ++y) std::copy_n(old.row(y), cols, s.row(y));
}

static bool apply_client_size(HWND hwnd, int width, int height, bool notify) {
    Window* w = live_window(hwnd);
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (w == nullptr || (width == w->client_width && height == w->client_height)) return false;
    flush_deferred(hwnd);  // held-back drawing lands on the pixels of the old size
    w = live_window(hwnd);
    if (w == nullptr) return false;
    int old_width = w->client_width, old_height = w->client_height;
    w->client_width = width;
    w->client_height = height;
    resize_surface(w->surface, width, height);
    if (!notify) return true;
    bool redraw_all = ((w->class_style & CS_HREDRAW) && width != old_width) ||
                      ((w->class_style & CS_VREDRAW) && height != old_height);
    if (redraw_all) {
        invalidate_rect(hwnd, nullptr, true);
    } else if (width > old_width || height > old_height) {
        Rect uncovered{width > old_width ? old_width : 0, height > old_height ? old_height : 0,
                       width, height};
        invalidate_rect(hwnd, &uncovered, true);
    }
    send_message(hwnd, WM_SIZE, SIZE_RESTORED, make_lparam(unsigned(width), unsigned(height)));
    return true;
}

bool update_client_size(HWND hwnd, bool notify) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    FrameMetrics m = frame_metrics(w->style, has_menu_bar(*w));
    int width = (w->outer.right - w->outer.left) - 2 * m.frame;
    int height = (w->outer.bottom - w->outer.top) - 2 * m.frame - m.caption - m.menu;
    return apply_client_size(hwnd, width, height, notify);
}

bool set_client_size(HWND hwnd, int width, int height) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    FrameMetrics m = frame_metrics(w->style, has_menu_bar(*w));
    width = std::max(width, 0);
    height = std::max(height, 0);
    w->outer.right = w->outer.left + width + 2 * m.frame;
    w->outer.bottom = w->outer.top + height + 2 * m.frame + m.caption + m.menu;
    return apply_client_size(hwnd, width, height, true);
}

}  // namespace win
