// The headless backend: a virtual screen, a virtual clock that sleeping
// advances at once, and presentation that only counts.
#include <algorithm>
#include <chrono>
#include <thread>

#include "core/backend.h"
#include "headless/headless.h"
#include "run_client/run_client.h"
#include "select/backends.h"

namespace win::headless {
namespace {

class HeadlessBackend final : public backend::Backend {
  public:
    // A runner may ask for a run (kv390/run_protocol.h).
    void init() override {
        set_log_observer(keep_log_line, nullptr);
        kv390::run_client::start_from_environment();
    }

    Size screen_size() override { return state().screen; }

    std::uint64_t now_ms() override { return state().clock; }

    void poll_input() override {
        deliver_due_input();
        check_end_of_run();
    }

    void sleep_until(std::uint64_t deadline_ms, bool has_deadline) override;

    void present() override {
        backend::flush_all_deferred();
        ++state().presents;
    }

    void window_event(HWND hwnd, backend::WindowEvent event) override {
        kv390::run_client::window_event(hwnd, event);
    }
};

// With nothing that could ever happen (no deadline, no timed input left),
// the run ends at once, and a program that still waits after that is given
// WM_QUIT, so a headless run never hangs.  A program that ignores the quit
// and waits again gets the next one an idle limit of virtual time later, so
// that it reaches any time limit.
void HeadlessBackend::sleep_until(std::uint64_t deadline_ms, bool has_deadline) {
    auto& s = state();
    std::uint64_t wake = 0;
    bool has_wake = next_wake(&wake);
    bool entries_left = s.next_entry < s.entries.size();
    if (!has_deadline && !entries_left) {
        if (!s.run_ended) {
            end_run();
        } else if (!s.quit_given) {
            s.quit_given = true;
            post_quit_message(0);
        } else {
            // check_end_of_run posts the quit once the idle limit has passed.
            move_clock_to(std::max(s.clock + 1, s.ended_at + s.idle_limit));
        }
        return;
    }
    std::uint64_t target = has_deadline ? deadline_ms : wake;
    if (has_wake && wake < target) target = wake;
    if (target > s.clock && s.real_time) {
        std::this_thread::sleep_for(std::chrono::milliseconds(target - s.clock));
    }
    move_clock_to(target);
}

}  // namespace

backend::Backend& backend() {
    static HeadlessBackend instance;
    return instance;
}

}  // namespace win::headless
