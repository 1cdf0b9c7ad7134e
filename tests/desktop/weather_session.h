// The weather program on a virtual X display, for the desktop end-to-end
// tests (the native program and the Windows one under wine): a fixture that
// starts Xvfb and finds, clicks and photographs windows with xdotool and
// ImageMagick, and the headless run whose picture a screenshot must equal.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "desktop_session.h"
#include "kv390/win.h"
#include "reference_run.h"

namespace desktop {

constexpr int CLIENT_W = 595, CLIENT_H = 497;

// Client positions of the clicks: "Rain" (panel row 0), "Blue" (row 6), the sky.
extern const std::vector<win::Point> WEATHER_CLICKS;

class WeatherSession : public ::testing::Test {
  protected:
    // Skips the test when xdotool, ImageMagick or Xvfb is missing.
    void SetUp() override;

    // The helpers of desktop_session.h on this fixture's display.
    std::string on_display(const std::string& command) const {
        return desktop::on_display(display.name(), command);
    }
    bool find_window(const std::string& title, WindowPlace* place, int timeout_s = 15) {
        return desktop::find_window(display.name(), title, place, timeout_s);
    }
    void click_at(int x, int y) { desktop::click_at(display.name(), x, y); }
    win::Image screenshot(const WindowPlace& place, const std::string& path) {
        return desktop::screenshot(display.name(), place, path);
    }

    VirtualDisplay display;
};

// The client area below a menu bar strip of bar rows (empty when too small).
win::Image client_part(const win::Image& content, int bar);
int differing_pixels(const win::Image& a, const win::Image& b);

// Finds the headless run with the same picture as shot, taken after
// render_reference's input with WEATHER_CLICKS: the seed is the start-up
// second (from..to), the halt time follows from how far the sun moved.
// best gets the fewest differing pixels found.
bool matching_reference(const win::Image& shot, std::time_t from, std::time_t to,
                        ReferenceRun* found, int* best);

// matching_reference, and when none matches, the shot and the closest
// headless picture saved as SCREENSHOT_DIR/<name>.png and
// SCREENSHOT_DIR/<name>_headless.png for a look.
bool same_as_headless(const win::Image& shot, std::time_t from, std::time_t to,
                      const std::string& name, ReferenceRun* found, int* best);

}  // namespace desktop
