// SDL events to the core's input entry points.  While a window's drop-down is
// open its keys and clicks go to the menu instead.
#include <SDL2/SDL.h>

#include "core/input.h"
#include "core/window.h"
#include "sdl/backend_state.h"
#include "sdl/key_map.h"
#include "sdl/menu_layout.h"

namespace win::sdl {
namespace {

constexpr LPARAM KEY_REPEATED = LPARAM(1) << 30;
constexpr LPARAM KEY_RELEASED = LPARAM(1) << 31;

// The window whose menu takes keyboard input: the core's active window.
DesktopWindow* keyboard_window() {
    return desktop_of(core().active);
}

void carry_out(DesktopWindow& d, const MenuOutcome& outcome) {
    if (outcome.redraw) menu_state_changed(d);
    if (outcome.chosen_bar < 0) return;
    HMENU bar = get_menu(d.hwnd);
    if (outcome.chosen_item < 0) {
        choose_menu_item(d.hwnd, bar, outcome.chosen_bar);
        return;
    }
    const std::vector<MenuItem>& items = menu_items(bar);
    if (std::size_t(outcome.chosen_bar) < items.size()) {
        choose_menu_item(d.hwnd, items[std::size_t(outcome.chosen_bar)].popup, outcome.chosen_item);
    }
}

bool window_has_menu(const DesktopWindow& d) {
    return !d.view.bar.empty();
}

void key_down(const SDL_KeyboardEvent& key) {
    int vk = virtual_key_of(key.keysym.sym);
    state().suppress_text = false;
    if (vk == 0) return;  // its character, if any, still comes as text input
    DesktopWindow* d = keyboard_window();
    if (d != nullptr && window_has_menu(*d)) {
        MenuOutcome outcome = menu_key_down(d->menu, d->view, vk);
        carry_out(*d, outcome);
        if (outcome.consumed) {
            state().suppress_text = true;
            return;
        }
    }
    bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    bool alt = (key.keysym.mod & KMOD_LALT) != 0 || key.keysym.sym == SDLK_LALT;
    LPARAM flags = 1;
    if (key.repeat != 0) flags |= KEY_REPEATED;
    if (alt) {
        state().suppress_text = true;  // Alt combinations type nothing
        input::key(WM_SYSKEYDOWN, vk, flags);
        return;
    }
    if (key_delivers_text(vk, ctrl)) flags |= input::KEY_TEXT_SEPARATE;
    input::key(WM_KEYDOWN, vk, flags);
}

void key_up(const SDL_KeyboardEvent& key) {
    int vk = virtual_key_of(key.keysym.sym);
    if (vk == 0) return;
    DesktopWindow* d = keyboard_window();
    if (d != nullptr && window_has_menu(*d)) carry_out(*d, menu_key_up(d->menu, d->view, vk));
    bool alt = (key.keysym.mod & KMOD_LALT) != 0 || key.keysym.sym == SDLK_LALT;
    // Key-ups always reach the core, so that its key state never sticks.
    input::key(alt ? WM_SYSKEYUP : WM_KEYUP, vk, 1 | KEY_REPEATED | KEY_RELEASED);
}

void text_input(const SDL_TextInputEvent& text) {
    if (state().suppress_text) {
        state().suppress_text = false;
        return;
    }
    for (unsigned code : latin1_characters(text.text)) input::character(code);
}

UINT button_message(Uint8 button, bool down) {
    if (button == SDL_BUTTON_LEFT) return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    if (button == SDL_BUTTON_RIGHT) return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    return 0;
}

// Other windows' drop-downs close when the user works elsewhere.
void close_other_menus(const DesktopWindow* except) {
    for (auto& d : state().windows) {
        if (d.get() != except && menu_close(d->menu)) d->menu_dirty = true;
    }
}

void mouse_button(const SDL_MouseButtonEvent& button) {
    DesktopWindow* d = desktop_of_sdl_window(button.windowID);
    bool down = button.type == SDL_MOUSEBUTTONDOWN;
    UINT message = button_message(button.button, down);
    if (d == nullptr || message == 0) return;
    if (down) close_other_menus(d);
    if (window_has_menu(*d)) {
        MenuOutcome outcome;
        if (button.button == SDL_BUTTON_LEFT) {
            outcome = down ? menu_button_down(d->menu, d->view, d->geometry, button.x, button.y)
                           : menu_button_up(d->menu, d->view, d->geometry, button.x, button.y);
        } else if (d->menu.open >= 0 || button.y < menu_layout::BAR_HEIGHT) {
            outcome.consumed = true;
            outcome.redraw = down && menu_close(d->menu);
        }
        carry_out(*d, outcome);
        if (outcome.consumed) return;
    }
    Window* w = live_window(d->hwnd);
    if (w == nullptr) return;
    int y = button.y - bar_height(*w);
    if (y < 0) return;
    input::mouse_button(d->hwnd, message, button.x, y);
}

void mouse_motion(const SDL_MouseMotionEvent& motion) {
    DesktopWindow* d = desktop_of_sdl_window(motion.windowID);
    if (d == nullptr || d->menu.open < 0) return;
    carry_out(*d, menu_motion(d->menu, d->view, d->geometry, motion.x, motion.y));
}

void window_changed(const SDL_WindowEvent& event) {
    DesktopWindow* d = desktop_of_sdl_window(event.windowID);
    if (d == nullptr) return;
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            input::close_box(d->hwnd);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            state().focus_lost_pending = false;
            state().synced_active = d->hwnd;
            input::activate(d->hwnd);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (menu_close(d->menu)) d->menu_dirty = true;
            state().focus_lost_pending = true;
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
            d->needs_present = true;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            d->needs_present = true;
            d->menu_dirty = true;
            Window* w = live_window(d->hwnd);
            if (w == nullptr || !is_resizable(*w)) break;
            d->content = Size{event.data1, event.data2};
            int height = event.data2 - bar_height(*w);
            if (event.data1 != w->client_width || height != w->client_height) {
                input::client_resized(d->hwnd, event.data1, height < 0 ? 0 : height);
            }
            break;
        }
        default:
            break;
    }
}

}  // namespace

void handle_event(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
            key_down(event.key);
            break;
        case SDL_KEYUP:
            key_up(event.key);
            break;
        case SDL_TEXTINPUT:
            text_input(event.text);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            mouse_button(event.button);
            break;
        case SDL_MOUSEMOTION:
            mouse_motion(event.motion);
            break;
        case SDL_WINDOWEVENT:
            window_changed(event.window);
            break;
        default:
            break;
    }
}

void finish_event_batch() {
    if (!state().focus_lost_pending) return;
    state().focus_lost_pending = false;
    state().synced_active = nullptr;
    input::activate(nullptr);
}

}  // namespace win::sdl
