// The weather program on a real (virtual) X display: driven with xdotool,
// compared pixel for pixel with a headless run of the same input, and closed
// through its Run menu.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "desktop_session.h"
#include "kv390.h"
#include "kv390/harness.h"
#include "menu_bar/layout.h"
#include "reference_run.h"
#include "weather_session.h"

namespace {

using desktop::CLIENT_H;
using desktop::CLIENT_W;
using desktop::pause_ms;
using desktop::run;
using desktop::WindowPlace;

constexpr int BAR = win::menu_bar::layout::BAR_HEIGHT;
constexpr int IDM_QUIT_POSITION = 10;
// Bound of the waits for a state (reached at once on a quiet machine).
constexpr int INPUT_TIMEOUT_S = 60;

using DesktopSession = desktop::WeatherSession;

TEST_F(DesktopSession, SamePixelsAsHeadlessAndQuitFromTheRunMenu) {
    std::string dir = desktop::make_temp_dir();
    std::time_t started = std::time(nullptr);
    desktop::Process weather;
    ASSERT_TRUE(weather.start(
        WEATHER_EXECUTABLE,
        {std::string("DISPLAY=").append(display.name()), "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="},
        dir, dir + "/stderr.txt"));
    WindowPlace graphics;
    ASSERT_TRUE(find_window("KV390 Graphics", &graphics))
        << desktop::read_file(dir + "/stderr.txt");
    std::time_t shown = std::time(nullptr);
    // The program's script tells when it has taken every click; screenshots
    // are taken until the picture has reached the screen.
    const std::string problem =
        desktop::halt_record_and_click(display.name(), graphics, BAR, dir, INPUT_TIMEOUT_S);
    ASSERT_EQ(problem, "") << desktop::read_file(dir + "/stderr.txt");

    win::Image content;
    desktop::ReferenceChoice choice;
    const bool same = desktop::shows_headless_picture(
        display.name(), graphics, BAR, started - 1, shown + 1, "desktop_client", &content, &choice);
    ASSERT_EQ(content.width, CLIENT_W);
    ASSERT_EQ(content.height, BAR + CLIENT_H);
    EXPECT_EQ(content.at(CLIENT_W - 2, BAR / 2), 0xC0C0C0u) << "menu bar strip";
    EXPECT_TRUE(same) << choice.describe();
    std::printf("%s: %s\n", same ? "matched" : "no match", choice.describe().c_str());
    const desktop::ReferenceRun& reference = choice.run;
    ASSERT_GT(reference.run_menu.size(), std::size_t(IDM_QUIT_POSITION));
    ASSERT_EQ(win::menu_label(reference.run_menu[IDM_QUIT_POSITION].text), "Quit");

    // Run menu with the mouse: the drop-down covers the picture, then Quit.
    click_at(graphics.x + 12, graphics.y + BAR / 2);
    int quit_y = BAR + win::menu_bar::layout::item_top(reference.run_menu, IDM_QUIT_POSITION) +
                 win::menu_bar::layout::ITEM_HEIGHT / 2;
    const win::Image menu_open = desktop::screenshot_showing(
        display.name(), graphics, std::string(SCREENSHOT_DIR) + "/menu_open.png",
        [&](const win::Image& shot) {
            return shot.height == BAR + CLIENT_H && shot.at(1, BAR + 1) == 0xFFFFFFu &&
                   shot.at(30, quit_y) == 0xC0C0C0u;
        });
    ASSERT_EQ(menu_open.height, BAR + CLIENT_H);
    EXPECT_EQ(menu_open.at(1, BAR + 1), 0xFFFFFFu) << "drop-down frame";
    EXPECT_EQ(menu_open.at(30, quit_y), 0xC0C0C0u) << "drop-down face";
    click_at(graphics.x + 30, graphics.y + quit_y);
    EXPECT_EQ(weather.wait(60000), 0) << desktop::read_file(dir + "/stderr.txt");
    EXPECT_EQ(desktop::read_file(dir + "/stderr.txt"), "") << "a correct program hears nothing";
}

// The two mistakes only a desktop can tell of, each in one line on stderr: a
// picture drawn and never shown stays on screen, retitled, until the user
// closes it; a program that waits on after KV390_QUIT ends at the second
// quit request.
TEST_F(DesktopSession, AnUnshownPictureStaysUntilClosedAndASecondQuitEndsAProgramThatWaitsOn) {
    std::string dir = desktop::make_temp_dir();
    const std::string err = dir + "/stderr.txt";
    const std::vector<std::string> env = {std::string("DISPLAY=").append(display.name()),
                                          "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="};
    auto one_line_starting = [](const std::string& text, const std::string& start) {
        return text.rfind(start, 0) == 0 && text.find('\n') == text.size() - 1;
    };
    auto ctrl_q = [&](const WindowPlace& place) {
        run(on_display("xdotool windowfocus --sync " + place.id + " key ctrl+q"));
        pause_ms(500);
    };

    desktop::Process never_shown;
    ASSERT_TRUE(never_shown.start(MISTAKES_EXECUTABLE, env, dir, err, {"never-shown"}));
    WindowPlace ended;
    ASSERT_TRUE(find_window("KV390 Graphics - the program has ended", &ended))
        << desktop::read_file(err);
    const win::Image content = desktop::screenshot_showing(
        display.name(), ended, dir + "/ended.png", [](const win::Image& shot) {
            return shot.height == BAR + CLIENT_H && shot.at(297, BAR + 248) == 0xFF0000u;
        });
    ASSERT_EQ(content.height, BAR + CLIENT_H);
    EXPECT_EQ(content.at(297, BAR + 248), 0xFF0000u) << "the red disc is shown";
    EXPECT_EQ(content.at(297 + 59, BAR + 248), 0xFF0000u);
    EXPECT_EQ(content.at(20, BAR + 20), 0xFFFFFFu);
    EXPECT_EQ(never_shown.wait(300), -1) << "it waits for the user";
    EXPECT_TRUE(one_line_starting(desktop::read_file(err),
                                  "KV390: the program ended without waiting for an event after "
                                  "drawing, so its last picture was never shown"))
        << desktop::read_file(err);
    ctrl_q(ended);
    EXPECT_EQ(never_shown.wait(60000), 0) << desktop::read_file(err);

    desktop::Process waits_on;
    ASSERT_TRUE(waits_on.start(MISTAKES_EXECUTABLE, env, dir, err, {"ignores-quit"}));
    WindowPlace graphics;
    ASSERT_TRUE(find_window("KV390 Graphics", &graphics)) << desktop::read_file(err);
    ctrl_q(graphics);
    EXPECT_EQ(waits_on.wait(300), -1) << "the first quit is the program's to act on";
    EXPECT_EQ(desktop::read_file(err), "");
    ctrl_q(graphics);
    EXPECT_EQ(waits_on.wait(60000), 1) << desktop::read_file(err);
    EXPECT_TRUE(one_line_starting(desktop::read_file(err),
                                  "KV390: the program went on waiting after KV390_wait_event "
                                  "returned KV390_QUIT"))
        << desktop::read_file(err);
}

// Keys without characters, the right and middle buttons and a drag reach a program
// waiting with KV390_wait_input, in the order they were given.
TEST_F(DesktopSession, ArrowsFunctionKeysRightClickAndDragArriveInOrder) {
    std::string dir = desktop::make_temp_dir();
    desktop::Process echo;
    ASSERT_TRUE(echo.start(
        INPUT_ECHO_EXECUTABLE,
        {std::string("DISPLAY=").append(display.name()), "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="},
        dir, dir + "/stderr.txt"));
    WindowPlace graphics;
    ASSERT_TRUE(find_window("KV390 Graphics", &graphics))
        << desktop::read_file(dir + "/stderr.txt");
    run(on_display("xdotool windowfocus --sync " + graphics.id));
    pause_ms(300);
    // Client position (297 + x, 248 - y) is drawing point (x, y).
    auto screen = [&](int x, int y) {
        return std::to_string(graphics.x + 297 + x) + " " +
               std::to_string(graphics.y + BAR + 248 - y);
    };
    run(on_display("xdotool key Left Right Up Down F1 Delete"));
    pause_ms(300);
    run(on_display("xdotool mousemove --sync " + screen(-100, 50) + " click 3"));
    run(on_display("xdotool mousemove --sync " + screen(20, 30) + " click 2"));
    pause_ms(300);
    run(on_display("xdotool mousemove --sync " + screen(-50, 0) + " mousedown 1"));
    run(on_display("xdotool mousemove --sync " + screen(0, 0) + " mousemove --sync " +
                   screen(60, -40) + " mouseup 1"));
    pause_ms(300);
    run(on_display("xdotool key Escape"));
    EXPECT_EQ(echo.wait(60000), 0) << desktop::read_file(dir + "/stderr.txt");
    EXPECT_EQ(desktop::read_file(dir + "/stderr.txt"), "");

    // The events that matter, in order; moves may come in any number
    // between them, only those during the drag are looked at.
    struct Seen {
        int kind, x, y, code;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
    std::istringstream lines(desktop::read_file(dir + "/inputs.txt"));
    bool dragging = false;
    int drag_moves = 0;
    for (int kind, x, y, key, code; lines >> kind >> x >> y >> key >> code;) {
        if (kind == KV390_MOUSE) dragging = true;
        if (kind == KV390_MOUSE_UP) dragging = false;
        if (kind == KV390_MOUSE_MOVE) {
            drag_moves += dragging ? 1 : 0;
            continue;
        }
        seen.push_back({kind, kind == KV390_KEY_PRESS || kind == KV390_KEY_RELEASE ? 0 : x,
                        kind == KV390_KEY_PRESS || kind == KV390_KEY_RELEASE ? 0 : y, code});
    }
    auto key = [](int kind, int code) { return Seen{kind, 0, 0, code}; };
    const std::vector<Seen> expected = {
        key(KV390_KEY_PRESS, KV390_KEY_LEFT),
        key(KV390_KEY_RELEASE, KV390_KEY_LEFT),
        key(KV390_KEY_PRESS, KV390_KEY_RIGHT),
        key(KV390_KEY_RELEASE, KV390_KEY_RIGHT),
        key(KV390_KEY_PRESS, KV390_KEY_UP),
        key(KV390_KEY_RELEASE, KV390_KEY_UP),
        key(KV390_KEY_PRESS, KV390_KEY_DOWN),
        key(KV390_KEY_RELEASE, KV390_KEY_DOWN),
        key(KV390_KEY_PRESS, KV390_KEY_F1),
        key(KV390_KEY_RELEASE, KV390_KEY_F1),
        key(KV390_KEY_PRESS, KV390_KEY_DELETE),
        key(KV390_KEY_RELEASE, KV390_KEY_DELETE),
        {KV390_RIGHT_DOWN, -100, 50, 0},
        {KV390_RIGHT_UP, -100, 50, 0},
        {KV390_MIDDLE_DOWN, 20, 30, 0},
        {KV390_MIDDLE_UP, 20, 30, 0},
        {KV390_MOUSE, -50, 0, 0},
        {KV390_MOUSE_UP, 60, -40, 0},
        key(KV390_KEY_PRESS, KV390_KEY_ESCAPE),
    };
    EXPECT_EQ(seen, expected) << desktop::read_file(dir + "/inputs.txt");
    EXPECT_GE(drag_moves, 1) << "the drag's moves";
}

TEST(DesktopStart, WithoutADisplayExplainsAndExitsWithStatus2) {
    std::string dir = desktop::make_temp_dir();
    desktop::Process weather;
    ASSERT_TRUE(weather.start(WEATHER_EXECUTABLE,
                              {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="}, dir,
                              dir + "/stderr.txt"));
    EXPECT_EQ(weather.wait(60000), 2);
    std::string message = desktop::read_file(dir + "/stderr.txt");
    EXPECT_NE(message.find("KV390: no display available"), std::string::npos) << message;
    EXPECT_NE(message.find("KV390_BACKEND=headless"), std::string::npos) << message;
}

}  // namespace
