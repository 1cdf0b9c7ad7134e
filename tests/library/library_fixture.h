// Shared set-up for the library tests: a fresh windowing layer and library
// per test, and helpers that read the canvas, windows and log.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kv390/harness.h"
#include "kv390/win.h"
#include "state.h"

namespace kv390::test {

class LibraryTest : public ::testing::Test {
  protected:
    void SetUp() override;
    // Resets the layer, which frees the window DC, the canvas and its DC and
    // the class background brush, and forgets the library state.
    void TearDown() override;
    // A fresh layer and library within one test.
    void restart() {
        TearDown();
        SetUp();
    }
    // Opens the library and clears the canvas to white in its black frame.
    void open_cleared();
};

// Bitmap pixel value (0x00RRGGBB) of a palette colour.
std::uint32_t pixel_of_color(int color);
win::Image canvas();
// The text window's line height: its fixed-pitch font's height and leading.
int text_line_height();
// Canvas pixel of a drawing point.
std::uint32_t canvas_at(const win::Image& image, int x, int y);
int count_pixels(const win::Image& image, std::uint32_t pixel);
// Smallest box holding every pixel of that value: left, top, right, bottom
// inclusive, in device coordinates; all -1 when there is none.
win::Rect bounds_of(const win::Image& image, std::uint32_t pixel);
// Saved log lines, oldest first.
std::vector<std::string> log_lines();
// Log lines written since the ring held `before` lines (ring not yet full).
std::vector<std::string> log_lines_since(std::size_t before);

// A memory DC with its own white bitmap, for drawing expected pictures.
struct ScratchCanvas {
    ScratchCanvas(int width, int height);
    ~ScratchCanvas();
    win::HDC dc = nullptr;
    win::HGDIOBJ bitmap = nullptr;
    win::HGDIOBJ previous_bitmap = nullptr;
};

}  // namespace kv390::test
