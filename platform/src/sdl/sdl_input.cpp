// SDL events to the core's input entry points (core/input.h).  The core's drawn
// menu bar takes the keys and clicks that belong to it.
#include <SDL2/SDL.h>

#include "core/input.h"
#include "sdl/backend_state.h"
#include "sdl/key_map.h"
#include "sdl/scale.h"

namespace win::sdl {
namespace {

constexpr LPARAM KEY_REPEATED = LPARAM(1) << 30;
constexpr LPARAM KEY_RELEASED = LPARAM(1) << 31;

bool alt_held(const SDL_KeyboardEvent& key) {
    return (key.keysym.mod & KMOD_LALT) != 0 || key.keysym.sym == SDLK_LALT;
}

void key_down(const SDL_KeyboardEvent& key) {
    int vk = virtual_key_of(key.keysym.sym);
    state().suppress_text = false;
    if (vk == 0) return;  // its character, if any, still comes as text input
    bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    bool alt = alt_held(key);
    LPARAM flags = 1;
    if (key.repeat != 0) flags |= KEY_REPEATED;
    if (!alt && key_delivers_text(vk, ctrl)) flags |= input::KEY_TEXT_SEPARATE;
    bool delivered = input::keyboard_key(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, flags);
    // Keys the menu bar kept and Alt combinations type nothing.
    if (!delivered || alt) state().suppress_text = true;
}

void key_up(const SDL_KeyboardEvent& key) {
    int vk = virtual_key_of(key.keysym.sym);
    if (vk == 0) return;
    input::keyboard_key(alt_held(key) ? WM_SYSKEYUP : WM_KEYUP, vk,
                        1 | KEY_REPEATED | KEY_RELEASED);
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
    if (button == SDL_BUTTON_MIDDLE) return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    return 0;
}

void mouse_button(const SDL_MouseButtonEvent& button) {
    DesktopWindow* d = desktop_of_sdl_window(button.windowID);
    UINT message = button_message(button.button, button.type == SDL_MOUSEBUTTONDOWN);
    const int s = state().scale;
    if (d != nullptr && message != 0) {
        input::picture_button(d->hwnd, message, unscaled(button.x, s), unscaled(button.y, s));
    }
}

void mouse_motion(const SDL_MouseMotionEvent& motion) {
    DesktopWindow* d = desktop_of_sdl_window(motion.windowID);
    const int s = state().scale;
    if (d != nullptr) input::picture_motion(d->hwnd, unscaled(motion.x, s), unscaled(motion.y, s));
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
            state().focus_lost_pending = true;
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
            d->needs_present = true;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            d->needs_present = true;
            if (!(get_window_style(d->hwnd) & WS_THICKFRAME)) break;
            d->content = Size{event.data1 / state().scale, event.data2 / state().scale};
            input::picture_resized(d->hwnd, d->content.cx, d->content.cy);
            break;
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
