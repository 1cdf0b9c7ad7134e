// The ask_name example on a desktop: its dialog appears as a window titled
// "KV390_gets", a name typed there with xdotool and Enter reach the program,
// and the graphics window then shows the same greeting pixels as a headless
// run of the same source given the same name.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "desktop_session.h"
#include "kv390/harness.h"
#include "state.h"

int ask_name_main();

namespace {

using desktop::run;
using desktop::wait_until;
using kv390::harness::TimedInput;

constexpr const char* NAME = "Ada Lovelace";

win::Image captured;

void capture_graphics_window(win::HWND hwnd, void*) {
    if (kv390::harness::now() < 1000 || captured.width != 0) return;
    if (kv390::harness::window_by_title("KV390_gets") != nullptr) return;
    captured = kv390::harness::window_pixels(hwnd);
}

// The graphics window's client pixels after the headless program was given NAME.
win::Image headless_greeting() {
    kv390::harness::reset();
    kv390::reset_library_state();
    captured = win::Image{};
    TimedInput type{};
    type.kind = TimedInput::Kind::Type;
    type.at_ms = 200;
    type.text = std::string(NAME) + "\n";
    kv390::harness::schedule(type);
    kv390::harness::set_idle_limit(2000);
    kv390::harness::on_timer_dispatched(capture_graphics_window, nullptr);
    ask_name_main();
    kv390::harness::on_timer_dispatched(nullptr, nullptr);
    kv390::reset_library_state();
    kv390::harness::reset();
    return captured;
}

// No window with that title: xdotool's search found none (and said nothing,
// as a search that failed on a window destroyed under it would).
bool window_gone(const std::string& display, const std::string& title) {
    std::string out;
    run(desktop::on_display(display, "xdotool search --name '^" + title + "$' 2>&1"), &out);
    return out.empty();
}

int dark_pixels(const win::Image& image, int top) {
    int count = 0;
    for (int y = top; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.at(x, y);
            const int brightness = int((p >> 16) & 255) + int((p >> 8) & 255) + int(p & 255);
            count += brightness < 3 * 64 ? 1 : 0;
        }
    }
    return count;
}

TEST(AskNameOnTheDesktop, TheTypedNameIsGreetedInTheGraphicsWindow) {
    const win::Image expected = headless_greeting();
    ASSERT_GT(expected.width, 0) << "the headless run showed no greeting";

    desktop::VirtualDisplay display;
    std::string why;
    if (!display.start(1024, 768, &why)) GTEST_SKIP() << why;
    if (run("command -v xdotool >/dev/null && command -v import >/dev/null") != 0) {
        GTEST_SKIP() << "xdotool or ImageMagick is missing";
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("kv390-ask-name-" + display.name().substr(1));
    std::filesystem::create_directories(dir);

    desktop::Process program;
    ASSERT_TRUE(program.start(ASK_NAME_EXECUTABLE,
                              {"DISPLAY=" + display.name(),
                               "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy"},
                              dir.string()));
    desktop::WindowPlace dialog, graphics;
    ASSERT_TRUE(display.find_window("KV390_gets", &dialog, 60, &why)) << why;
    const std::string env = "DISPLAY=" + display.name() + " ";
    ASSERT_EQ(run(env + "xdotool windowfocus --sync " + dialog.id), 0);
    ASSERT_EQ(run(env + "xdotool type --delay 40 '" + std::string(NAME) + "'"), 0);
    ASSERT_EQ(run(env + "xdotool key Return"), 0);
    // Waits for states: the dialog gone, then the greeting on the screen.
    // The bounds only end a failing run; a passing one goes on at once.
    ASSERT_TRUE(wait_until([&] { return window_gone(display.name(), "KV390_gets"); }, 60))
        << "Enter did not end the dialog";

    ASSERT_TRUE(display.find_window("KV390 Graphics", &graphics, 60, &why)) << why;
    const std::string shot = (dir / "graphics.png").string();
    // The desktop window is the menu bar strip above the client area.
    const auto differing_from_expected = [&](const win::Image& actual) {
        if (actual.width != expected.width || actual.height < expected.height) return -1;
        const int top = actual.height - expected.height;
        int differing = 0;
        for (int y = 0; y < expected.height; ++y) {
            for (int x = 0; x < expected.width; ++x) {
                differing += actual.at(x, y + top) != expected.at(x, y) ? 1 : 0;
            }
        }
        return differing;
    };
    win::Image actual;
    std::string error;
    wait_until(
        [&] {
            actual = win::Image{};
            return run(env + "import -window " + graphics.id + " -type TrueColor PNG24:" + shot) ==
                       0 &&
                   kv390::harness::load_png(shot, &actual, &error) &&
                   differing_from_expected(actual) == 0;
        },
        60);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_GE(actual.height, expected.height);
    const int top = actual.height - expected.height;
    const int differing = differing_from_expected(actual);
    EXPECT_GT(dark_pixels(expected, 0), 500) << "the greeting is drawn big";
    EXPECT_EQ(dark_pixels(actual, top), dark_pixels(expected, 0));
    EXPECT_EQ(differing, 0) << "pixels that differ from the headless run";
    std::filesystem::remove_all(dir);
}

}  // namespace
