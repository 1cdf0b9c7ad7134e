// Showing, hiding, enabling and disabling windows.
#include "core/backend.h"
#include "core/window.h"

namespace win {

static void hide(HWND hwnd) {
    hwnd->visible = false;
    hwnd->style &= ~WS_VISIBLE;
    hwnd->menu_bar.close();
    send_message(hwnd, WM_SHOWWINDOW, 0, 0);
    release_activation(hwnd);
    ensure_backend().window_event(hwnd, backend::WindowEvent::Hidden);
}

// Becoming visible repaints the whole client area.
static void show(HWND hwnd) {
    hwnd->visible = true;
    hwnd->ever_shown = true;
    hwnd->style |= WS_VISIBLE;
    send_message(hwnd, WM_SHOWWINDOW, 1, 0);
    if (live_window(hwnd) == nullptr) return;
    invalidate_rect(hwnd, nullptr, true);
    ensure_backend().window_event(hwnd, backend::WindowEvent::Shown);
}

bool show_window(HWND hwnd, int command) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    bool was_visible = w->visible;
    if (command == SW_HIDE) {
        if (was_visible) hide(hwnd);
        return was_visible;
    }
    if (!was_visible) show(hwnd);
    bool top_level = w->parent == nullptr;
    if (top_level && command != SW_SHOWNOACTIVATE && live_window(hwnd) != nullptr) {
        activate_window(hwnd);
    }
    return was_visible;
}

bool is_window_visible(HWND hwnd) {
    return is_shown(hwnd);
}

bool enable_window(HWND hwnd, bool enable) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    bool was_disabled = !w->enabled;
    if (w->enabled == enable) return was_disabled;
    w->enabled = enable;
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        if (is_self_or_descendant(core().focus, hwnd)) set_focus(nullptr);
    }
    send_message(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
    ensure_backend().window_event(hwnd, backend::WindowEvent::Enabled);
    return was_disabled;
}

bool is_window_enabled(HWND hwnd) {
    Window* w = live_window(hwnd);
    return w != nullptr && w->enabled;
}

}  // namespace win
