// The timed input list on the virtual clock, and the end of a run.
#include <algorithm>

#include "core/input.h"
#include "headless/headless.h"
#include "run_client/run_client.h"

namespace win::headless {

using harness::TimedInput;

State& state() {
    static State instance;
    return instance;
}

static std::uint64_t last_input_time() {
    std::uint64_t last = 0;
    for (const TimedInput& e : state().entries) {
        if (e.kind != TimedInput::Kind::End) last = std::max(last, e.at_ms);
    }
    return last;
}

// Without an "end" entry the run ends an idle limit after the last input.
static std::uint64_t idle_end_time() {
    return last_input_time() + state().idle_limit;
}

static void deliver(const TimedInput& e) {
    win::HWND hwnd = harness::window_by_title(e.window);
    switch (e.kind) {
        case TimedInput::Kind::Click:
            if (hwnd != nullptr) harness::click(hwnd, e.x, e.y);
            break;
        case TimedInput::Kind::KeyDown:
            harness::key_down(e.vk);
            break;
        case TimedInput::Kind::KeyUp:
            harness::key_up(e.vk);
            break;
        case TimedInput::Kind::Key:
            harness::press_key(e.vk);
            break;
        case TimedInput::Kind::CtrlKey:
            harness::press_ctrl_key(e.vk);
            break;
        case TimedInput::Kind::Type:
            harness::type_text(e.text);
            break;
        case TimedInput::Kind::Menu:
            if (hwnd != nullptr) harness::choose_menu_command(hwnd, e.id);
            break;
        case TimedInput::Kind::Close:
            if (hwnd != nullptr) harness::close_window(hwnd);
            break;
        case TimedInput::Kind::RightClick:
            if (hwnd != nullptr) harness::right_click(hwnd, e.x, e.y);
            break;
        case TimedInput::Kind::MiddleClick:
            if (hwnd != nullptr) harness::middle_click(hwnd, e.x, e.y);
            break;
        case TimedInput::Kind::Move:
            if (hwnd != nullptr) harness::mouse_move(hwnd, e.x, e.y);
            break;
        case TimedInput::Kind::MouseDown:
            if (hwnd != nullptr) harness::mouse_down(hwnd, e.x, e.y);
            break;
        case TimedInput::Kind::MouseUp:
            if (hwnd != nullptr) harness::mouse_up(hwnd, e.x, e.y);
            break;
        case TimedInput::Kind::End:
            break;
    }
}

void deliver_due_input() {
    State& s = state();
    while (s.next_entry < s.entries.size() && s.entries[s.next_entry].at_ms <= s.clock) {
        TimedInput e = s.entries[s.next_entry++];
        deliver(e);
    }
}

void end_run() {
    State& s = state();
    if (s.run_ended) return;
    s.run_ended = true;
    s.ended_at = s.clock;
    std::vector<win::HWND> windows = win::top_level_windows();
    if (!windows.empty()) win::input::close_box(windows.front());
}

void check_end_of_run() {
    State& s = state();
    if (s.run_ended) {
        if (s.clock >= s.ended_at + s.idle_limit) {
            win::post_quit_message(0);
            s.ended_at = s.clock;
        }
        return;
    }
    if (s.next_entry < s.entries.size()) return;
    if (s.has_end_entry || s.clock >= idle_end_time()) end_run();
}

bool next_wake(std::uint64_t* t) {
    const State& s = state();
    if (s.next_entry < s.entries.size()) {
        *t = s.entries[s.next_entry].at_ms;
        return true;
    }
    *t = s.run_ended ? s.ended_at + s.idle_limit : idle_end_time();
    return true;
}

void move_clock_to(std::uint64_t t) {
    State& s = state();
    while (s.next_entry < s.entries.size() && s.entries[s.next_entry].at_ms <= t) {
        s.clock = std::max(s.clock, s.entries[s.next_entry].at_ms);
        deliver_due_input();
    }
    s.clock = std::max(s.clock, t);
    deliver_due_input();
    check_end_of_run();
    kv390::run_client::clock_moved(s.clock);
}

}  // namespace win::headless

namespace kv390::harness {

void schedule(const TimedInput& input) {
    auto& s = win::headless::state();
    auto pos = std::upper_bound(s.entries.begin() + std::ptrdiff_t(s.next_entry), s.entries.end(),
                                input.at_ms,
                                [](std::uint64_t at, const TimedInput& e) { return at < e.at_ms; });
    s.entries.insert(pos, input);
    if (input.kind == TimedInput::Kind::End) s.has_end_entry = true;
}

void set_idle_limit(std::uint64_t ms) {
    win::headless::state().idle_limit = ms;
}

bool run_ended() {
    return win::headless::state().run_ended;
}

std::uint64_t now() {
    return win::headless::state().clock;
}

void advance(std::uint64_t ms) {
    win::headless::move_clock_to(win::headless::state().clock + ms);
}

void set_real_time(bool on) {
    win::headless::state().real_time = on;
}

std::uint64_t present_count() {
    return win::headless::state().presents;
}

}  // namespace kv390::harness
