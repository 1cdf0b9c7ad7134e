// Headless reference pictures of the weather program.
#include "reference_run.h"

#include "kv390/harness.h"
#include "random.h"
#include "weather.h"

namespace desktop {
namespace {

constexpr std::uint64_t TICK_MS = 100;

struct Capture {
    std::uint64_t at_ms = 0;
    bool done = false;
    ReferenceRun run;
};

void capture_after_clicks(win::HWND, void* context) {
    auto* capture = static_cast<Capture*>(context);
    if (capture->done || kv390::harness::now() < capture->at_ms) return;
    win::HWND graphics = kv390::harness::window_by_title("KV390 Graphics");
    capture->run.picture = kv390::harness::window_pixels(graphics);
    capture->run.run_menu = kv390::harness::menu_popup(graphics, "Run");
    capture->done = true;
}

}  // namespace

ReferenceRun render_reference(std::uint32_t seed, int ticks,
                              const std::vector<win::Point>& clicks) {
    using kv390::harness::TimedInput;
    kv390::harness::reset();
    kv390::harness::set_screen_size(1024, 768);
    random_fix_seed(seed);
    // Ticks come every 100 ms of virtual time; the input 50 ms after the
    // last wanted one, 1 ms apart, all before the next.
    std::uint64_t at = std::uint64_t(ticks) * TICK_MS + TICK_MS / 2;
    kv390::harness::schedule(TimedInput{TimedInput::Kind::CtrlKey, at, "", 0, 0, 'H', "", 0});
    for (const win::Point& p : clicks) {
        at += 1;
        kv390::harness::schedule(TimedInput{TimedInput::Kind::Click, at, "", p.x, p.y, 0, "", 0});
    }
    kv390::harness::schedule(TimedInput{TimedInput::Kind::End, at + 1000, "", 0, 0, 0, "", 0});
    Capture capture;
    capture.at_ms = at + 500;
    kv390::harness::on_timer_dispatched(capture_after_clicks, &capture);
    weather_main(nullptr, nullptr, "", win::SW_SHOW);
    kv390::harness::on_timer_dispatched(nullptr, nullptr);
    return capture.run;
}

}  // namespace desktop
