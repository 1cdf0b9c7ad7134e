// Rectangle coverage: right and bottom edges excluded, pen edge plus brush inside.
#include <gtest/gtest.h>

#include "canvas.h"

using namespace win;
using namespace raster_test;

TEST(Rectangle, FilledWithEqualCornersSetsOnePixel) {
    Canvas c;
    c.filled(0, RED, RED);
    rectangle(c.dc, 10, 12, 11, 13);
    EXPECT_EQ(c.count(RED), 1);
    EXPECT_TRUE(c.is(10, 12, RED));
}

TEST(Rectangle, CoversBoxWithoutRightAndBottomEdge) {
    Canvas c;
    c.filled(1, RED, BLUE);
    rectangle(c.dc, 30, 25, 10, 5);  // corners in any order
    const Bounds outline = c.bounds(RED);
    EXPECT_EQ(outline.left, 10);
    EXPECT_EQ(outline.top, 5);
    EXPECT_EQ(outline.right, 30);
    EXPECT_EQ(outline.bottom, 25);
    EXPECT_EQ(c.count(RED), 2 * 20 + 2 * 18);
    EXPECT_EQ(c.count(BLUE), 18 * 18);
    EXPECT_TRUE(c.is(11, 6, BLUE));
    EXPECT_TRUE(c.is(29, 24, RED));
}

TEST(Rectangle, NullPenShrinksFillByOneRightAndBottom) {
    Canvas c;
    c.brush_only(BLUE);
    rectangle(c.dc, 10, 5, 30, 25);
    const Bounds b = c.bounds(BLUE);
    EXPECT_EQ(b.left, 10);
    EXPECT_EQ(b.top, 5);
    EXPECT_EQ(b.right, 29);
    EXPECT_EQ(b.bottom, 24);
    EXPECT_EQ(c.count(BLUE), 19 * 19);
}

TEST(Rectangle, EmptyBoxDrawsNothing) {
    Canvas c;
    c.filled(5, RED, BLUE);
    rectangle(c.dc, 10, 10, 10, 30);
    rectangle(c.dc, 10, 10, 30, 10);
    EXPECT_EQ(c.count(WHITE), 64 * 64);
}

TEST(Rectangle, OutlineWithNullBrushKeepsInside) {
    Canvas c(64, 64, BLUE);
    c.outlined(1, RED);
    rectangle(c.dc, 10, 10, 20, 20);
    EXPECT_EQ(c.count(RED), 36);
    EXPECT_TRUE(c.is(15, 15, BLUE));
}

TEST(Rectangle, WidePenIsCentredWithRoundCorners) {
    Canvas c(64, 64, BLUE);
    c.outlined(5, RED);
    rectangle(c.dc, 10, 10, 31, 31);  // path through columns/rows 10 and 30
    const Bounds b = c.bounds(RED);
    EXPECT_EQ(b.left, 8);
    EXPECT_EQ(b.top, 8);
    EXPECT_EQ(b.right, 33);
    EXPECT_EQ(b.bottom, 33);
    // Straight parts are five pixels thick, the inside is untouched.
    for (int x = 8; x <= 12; ++x) EXPECT_TRUE(c.is(x, 20, RED)) << x;
    EXPECT_TRUE(c.is(13, 20, BLUE));
    EXPECT_TRUE(c.is(20, 20, BLUE));
    // Round joins leave the outer corner pixels free.
    EXPECT_TRUE(c.is(8, 8, BLUE));
    EXPECT_TRUE(c.is(32, 32, BLUE));
    EXPECT_TRUE(c.is(9, 9, RED));
}

TEST(Rectangle, WidePenAndBrushPaintInsideMinusOutline) {
    Canvas c;
    c.filled(4, RED, BLUE);
    rectangle(c.dc, 10, 10, 40, 40);
    EXPECT_TRUE(c.is(25, 25, BLUE));
    EXPECT_TRUE(c.is(10, 25, RED));
    EXPECT_TRUE(c.is(11, 25, RED));
    EXPECT_TRUE(c.is(12, 25, BLUE));
    EXPECT_TRUE(c.is(8, 25, RED));  // even width: the extra pixel lies top-left
    EXPECT_TRUE(c.is(7, 25, WHITE));
}

TEST(FillRect, ExcludesRightAndBottomAndIgnoresPen) {
    Canvas c;
    HGDIOBJ brush = create_solid_brush(RED);
    const Rect r{5, 6, 15, 9};
    EXPECT_TRUE(fill_rect(c.dc, &r, brush));
    EXPECT_EQ(c.count(RED), 30);
    EXPECT_EQ(c.bounds(RED).right, 15);
    const Rect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    EXPECT_TRUE(fill_rect(c.dc, &huge, get_stock_object(BLACK_BRUSH)));
    EXPECT_EQ(c.count(BLACK), 64 * 64);
    EXPECT_FALSE(fill_rect(c.dc, &r, nullptr));
    EXPECT_TRUE(delete_object(brush));
}

TEST(Pixels, SetAndGetInsideAndOutside) {
    Canvas c;
    EXPECT_EQ(set_pixel(c.dc, 3, 4, RED), RED);
    EXPECT_EQ(get_pixel(c.dc, 3, 4), RED);
    EXPECT_EQ(get_pixel(c.dc, 4, 4), WHITE);
    EXPECT_EQ(set_pixel(c.dc, -1, 4, RED), 0xFFFFFFFFu);
    EXPECT_EQ(set_pixel(c.dc, 64, 0, RED), 0xFFFFFFFFu);
    EXPECT_EQ(get_pixel(c.dc, 0, 64), 0xFFFFFFFFu);
    EXPECT_EQ(c.count(RED), 1);
}

TEST(Drawing, BumpsSurfaceVersionOncePerCall) {
    Canvas c;
    c.filled(0, RED, BLUE);
    const auto before = c.surface.version;
    rectangle(c.dc, 1, 1, 30, 30);
    EXPECT_EQ(c.surface.version, before + 1);
    ellipse(c.dc, 1, 1, 30, 30);
    EXPECT_EQ(c.surface.version, before + 2);
    set_pixel(c.dc, 1, 1, RED);
    EXPECT_EQ(c.surface.version, before + 3);
}
