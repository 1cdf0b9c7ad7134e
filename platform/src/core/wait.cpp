// Sleeping until something may have happened, and the layer's clock.
#include <algorithm>

#include "core/backend.h"
#include "core/window.h"

namespace win {

static bool activity_waiting() {
    const Core& c = core();
    return !c.posted.empty() || c.quit_pending || any_paint_pending() || any_timer_due();
}

bool on_a_desktop() {
    return ensure_backend().on_a_desktop();
}

void wait_for_activity(int timeout_ms) {
    backend::Backend& b = ensure_backend();
    b.poll_input();
    if (activity_waiting()) return;
    b.present();
    core().last_present = b.now_ms();
    std::uint64_t deadline = 0;
    bool has_deadline = next_timer_due(&deadline);
    if (timeout_ms >= 0) {
        std::uint64_t limit = b.now_ms() + std::uint64_t(timeout_ms);
        deadline = has_deadline ? std::min(deadline, limit) : limit;
        has_deadline = true;
    }
    b.sleep_until(deadline, has_deadline);
    b.poll_input();
}

std::uint64_t get_tick_count() {
    return ensure_backend().now_ms();
}

}  // namespace win
