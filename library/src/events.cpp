// The event wait, run control and the input messages of the graphics window.
#include "state.h"

namespace kv390 {
namespace {

constexpr int NO_EVENT = -1;

bool still_waiting(const EventState& events) {
    if (events.pending_kind == NO_EVENT) return true;
    return events.pending_kind == KV390_PERIODIC && !events.timer_ticked;
}

bool playback_requested(const EventState& events) {
    return events.playback_on || events.play_one_requested;
}

void start_wait(EventState& events) {
    events.pending_kind = NO_EVENT;
    events.event_key = 0;
    events.event_y = 0;
    events.event_x = 0;
}

// Asks the player for the pass's event.  True when it delivered one.
bool take_script_event(EventState& events) {
    events.play_one_requested = false;
    if (play_next_event()) {
        // A live key's code does not travel with a script event that replaced it.
        const bool key_line =
            events.pending_kind == KV390_KEY_PRESS || events.pending_kind == KV390_KEY_RELEASE;
        if (!key_line) lib().input.event_code = 0;
        return true;
    }
    stop_playback();
    return false;
}

// A periodic event becomes pending; it is handed out at the next tick.
void arm_periodic_event(EventState& events) {
    if (!(events.step_requested || events.animate_on)) return;
    if (events.pending_kind != NO_EVENT) return;
    events.pending_kind = KV390_PERIODIC;
    events.timer_ticked = false;
    events.step_requested = false;
}

// After the flush that follows the redraw for a periodic event the graphics
// window shows that tick's picture: an animation frame for recorders.
void note_flushed_frame() {
    EventState& events = lib().events;
    if (!events.frame_owed) return;
    events.frame_owed = false;
    win::note_frame(lib().graphics_window);
}

void store_outputs(const EventState& events, int* x, int* y, char* key) {
    if (x) *x = events.event_x;
    if (y) *y = events.event_y;
    if (key) *key = events.event_key;
}

}  // namespace

bool pump_one_message() {
    win::Msg msg;
    if (!win::peek_message(&msg, nullptr, 0, 0, win::PM_REMOVE)) {
        flush_canvas();
        note_flushed_frame();
        return false;
    }
    if (msg.message == win::WM_QUIT) {
        note_quit_request();
        lib().events.pending_kind = KV390_QUIT;
        return true;
    }
    win::translate_message(&msg);
    win::dispatch_message(&msg);
    flush_canvas();
    note_flushed_frame();
    return true;
}

void on_left_button_down(win::LPARAM lparam) {
    LibraryState& state = lib();
    const int column = int(win::loword(std::uintptr_t(lparam)));
    const int row = int(win::hiword(std::uintptr_t(lparam)));
    state.events.event_x = column - state.origin_x;
    state.events.event_y = state.origin_y - row;
    state.events.pending_kind = KV390_MOUSE;
}

void on_char(win::WPARAM wparam) {
    EventState& events = lib().events;
    if (events.ctrl_held) return;
    events.pending_kind = KV390_KBD;
    events.event_key = char(wparam & 0xFFu);
}

int wait_for_event() {
    EventState& events = lib().events;
    start_wait(events);
    lib().input.event_code = 0;
    // Without the library's windows nothing could ever end the wait.
    if (!lib().graphics_window) return KV390_QUIT;
    note_wait_without_window();
    while (still_waiting(events)) {
        const bool took_message = pump_one_message();
        if (events.pending_kind == KV390_QUIT) break;
        if (playback_requested(events) && take_script_event(events)) break;
        arm_periodic_event(events);
        if (!took_message && !playback_requested(events) && still_waiting(events)) {
            win::wait_for_activity(-1);
        }
    }
    if (events.recording_on) {
        record_step(events.pending_kind, events.event_x, events.event_y, events.event_key,
                    lib().input.event_code);
    }
    const int kind = events.quit_requested ? KV390_QUIT : events.pending_kind;
    if (kind == KV390_PERIODIC) events.frame_owed = true;
    if (kind == KV390_QUIT) events.quit_returned = true;
    return kind;
}

void on_timer() {
    lib().events.timer_ticked = true;
}

void on_destroy() {
    win::post_quit_message(0);
}

}  // namespace kv390

using kv390::lib;

extern "C" int KV390_wait_event(int* x, int* y, char* key) {
    const int kind = kv390::wait_for_event();
    kv390::store_outputs(lib().events, x, y, key);
    return kind;
}

extern "C" int KV390_set_run_mode(int mode) {
    if (!lib().graphics_window) return 0;
    kv390::EventState& events = lib().events;
    switch (mode) {
        case KV390_RUN_HALT:
            events.animate_on = false;
            events.step_requested = false;
            break;
        case KV390_RUN_STEP:
            events.step_requested = true;
            break;
        case KV390_RUN_ANIMATE:
            events.animate_on = true;
            break;
        case KV390_RUN_QUIT:
            events.quit_requested = true;
            break;
        default:
            break;
    }
    return 1;
}
