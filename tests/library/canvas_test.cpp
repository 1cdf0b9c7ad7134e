// Windows, canvas, flush and the renderer's pixel placement.
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "library_fixture.h"

namespace kv390::test {
namespace {

using CanvasTest = LibraryTest;

TEST_F(CanvasTest, OpeningPlacesTheOriginAtTheClientCentreUnderTheMenuBar) {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    win::Rect client;
    win::get_client_rect(lib().graphics_window, &client);
    EXPECT_EQ(client.right, 595);
    EXPECT_EQ(client.bottom, 497);
    EXPECT_EQ(lib().origin_x, 297);
    EXPECT_EQ(lib().origin_y, 248);
    EXPECT_EQ(win::get_window_text(lib().graphics_window), "KV390 Graphics");
    EXPECT_EQ(win::get_window_text(lib().text_window), "KV390 Text");
    EXPECT_TRUE(win::is_class_registered("DrawWndClass"));
    EXPECT_TRUE(win::is_class_registered("TextWndClass"));
    EXPECT_FALSE(lib().events.animate_on);
    EXPECT_EQ(lib().canvas_changed, 1u);
}

TEST_F(CanvasTest, TextWindowSpansTheBottomThirdOfTheScreen) {
    struct Case {
        int width, height;
        win::Rect expected;
    };
    const Case cases[] = {{1024, 768, {0, 513, 1024, 769}}, {800, 600, {0, 401, 800, 601}}};
    for (const Case& c : cases) {
        restart();
        harness::set_screen_size(c.width, c.height);
        KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
        win::Rect text, graphics;
        win::get_window_rect(lib().text_window, &text);
        win::get_window_rect(lib().graphics_window, &graphics);
        EXPECT_EQ(text.left, c.expected.left);
        EXPECT_EQ(text.top, c.expected.top);
        EXPECT_EQ(text.right, c.expected.right);
        EXPECT_EQ(text.bottom, c.expected.bottom);
        EXPECT_EQ(graphics.left, 0);
        EXPECT_EQ(graphics.top, 0);
        EXPECT_EQ(graphics.right, CANVAS_WIDTH);
        EXPECT_EQ(graphics.bottom, CANVAS_HEIGHT);
    }
}

TEST_F(CanvasTest, ClearLeavesWhiteInsideAOnePixelBlackFrame) {
    open_cleared();
    const win::Image image = canvas();
    ASSERT_EQ(image.width, CANVAS_WIDTH);
    ASSERT_EQ(image.height, CANVAS_HEIGHT);
    const std::uint32_t black = pixel_of_color(BLACK);
    const std::uint32_t white = pixel_of_color(WHITE);
    for (int x = 0; x < CANVAS_WIDTH; ++x) {
        EXPECT_EQ(image.at(x, 0), black);
        EXPECT_EQ(image.at(x, CANVAS_HEIGHT - 1), black);
    }
    for (int y = 0; y < CANVAS_HEIGHT; ++y) {
        EXPECT_EQ(image.at(0, y), black);
        EXPECT_EQ(image.at(CANVAS_WIDTH - 1, y), black);
    }
    EXPECT_EQ(count_pixels(image, black), 2 * CANVAS_WIDTH + 2 * CANVAS_HEIGHT - 4);
    EXPECT_EQ(count_pixels(image, white), (CANVAS_WIDTH - 2) * (CANVAS_HEIGHT - 2));
}

TEST_F(CanvasTest, FlushCopiesOnlyAChangedCanvasAndPaintAlwaysCopies) {
    open_cleared();
    win::HWND window = lib().graphics_window;
    flush_canvas();
    EXPECT_EQ(lib().canvas_changed, 0u);
    EXPECT_EQ(harness::window_pixels(window).at(1, 1), pixel_of_color(WHITE));

    // Drawn behind the renderer's back: the mark stays clear, so no copy.
    win::set_pixel(lib().canvas_dc, 1, 1, palette_rgb[BLUE]);
    flush_canvas();
    EXPECT_EQ(harness::window_pixels(window).at(1, 1), pixel_of_color(WHITE));

    // A repaint shows the canvas whatever the mark says.
    win::invalidate_rect(window, nullptr, true);
    win::update_window(window);
    EXPECT_EQ(harness::window_pixels(window).at(1, 1), pixel_of_color(BLUE));
    EXPECT_EQ(lib().canvas_changed, 0u);

    // A primitive marks the canvas; the next flush shows it.
    KV390_pixel(RED, 0, 0);
    EXPECT_EQ(lib().canvas_changed, 1u);
    EXPECT_NE(harness::window_pixels(window).at(lib().origin_x, lib().origin_y),
              pixel_of_color(RED));
    flush_canvas();
    EXPECT_EQ(harness::window_pixels(window).at(lib().origin_x, lib().origin_y),
              pixel_of_color(RED));
    EXPECT_EQ(lib().canvas_changed, 0u);
}

TEST_F(CanvasTest, AToolCanShowTheUnshownDrawingAlsoAfterClosing) {
    open_cleared();
    flush_canvas();
    const auto centre = [] {
        return harness::window_pixels(lib().graphics_window).at(lib().origin_x, lib().origin_y);
    };
    for (bool closed : {false, true}) {
        const int color = closed ? GREEN : RED;
        KV390_pixel(color, 0, 0);
        if (closed) KV390_end();
        EXPECT_NE(centre(), pixel_of_color(color));
        win::show_unshown_drawing();
        EXPECT_EQ(centre(), pixel_of_color(color));
        EXPECT_EQ(lib().canvas_changed, 0u);
    }
}

TEST_F(CanvasTest, RepaintAfterClosingStillShowsTheCanvas) {
    open_cleared();
    KV390_pixel(GREEN, 0, 0);
    KV390_end();
    EXPECT_EQ(lib().window_dc, nullptr);
    flush_canvas();  // nothing to copy onto: must not touch the released DC
    win::invalidate_rect(lib().graphics_window, nullptr, true);
    win::update_window(lib().graphics_window);
    EXPECT_EQ(harness::window_pixels(lib().graphics_window).at(lib().origin_x, lib().origin_y),
              pixel_of_color(GREEN));
}

TEST_F(CanvasTest, FilledRectangleWithBothCornersAtTheOriginSetsOnePixel) {
    open_cleared();
    KV390_rectangle(BLUE, 0, 0, 0, 0, 0);
    const win::Image image = canvas();
    EXPECT_EQ(count_pixels(image, pixel_of_color(BLUE)), 1);
    EXPECT_EQ(canvas_at(image, 0, 0), pixel_of_color(BLUE));
}

TEST_F(CanvasTest, RectangleCoversBothCornersInAnyOrder) {
    open_cleared();
    KV390_rectangle(GREEN, 10, -5, -10, 5, 0);
    const win::Image image = canvas();
    EXPECT_EQ(count_pixels(image, pixel_of_color(GREEN)), 21 * 11);
    const win::Rect box = bounds_of(image, pixel_of_color(GREEN));
    EXPECT_EQ(box.left, lib().origin_x - 10);
    EXPECT_EQ(box.right, lib().origin_x + 10);
    EXPECT_EQ(box.top, lib().origin_y - 5);
    EXPECT_EQ(box.bottom, lib().origin_y + 5);
}

TEST_F(CanvasTest, CircleOfRadiusFiveIsASymmetricElevenPixelDisc) {
    open_cleared();
    KV390_circle(RED, 0, 0, 5);
    const win::Image image = canvas();
    const std::uint32_t red = pixel_of_color(RED);
    const win::Rect box = bounds_of(image, red);
    EXPECT_EQ(box.left, lib().origin_x - 5);
    EXPECT_EQ(box.right, lib().origin_x + 5);
    EXPECT_EQ(box.top, lib().origin_y - 5);
    EXPECT_EQ(box.bottom, lib().origin_y + 5);
    for (int dy = -5; dy <= 5; ++dy) {
        for (int dx = -5; dx <= 5; ++dx) {
            const bool here = canvas_at(image, dx, dy) == red;
            EXPECT_EQ(here, canvas_at(image, -dx, dy) == red) << dx << "," << dy;
            EXPECT_EQ(here, canvas_at(image, dx, -dy) == red) << dx << "," << dy;
            EXPECT_EQ(here, canvas_at(image, dy, dx) == red) << dx << "," << dy;
        }
    }
    EXPECT_EQ(canvas_at(image, 0, 0), red);
    EXPECT_NE(canvas_at(image, 5, 5), red);
}

TEST_F(CanvasTest, WideTriangleOutlineLeavesItsInteriorUntouched) {
    open_cleared();
    KV390_triangle(GREEN, -60, -40, 60, -40, 0, 60, 3);
    const win::Image image = canvas();
    const std::uint32_t green = pixel_of_color(GREEN);
    EXPECT_EQ(canvas_at(image, 0, -40), green);
    EXPECT_EQ(canvas_at(image, 0, -41), green);  // three rows about the base
    EXPECT_EQ(canvas_at(image, 0, -39), green);
    EXPECT_EQ(canvas_at(image, 0, 60), green);
    EXPECT_EQ(canvas_at(image, 0, 0), pixel_of_color(WHITE));
    EXPECT_EQ(canvas_at(image, 0, -36), pixel_of_color(WHITE));
    EXPECT_EQ(canvas_at(image, 0, 50), pixel_of_color(WHITE));
    EXPECT_EQ(canvas_at(image, 0, -44), pixel_of_color(WHITE));
}

TEST_F(CanvasTest, LineExcludesItsEndPoint) {
    open_cleared();
    KV390_line(BLUE, 0, 0, 10, 0, 1);
    const win::Image image = canvas();
    EXPECT_EQ(count_pixels(image, pixel_of_color(BLUE)), 10);
    EXPECT_EQ(canvas_at(image, 0, 0), pixel_of_color(BLUE));
    EXPECT_EQ(canvas_at(image, 9, 0), pixel_of_color(BLUE));
    EXPECT_NE(canvas_at(image, 10, 0), pixel_of_color(BLUE));
}

// Draws lines of text with text_out directly, each at its device row, in the
// font the renderer asks for.
win::Image text_drawn_by_hand(const std::vector<std::pair<int, std::string>>& lines, int size) {
    erase_canvas();
    win::HDC dc = lib().canvas_dc;
    win::HGDIOBJ font = win::create_font(-size, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "KV390-font");
    win::HGDIOBJ previous = win::select_object(dc, font);
    const int mode = win::set_bk_mode(dc, win::TRANSPARENT);
    win::set_text_color(dc, palette_rgb[BLACK]);
    for (const auto& [row, text] : lines)
        win::text_out(dc, lib().origin_x, row, text.data(), int(text.size()));
    win::set_bk_mode(dc, mode);
    win::select_object(dc, previous);
    win::delete_object(font);
    return canvas();
}

int text_height(int size) {
    win::HDC dc = lib().canvas_dc;
    win::HGDIOBJ font = win::create_font(-size, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "KV390-font");
    win::HGDIOBJ previous = win::select_object(dc, font);
    win::TextMetrics metrics;
    win::get_text_metrics(dc, &metrics);
    win::select_object(dc, previous);
    win::delete_object(font);
    return metrics.tmHeight;
}

TEST_F(CanvasTest, TextLinesStackDownwardFromTheAnchorRow) {
    open_cleared();
    const int h = text_height(20);
    ASSERT_GT(h, 0);
    const int oy = lib().origin_y;
    struct Case {
        const char* text;
        std::vector<std::pair<int, std::string>> lines;
    };
    const Case cases[] = {
        {"AB", {{oy - h, "AB"}}},
        {"AB\nCD", {{oy - h, "AB"}, {oy, "CD"}}},
        {"AB\nCD\nEF", {{oy - h, "AB"}, {oy, "CD"}, {oy + h, "EF"}}},
        {"A\n\nB", {{oy - h, "A"}, {oy + h, "B"}}},
    };
    for (const Case& c : cases) {
        erase_canvas();
        KV390_text(BLACK, 0, 0, 20, c.text);
        const win::Image drawn = canvas();
        EXPECT_GT(count_pixels(drawn, pixel_of_color(BLACK)), 2 * CANVAS_WIDTH + 2 * CANVAS_HEIGHT)
            << c.text;
        EXPECT_EQ(drawn.pixels, text_drawn_by_hand(c.lines, 20).pixels) << c.text;
    }
    // The first line sits wholly above the anchor row.
    erase_canvas();
    KV390_text(BLACK, 0, 0, 20, "AB");
    const win::Image one_line = canvas();
    for (int x = 1; x < CANVAS_WIDTH - 1; ++x)
        for (int y = oy; y < CANVAS_HEIGHT - 1; ++y)
            ASSERT_EQ(one_line.at(x, y), pixel_of_color(WHITE)) << x << "," << y;
}

TEST_F(CanvasTest, EmptyTextsDrawNothingButMarkTheCanvas) {
    open_cleared();
    const win::Image before = canvas();
    for (const char* text : {"", "\n"}) {
        lib().canvas_changed = 0;
        KV390_text(BLACK, 0, 0, 20, text);
        EXPECT_EQ(lib().canvas_changed, 1u);
        EXPECT_EQ(canvas().pixels, before.pixels);
    }
    // A trailing newline only adds an empty last line.
    KV390_text(BLACK, 0, 0, 20, "AB\n");
    const win::Image with_newline = canvas();
    erase_canvas();
    KV390_text(BLACK, 0, 0, 20, "AB");
    EXPECT_EQ(with_newline.pixels, canvas().pixels);
}

TEST_F(CanvasTest, ExtremeCoordinatesThroughEveryPrimitiveFinish) {
    open_cleared();
    lib().logging_on = 0;
    const int values[] = {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX};
    for (int a : values) {
        for (int b : values) {
            EXPECT_EQ(KV390_pixel(RED, a, b), 1);
            EXPECT_EQ(KV390_circle(RED, a, b, 10), 1);
            EXPECT_EQ(KV390_circle(RED, 0, 0, a), 1);
            EXPECT_EQ(KV390_rectangle(RED, a, b, b, a, 0), 1);
            EXPECT_EQ(KV390_rectangle(RED, a, a, b, b, 2), 1);
            EXPECT_EQ(KV390_oval(RED, a, b, b, a, 0), 1);
            EXPECT_EQ(KV390_oval(RED, b, a, a, b, 3), 1);
            EXPECT_EQ(KV390_line(RED, a, b, b, a, 0), 1);
            EXPECT_EQ(KV390_line(RED, 0, 0, a, b, 4), 1);
            EXPECT_EQ(KV390_triangle(RED, a, b, b, a, 0, 0, 0), 1);
            EXPECT_EQ(KV390_triangle(RED, a, a, b, a, 10, 10, 2), 1);
            EXPECT_EQ(KV390_text(RED, a, b, 20, "x\ny"), 1);
        }
    }
    EXPECT_EQ(KV390_text(RED, 0, 0, INT_MIN, "x"), 1);
    EXPECT_EQ(KV390_line(RED, -5, -5, 5, 5, INT_MIN), 1);
    EXPECT_EQ(log_lines().back(), "Width of -2147483648 not possible, using width 2147483647\n");
}

}  // namespace
}  // namespace kv390::test
