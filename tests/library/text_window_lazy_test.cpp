// Deferred drawing: the windowing layer's flush hook, and the text window
// drawing its log lines late with the very pixels of drawing each at once.
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "library_fixture.h"

namespace kv390::test {
namespace {

// ------------------------------------------------------------ the layer hook

// What the flush saw each time it ran.
struct FlushRecord {
    std::vector<int> heights;  // client height at each call
    int calls() const { return int(heights.size()); }
};

void record_flush(win::HWND hwnd, void* context) {
    win::Rect client;
    win::get_client_rect(hwnd, &client);
    static_cast<FlushRecord*>(context)->heights.push_back(client.bottom);
}

class DeferredDrawingHook : public LibraryTest {
  protected:
    void SetUp() override {
        LibraryTest::SetUp();
        win::WindowClass wc;
        wc.proc = win::def_window_proc;
        wc.name = "DeferTest";
        ASSERT_TRUE(win::register_class(wc));
        window = win::create_window(0, "DeferTest", "defer", win::WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                    150, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        win::set_deferred_drawing(window, record_flush, &record);
    }

    // Resizes the client area to the given height through the outer rect.
    void set_client_height(int height) {
        win::Rect outer, client;
        win::get_window_rect(window, &outer);
        win::get_client_rect(window, &client);
        const int frame = (outer.bottom - outer.top) - client.bottom;
        win::move_window(window, outer.left, outer.top, outer.right - outer.left, height + frame,
                         false);
    }

    win::HWND window = nullptr;
    FlushRecord record;
};

TEST_F(DeferredDrawingHook, AMarkedWindowIsFlushedOnceBeforeItsPixelsAreRead) {
    win::window_image(window);
    EXPECT_EQ(record.calls(), 0);  // never marked
    win::mark_deferred(window);
    win::mark_deferred(window);
    win::window_image(window);
    EXPECT_EQ(record.calls(), 1);
    win::window_image(window);
    EXPECT_EQ(record.calls(), 1);  // the mark was cleared
    win::mark_deferred(window);
    win::flush_deferred(window);
    win::flush_deferred(window);
    EXPECT_EQ(record.calls(), 2);
}

TEST_F(DeferredDrawingHook, GetDcAndPaintingFlushFirst) {
    win::mark_deferred(window);
    win::HDC dc = win::get_dc(window);
    EXPECT_EQ(record.calls(), 1);
    win::release_dc(window, dc);

    win::mark_deferred(window);
    win::invalidate_rect(window, nullptr, true);
    win::PaintStruct ps;
    win::begin_paint(window, &ps);
    EXPECT_EQ(record.calls(), 2);
    win::end_paint(window, &ps);
}

TEST_F(DeferredDrawingHook, AResizeFlushesAtTheOldSizeAndAMoveDoesNot) {
    win::Rect client;
    win::get_client_rect(window, &client);
    const int old_height = client.bottom;

    win::mark_deferred(window);
    win::Rect outer;
    win::get_window_rect(window, &outer);
    win::move_window(window, outer.left + 30, outer.top + 5, outer.right - outer.left,
                     outer.bottom - outer.top, false);
    win::invalidate_rect(window, nullptr, true);
    EXPECT_EQ(record.calls(), 0);  // same size, nothing read

    set_client_height(old_height - 37);
    ASSERT_EQ(record.calls(), 1);
    EXPECT_EQ(record.heights[0], old_height);
    win::get_client_rect(window, &client);
    EXPECT_EQ(client.bottom, old_height - 37);
}

TEST_F(DeferredDrawingHook, DestroyAndPresentFlush) {
    win::mark_deferred(window);
    const std::uint64_t presents = harness::present_count();
    win::wait_for_activity(0);  // hidden window, empty queue: the backend presents
    EXPECT_GT(harness::present_count(), presents);
    EXPECT_EQ(record.calls(), 1);

    win::mark_deferred(window);
    win::destroy_window(window);
    EXPECT_EQ(record.calls(), 2);
    win::flush_deferred(window);  // gone: nothing to call
    EXPECT_EQ(record.calls(), 2);
}

TEST_F(DeferredDrawingHook, WithoutAFlushThereIsNothingToMark) {
    win::mark_deferred(window);
    win::set_deferred_drawing(window, nullptr, nullptr);  // drops the pending mark
    win::window_image(window);
    win::set_deferred_drawing(window, record_flush, &record);
    win::window_image(window);
    EXPECT_EQ(record.calls(), 0);
    win::mark_deferred(nullptr);
    win::flush_deferred(nullptr);
}

// ------------------------------------------- the text window, eager and lazy

using Log = std::function<void(const std::string&)>;
using Steps = std::function<void(const Log&)>;

int line_height() {
    return text_line_height();
}

void set_text_client_height(int height) {
    win::HWND text = lib().text_window;
    win::Rect outer, client;
    win::get_window_rect(text, &outer);
    win::get_client_rect(text, &client);
    const int frame = (outer.bottom - outer.top) - client.bottom;
    win::move_window(text, outer.left, outer.top, outer.right - outer.left, height + frame, false);
}

// Every row a different colour, so a scroll by the wrong amount shows.
void paint_rows(win::HWND hwnd) {
    win::Rect client;
    win::get_client_rect(hwnd, &client);
    win::HDC dc = win::get_dc(hwnd);
    for (int y = 0; y < client.bottom; ++y) {
        win::HGDIOBJ brush = win::create_solid_brush(win::rgb(y * 7 % 256, 255 - y % 256, 90));
        const win::Rect row{0, y, client.right, y + 1};
        win::fill_rect(dc, &row, brush);
        win::delete_object(brush);
    }
    win::release_dc(hwnd, dc);
}

void repaint(const win::Rect* area) {
    win::invalidate_rect(lib().text_window, area, true);
    win::update_window(lib().text_window);
}

std::string first_difference(const win::Image& a, const win::Image& b) {
    if (a.width != b.width || a.height != b.height) return "sizes differ";
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.at(x, y) == b.at(x, y)) continue;
            std::ostringstream out;
            out << "first difference at (" << x << ", " << y << ") " << std::hex << a.at(x, y)
                << " vs " << b.at(x, y);
            return out.str();
        }
    }
    return "";
}

int count_black(const win::Image& image) {
    return count_pixels(image, 0);
}

class TextWindowLazyDrawing : public LibraryTest {
  protected:
    // A fresh library whose text window has the given client height and
    // striped contents, then the steps; eager flushes after every line, as
    // drawing each line at once would show it.
    win::Image run(int client_height, const Steps& steps, bool eager) {
        restart();
        KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
        set_text_client_height(client_height);
        paint_rows(lib().text_window);
        steps([eager](const std::string& text) {
            KV390_log("%s", text.c_str());
            if (eager) win::flush_deferred(lib().text_window);
        });
        return harness::window_pixels(lib().text_window);
    }

    // Both ways must give the same picture, with some text in it when a
    // line fits.
    void expect_same_pictures(int client_height, const Steps& steps) {
        const win::Image eager = run(client_height, steps, true);
        const win::Image lazy = run(client_height, steps, false);
        EXPECT_EQ(first_difference(eager, lazy), "") << "client height " << client_height;
        if (lazy.height >= line_height()) {
            EXPECT_GT(count_black(lazy), 0);
        }
    }

    int h() {
        KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
        return line_height();
    }
};

Steps numbered_lines(int count) {
    return [count](const Log& log) {
        for (int i = 1; i <= count; ++i)
            log("line " + std::to_string(i) + " of " + std::to_string(count) + "\n");
    };
}

TEST_F(TextWindowLazyDrawing, FewLinesScrollTheOldPictureUp) {
    const int height = 7 * h() + 5;  // not a whole number of lines
    for (int count : {1, 2, 3}) expect_same_pictures(height, numbered_lines(count));
}

TEST_F(TextWindowLazyDrawing, MoreLinesThanTheWindowHolds) {
    const int line = h();
    const int height = 7 * line + 5;
    for (int count : {7, 8, 9, 10, 40, 300}) {
        expect_same_pictures(height, numbered_lines(count));
    }
    expect_same_pictures(6 * line, numbered_lines(6));  // exactly full
    expect_same_pictures(6 * line, numbered_lines(7));
}

TEST_F(TextWindowLazyDrawing, WindowsLowerThanOneLine) {
    const int line = h();
    for (int height : {0, 1, line - 1, line, line + 1}) {
        if (height == 0) {
            // Nothing to see, but drawing late must not go wrong.
            const win::Image lazy = run(0, numbered_lines(5), false);
            EXPECT_EQ(lazy.pixels.size(), 0u);
            continue;
        }
        expect_same_pictures(height, numbered_lines(3));
    }
}

TEST_F(TextWindowLazyDrawing, EmptyWideAndUnusualLines) {
    const int height = 5 * h() + 3;
    expect_same_pictures(height, [](const Log& log) {
        log("before\n");
        log("");
        log("\n");
        log(std::string(1023, 'W'));  // far wider than the window: cut at the edge
        log("a\nb\n");
        log("tab\there\x01\x7f end");
        log("");
    });
}

TEST_F(TextWindowLazyDrawing, RepaintsBetweenAppends) {
    const int line = h();
    const int height = 9 * line + 4;
    expect_same_pictures(height, [line](const Log& log) {
        for (int i = 0; i < 5; ++i) log("first " + std::to_string(i));
        const win::Rect part{20, line, 300, 3 * line + 2};
        repaint(&part);  // erases a part, replays the ring
        for (int i = 0; i < 4; ++i) log("second " + std::to_string(i));
        repaint(nullptr);
        log("third");
        repaint(nullptr);
    });
    // A full ring replayed with lines still held back, and lines after it.
    expect_same_pictures(height, [](const Log& log) {
        for (int i = 0; i < 30; ++i) log("ring " + std::to_string(i));
        repaint(nullptr);
        for (int i = 0; i < 3; ++i) log("after " + std::to_string(i));
    });
}

TEST_F(TextWindowLazyDrawing, ResizesBetweenAppends) {
    const int line = h();
    expect_same_pictures(8 * line + 2, [line](const Log& log) {
        for (int i = 0; i < 5; ++i) log("tall " + std::to_string(i));
        set_text_client_height(3 * line + 7);  // lines held back land at the old size
        for (int i = 0; i < 2; ++i) log("short " + std::to_string(i));
        set_text_client_height(10 * line + 1);
        log("tall again");
    });
}

TEST_F(TextWindowLazyDrawing, LinesLoggedWhileHidden) {
    const int height = 6 * h() + 1;
    expect_same_pictures(height, [](const Log& log) {
        log("shown");
        KV390_show_text(0);
        for (int i = 0; i < 4; ++i) log("hidden " + std::to_string(i));
        KV390_show_text(1);
        log("shown again");
    });
}

TEST_F(TextWindowLazyDrawing, ALibraryOpenedAgainStartsWithNothingHeldBack) {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    KV390_log("from the first run");
    restart();
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    const win::Image image = harness::window_pixels(lib().text_window);
    EXPECT_EQ(count_black(image), 0);
}

}  // namespace
}  // namespace kv390::test
