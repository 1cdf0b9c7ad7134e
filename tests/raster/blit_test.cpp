// bit_blt clipping on both sides, and scroll_dc (ring rotation and plain moves).
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"

using namespace win;
using namespace raster_test;

namespace {

COLORREF pattern(int x, int y) {
    return rgb(unsigned(x * 3), unsigned(y * 5), unsigned(x ^ y));
}

void paint_pattern(Canvas& c) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) set_pixel(c.dc, x, y, pattern(x, y));
}

std::vector<COLORREF> snapshot(const Canvas& c) {
    std::vector<COLORREF> pixels;
    c.for_each_pixel([&](int, int, COLORREF colour) { pixels.push_back(colour); });
    return pixels;
}

// The expected result of moving every pixel by (dx, dy) inside the whole
// surface, uncovered pixels keeping their old contents.
std::vector<COLORREF> moved(const std::vector<COLORREF>& old, int w, int h, int dx, int dy) {
    std::vector<COLORREF> out = old;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx = x - dx, sy = y - dy;
            if (sx >= 0 && sx < w && sy >= 0 && sy < h) out[y * w + x] = old[sy * w + sx];
        }
    return out;
}

}  // namespace

TEST(BitBlt, CopiesAndClipsOnBothSides) {
    Canvas source(10, 10), dest(20, 20);
    paint_pattern(source);
    // Partly left of and above the destination, partly outside the source.
    EXPECT_TRUE(bit_blt(dest.dc, -3, -2, 12, 12, source.dc, 0, 0, SRCCOPY));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const int sx = x + 3, sy = y + 2;
            const bool copied = sx < 10 && sy < 10 && x < 9 && y < 10;
            EXPECT_EQ(dest.at(x, y), copied ? pattern(sx, sy) : WHITE) << x << "," << y;
        }
    Canvas dest2(20, 20);
    EXPECT_TRUE(bit_blt(dest2.dc, 15, 15, 10, 10, source.dc, -4, 6, SRCCOPY));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const int sx = x - 15 - 4, sy = y - 15 + 6;
            const bool copied = x >= 15 && y >= 15 && sx >= 0 && sy < 10;
            EXPECT_EQ(dest2.at(x, y), copied ? pattern(sx, sy) : WHITE) << x << "," << y;
        }
    EXPECT_FALSE(bit_blt(dest.dc, 0, 0, 5, 5, source.dc, 0, 0, 0x00330008));
}

TEST(BitBlt, OverlappingCopyWithinOneSurface) {
    Canvas c(30, 30);
    paint_pattern(c);
    const auto old = snapshot(c);
    bit_blt(c.dc, 5, 7, 20, 20, c.dc, 2, 3, SRCCOPY);
    for (int y = 7; y < 27; ++y)
        for (int x = 5; x < 25; ++x) EXPECT_EQ(c.at(x, y), old[(y - 4) * 30 + (x - 3)]);
    paint_pattern(c);
    bit_blt(c.dc, 2, 3, 20, 20, c.dc, 5, 7, SRCCOPY);
    for (int y = 3; y < 23; ++y)
        for (int x = 2; x < 22; ++x) EXPECT_EQ(c.at(x, y), pattern(x + 3, y + 4));
}

TEST(BitBlt, FromMemoryBitmap) {
    HDC mem = create_compatible_dc(nullptr);
    HGDIOBJ bitmap = create_compatible_bitmap(mem, 16, 16);
    HGDIOBJ old = select_object(mem, bitmap);
    Canvas c;
    EXPECT_TRUE(bit_blt(c.dc, 4, 4, 16, 16, mem, 0, 0, SRCCOPY));
    EXPECT_EQ(c.count(BLACK), 256);
    select_object(mem, old);
    delete_object(bitmap);
    delete_dc(mem);
}

TEST(ScrollDc, RingRotationGivesSameResultAsPlainMove) {
    const int w = 23, h = 17;
    Canvas c(w, h);
    paint_pattern(c);
    auto expected = snapshot(c);
    // A sequence that wraps the ring of rows several times.
    for (int dy : {-1, -3, 2, -8, 5, -1, -1, 7, -4, -6, 3}) {
        Rect update;
        ASSERT_TRUE(scroll_dc(c.dc, 0, dy, nullptr, nullptr, &update));
        expected = moved(expected, w, h, 0, dy);
        ASSERT_EQ(snapshot(c), expected) << dy;
        EXPECT_EQ(update.left, 0);
        EXPECT_EQ(update.right, w);
        EXPECT_EQ(update.top, dy < 0 ? h + dy : 0);
        EXPECT_EQ(update.bottom, dy < 0 ? h : dy);
    }
    EXPECT_NE(c.surface.first_row, 0);
    // Drawing after rotation lands on the right rows.
    c.filled(0, RED, RED);
    rectangle(c.dc, 2, 3, 6, 5);
    EXPECT_TRUE(c.is(2, 3, RED));
    EXPECT_TRUE(c.is(5, 4, RED));
    EXPECT_FALSE(c.is(5, 5, RED));
    EXPECT_EQ(c.count(RED), 8);
    EXPECT_EQ(dc_image(c.dc).at(5, 4), pixel_of(RED));
}

TEST(ScrollDc, LargeAndSidewaysScrollsMovePixels) {
    const int w = 20, h = 16;
    const int moves[][2] = {{0, -12}, {0, 11}, {3, 0}, {-5, 2}, {4, -7}, {0, 16}, {0, -40}};
    for (const auto& m : moves) {
        Canvas c(w, h);
        paint_pattern(c);
        const auto old = snapshot(c);
        scroll_dc(c.dc, m[0], m[1], nullptr, nullptr, nullptr);
        EXPECT_EQ(snapshot(c), moved(old, w, h, m[0], m[1])) << m[0] << "," << m[1];
    }
}

TEST(ScrollDc, ScrollRectAndClipLimitTheMove) {
    Canvas c(20, 20);
    paint_pattern(c);
    const Rect area{2, 2, 12, 12};
    const Rect clip{0, 0, 20, 8};
    Rect update;
    scroll_dc(c.dc, 0, -3, &area, &clip, &update);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 2 && x < 12 && y >= 2 && y < 8;
            EXPECT_EQ(c.at(x, y), inside ? pattern(x, y + 3) : pattern(x, y)) << x << "," << y;
        }
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.right, 0);  // everything the clip allows received pixels
    const Rect full{2, 2, 12, 12};
    scroll_dc(c.dc, 2, 0, &full, nullptr, &update);
    EXPECT_EQ(update.left, 2);
    EXPECT_EQ(update.top, 2);
    EXPECT_EQ(update.right, 4);
    EXPECT_EQ(update.bottom, 12);
}
