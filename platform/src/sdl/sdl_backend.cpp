// The desktop backend: SDL supplies the screen, the clock, input and windows.
#include <SDL2/SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/backend.h"
#include "core/window.h"
#include "sdl/backend_state.h"

namespace win::sdl {
namespace {

void shut_down() {
    for (auto& d : state().windows) close_desktop_window(*d);
    state().windows.clear();
    SDL_Quit();
}

// Drivers that show nothing on a screen: SDL falls back to them when there is
// no display, which would leave the user with an invisible program.
bool shows_nothing(const char* driver) {
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
           std::strcmp(driver, "evdev") == 0;
}

bool wants_desktop_window(const Window& w) {
    return w.parent == nullptr && !w.destroyed;
}

void close_stale_windows() {
    auto& windows = state().windows;
    for (auto& d : windows) {
        if (live_window(d->hwnd) == nullptr) close_desktop_window(*d);
    }
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [](const auto& d) { return d->window == nullptr; }),
                  windows.end());
}

// Hands the core's choice of active window to the desktop.
void raise_active_window() {
    HWND active = core().active;
    if (active == state().synced_active) return;
    state().synced_active = active;
    DesktopWindow* d = desktop_of(active);
    if (d != nullptr && d->visible) SDL_RaiseWindow(d->window);
}

}  // namespace

bool start_video(std::string* reason) {
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    if (requested != nullptr && *requested != 0) {
        if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
        *reason = SDL_GetError();
        return false;
    }
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char* driver = SDL_GetVideoDriver(i);
        if (driver == nullptr || shows_nothing(driver)) continue;
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
        if (reason->empty()) *reason = std::string(driver) + ": " + SDL_GetError();
    }
    if (reason->empty()) *reason = "no video driver";
    return false;
}

BackendState& state() {
    // Never destroyed: the exit handler that closes the windows runs after
    // static destructors registered later would have run.
    static BackendState* instance = new BackendState;
    return *instance;
}

DesktopWindow* desktop_of(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    for (auto& d : state().windows) {
        if (d->hwnd == hwnd) return d.get();
    }
    return nullptr;
}

DesktopWindow* desktop_of_sdl_window(Uint32 window_id) {
    SDL_Window* window = SDL_GetWindowFromID(window_id);
    if (window == nullptr) return nullptr;
    for (auto& d : state().windows) {
        if (d->window == window) return d.get();
    }
    return nullptr;
}

void sync_windows() {
    close_stale_windows();
    for (const auto& record : core().windows) {
        Window& w = *record;
        if (!wants_desktop_window(w)) continue;
        DesktopWindow* d = desktop_of(&w);
        if (d == nullptr) {
            if (!w.visible) continue;  // made on first showing
            auto fresh = std::make_unique<DesktopWindow>();
            if (!open_desktop_window(*fresh, w)) continue;
            d = fresh.get();
            state().windows.push_back(std::move(fresh));
        }
        sync_desktop_window(*d, w);
    }
    raise_active_window();
}

}  // namespace win::sdl

namespace win::backend {

void init() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    std::string reason;
    if (!sdl::start_video(&reason)) {
        std::fprintf(stderr,
                     "KV390: no display available (%s); use kv390-render to run headless, or set "
                     "DISPLAY\n",
                     reason.c_str());
        std::exit(2);
    }
    sdl::state();
    std::atexit(sdl::shut_down);
    SDL_StartTextInput();
}

Size screen_size() {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0) {
        return Size{1024, 768};
    }
    return Size{bounds.w, bounds.h};
}

std::uint64_t now_ms() {
    return SDL_GetTicks64();
}

void poll_input() {
    sdl::sync_windows();
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) sdl::handle_event(event);
    sdl::finish_event_batch();
}

void sleep_until(std::uint64_t deadline_ms, bool has_deadline) {
    sdl::sync_windows();
    SDL_PumpEvents();
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return;
    if (!has_deadline) {
        SDL_WaitEvent(nullptr);
        return;
    }
    std::uint64_t now = now_ms();
    if (deadline_ms <= now) return;
    std::uint64_t wait = std::min<std::uint64_t>(deadline_ms - now, INT_MAX);
    SDL_WaitEventTimeout(nullptr, int(wait));
}

void present() {
    flush_all_deferred();
    sdl::sync_windows();
    for (auto& d : sdl::state().windows) {
        Window* w = live_window(d->hwnd);
        if (w != nullptr) sdl::present_desktop_window(*d, *w);
    }
}

void window_event(HWND hwnd, WindowEvent event) {
    sdl::DesktopWindow* d = sdl::desktop_of(hwnd);
    if (d != nullptr && (event == WindowEvent::MenuChanged || event == WindowEvent::Shown)) {
        d->menu_dirty = true;
        d->needs_present = true;
    }
    sdl::sync_windows();
}

}  // namespace win::backend
