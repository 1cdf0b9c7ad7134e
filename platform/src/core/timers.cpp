// Timers: each is due at one time; when its WM_TIMER is taken the next due
// time is now + interval, so at most one is ever pending per timer.
#include <algorithm>

#include "core/backend.h"
#include "core/window.h"

namespace win {

// Shorter intervals would only make an idle program spin.
constexpr UINT MINIMUM_INTERVAL_MS = 10;

static Timer* find_timer(HWND hwnd, std::uintptr_t id) {
    for (Timer& t : core().timers) {
        if (t.hwnd == hwnd && t.id == id) return &t;
    }
    return nullptr;
}

std::uintptr_t set_timer(HWND hwnd, std::uintptr_t id, UINT interval_ms) {
    if (hwnd != nullptr && live_window(hwnd) == nullptr) return 0;
    Core& c = core();
    if (hwnd == nullptr && find_timer(nullptr, id) == nullptr) id = c.next_free_timer_id++;
    UINT interval = std::max(interval_ms, MINIMUM_INTERVAL_MS);
    std::uint64_t due = ensure_backend().now_ms() + interval;
    if (Timer* existing = find_timer(hwnd, id)) {
        existing->interval = interval;
        existing->due = due;
    } else {
        c.timers.push_back(Timer{hwnd, id, interval, due});
    }
    return hwnd != nullptr ? (id != 0 ? id : 1) : id;
}

bool kill_timer(HWND hwnd, std::uintptr_t id) {
    auto& timers = core().timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers.end()) return false;
    timers.erase(it);
    return true;
}

void kill_window_timers(HWND hwnd) {
    auto& timers = core().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

bool next_timer_due(std::uint64_t* due) {
    const auto& timers = core().timers;
    if (timers.empty()) return false;
    auto earliest = std::min_element(timers.begin(), timers.end(),
                                     [](const Timer& a, const Timer& b) { return a.due < b.due; });
    *due = earliest->due;
    return true;
}

bool any_timer_due() {
    std::uint64_t due = 0;
    return next_timer_due(&due) && due <= ensure_backend().now_ms();
}

// The earliest due timer first; equal times in the order the timers were set.
bool take_due_timer(Msg* msg, HWND filter, UINT min, UINT max, bool remove) {
    std::uint64_t now = ensure_backend().now_ms();
    Timer* chosen = nullptr;
    for (Timer& t : core().timers) {
        if (t.due > now || !matches_filter(t.hwnd, WM_TIMER, filter, min, max)) continue;
        if (t.hwnd == nullptr && filter != nullptr) continue;
        if (chosen == nullptr || t.due < chosen->due) chosen = &t;
    }
    if (chosen == nullptr) return false;
    *msg = Msg{chosen->hwnd, WM_TIMER, chosen->id, 0, now};
    if (remove) chosen->due = now + chosen->interval;
    return true;
}

}  // namespace win
