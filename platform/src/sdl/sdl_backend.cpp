// The desktop backend: SDL supplies the screen, the clock, input and windows.
#include <SDL2/SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/backend.h"
#include "sdl/backend_state.h"
#include "sdl/scale.h"
#include "select/backends.h"

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

void close_stale_windows() {
    auto& windows = state().windows;
    for (auto& d : windows) {
        if (!is_window(d->hwnd)) close_desktop_window(*d);
    }
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [](const auto& d) { return d->window == nullptr; }),
                  windows.end());
}

// Hands the core's choice of active window to the desktop.
void raise_active_window() {
    HWND active = get_active_window();
    if (active == state().synced_active) return;
    state().synced_active = active;
    DesktopWindow* d = desktop_of(active);
    if (d != nullptr && d->visible) SDL_RaiseWindow(d->window);
}

// Starts SDL video on a driver that shows windows on a screen (or the one
// SDL_VIDEODRIVER names); false with the reason when there is none.
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

Size physical_screen_size() {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0) {
        return Size{1024, 768};
    }
    return Size{bounds.w, bounds.h};
}

class SdlBackend final : public backend::Backend {
  public:
    void init() override;
    Size screen_size() override;
    std::uint64_t now_ms() override { return SDL_GetTicks64(); }
    void poll_input() override;
    void sleep_until(std::uint64_t deadline_ms, bool has_deadline) override;
    void present() override;
    void window_event(HWND hwnd, backend::WindowEvent event) override;
    bool on_a_desktop() override { return true; }
};

}  // namespace

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
    for (const backend::TopLevel& w : backend::top_levels()) {
        DesktopWindow* d = desktop_of(w.hwnd);
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

backend::Backend& backend() {
    static SdlBackend instance;
    return instance;
}

void SdlBackend::init() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    std::string reason;
    if (!start_video(&reason)) {
        std::fprintf(stderr,
                     "KV390: no display available (%s); set DISPLAY, or run this program without "
                     "one with KV390_BACKEND=headless (kv390-run does that and gives it input)\n",
                     reason.c_str());
        std::exit(2);
    }
    state();
    std::atexit(shut_down);
    std::string complaint;
    state().scale = choose_scale(physical_screen_size(), SDL_getenv("KV390_SCALE"), &complaint);
    if (!complaint.empty()) std::fprintf(stderr, "%s\n", complaint.c_str());
    SDL_StartTextInput();
}

// The layer lays its windows out on the screen as the scale leaves it.
Size SdlBackend::screen_size() {
    const Size screen = physical_screen_size();
    return Size{screen.cx / state().scale, screen.cy / state().scale};
}

void SdlBackend::poll_input() {
    sync_windows();
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) handle_event(event);
    finish_event_batch();
}

void SdlBackend::sleep_until(std::uint64_t deadline_ms, bool has_deadline) {
    sync_windows();
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

void SdlBackend::present() {
    backend::flush_all_deferred();
    sync_windows();
    for (auto& d : state().windows) {
        if (is_window(d->hwnd)) present_desktop_window(*d);
    }
}

void SdlBackend::window_event(HWND hwnd, backend::WindowEvent event) {
    if (event == backend::WindowEvent::Frame) return;
    DesktopWindow* d = desktop_of(hwnd);
    if (d != nullptr && event == backend::WindowEvent::Shown) d->needs_present = true;
    sync_windows();
}

}  // namespace win::sdl
