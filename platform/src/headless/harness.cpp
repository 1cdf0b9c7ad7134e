// The harness's immediate input, windows, menus, observers and reset.
#include "kv390/harness.h"

#include "core/backend.h"
#include "core/input.h"
#include "headless/headless.h"

namespace kv390::harness {

void set_screen_size(int width, int height) {
    win::headless::state().screen = win::Size{width < 0 ? 0 : width, height < 0 ? 0 : height};
}

void mouse_down(win::HWND hwnd, int x, int y) {
    win::input::mouse_button(hwnd, win::WM_LBUTTONDOWN, x, y);
}

void mouse_up(win::HWND hwnd, int x, int y) {
    win::input::mouse_button(hwnd, win::WM_LBUTTONUP, x, y);
}

void click(win::HWND hwnd, int x, int y) {
    mouse_down(hwnd, x, y);
    mouse_up(hwnd, x, y);
}

void right_click(win::HWND hwnd, int x, int y) {
    win::input::mouse_button(hwnd, win::WM_RBUTTONDOWN, x, y);
    win::input::mouse_button(hwnd, win::WM_RBUTTONUP, x, y);
}

void middle_click(win::HWND hwnd, int x, int y) {
    win::input::mouse_button(hwnd, win::WM_MBUTTONDOWN, x, y);
    win::input::mouse_button(hwnd, win::WM_MBUTTONUP, x, y);
}

void mouse_move(win::HWND hwnd, int x, int y) {
    win::input::mouse_move(hwnd, x, y);
}

// Alt and F10, and keys pressed while Alt is held, are system keys.
static bool is_system_key(int vk) {
    return vk == win::VK_MENU || vk == win::VK_F10 || win::headless::state().alt_held;
}

void key_down(int vk) {
    bool system = is_system_key(vk);
    if (vk == win::VK_MENU) win::headless::state().alt_held = true;
    win::input::key(system ? win::WM_SYSKEYDOWN : win::WM_KEYDOWN, vk);
}

void key_up(int vk) {
    bool system = is_system_key(vk);
    if (vk == win::VK_MENU) win::headless::state().alt_held = false;
    win::input::key(system ? win::WM_SYSKEYUP : win::WM_KEYUP, vk);
}

void press_key(int vk) {
    key_down(vk);
    key_up(vk);
}

void press_ctrl_key(int vk) {
    key_down(win::VK_CONTROL);
    press_key(vk);
    key_up(win::VK_CONTROL);
}

void focus(win::HWND hwnd) {
    win::input::focus(hwnd);
}

void close_window(win::HWND hwnd) {
    win::input::close_box(hwnd);
}

// Searches a popup and its sub-popups for an enabled item with this id.
static bool choose_in(win::HWND hwnd, win::HMENU popup, unsigned id, int depth) {
    const auto& items = win::menu_items(popup);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const win::MenuItem& item = items[i];
        if ((item.flags & win::MF_POPUP) && depth < 16) {
            if (choose_in(hwnd, item.popup, id, depth + 1)) return true;
        } else if (item.id == id && !(item.flags & win::MF_SEPARATOR) &&
                   win::choose_menu_item(hwnd, popup, int(i))) {
            return true;
        }
    }
    return false;
}

bool choose_menu_command(win::HWND hwnd, unsigned id) {
    for (const win::MenuItem& item : win::menu_items(win::get_menu(hwnd))) {
        if ((item.flags & win::MF_POPUP) && choose_in(hwnd, item.popup, id, 0)) return true;
    }
    return false;
}

std::vector<win::MenuItem> menu_popup(win::HWND hwnd, const std::string& title) {
    for (const win::MenuItem& item : win::menu_items(win::get_menu(hwnd))) {
        if ((item.flags & win::MF_POPUP) && win::menu_label(item.text) == title) {
            return win::menu_items(item.popup);
        }
    }
    return {};
}

win::HWND window_by_title(const std::string& title) {
    std::vector<win::HWND> windows = win::top_level_windows();
    if (title.empty()) return windows.empty() ? nullptr : windows.front();
    for (win::HWND hwnd : windows) {
        if (win::get_window_text(hwnd) == title) return hwnd;
    }
    return nullptr;
}

win::Image window_pixels(win::HWND hwnd) {
    return win::window_image(hwnd);
}

static void observe_dispatch(const win::Msg& msg, void*) {
    const auto& s = win::headless::state();
    if (msg.message != win::WM_TIMER || s.tick_observer == nullptr) return;
    s.tick_observer(msg.hwnd, s.tick_context);
}

void on_timer_dispatched(TickObserver observer, void* context) {
    auto& s = win::headless::state();
    s.tick_observer = observer;
    s.tick_context = context;
    win::backend::set_dispatch_observer(observer != nullptr ? observe_dispatch : nullptr, nullptr);
}

void reset() {
    win::reset_layer();
    win::headless::state() = win::headless::State{};
}

}  // namespace kv390::harness
