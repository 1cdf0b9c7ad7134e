// The animation tick period.
#include <algorithm>

#include "state.h"

namespace kv390 {
namespace {

constexpr int SHORTEST_TICK_MS = 10;
constexpr int LONGEST_TICK_MS = 1000;

}  // namespace
}  // namespace kv390

using kv390::lib;

extern "C" int KV390_set_tick_ms(int ms) {
    const int period = std::clamp(ms, kv390::SHORTEST_TICK_MS, kv390::LONGEST_TICK_MS);
    if (period != ms) KV390_log("Tick of %d ms not possible, using %d ms\n", ms, period);
    lib().input.tick_ms = unsigned(period);
    // Before KV390_begin the period waits for the timer that KV390_begin starts.
    if (lib().graphics_window != nullptr) {
        win::set_timer(lib().graphics_window, kv390::TIMER_ID, lib().input.tick_ms);
    }
    return 1;
}
