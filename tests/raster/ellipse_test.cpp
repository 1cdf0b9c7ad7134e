// Ellipse coverage: inscribed in the box without its right and bottom edges.
#include <gtest/gtest.h>

#include "canvas.h"

using namespace win;
using namespace raster_test;

namespace {

// Whether the pixels of colour c are mirror symmetric about the box centre.
void expect_symmetric(const Canvas& c, COLORREF colour, const Bounds& box) {
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const int mx = box.left + box.right - 1 - x, my = box.top + box.bottom - 1 - y;
            EXPECT_EQ(c.is(x, y, colour), c.is(mx, y, colour)) << x << "," << y;
            EXPECT_EQ(c.is(x, y, colour), c.is(x, my, colour)) << x << "," << y;
        }
    }
}

}  // namespace

TEST(Ellipse, FilledCircleOfRadiusFiveIsSymmetricElevenByEleven) {
    Canvas c;
    c.filled(0, RED, RED);
    const int cx = 30, cy = 20;
    ellipse(c.dc, cx - 5, cy - 5, cx + 6, cy + 6);
    const Bounds b = c.bounds(RED);
    EXPECT_EQ(b.left, cx - 5);
    EXPECT_EQ(b.top, cy - 5);
    EXPECT_EQ(b.width(), 11);
    EXPECT_EQ(b.height(), 11);
    expect_symmetric(c, RED, b);
    // A disc: full middle row and column, rounded corners, no holes.
    for (int d = -5; d <= 5; ++d) {
        EXPECT_TRUE(c.is(cx + d, cy, RED));
        EXPECT_TRUE(c.is(cx, cy + d, RED));
    }
    EXPECT_FALSE(c.is(cx - 5, cy - 5, RED));
    EXPECT_FALSE(c.is(cx - 4, cy - 4, RED));
    EXPECT_TRUE(c.is(cx - 3, cy - 3, RED));
    // Symmetric in the diagonal too, as a circle must be.
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x)
            EXPECT_EQ(c.is(x, y, RED), c.is(cx + (y - cy), cy + (x - cx), RED));
}

TEST(Ellipse, EvenBoxesAreSymmetricToo) {
    Canvas c;
    c.filled(1, RED, BLUE);
    ellipse(c.dc, 10, 10, 40, 26);
    const Bounds b = c.bounds(RED);
    EXPECT_EQ(b.left, 10);
    EXPECT_EQ(b.top, 10);
    EXPECT_EQ(b.right, 40);
    EXPECT_EQ(b.bottom, 26);
    expect_symmetric(c, RED, b);
    expect_symmetric(c, BLUE, b);
}

TEST(Ellipse, OutlineIsClosedAndBrushFillsInside) {
    Canvas c(64, 64, WHITE);
    c.filled(1, RED, BLUE);
    ellipse(c.dc, 5, 8, 60, 50);
    // Every row between top and bottom is red at its ends, blue or red between.
    for (int y = 8; y < 50; ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < 64; ++x)
            if (!c.is(x, y, WHITE)) {
                if (first < 0) first = x;
                last = x;
            }
        ASSERT_GE(first, 0) << y;
        EXPECT_TRUE(c.is(first, y, RED));
        EXPECT_TRUE(c.is(last, y, RED));
        for (int x = first; x <= last; ++x) EXPECT_FALSE(c.is(x, y, WHITE)) << x << "," << y;
    }
    // No blue pixel touches white: the outline closes the interior.
    for (int y = 1; y < 63; ++y)
        for (int x = 1; x < 63; ++x)
            if (c.is(x, y, BLUE)) {
                EXPECT_FALSE(c.is(x - 1, y, WHITE) || c.is(x + 1, y, WHITE) ||
                             c.is(x, y - 1, WHITE) || c.is(x, y + 1, WHITE));
            }
}

TEST(Ellipse, NarrowBoxDrawsAsRectangle) {
    Canvas c;
    c.filled(1, RED, BLUE);
    ellipse(c.dc, 10, 5, 12, 40);
    EXPECT_EQ(c.count(RED), 2 * 35);
    ellipse(c.dc, 20, 50, 50, 51);
    EXPECT_EQ(c.count(RED), 2 * 35 + 30);
    EXPECT_EQ(c.count(BLUE), 0);
}

TEST(Ellipse, NullPenFillsBoxLessOne) {
    Canvas with_pen, without_pen;
    with_pen.filled(1, BLUE, BLUE);
    without_pen.brush_only(BLUE);
    ellipse(with_pen.dc, 10, 10, 40, 30);
    ellipse(without_pen.dc, 10, 10, 41, 31);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(with_pen.at(x, y), without_pen.at(x, y));
}

TEST(Ellipse, WidePenRingIsCentredOnTheOutline) {
    Canvas c(80, 80, BLUE);
    c.outlined(5, RED);
    ellipse(c.dc, 20, 20, 61, 61);  // path through columns 20 .. 60
    const Bounds b = c.bounds(RED);
    EXPECT_EQ(b.left, 18);
    EXPECT_EQ(b.top, 18);
    EXPECT_EQ(b.right, 63);
    EXPECT_EQ(b.bottom, 63);
    expect_symmetric(c, RED, b);
    for (int x = 18; x <= 22; ++x) EXPECT_TRUE(c.is(x, 40, RED)) << x;
    EXPECT_TRUE(c.is(23, 40, BLUE));
    EXPECT_TRUE(c.is(40, 40, BLUE));
}
