// Running an example program headless: timed input, a look at the graphics
// window after every animation tick, and the library given back afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "kv390/harness.h"
#include "kv390/win.h"
#include "timed_input.h"

extern "C" int bouncing_ball_main(void);
extern "C" int click_draw_main(void);
extern "C" int snake_main(void);

namespace kv390::examples_test {

using Input = harness::TimedInput;

// Client pixels of the graphics window for drawing coordinates (x, y).
constexpr int ORIGIN_X = test::DRAWING_ORIGIN_X;
constexpr int ORIGIN_Y = test::DRAWING_ORIGIN_Y;

using test::click_at;  // drawing coordinates
using test::ctrl_key_at;
using test::end_at;
using test::key_at;

using TickLook = std::function<void(const win::Image& picture)>;

// Runs program with the input on a fresh layer and library, calling look
// with the graphics window's picture at every timer tick.  Returns the
// program's exit code.
int run_example(int (*program)(void), const std::vector<Input>& inputs, const TickLook& look);

// The palette colour of a library colour index, as a pixel.
std::uint32_t pixel_of_color(int color);

std::uint32_t pixel_at(const win::Image& picture, int x, int y);

}  // namespace kv390::examples_test
