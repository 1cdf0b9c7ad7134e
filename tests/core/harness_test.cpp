// The headless harness: timed input, the end of a run, observers, PNG files.
#include <gtest/gtest.h>

#include <filesystem>

#include "kv390/harness.h"
#include "recorder.h"

namespace kv390::test {
namespace {

using namespace win;
using harness::TimedInput;

class HarnessRunTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        graphics = make_window("KV390 Graphics", GRAPHICS_STYLE | WS_VISIBLE, 601, 540);
        text = make_window("KV390 Text", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 1024, 256, 0, 513);
        harness::focus(graphics);
        pump_pending();
        recorder().clear();
    }
    // Runs the program's loop: get_message, translate, dispatch until WM_QUIT.
    int run_until_quit(int limit = 100000) {
        Msg msg;
        int n = 0;
        while (n++ < limit && get_message(&msg, nullptr, 0, 0)) {
            translate_message(&msg);
            dispatch_message(&msg);
            if (msg.hwnd == graphics && msg.message == WM_DESTROY) break;
        }
        return n;
    }
    HWND graphics = nullptr, text = nullptr;
};

TEST_F(HarnessRunTest, ParsesEveryKindOfEntry) {
    std::string error = "unchanged";
    ASSERT_TRUE(
        harness::load_timed_input("# a comment line\n"
                                  "at 1500 click 40 30\n"
                                  "at 1600 click \"KV390 Text\" 5 5   # trailing comment\n"
                                  "\n"
                                  "at 2000 key 65\n"
                                  "at 2100 keydown 17\n"
                                  "at 2200 keyup 17\n"
                                  "at 2300 ctrl 76\n"
                                  "at 2400 type hi\\n\n"
                                  "at 2500 menu 8\n"
                                  "at 2600 close\n"
                                  "at 2700 end\n",
                                  &error));
    EXPECT_EQ(error, "");
    recorder().clear();
    harness::advance(1500);
    pump_pending();
    auto downs = recorder().of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, graphics);
    EXPECT_EQ(loword(WPARAM(downs[0].lparam)), 40u);
    EXPECT_EQ(hiword(WPARAM(downs[0].lparam)), 30u);
    harness::advance(100);
    pump_pending();
    ASSERT_EQ(recorder().of(WM_LBUTTONDOWN).size(), 2u);
    EXPECT_EQ(recorder().of(WM_LBUTTONDOWN)[1].hwnd, text);
    EXPECT_EQ(get_focus(), text);  // the click activated it
    recorder().clear();
    harness::advance(800);  // to 2400: key, ctrl, type
    pump_pending();
    std::string chars;
    for (const Received& m : recorder().of(WM_CHAR)) chars += char(m.wparam);
    EXPECT_EQ(chars, std::string("a\x0chi\r"));
    EXPECT_FALSE(harness::run_ended());
}

TEST_F(HarnessRunTest, TimedButtonsMovesAndNamedKeysArriveInOrder) {
    ASSERT_TRUE(
        harness::load_timed_input("at 100 rclick 40 30\n"
                                  "at 100 mclick \"KV390 Graphics\" 41 31\n"
                                  "at 100 mousedown 10 10\n"
                                  "at 100 move 11 12\n"
                                  "at 100 move 13 14\n"
                                  "at 100 move -5 -6\n"
                                  "at 100 mouseup -5 -6\n"
                                  "at 100 key left\n"
                                  "at 100 keydown F1\n"
                                  "at 100 keyup f12\n"
                                  "at 100 key Delete\n"
                                  "at 100 key pagedown\n",
                                  nullptr));
    recorder().clear();
    harness::advance(100);
    pump_pending();
    struct Seen {
        UINT message;
        int x, y;  // signed halves of the position
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> buttons;
    std::vector<WPARAM> keys;
    for (const Received& m : recorder().messages) {
        if (m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONUP) {
            EXPECT_EQ(m.hwnd, graphics);
            buttons.push_back({m.message, int(std::int16_t(loword(WPARAM(m.lparam)))),
                               int(std::int16_t(hiword(WPARAM(m.lparam))))});
        }
        if (m.message == WM_KEYDOWN || m.message == WM_KEYUP) keys.push_back(m.wparam);
    }
    // The three moves queued one after another arrive as one, at the newest position.
    EXPECT_EQ(buttons, (std::vector<Seen>{{WM_RBUTTONDOWN, 40, 30},
                                          {WM_RBUTTONUP, 40, 30},
                                          {WM_MBUTTONDOWN, 41, 31},
                                          {WM_MBUTTONUP, 41, 31},
                                          {WM_LBUTTONDOWN, 10, 10},
                                          {WM_MOUSEMOVE, -5, -6},
                                          {WM_LBUTTONUP, -5, -6}}));
    EXPECT_EQ(keys, (std::vector<WPARAM>{VK_LEFT, VK_LEFT, VK_F1, VK_F12, VK_DELETE, VK_DELETE,
                                         VK_NEXT, VK_NEXT}));
    std::string error;
    EXPECT_FALSE(harness::load_timed_input("at 5 key f13", &error));
    EXPECT_FALSE(harness::load_timed_input("at 5 key f0", &error));
    EXPECT_FALSE(harness::load_timed_input("at 5 key sideways", &error));
    EXPECT_FALSE(harness::load_timed_input("at 5 move 1", &error));
    EXPECT_NE(error.find("move needs a client position"), std::string::npos) << error;
}

TEST_F(HarnessRunTest, ReportsTheFirstBadLine) {
    std::string error;
    EXPECT_FALSE(harness::load_timed_input("at 10 key 65\nat 20 jump\n", &error));
    EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
    EXPECT_FALSE(harness::load_timed_input("at x click 1 2", &error));
    EXPECT_EQ(error.rfind("line 1: ", 0), 0u) << error;
    EXPECT_FALSE(harness::load_timed_input("at 5 click 1", &error));
    EXPECT_FALSE(harness::load_timed_input("at 5 key 999", &error));
    EXPECT_FALSE(harness::load_timed_input("at 5 end now", &error));
    // A list with a bad line schedules nothing.
    recorder().clear();
    harness::advance(100);
    pump_pending();
    EXPECT_TRUE(recorder().of(WM_KEYDOWN).empty());
}

TEST_F(HarnessRunTest, EndEntryClosesTheGraphicsWindowOnce) {
    set_timer(graphics, 2, 100);
    harness::schedule(TimedInput{TimedInput::Kind::End, 1000, "", 0, 0, 0, "", 0});
    run_until_quit();
    EXPECT_TRUE(harness::run_ended());
    EXPECT_FALSE(is_window(graphics));
    EXPECT_EQ(harness::now(), 1000u);
    EXPECT_EQ(recorder().of(WM_SYSCOMMAND).size(), 1u);
    // Ticks at 100 ... 900: the close box queued at 1000 comes before that tick.
    EXPECT_EQ(recorder().of(WM_TIMER).size(), 9u);
}

TEST_F(HarnessRunTest, WithoutEndTheIdleLimitAfterTheLastInputEndsTheRun) {
    set_timer(graphics, 2, 100);
    harness::set_idle_limit(5000);
    harness::schedule(TimedInput{TimedInput::Kind::Key, 300, "", 0, 0, 'A', "", 0});
    run_until_quit();
    EXPECT_TRUE(harness::run_ended());
    EXPECT_EQ(harness::now(), 5300u);
    EXPECT_EQ(recorder().of(WM_KEYDOWN).size(), 1u);
}

TEST_F(HarnessRunTest, ARunWithNothingLeftToHappenEndsAtOnce) {
    run_until_quit();
    EXPECT_TRUE(harness::run_ended());
    EXPECT_EQ(harness::now(), 0u);
}

TEST_F(HarnessRunTest, AProgramThatIgnoresTheCloseBoxStillGetsQuit) {
    destroy_window(graphics);
    destroy_window(text);
    WindowClass wc;
    wc.name = "Stubborn";
    wc.proc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_SYSCOMMAND) return 0;  // never closes
        return def_window_proc(h, m, w, l);
    };
    register_class(wc);
    HWND stubborn = create_window(0, "Stubborn", "S", GRAPHICS_STYLE | WS_VISIBLE, 0, 0, 100, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    Msg msg;
    int taken = 0;
    while (get_message(&msg, nullptr, 0, 0) && taken++ < 1000) dispatch_message(&msg);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_TRUE(is_window(stubborn));
    EXPECT_TRUE(harness::run_ended());
}

TEST_F(HarnessRunTest, TimerObserverSeesEveryDispatchedTick) {
    struct Seen {
        int ticks = 0;
        HWND last = nullptr;
    } seen;
    harness::on_timer_dispatched(
        [](HWND hwnd, void* context) {
            auto* s = static_cast<Seen*>(context);
            ++s->ticks;
            s->last = hwnd;
        },
        &seen);
    set_timer(graphics, 2, 100);
    harness::schedule(TimedInput{TimedInput::Kind::End, 550, "", 0, 0, 0, "", 0});
    run_until_quit();
    EXPECT_EQ(seen.ticks, 5);
    EXPECT_EQ(seen.last, graphics);
    harness::on_timer_dispatched(nullptr, nullptr);
}

TEST_F(HarnessRunTest, ResetRestartsTheClockAndForgetsWindows) {
    harness::advance(1234);
    harness::reset();
    EXPECT_EQ(harness::now(), 0u);
    EXPECT_FALSE(is_window(graphics));
    EXPECT_TRUE(top_level_windows().empty());
    EXPECT_FALSE(is_class_registered(RECORDED_CLASS));
}

TEST_F(HarnessRunTest, PngRoundTripKeepsEveryPixel) {
    HDC dc = get_dc(graphics);
    set_pixel(dc, 0, 0, rgb(255, 0, 0));
    set_pixel(dc, 594, 517, rgb(1, 2, 3));
    set_pixel(dc, 300, 200, rgb(0, 128, 255));
    release_dc(graphics, dc);
    Image original = harness::window_pixels(graphics);
    auto dir = fresh_temp_dir("png");
    std::string path = (dir / "shot.png").string();
    std::string error;
    ASSERT_TRUE(harness::save_png(original, path, &error)) << error;
    Image loaded;
    ASSERT_TRUE(harness::load_png(path, &loaded, &error)) << error;
    EXPECT_EQ(loaded.width, original.width);
    EXPECT_EQ(loaded.height, original.height);
    EXPECT_EQ(loaded.pixels, original.pixels);
    EXPECT_FALSE(harness::load_png((dir / "missing.png").string(), &loaded, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(harness::save_png(Image{}, path, &error));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kv390::test
