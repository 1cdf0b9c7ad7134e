// The message log's ring, the text window's drawing and repaint, the
// logging switch and the text window's handling of keys and its close box.
#include <cstring>
#include <string>
#include <vector>

#include "library_fixture.h"

namespace kv390::test {
namespace {

using Lines = std::vector<std::string>;
using TextLogTest = LibraryTest;

win::Rect text_client() {
    win::Rect client;
    win::get_client_rect(lib().text_window, &client);
    return client;
}

// The text window as it should look: white, with these lines (as displayed,
// trailing newline already removed) on its bottom line positions, the last
// one on the bottom edge.
win::Image text_window_showing(const Lines& lines) {
    const win::Rect client = text_client();
    ScratchCanvas expected(client.right, client.bottom);
    win::select_object(expected.dc, win::get_stock_object(win::ANSI_FIXED_FONT));
    win::set_text_color(expected.dc, win::rgb(0, 0, 0));
    win::set_bk_color(expected.dc, win::rgb(255, 255, 255));
    win::set_bk_mode(expected.dc, win::OPAQUE);
    win::TextMetrics metrics;
    win::get_text_metrics(expected.dc, &metrics);
    const int h = metrics.tmHeight + metrics.tmExternalLeading;
    const int count = int(lines.size());
    for (int k = 0; k < count; ++k) {
        const std::string& line = lines[std::size_t(k)];
        win::text_out(expected.dc, 5, client.bottom - (count - k) * h, line.data(),
                      int(line.size()));
    }
    return win::dc_image(expected.dc);
}

win::Image text_window_pixels() {
    return harness::window_pixels(lib().text_window);
}

// Dispatches what is waiting (a bounded number of messages, quit excluded).
void pump_pending() {
    win::Msg msg;
    for (int i = 0; i < 50 && win::peek_message(&msg, nullptr, 0, 0, win::PM_REMOVE); ++i) {
        if (msg.message == win::WM_QUIT) break;
        win::translate_message(&msg);
        win::dispatch_message(&msg);
    }
}

void repaint_text_window_fully() {
    win::invalidate_rect(lib().text_window, nullptr, true);
    win::update_window(lib().text_window);
}

TEST_F(TextLogTest, LinesLoggedBeforeOpeningAreSavedAndDrawNothing) {
    EXPECT_EQ(KV390_log("early %d\n", 1), 8);
    EXPECT_EQ(log_lines(), (Lines{"early 1\n"}));
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    repaint_text_window_fully();
    EXPECT_EQ(text_window_pixels().pixels, text_window_showing({"early 1"}).pixels);
}

TEST_F(TextLogTest, EachLineIsDrawnAtOnceOnTheBottomEdge) {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    repaint_text_window_fully();  // empty ring: the window stays white
    EXPECT_EQ(text_window_pixels().pixels, text_window_showing({}).pixels);
    KV390_log("first\n");
    KV390_log("second %s\n", "line");
    KV390_log("third");
    EXPECT_EQ(text_window_pixels().pixels,
              text_window_showing({"first", "second line", "third"}).pixels);
}

TEST_F(TextLogTest, TheRingKeepsTheLast25LinesAndARepaintShowsThem) {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    Lines expected_saved, expected_shown;
    for (int i = 1; i <= 26; ++i) {
        KV390_log("line %d\n", i);
        if (i >= 2) {
            expected_saved.push_back("line " + std::to_string(i) + "\n");
            expected_shown.push_back("line " + std::to_string(i));
        }
        if (i == 25) {
            EXPECT_EQ(lib().log.oldest, 0);
            EXPECT_EQ(lib().log.next, 0);
        }
    }
    EXPECT_EQ(lib().log.oldest, 1);
    EXPECT_EQ(lib().log.next, 1);
    EXPECT_EQ(lib().log.slots[0], "line 26\n");
    EXPECT_EQ(log_lines(), expected_saved);

    // Scribble on the window: a full repaint replaces everything.
    win::HDC dc = win::get_dc(lib().text_window);
    win::Rect all = text_client();
    win::fill_rect(dc, &all, win::get_stock_object(win::BLACK_BRUSH));
    win::release_dc(lib().text_window, dc);
    repaint_text_window_fully();
    EXPECT_EQ(text_window_pixels().pixels, text_window_showing(expected_shown).pixels);
    EXPECT_EQ(log_lines(), expected_saved);  // the repaint leaves the saved lines exact
}

TEST_F(TextLogTest, TheHarnessReadsTheWholeHistoryAndTheRingCorrectionsIncluded) {
    KV390_log("before opening\n");
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    KV390_set_logging(0);
    KV390_circle(99, 0, 0, 10);  // logging off: only the correction
    KV390_set_logging(1);
    for (int i = 1; i <= 30; ++i) KV390_log("line %d\n", i);
    KV390_log("no newline");
    KV390_log("two newlines\n\n");

    const Lines history = harness::log_history();
    ASSERT_EQ(history.size(), 34u);
    EXPECT_EQ(history[0], "before opening");
    EXPECT_EQ(history[1], "Illegal color 99; using RED.");
    EXPECT_EQ(history[2], "line 1");
    EXPECT_EQ(history[32], "no newline");
    EXPECT_EQ(history[33], "two newlines\n");
    // The ring: the library's own 25 slots, oldest first, one newline less.
    Lines ring;
    for (std::string line : log_lines()) {
        if (!line.empty() && line.back() == '\n') line.pop_back();
        ring.push_back(line);
    }
    EXPECT_EQ(harness::log_ring(), ring);
    EXPECT_EQ(harness::log_ring(), Lines(history.end() - 25, history.end()));
    harness::reset();
    EXPECT_TRUE(harness::log_history().empty());
}

TEST_F(TextLogTest, EachStripIsClearedToTheLastColumn) {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    const win::Rect client = text_client();
    win::HDC dc = win::get_dc(lib().text_window);
    win::fill_rect(dc, &client, win::get_stock_object(win::BLACK_BRUSH));
    win::release_dc(lib().text_window, dc);
    const std::string wide(400, 'W');  // reaches past the right edge
    KV390_log("%s\n", wide.c_str());
    KV390_log("short\n");

    const win::Image shown = text_window_pixels();
    const win::Image expected = text_window_showing({wide, "short"});
    const int h = text_line_height();
    const int last = client.right - 1;
    for (int y = client.bottom - 2 * h; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            ASSERT_EQ(shown.at(x, y), expected.at(x, y)) << "at (" << x << ", " << y << ")";
        }
    }
    for (int y = client.bottom - h; y < client.bottom; ++y) {
        EXPECT_EQ(shown.at(last, y) & 0xffffffu, 0xffffffu) << "last column, row " << y;
    }
}

TEST_F(TextLogTest, NewlinesInsideAMessageStayOnOneLine) {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    repaint_text_window_fully();
    KV390_log("a\nb\n");
    KV390_log("x\n\n");
    KV390_log("%s", "");
    EXPECT_EQ(log_lines(), (Lines{"a\nb\n", "x\n\n", ""}));
    EXPECT_EQ(text_window_pixels().pixels, text_window_showing({"a\nb", "x\n", ""}).pixels);
}

TEST_F(TextLogTest, OverlongMessagesAreCutSafely) {
    const std::string long_text(2000, 'q');
    EXPECT_EQ(KV390_log("%s", long_text.c_str()), 2000);
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    EXPECT_EQ(KV390_log("<%s>\n", long_text.c_str()), 2003);
    const Lines lines = log_lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], long_text.substr(0, FORMAT_AREA_SIZE - 1));
    EXPECT_EQ(lines[1], std::string("<").append(long_text, 0, FORMAT_AREA_SIZE - 2));
}

TEST_F(TextLogTest, SetLoggingNeedsAnOpenLibrary) {
    EXPECT_EQ(KV390_set_logging(0), 0);
    EXPECT_EQ(lib().logging_on, 1);
    EXPECT_EQ(KV390_show_text(1), 0);
}

TEST_F(TextLogTest, SetLoggingMovesTheCheckMarkAndOnlyOnShowsTheWindow) {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    ASSERT_NE(lib().run_menu, nullptr);
    EXPECT_EQ(KV390_set_logging(0), 1);
    EXPECT_EQ(lib().logging_on, 0);
    EXPECT_EQ(win::get_menu_state(lib().run_menu, IDM_LOGGING, win::MF_BYCOMMAND) & win::MF_CHECKED,
              0u);
    EXPECT_TRUE(win::is_window_visible(lib().text_window));

    EXPECT_EQ(KV390_show_text(0), 1);
    EXPECT_FALSE(win::is_window_visible(lib().text_window));
    EXPECT_EQ(KV390_show_text(0), 0);

    EXPECT_EQ(KV390_set_logging(7), 1);
    EXPECT_EQ(lib().logging_on, 1);
    EXPECT_NE(win::get_menu_state(lib().run_menu, IDM_LOGGING, win::MF_BYCOMMAND) & win::MF_CHECKED,
              0u);
    EXPECT_TRUE(win::is_window_visible(lib().text_window));
    EXPECT_EQ(win::get_focus(), lib().text_window);
}

TEST_F(TextLogTest, TheCloseBoxHidesTheTextWindowAndLoggingBringsItBack) {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    KV390_log("kept\n");
    harness::close_window(lib().text_window);
    pump_pending();
    ASSERT_TRUE(win::is_window(lib().text_window));
    EXPECT_FALSE(win::is_window_visible(lib().text_window));
    KV390_log("while hidden\n");
    EXPECT_EQ(KV390_set_logging(1), 1);
    EXPECT_TRUE(win::is_window_visible(lib().text_window));
    repaint_text_window_fully();
    EXPECT_EQ(text_window_pixels().pixels, text_window_showing({"kept", "while hidden"}).pixels);
}

TEST_F(TextLogTest, KeysReachingTheTextWindowArePassedToTheGraphicsWindow) {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    pump_pending();
    win::Msg msg;
    for (win::UINT message : {win::UINT(win::WM_KEYDOWN), win::UINT(win::WM_KEYUP)}) {
        EXPECT_EQ(win::send_message(lib().text_window, message, 'L', 0x1234), 0);
        ASSERT_TRUE(win::peek_message(&msg, lib().graphics_window, win::WM_KEYDOWN, win::WM_KEYUP,
                                      win::PM_REMOVE));
        EXPECT_EQ(msg.hwnd, lib().graphics_window);
        EXPECT_EQ(msg.message, message);
        EXPECT_EQ(msg.wparam, win::WPARAM('L'));
        EXPECT_EQ(msg.lparam, 0x1234);
    }
    // Characters are the text window's own.
    win::send_message(lib().text_window, win::WM_CHAR, 'l', 0);
    EXPECT_FALSE(win::peek_message(&msg, lib().graphics_window, win::WM_KEYDOWN, win::WM_CHAR,
                                   win::PM_NOREMOVE));
}

}  // namespace
}  // namespace kv390::test
