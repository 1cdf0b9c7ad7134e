// Whole runs of the weather picture on the headless backend, driven by
// timed input lists with a fixed random seed.
//
// KV390_UPDATE_GOLDEN=1 rewrites the golden picture instead of comparing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "kv390.h"
#include "kv390/harness.h"
#include "random.h"
#include "state.h"
#include "timed_input.h"
#include "weather.h"

namespace {

namespace harness = kv390::harness;
using Input = harness::TimedInput;

constexpr const char* GOLDEN_PICTURE = KV390_WEATHER_GOLDEN_DIR "/rain_blue_3s.png";
constexpr std::uint32_t ICE_BLUE_RGB = 0x99ffffu;
constexpr std::uint32_t YELLOW_RGB = 0xffff00u;

using kv390::test::click_at;  // drawing position
using kv390::test::end_at;
using kv390::test::key_at;

// What a run leaves behind: the graphics window as it was at the first
// tick and at the end of the run.
struct RunResult {
    win::Image first_tick;
    win::Image final_picture;
    int exit_code = -1;
};

void capture_first_tick(win::HWND hwnd, void* context) {
    auto* result = static_cast<RunResult*>(context);
    if (result->first_tick.pixels.empty()) result->first_tick = harness::window_pixels(hwnd);
}

void capture_every_tick(win::HWND hwnd, void* context) {
    auto* result = static_cast<RunResult*>(context);
    if (result->first_tick.pixels.empty()) result->first_tick = harness::window_pixels(hwnd);
    result->final_picture = harness::window_pixels(hwnd);
}

RunResult run_weather(const std::vector<Input>& inputs, bool every_tick = false) {
    harness::reset();
    kv390::reset_library_state();
    random_fix_seed(12345);
    for (const Input& input : inputs) harness::schedule(input);
    RunResult result;
    harness::on_timer_dispatched(every_tick ? capture_every_tick : capture_first_tick, &result);
    result.exit_code = weather_main(nullptr, nullptr, "", 5);
    harness::on_timer_dispatched(nullptr, nullptr);
    EXPECT_TRUE(harness::run_ended());
    return result;
}

std::uint32_t pixel_at(const win::Image& image, int x, int y) {
    return image.at(x + 297, 248 - y) & 0xffffffu;
}

bool same_pixels(const win::Image& a, const win::Image& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

std::vector<Input> rain_session() {
    return {
        click_at(150, -260, 235),  // "Rain"
        click_at(300, -260, 55),   // "Blue"
        click_at(450, 100, 200),   // sky
        click_at(600, -100, 150),  // sky
        click_at(750, 200, 100),   // sky
        click_at(900, 0, 220),     // sky
        click_at(1050, -150, 60),  // sky
        end_at(3000),
    };
}

TEST(WeatherRun, RainSessionIsRepeatableAndMatchesTheGoldenPicture) {
    const RunResult first = run_weather(rain_session(), true);
    const RunResult second = run_weather(rain_session(), true);
    EXPECT_EQ(first.exit_code, 0);
    ASSERT_FALSE(first.final_picture.pixels.empty());
    ASSERT_TRUE(same_pixels(first.final_picture, second.final_picture))
        << "two runs with the same seed and input differ";

    if (std::getenv("KV390_UPDATE_GOLDEN") != nullptr) {
        std::string error;
        ASSERT_TRUE(harness::save_png(first.final_picture, GOLDEN_PICTURE, &error)) << error;
        GTEST_SKIP() << "golden picture written to " << GOLDEN_PICTURE;
    }
    win::Image golden;
    std::string error;
    ASSERT_TRUE(harness::load_png(GOLDEN_PICTURE, &golden, &error))
        << error << " (run with KV390_UPDATE_GOLDEN=1 to create it)";
    EXPECT_TRUE(same_pixels(first.final_picture, golden))
        << "the picture differs from " << GOLDEN_PICTURE;
}

TEST(WeatherRun, FirstPictureShowsNoSun) {
    const RunResult run = run_weather({end_at(250)});
    ASSERT_FALSE(run.first_tick.pixels.empty());
    EXPECT_EQ(pixel_at(run.first_tick, 250, 215), ICE_BLUE_RGB);
    EXPECT_NE(pixel_at(run.first_tick, 0, 0), YELLOW_RGB) << "the sun is behind the hill";
}

TEST(WeatherRun, KeyboardEventRedrawsThePictureUnchanged) {
    // Before the first tick: a key, or a click on the ground, which changes
    // nothing either.  Both redraw the same picture, now with the sun.
    const RunResult after_key = run_weather({key_at(50, 'A'), end_at(250)});
    const RunResult after_ground_click = run_weather({click_at(50, 100, -150), end_at(250)});
    ASSERT_FALSE(after_key.first_tick.pixels.empty());
    EXPECT_EQ(pixel_at(after_key.first_tick, 250, 215), YELLOW_RGB);
    EXPECT_TRUE(same_pixels(after_key.first_tick, after_ground_click.first_tick));
}

TEST(WeatherRun, LongSessionWithEveryKindRunsToTheEnd) {
    std::vector<Input> inputs;
    const int kind_rows[] = {235, 205, 175, 145, 115};  // Rain .. Battery
    const int color_rows[] = {85, 55, 25};              // White, Blue, Magenta
    std::uint64_t t = 100;
    for (int round = 0; round < 4; ++round) {
        for (int k = 0; k < 5; ++k) {
            inputs.push_back(click_at(t += 40, -260, kind_rows[k]));
            inputs.push_back(click_at(t += 40, -260, color_rows[(k + round) % 3]));
            for (int c = 0; c < 6; ++c) {
                inputs.push_back(click_at(t += 40, -200 + 70 * c, 240 - 10 * c - round));
            }
        }
        inputs.push_back(click_at(t += 3000, -260, round % 2 ? -45 : -15));  // thin or stop
    }
    inputs.push_back(end_at(t + 20000));
    const RunResult run = run_weather(inputs);
    EXPECT_EQ(run.exit_code, 0);
}

}  // namespace
