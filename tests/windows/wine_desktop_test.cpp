// The Windows weather program (weather.exe from the mingw-w64 build) under
// wine on a virtual X display: both windows open, clicks on Rain, Blue and
// the sky, given while the animation is halted, draw the blue drop, the
// client area is 595 x 497 and has the pixels of a headless run of the same
// input, and Ctrl+Q typed through XTEST into the focused graphics window ends
// the program with exit code 0.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "kv390/harness.h"
#include "menu_bar/layout.h"
#include "process.h"
#include "weather_session.h"

namespace {

using desktop::CLIENT_H;
using desktop::CLIENT_W;
using desktop::run;
using desktop::WindowPlace;
using kv390::tools::ExitStatus;
using kv390::tools::Process;
using kv390::tools::SpawnRequest;
using kv390::tools::TempDir;

constexpr int BAR = win::menu_bar::layout::BAR_HEIGHT;
constexpr std::uint32_t BLUE = 0x0000FF;
// Bounds of waits for states, reached at once on a quiet machine: wine may
// have to start its own services first, and a busy machine slows it down.
constexpr int FIRST_WINDOW_TIMEOUT_S = 120;
constexpr int INPUT_TIMEOUT_S = 120;

using WineWeather = desktop::WeatherSession;

// Pure blue pixels within radius of p.
int blue_pixels_near(const win::Image& client, win::Point p, int radius) {
    int n = 0;
    for (int y = std::max(p.y - radius, 0); y <= std::min(p.y + radius, client.height - 1); ++y) {
        for (int x = std::max(p.x - radius, 0); x <= std::min(p.x + radius, client.width - 1);
             ++x) {
            n += client.at(x, y) == BLUE ? 1 : 0;
        }
    }
    return n;
}

TEST_F(WineWeather, BothWindowsBlueDropSamePixelsAsHeadlessAndCtrlQEndsIt) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(dir.create("kv390-wine-desktop-", &error)) << error;
    // A wineserver left from programs run without this display (its desktop
    // process on no display or another one) draws the picture wrongly: the
    // program gets a server of its own.  The test runs alone (RUN_SERIAL).
    run(std::string(WINESERVER_PROGRAM) + " -k 2>/dev/null");
    const std::time_t started = std::time(nullptr);
    Process weather;
    SpawnRequest request{
        WINE_PROGRAM, {WINDOWS_WEATHER}, {{"DISPLAY", display.name()}}, dir.path()};
    ASSERT_TRUE(weather.start(request, &error)) << error;

    WindowPlace graphics, text;
    ASSERT_TRUE(find_window("KV390 Graphics", &graphics, FIRST_WINDOW_TIMEOUT_S));
    ASSERT_TRUE(find_window("KV390 Text", &text));
    const std::time_t shown = std::time(nullptr);
    // Wine's own frame, caption and menu metrics do not matter: the X window
    // is the program's client area, the drawn menu bar above the picture.
    EXPECT_EQ(graphics.width, CLIENT_W);
    EXPECT_EQ(graphics.height, BAR + CLIENT_H);

    // The comparison waits for states, not for time: the program's script
    // tells when it has taken every click (and that it took them halted),
    // and screenshots are taken until the picture has reached the screen.
    const std::string problem =
        desktop::halt_record_and_click(display.name(), graphics, BAR, dir.path(), INPUT_TIMEOUT_S);
    ASSERT_EQ(problem, "");

    win::Image content;
    desktop::ReferenceChoice choice;
    const bool same = desktop::shows_headless_picture(display.name(), graphics, BAR, started - 1,
                                                      shown + 1, "wine_client", &content, &choice);
    ASSERT_EQ(content.width, CLIENT_W);
    ASSERT_EQ(content.height, BAR + CLIENT_H);
    EXPECT_EQ(content.at(CLIENT_W - 2, BAR / 2), 0xC0C0C0u) << "menu bar strip";
    const win::Image shot = desktop::client_part(content, BAR);
    EXPECT_GT(blue_pixels_near(shot, desktop::WEATHER_CLICKS[2], 12), 0) << "no blue drop";
    EXPECT_TRUE(same) << choice.describe();
    std::printf("%s: %s\n", same ? "matched" : "no match", choice.describe().c_str());

    run(on_display("xdotool windowfocus --sync " + graphics.id));
    run(on_display("xdotool key ctrl+q"));
    ExitStatus status;
    if (!weather.wait_for(60000, &status)) {
        weather.kill();
        FAIL() << "weather.exe still runs 60 s after Ctrl+Q";
    }
    EXPECT_FALSE(status.signalled) << status.signal_name;
    EXPECT_EQ(status.code, 0);
}

}  // namespace
