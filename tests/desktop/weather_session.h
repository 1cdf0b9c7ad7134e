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
    // A failure says what xdotool said and whether the display still runs.
    ::testing::AssertionResult find_window(const std::string& title, WindowPlace* place,
                                           int timeout_s = 15) {
        std::string why;
        if (display.find_window(title, place, timeout_s, &why))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << why;
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

// The headless run closest to a screenshot, and why it was picked.
struct ReferenceChoice {
    std::uint32_t seed = 0;        // the start-up second tried
    int ticks = -1;                // periodic steps the headless run took before the clicks
    int shot_ticks = -1;           // steps the screenshot's sun shows (-1: no sun found)
    int reference_ticks = -1;      // steps the headless picture's sun shows
    int differing = -1;            // pixels that differ (-1: no picture compared)
    std::time_t from = 0, to = 0;  // the seeds tried
    ReferenceRun run;
    // One line: which headless picture (seed, ticks), why, and the difference.
    std::string describe() const;
};

// The headless runs of render_reference's input with WEATHER_CLICKS that a
// screenshot may show: the seed is the start-up second (from..to), the
// periodic steps taken before the clicks are those the screenshot's sun
// shows (it moves one pixel left per step; 0 when the program took the halt
// and the clicks before its first tick).  Keeps the pictures it renders, so
// that a series of screenshots of one session renders each only once.
class ReferenceSearch {
  public:
    ReferenceSearch(std::time_t from, std::time_t to) : from_(from), to_(to) {}
    // True when one equals shot; choice gets that one or the closest.
    bool find(const win::Image& shot, ReferenceChoice* choice);

  private:
    const ReferenceRun& rendered(std::uint32_t seed, int ticks);
    std::time_t from_, to_;
    std::vector<std::pair<std::pair<std::uint32_t, int>, ReferenceRun>> cache_;
};

// Takes screenshots of the graphics window (menu bar strip of bar rows
// above the client area) until one equals a headless run, waiting at most
// timeout_s for the picture to reach the screen.  When none matches, the
// last client area and the closest headless picture are saved as
// SCREENSHOT_DIR/<name>.png and SCREENSHOT_DIR/<name>_headless.png.
// content gets the last screenshot, choice what was picked and why.
bool shows_headless_picture(const std::string& display, const WindowPlace& graphics, int bar,
                            std::time_t from, std::time_t to, const std::string& name,
                            win::Image* content, ReferenceChoice* choice, int timeout_s = 60);

// The weather program's input of the picture test, given through X with
// the Control key and WEATHER_CLICKS: Ctrl+H (halt), Ctrl+R (record the
// events it takes into KV390.SCR in its working directory dir), the three
// clicks and the key x as an end mark.  Then waits (at most timeout_s) until
// the script holds the end mark: the program has taken every click and
// drawn its picture.  Returns "" when the script shows the three clicks at
// their places with no tick between or after them, else what went wrong
// with the script's text.
std::string halt_record_and_click(const std::string& display, const WindowPlace& graphics, int bar,
                                  const std::string& dir, int timeout_s);

}  // namespace desktop
