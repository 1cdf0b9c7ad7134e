#include "example_run.h"

#include <gtest/gtest.h>

#include "state.h"

namespace kv390::examples_test {
namespace {

struct Run {
    const TickLook* look;
};

void on_tick(win::HWND hwnd, void* context) {
    const auto* run = static_cast<const Run*>(context);
    if (hwnd != lib().graphics_window) return;
    (*run->look)(harness::window_pixels(hwnd));
}

// Gives back what the library keeps for the life of the process (the layer
// reset frees every DC and GDI object), so that one test process can open it
// many times.
void release_library() {
    harness::reset();
    reset_library_state();
}

}  // namespace

int run_example(int (*program)(void), const std::vector<Input>& inputs, const TickLook& look) {
    harness::reset();
    reset_library_state();
    for (const Input& input : inputs) harness::schedule(input);
    Run run{&look};
    harness::on_timer_dispatched(on_tick, &run);
    const int exit_code = program();
    harness::on_timer_dispatched(nullptr, nullptr);
    EXPECT_TRUE(harness::run_ended()) << "the program ended before its input was used up";
    release_library();
    harness::reset();
    return exit_code;
}

std::uint32_t pixel_of_color(int color) {
    return win::pixel_of(palette_rgb[color]) & 0xffffffu;
}

std::uint32_t pixel_at(const win::Image& picture, int x, int y) {
    return picture.at(ORIGIN_X + x, ORIGIN_Y - y) & 0xffffffu;
}

}  // namespace kv390::examples_test
