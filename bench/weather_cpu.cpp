// CPU use and peak memory of the animated weather picture with 500 items,
// run headless with the virtual clock paced by the real one.
//
// Clicks put five batteries (they land and become rabbits; hunters come by
// themselves) and then 500 rain, snow and hail items of every colour into
// the sky.  From 6 s to 16 s of the run the process CPU time is compared
// with the wall-clock time; the run ends at 16.1 s.  Prints the CPU share of
// one core and ru_maxrss.
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "kv390/harness.h"
#include "random.h"
#include "weather.h"

namespace {

namespace harness = kv390::harness;
using Input = harness::TimedInput;

constexpr std::uint64_t MEASURE_FROM_MS = 6000;
constexpr std::uint64_t MEASURE_TO_MS = 16000;
constexpr std::uint64_t RUN_END_MS = 16100;
constexpr int SKY_ITEMS = MAX_ITEMS;
constexpr int BATTERIES = 5;

double cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double wall_seconds() {
    using clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(clock::now().time_since_epoch()).count();
}

// A click at a drawing position of the graphics window.
Input click_at(std::uint64_t at_ms, int x, int y) {
    Input input{};
    input.kind = Input::Kind::Click;
    input.at_ms = at_ms;
    input.x = x + 297;
    input.y = 248 - y;
    return input;
}

// Panel rows, by their drawing y.
int kind_row(int kind) {
    return 235 - 30 * (kind - 1);
}
int color_row(int which) {
    return 85 - 30 * which;
}

void schedule_session() {
    std::uint64_t at = 100;
    harness::schedule(click_at(at, -260, kind_row(KIND_BATTERY)));
    harness::schedule(click_at(at, -260, color_row(1)));
    for (int i = 0; i < BATTERIES; ++i) harness::schedule(click_at(at += 10, -150 + 90 * i, 200));
    at = 4000;  // the batteries have landed
    std::uint32_t state = 99;
    for (int i = 0; i < SKY_ITEMS; ++i) {
        if (i % 50 == 0) {
            harness::schedule(click_at(at, -260, kind_row(KIND_RAIN + (i / 50) % 3)));
            harness::schedule(click_at(at, -260, color_row((i / 50) % 3)));
        }
        state = state * 1103515245u + 12345u;
        const int x = -210 + int((state >> 16) % 500);
        state = state * 1103515245u + 12345u;
        const int y = -40 + int((state >> 16) % 285);
        harness::schedule(click_at(at += 2, x, y));
    }
    Input end{};
    end.kind = Input::Kind::End;
    end.at_ms = RUN_END_MS;
    harness::schedule(end);
}

struct Measurement {
    double cpu_start = 0, wall_start = 0, cpu_end = 0, wall_end = 0;
    bool started = false, done = false;
};

void on_tick(win::HWND, void* context) {
    auto* m = static_cast<Measurement*>(context);
    const std::uint64_t now = harness::now();
    if (!m->started && now >= MEASURE_FROM_MS) {
        m->started = true;
        m->cpu_start = cpu_seconds();
        m->wall_start = wall_seconds();
    } else if (m->started && !m->done && now >= MEASURE_TO_MS) {
        m->done = true;
        m->cpu_end = cpu_seconds();
        m->wall_end = wall_seconds();
    }
}

}  // namespace

int main() {
    harness::reset();
    harness::set_real_time(true);
    random_fix_seed(12345);
    schedule_session();
    Measurement m;
    harness::on_timer_dispatched(on_tick, &m);
    const int exit_code = weather_main(nullptr, nullptr, "", 5);
    harness::on_timer_dispatched(nullptr, nullptr);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peak_mb = double(usage.ru_maxrss) / 1024.0;
    if (!m.done) {
        std::printf("the run ended before the measurement did\n");
        return 1;
    }
    const double cpu = m.cpu_end - m.cpu_start;
    const double wall = m.wall_end - m.wall_start;
    const double share = 100.0 * cpu / wall;
    std::printf("Animated weather picture, 500 items, 10 ticks a second, headless, real time\n");
    std::printf("  CPU time %.3f s over %.3f s wall: %.2f %% of one core (target < 5)  %s\n", cpu,
                wall, share, share < 5.0 ? "met" : "MISSED");
    std::printf("  peak memory (ru_maxrss) %.1f MB (target < 20)  %s\n", peak_mb,
                peak_mb < 20.0 ? "met" : "MISSED");
    return exit_code;
}
