// The headless backend: a virtual screen, a virtual clock that sleeping
// advances at once, and presentation that only counts.
#include <chrono>
#include <thread>

#include "core/backend.h"
#include "core/window.h"
#include "headless/headless.h"
#include "headless/render_session.h"
#include "kv390/render.h"

namespace win::backend {

using kv390::headless::state;

// A tool may ask for a render of this run (kv390/render.h).
void init() {
    kv390::render::start_from_environment();
}

Size screen_size() {
    return state().screen;
}

std::uint64_t now_ms() {
    return state().clock;
}

void poll_input() {
    kv390::headless::deliver_due_input();
    kv390::headless::check_end_of_run();
}

// With nothing that could ever happen (no deadline, no timed input left),
// the run ends at once, and a program that still waits after that is given
// WM_QUIT, so a headless run never hangs.
void sleep_until(std::uint64_t deadline_ms, bool has_deadline) {
    auto& s = state();
    std::uint64_t wake = 0;
    bool has_wake = kv390::headless::next_wake(&wake);
    bool entries_left = s.next_entry < s.entries.size();
    if (!has_deadline && !entries_left) {
        if (!s.run_ended) {
            kv390::headless::end_run();
        } else {
            win::post_quit_message(0);
        }
        return;
    }
    std::uint64_t target = has_deadline ? deadline_ms : wake;
    if (has_wake && wake < target) target = wake;
    if (target > s.clock && s.real_time) {
        std::this_thread::sleep_for(std::chrono::milliseconds(target - s.clock));
    }
    kv390::headless::move_clock_to(target);
}

void present() {
    win::flush_all_deferred();
    ++state().presents;
}

void window_event(HWND hwnd, WindowEvent event) {
    kv390::headless::render_window_event(hwnd, event);
}

}  // namespace win::backend
