// Keyboard focus and window activation.
#include <algorithm>

#include "core/window.h"

namespace win {

HWND set_focus(HWND hwnd) {
    Core& c = core();
    HWND old = live_window(c.focus);
    if (hwnd != nullptr && live_window(hwnd) == nullptr) return nullptr;
    if (hwnd == old) return old;
    c.focus = hwnd;
    if (Window* top = top_level_of(hwnd)) top->last_focus = hwnd;
    if (old != nullptr) send_message(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd != nullptr && live_window(hwnd) != nullptr && c.focus == hwnd) {
        send_message(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    }
    return old;
}

HWND get_focus() {
    return live_window(core().focus);
}

HWND get_active_window() {
    return live_window(core().active);
}

static void move_to_front(HWND hwnd) {
    auto& order = core().activation_order;
    order.erase(std::remove(order.begin(), order.end(), hwnd), order.end());
    order.insert(order.begin(), hwnd);
}

// The focus a window takes when it is activated: its last focused
// descendant that can still take it, or itself.
static HWND focus_target(HWND top) {
    HWND last = top->last_focus;
    if (last != nullptr && is_self_or_descendant(last, top) && is_shown(last) &&
        accepts_input(last)) {
        return last;
    }
    return top;
}

void activate_window(HWND hwnd) {
    Core& c = core();
    HWND top = top_level_of(hwnd);
    HWND old = live_window(c.active);
    if (old != nullptr && old != top) old->menu_bar.close();
    if (top == nullptr) {
        c.active = nullptr;
        if (old != nullptr) send_message(old, WM_ACTIVATE, 0, 0);
        set_focus(nullptr);
        return;
    }
    move_to_front(top);
    if (old != top) {
        c.active = top;
        if (old != nullptr) send_message(old, WM_ACTIVATE, 0, reinterpret_cast<LPARAM>(top));
        send_message(top, WM_ACTIVATE, 1, reinterpret_cast<LPARAM>(old));
    }
    if (live_window(top) == nullptr) return;
    if (!is_self_or_descendant(c.focus, top)) set_focus(focus_target(top));
}

static HWND next_active_candidate(HWND leaving) {
    for (HWND candidate : core().activation_order) {
        if (candidate == leaving || is_self_or_descendant(candidate, leaving)) continue;
        if (is_shown(candidate) && accepts_input(candidate)) return candidate;
    }
    return nullptr;
}

void release_activation(HWND hwnd) {
    Core& c = core();
    if (c.focus == hwnd || is_self_or_descendant(c.focus, hwnd)) {
        // A destroyed window gets no WM_KILLFOCUS; a hidden one does.
        if (hwnd->destroyed) {
            c.focus = nullptr;
        } else {
            set_focus(nullptr);
        }
    }
    if (hwnd->destroyed) {
        auto& order = c.activation_order;
        order.erase(std::remove(order.begin(), order.end(), hwnd), order.end());
    }
    if (c.active != hwnd) return;
    c.active = nullptr;
    if (HWND next = next_active_candidate(hwnd)) activate_window(next);
}

}  // namespace win
