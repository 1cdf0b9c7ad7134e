// The playback run: the whole weather picture, fed from a script file.
#include <cstdint>
#include <string>

#include "frame_calls.h"
#include "kv390/harness.h"
#include "playback_script.h"
#include "random.h"
#include "state.h"
#include "weather.h"
#include "weather_frame.h"

namespace bench {
namespace {

constexpr int PANEL_X = -260;
// Drawing y of the middle of each panel row.
constexpr int RAIN_ROW = 235, ROW_STEP = 30;
constexpr int WHITE_ROW = 85;
constexpr int SKY_CLICKS = 500;
constexpr int FINAL_TICKS = 1500;
// Rain, snow and hail mostly; a few batteries (rabbits) and grenades.
constexpr int KIND_CYCLE[] = {KIND_RAIN,    KIND_SNOW, KIND_HAIL,    KIND_RAIN, KIND_SNOW,
                              KIND_BATTERY, KIND_HAIL, KIND_GRENADE, KIND_RAIN, KIND_SNOW};

std::string mouse(int x, int y) {
    return "KV390_MOUSE(" + std::to_string(x) + ", " + std::to_string(y) + ");\n";
}

std::string ticks(int count) {
    return "KV390_PERIODIC(" + std::to_string(count) + ");\n";
}

}  // namespace

std::string long_weather_script() {
    std::string script;
    std::uint32_t state = 1;
    auto next = [&state](int n) {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) % std::uint32_t(n));
    };
    for (int click = 0; click < SKY_CLICKS; ++click) {
        if (click % 50 == 0) {
            const int kind = KIND_CYCLE[(click / 50) % 10];
            script += mouse(PANEL_X, RAIN_ROW - ROW_STEP * (kind - 1));
            script += mouse(PANEL_X, WHITE_ROW - ROW_STEP * ((click / 50) % 3));
        }
        script += mouse(-210 + next(500), -40 + next(285));
        if (click % 10 == 9) script += ticks(3);
    }
    script += ticks(FINAL_TICKS);
    return script;
}

std::uint64_t play_weather_script() {
    namespace harness = kv390::harness;
    harness::reset();
    kv390::reset_library_state();
    harness::set_idle_limit(1);
    random_fix_seed(7);
    harness::TimedInput start_playback{};
    start_playback.kind = harness::TimedInput::Kind::Menu;
    start_playback.id = kv390::IDM_PLAYBACK;
    harness::schedule(start_playback);
    reset_events_waited();
    weather_main(nullptr, nullptr, "", 5);
    close_library();
    return events_waited();
}

}  // namespace bench
