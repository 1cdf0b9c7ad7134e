// Mistakes that beginners make and that would otherwise fail silently: each
// is told in one line on stderr, and the program goes on where it can.
#include <cstdio>
#include <cstdlib>

#include "state.h"

namespace kv390 {
namespace {

bool graphics_window_open() {
    const win::HWND window = lib().graphics_window;
    return window != nullptr && win::is_window(window);
}

// Dispatches messages until the graphics window is closed (or quit is asked
// for).  The timer is stopped first, so nothing wakes the wait needlessly.
void show_until_closed() {
    LibraryState& state = lib();
    win::kill_timer(state.graphics_window, TIMER_ID);
    win::set_window_text(state.graphics_window, ENDED_PROGRAM_TITLE);
    show_canvas_now(nullptr);  // also after KV390_end released the window's DC
    win::Msg msg;
    while (graphics_window_open()) {
        if (!win::peek_message(&msg, nullptr, 0, 0, win::PM_REMOVE)) {
            win::wait_for_activity(-1);
            continue;
        }
        if (msg.message == win::WM_QUIT) break;
        win::translate_message(&msg);
        win::dispatch_message(&msg);
    }
}

}  // namespace

void show_unshown_picture() {
    const LibraryState& state = lib();
    const bool unshown = state.has_drawn && state.canvas_changed != 0;
    if (!unshown || state.events.quit_returned || !graphics_window_open()) return;
    // Headless, a tool takes the unshown drawing as the last picture, and
    // nobody could close the window: the run just ends.
    if (!win::on_a_desktop()) return;
    std::fprintf(stderr,
                 "KV390: the program ended without waiting for an event after drawing, so its "
                 "last picture was never shown; its window shows it until it is closed (call "
                 "KV390_wait_event to show a picture)\n");
    show_until_closed();
}

void tell_drawing_before_begin() {
    LibraryState& state = lib();
    if (state.told_drawing_before_begin) return;
    state.told_drawing_before_begin = true;
    std::fprintf(stderr,
                 "KV390: drawing before KV390_begin draws nothing; call KV390_begin first\n");
}

void keep_unshown_picture_at_exit() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    // Registered after the backend has started, so it runs before the
    // backend's own exit handler closes the desktop windows.
    std::atexit(show_unshown_picture);
}

namespace {

[[noreturn]] void end_program_that_ignored_quit() {
    std::fprintf(stderr,
                 "KV390: the program went on waiting after KV390_wait_event returned KV390_QUIT, "
                 "and quit was asked for again (or its window is closed); ending it: leave your "
                 "loop when KV390_QUIT comes\n");
    std::exit(1);
}

// Only on the desktop: headless, the harness or the runner ends such a run
// itself and says why.
bool quit_was_ignored() {
    return lib().events.quit_returned && win::on_a_desktop();
}

}  // namespace

void note_quit_request() {
    if (quit_was_ignored()) end_program_that_ignored_quit();
}

void note_wait_without_window() {
    if (quit_was_ignored() && !graphics_window_open()) end_program_that_ignored_quit();
}

}  // namespace kv390
