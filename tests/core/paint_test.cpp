// Invalid regions, painting with the class background, window pixels.
#include <gtest/gtest.h>

#include "kv390/harness.h"
#include "recorder.h"

namespace kv390::test {
namespace {

using namespace win;

class PaintTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        hwnd = make_window("P", GRAPHICS_STYLE | WS_VISIBLE, 106, 74);  // client 100 x 50
        pump_pending();
    }
    void fill_client(COLORREF color) {
        HDC dc = get_dc(hwnd);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 100; ++x) set_pixel(dc, x, y, color);
        }
        release_dc(hwnd, dc);
    }
    HWND hwnd = nullptr;
};

TEST_F(PaintTest, InvalidRectanglesUniteAndClipToTheClient) {
    EXPECT_FALSE(get_update_rect(hwnd, nullptr));
    Rect a{10, 10, 20, 20}, b{30, 5, 200, 15};
    invalidate_rect(hwnd, &a, false);
    invalidate_rect(hwnd, &b, false);
    Rect r;
    ASSERT_TRUE(get_update_rect(hwnd, &r));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.right, 100);
    EXPECT_EQ(r.bottom, 20);
    Rect top_strip{0, 0, 100, 12};
    validate_rect(hwnd, &top_strip);
    ASSERT_TRUE(get_update_rect(hwnd, &r));
    EXPECT_EQ(r.top, 12);
    validate_rect(hwnd, nullptr);
    EXPECT_FALSE(get_update_rect(hwnd, nullptr));
}

TEST_F(PaintTest, BeginPaintErasesOnlyTheInvalidPartAndClipsTheDc) {
    fill_client(rgb(0, 0, 255));
    Rect part{10, 10, 20, 15};
    invalidate_rect(hwnd, &part, true);
    PaintStruct ps;
    HDC dc = begin_paint(hwnd, &ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(ps.paint.left, 10);
    EXPECT_EQ(ps.paint.bottom, 15);
    EXPECT_FALSE(ps.erase);  // erased already, with the class's white brush
    EXPECT_FALSE(get_update_rect(hwnd, nullptr));
    set_pixel(dc, 0, 0, rgb(255, 0, 0));  // outside the paint rectangle
    set_pixel(dc, 12, 12, rgb(255, 0, 0));
    end_paint(hwnd, &ps);
    Image image = window_image(hwnd);
    EXPECT_EQ(image.at(0, 0), 0x0000FFu);
    EXPECT_EQ(image.at(12, 12), 0xFF0000u);
    EXPECT_EQ(image.at(10, 10), 0xFFFFFFu);
    EXPECT_EQ(image.at(19, 14), 0xFFFFFFu);
    EXPECT_EQ(image.at(20, 14), 0x0000FFu);
    EXPECT_EQ(image.at(19, 15), 0x0000FFu);
}

TEST_F(PaintTest, InvalidatingWithoutEraseKeepsThePixels) {
    fill_client(rgb(0, 255, 0));
    invalidate_rect(hwnd, nullptr, false);
    PaintStruct ps;
    begin_paint(hwnd, &ps);
    end_paint(hwnd, &ps);
    EXPECT_EQ(window_image(hwnd).at(50, 25), 0x00FF00u);
}

TEST_F(PaintTest, UpdateWindowSendsPaintAtOnce) {
    recorder().clear();
    update_window(hwnd);
    EXPECT_TRUE(recorder().of(WM_PAINT).empty());
    invalidate_rect(hwnd, nullptr, true);
    update_window(hwnd);
    EXPECT_EQ(recorder().of(WM_PAINT).size(), 1u);
    EXPECT_FALSE(get_update_rect(hwnd, nullptr));
}

TEST_F(PaintTest, ShowingAgainRepaintsTheWholeClient) {
    show_window(hwnd, SW_HIDE);
    show_window(hwnd, SW_SHOW);
    Rect r;
    ASSERT_TRUE(get_update_rect(hwnd, &r));
    EXPECT_EQ(r.right, 100);
    EXPECT_EQ(r.bottom, 50);
}

TEST_F(PaintTest, WindowImageIsInDeviceOrder) {
    HDC dc = get_dc(hwnd);
    set_pixel(dc, 99, 49, rgb(1, 2, 3));
    release_dc(hwnd, dc);
    Image image = harness::window_pixels(hwnd);
    ASSERT_EQ(image.width, 100);
    ASSERT_EQ(image.height, 50);
    EXPECT_EQ(image.pixels.back(), 0x010203u);
    EXPECT_TRUE(window_image(nullptr).pixels.empty());
}

}  // namespace
}  // namespace kv390::test
