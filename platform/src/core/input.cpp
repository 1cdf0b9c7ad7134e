// Input from a backend or the harness, queued as a desktop would: buttons to
// the window under the pointer, keys and characters to the focus window.
#include "core/input.h"

#include <algorithm>

#include "core/window.h"

namespace win::input {

namespace {

// Button-state bits of a mouse message's wparam.
constexpr WPARAM MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8, MK_MBUTTON = 16;

// The deepest shown child of hwnd under a client position; the position is
// made relative to the window found.
HWND child_under(HWND hwnd, int* x, int* y) {
    Point origin = client_origin(*hwnd);
    Point screen{origin.x + *x, origin.y + *y};
    for (bool descended = true; descended;) {
        descended = false;
        std::vector<HWND> children = child_windows(hwnd);
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            const Rect& r = (*it)->outer;
            if (!(*it)->visible || screen.x < r.left || screen.x >= r.right || screen.y < r.top ||
                screen.y >= r.bottom) {
                continue;
            }
            hwnd = *it;
            descended = true;
            break;
        }
    }
    Point inner = client_origin(*hwnd);
    *x = screen.x - inner.x;
    *y = screen.y - inner.y;
    return hwnd;
}

WPARAM button_state(UINT message) {
    WPARAM state = 0;
    if (message == WM_LBUTTONDOWN) state |= MK_LBUTTON;
    if (message == WM_RBUTTONDOWN) state |= MK_RBUTTON;
    if (message == WM_MBUTTONDOWN) state |= MK_MBUTTON;
    if (is_key_down(VK_SHIFT)) state |= MK_SHIFT;
    if (is_key_down(VK_CONTROL)) state |= MK_CONTROL;
    return state;
}

bool is_button_down(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

// The last queued message, when it is an input move to hwnd.
QueuedMessage* trailing_move_to(HWND hwnd) {
    auto& queue = core().posted;
    if (queue.empty()) return nullptr;
    QueuedMessage& last = queue.back();
    if (!last.from_input || last.msg.message != WM_MOUSEMOVE || last.msg.hwnd != hwnd) {
        return nullptr;
    }
    return &last;
}

bool is_key_up(UINT message) {
    return message == WM_KEYUP || message == WM_SYSKEYUP;
}

// A top-level window's drawn menu bar, read afresh; null without one.
menu_bar::MenuBar* menu_bar_of(HWND top) {
    Window* w = live_window(top);
    if (w == nullptr || menu_strip_height(*w) == 0) return nullptr;
    w->menu_bar.refresh(top);
    return w->menu_bar.empty() ? nullptr : &w->menu_bar;
}

// Working elsewhere closes the other windows' drop-downs.
void close_other_menus(HWND except) {
    for (const auto& w : core().windows) {
        if (w.get() != except) w->menu_bar.close();
    }
}

menu_bar::MenuOutcome button_to_menu(menu_bar::MenuBar& bar, HWND top, UINT message, int x, int y) {
    bool down = is_button_down(message);
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
        return down ? bar.button_down(top, x, y) : bar.button_up(top, x, y);
    }
    return bar.other_button(down, y);
}

}  // namespace

void mouse_button(HWND hwnd, UINT message, int client_x, int client_y) {
    if (!is_shown(hwnd)) return;
    HWND top = top_level_of(hwnd);
    if (!accepts_input(top)) return;  // e.g. the owner of a modal dialog
    if (is_button_down(message) && core().active != top) activate_window(top);
    if (live_window(hwnd) == nullptr) return;
    int x = client_x, y = client_y;
    HWND target = child_under(hwnd, &x, &y);
    if (!accepts_input(target)) return;
    post_input_message(target, message, button_state(message),
                       make_lparam(unsigned(x), unsigned(y)));
}

void mouse_move(HWND hwnd, int client_x, int client_y) {
    if (!is_shown(hwnd) || !accepts_input(top_level_of(hwnd))) return;
    int x = client_x, y = client_y;
    HWND target = child_under(hwnd, &x, &y);
    if (!accepts_input(target)) return;
    if (QueuedMessage* previous = trailing_move_to(target)) {
        previous->msg.lparam = make_lparam(unsigned(x), unsigned(y));
        return;
    }
    post_input_message(target, WM_MOUSEMOVE, button_state(WM_MOUSEMOVE),
                       make_lparam(unsigned(x), unsigned(y)));
}

void key(UINT message, int vk, LPARAM flags) {
    HWND focus = get_focus();
    if (vk < 0 || vk > 255) return;
    bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    // Repeat count 1; bit 30: the key was down before; bit 31: released.
    LPARAM lparam = flags | 1;
    if (is_key_down(vk) || up) lparam |= LPARAM(1) << 30;
    if (up) lparam |= LPARAM(1) << 31;
    if (focus == nullptr || !accepts_input(focus)) {
        apply_key_message(message, WPARAM(vk));
        return;
    }
    post_input_message(focus, message, WPARAM(vk), lparam);
}

void character(unsigned code) {
    HWND focus = get_focus();
    if (focus == nullptr || !accepts_input(focus)) return;
    post_input_message(focus, WM_CHAR, WPARAM(code & 0xFFu), 1);
}

void close_box(HWND hwnd) {
    if (!accepts_input(hwnd)) return;
    post_input_message(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void activate(HWND hwnd) {
    if (hwnd != nullptr && !accepts_input(top_level_of(hwnd))) return;
    activate_window(hwnd);
}

void client_resized(HWND hwnd, int width, int height) {
    set_client_size(hwnd, width, height);
}

void expose(HWND hwnd) {
    invalidate_rect(hwnd, nullptr, true);
}

void focus(HWND hwnd) {
    Window* w = live_window(hwnd);
    if (w == nullptr || w->parent == nullptr) {
        activate(hwnd);
        return;
    }
    activate(top_level_of(hwnd));
    set_focus(hwnd);
}

void picture_button(HWND top, UINT message, int x, int y) {
    if (live_window(top) == nullptr) return;
    if (is_button_down(message)) close_other_menus(top);
    if (menu_bar::MenuBar* bar = menu_bar_of(top)) {
        if (button_to_menu(*bar, top, message, x, y).consumed) return;
    }
    const Window* w = live_window(top);
    if (w == nullptr) return;
    int client_y = y - menu_strip_height(*w);
    if (client_y < 0) return;
    mouse_button(top, message, x, client_y);
}

void picture_motion(HWND top, int x, int y) {
    Window* w = live_window(top);
    if (w == nullptr) return;
    if (!w->menu_bar.is_open()) {
        // Over the strip or beyond the picture (a drag) the client position
        // lies outside the client area, as the program should see it.
        mouse_move(top, x, y - menu_strip_height(*w));
        return;
    }
    if (menu_bar::MenuBar* bar = menu_bar_of(top)) bar->motion(top, x, y);
}

bool keyboard_key(UINT message, int vk, LPARAM flags) {
    HWND active = get_active_window();
    if (menu_bar::MenuBar* bar = menu_bar_of(active)) {
        if (is_key_up(message)) {
            bar->key_up(active, vk);
        } else if (bar->key_down(active, vk).consumed) {
            return false;
        }
    }
    // Key-ups always reach the core, so that its key state never sticks.
    key(message, vk, flags);
    return true;
}

void picture_resized(HWND top, int width, int height) {
    const Window* w = live_window(top);
    if (w == nullptr || !(w->style & WS_THICKFRAME)) return;
    int client_height = std::max(height - menu_strip_height(*w), 0);
    if (width != w->client_width || client_height != w->client_height) {
        client_resized(top, width, client_height);
    }
}

}  // namespace win::input
