// The desktop on a big screen: the click-to-draw example on a 3840 x 2160
// X display shows every window at twice its size, each pixel a 2 x 2 square,
// and clicks at the enlarged positions reach the right drawing points.  The
// picture is compared with a headless run of the same program and input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop_session.h"
#include "example_run.h"
#include "kv390.h"
#include "kv390/harness.h"
#include "menu_bar/layout.h"
#include "state.h"

namespace {

using desktop::WindowPlace;
namespace ex = kv390::examples_test;

constexpr int SCALE = 2;
constexpr int CLIENT_W = 595, CLIENT_H = 497;
constexpr int BAR = win::menu_bar::layout::BAR_HEIGHT;
constexpr int IDM_QUIT_POSITION = 10;

struct Click {
    int x, y;    // drawing point
    int nudge;   // 0 or 1: physical pixel within the enlarged square
    char color;  // key pressed before it
};
const std::vector<Click> CLICKS = {{10, 10, 0, 'b'}, {-100, 50, 1, 'b'}, {150, -120, 1, 'r'}};

// The picture headless, at 1x: the same keys and clicks as timed input.
win::Image headless_picture() {
    std::vector<ex::Input> inputs;
    std::uint64_t at = 100;
    for (const Click& c : CLICKS) {
        inputs.push_back(ex::key_at(at, c.color - 'a' + 'A'));
        inputs.push_back(ex::click_at(at + 50, c.x, c.y));
        at += 100;
    }
    inputs.push_back(ex::end_at(at + 500));
    win::Image last;
    ex::run_example(click_draw_main, inputs, [&](const win::Image& picture) { last = picture; });
    return last;
}

std::vector<win::MenuItem> run_menu_items() {
    kv390::harness::reset();
    kv390::reset_library_state();
    KV390_begin(nullptr, nullptr, "", 5);
    std::vector<win::MenuItem> items =
        kv390::harness::menu_popup(kv390::lib().graphics_window, "Run");
    kv390::reset_library_state();
    kv390::harness::reset();
    return items;
}

// Pixels of the 1x picture that the enlarged one does not show as 2 x 2 squares.
int unscaled_differences(const win::Image& enlarged, int top, const win::Image& picture) {
    int differing = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t want = picture.at(x, y) & 0xFFFFFFu;
            bool same = true;
            for (int dy = 0; dy < SCALE; ++dy) {
                for (int dx = 0; dx < SCALE; ++dx) {
                    same &= (enlarged.at(SCALE * x + dx, top + SCALE * y + dy) & 0xFFFFFFu) == want;
                }
            }
            differing += same ? 0 : 1;
        }
    }
    return differing;
}

class BigScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string why;
        for (const char* tool : {"xdotool", "import"}) {
            if (!desktop::program_available(tool)) GTEST_SKIP() << tool << " is not installed";
        }
        if (!display.start(3840, 2160, &why)) GTEST_SKIP() << "no virtual display: " << why;
    }
    std::string on_display(const std::string& command) const {
        return desktop::on_display(display.name(), command);
    }
    desktop::VirtualDisplay display;
};

TEST_F(BigScreen, WindowsMenuAndClicksAreScaledTwice) {
    const win::Image expected = headless_picture();
    ASSERT_EQ(expected.width, CLIENT_W);
    const std::vector<win::MenuItem> menu = run_menu_items();
    ASSERT_GT(menu.size(), std::size_t(IDM_QUIT_POSITION));

    const std::string dir = desktop::make_temp_dir();
    desktop::Process program;
    ASSERT_TRUE(program.start(CLICK_DRAW_EXECUTABLE,
                              {std::string("DISPLAY=").append(display.name()),
                               "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=", "KV390_SCALE="},
                              dir, dir + "/stderr.txt"));
    WindowPlace graphics, text;
    ASSERT_TRUE(desktop::find_window(display.name(), "KV390 Graphics", &graphics))
        << desktop::read_file(dir + "/stderr.txt");
    EXPECT_EQ(graphics.width, SCALE * CLIENT_W);
    EXPECT_EQ(graphics.height, SCALE * (BAR + CLIENT_H));
    // The text window across the bottom third of the (halved) screen, enlarged.
    ASSERT_TRUE(desktop::find_window(display.name(), "KV390 Text", &text));
    const int sizing_frame = win::get_system_metrics(win::SM_CXFRAME);
    EXPECT_EQ(text.width, SCALE * (3840 / SCALE - 2 * sizing_frame));
    EXPECT_EQ(text.y, SCALE * ((2 * 1080) / 3 + 1));

    desktop::run(on_display("xdotool windowfocus --sync " + graphics.id));
    for (const Click& c : CLICKS) {
        desktop::run(on_display(std::string("xdotool key ") + c.color));
        desktop::click_at(display.name(), graphics.x + SCALE * (ex::ORIGIN_X + c.x) + c.nudge,
                          graphics.y + SCALE * (BAR + ex::ORIGIN_Y - c.y) + c.nudge);
    }
    // Screenshots until the last click's picture has reached the screen.
    const auto differing_from_expected = [&](const win::Image& shot) {
        return shot.width != SCALE * CLIENT_W || shot.height != SCALE * (BAR + CLIENT_H)
                   ? -1
                   : unscaled_differences(shot, SCALE * BAR, expected);
    };
    const win::Image shot = desktop::screenshot_showing(
        display.name(), graphics, dir + "/picture.png",
        [&](const win::Image& s) { return differing_from_expected(s) == 0; });
    ASSERT_EQ(shot.width, SCALE * CLIENT_W);
    ASSERT_EQ(shot.height, SCALE * (BAR + CLIENT_H));
    const int differing = differing_from_expected(shot);
    if (differing != 0) {
        kv390::harness::save_png(shot, std::string(SCREENSHOT_DIR) + "/scaled_desktop.png");
        kv390::harness::save_png(expected, std::string(SCREENSHOT_DIR) + "/scaled_headless.png");
    }
    EXPECT_EQ(differing, 0) << "pixels of the headless picture not shown as 2 x 2 squares";

    // The Run menu opens at the enlarged bar position and is drawn enlarged;
    // its Quit item is chosen at its enlarged place.
    desktop::click_at(display.name(), graphics.x + SCALE * 12, graphics.y + SCALE * BAR / 2);
    const int quit_y = BAR + win::menu_bar::layout::item_top(menu, IDM_QUIT_POSITION) +
                       win::menu_bar::layout::ITEM_HEIGHT / 2;
    const win::Image menu_open = desktop::screenshot_showing(
        display.name(), graphics, dir + "/menu.png", [&](const win::Image& shot) {
            return shot.height == SCALE * (BAR + CLIENT_H) &&
                   (shot.at(SCALE * 1, SCALE * (BAR + 1)) & 0xFFFFFFu) == 0xFFFFFFu &&
                   (shot.at(SCALE * 30, SCALE * quit_y) & 0xFFFFFFu) == 0xC0C0C0u;
        });
    ASSERT_EQ(menu_open.height, SCALE * (BAR + CLIENT_H));
    for (int d = 0; d < SCALE; ++d) {
        EXPECT_EQ(menu_open.at(SCALE * 1 + d, SCALE * (BAR + 1) + d) & 0xFFFFFFu, 0xFFFFFFu)
            << "drop-down frame";
        EXPECT_EQ(menu_open.at(SCALE * 30 + d, SCALE * quit_y + d) & 0xFFFFFFu, 0xC0C0C0u)
            << "drop-down face";
    }
    desktop::click_at(display.name(), graphics.x + SCALE * 30, graphics.y + SCALE * quit_y);
    EXPECT_EQ(program.wait(60000), 0) << desktop::read_file(dir + "/stderr.txt");
}

}  // namespace
