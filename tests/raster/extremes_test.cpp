// Any int32 coordinate or pen width is safe, and a call costs only its visible part.
#include <climits>

#include <gtest/gtest.h>

#include "canvas.h"

using namespace win;
using namespace raster_test;

TEST(Extremes, HugeRectangleFillsTheCanvasWithBrush) {
    Canvas c;
    c.filled(1, RED, BLUE);
    rectangle(c.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(c.count(BLUE), 64 * 64);
    rectangle(c.dc, INT_MIN, 10, INT_MAX, 20);
    EXPECT_TRUE(c.is(0, 10, RED));
    EXPECT_TRUE(c.is(63, 19, RED));
    EXPECT_TRUE(c.is(5, 15, BLUE));
}

TEST(Extremes, HugeEllipseIsSensible) {
    Canvas c;
    c.filled(1, RED, BLUE);
    ellipse(c.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(c.count(BLUE), 64 * 64);
    // A huge circle whose left edge runs through column 10 near its widest row.
    Canvas edge;
    edge.filled(1, RED, BLUE);
    const int r = 1000000000;
    ellipse(edge.dc, 10, 32 - r, 10 + 2 * r + 1, 32 + r + 1);
    for (int y = 20; y < 44; ++y) {
        EXPECT_TRUE(edge.is(9, y, WHITE)) << y;
        EXPECT_TRUE(edge.is(10, y, RED)) << y;
        EXPECT_TRUE(edge.is(11, y, BLUE)) << y;
    }
}

TEST(Extremes, ClippedShapesEqualTheVisiblePartOfWholeOnes) {
    // Shapes drawn whole on a big canvas and through a small canvas that sees
    // a window of them.
    const int o = 600, wx = 30, wy = 40;
    for (int pen_width : {1, 6}) {
        Canvas big(1300, 1300), small;
        big.filled(pen_width, RED, BLUE);
        small.filled(pen_width, RED, BLUE);
        ellipse(big.dc, -500 + o, 20 + o, 564 + o, 621 + o);
        ellipse(small.dc, -500 - wx, 20 - wy, 564 - wx, 621 - wy);
        const Point big_tri[] = {{-400 + o, 500 + o}, {90 + o, -300 + o}, {600 + o, 60 + o}};
        const Point small_tri[] = {
            {-400 - wx, 500 - wy}, {90 - wx, -300 - wy}, {600 - wx, 60 - wy}};
        polygon(big.dc, big_tri, 3);
        polygon(small.dc, small_tri, 3);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(small.at(x, y), big.at(x + wx + o, y + wy + o)) << x << "," << y;
    }
}

TEST(Extremes, LinesAcrossTheWholeRange) {
    Canvas c;
    c.outlined(1, RED);
    move_to(c.dc, INT_MIN, INT_MIN, nullptr);
    line_to(c.dc, INT_MAX, INT_MAX);
    EXPECT_EQ(c.count(RED), 64);
    for (int i = 0; i < 64; ++i) EXPECT_TRUE(c.is(i, i, RED)) << i;
    move_to(c.dc, INT_MIN, 5, nullptr);
    line_to(c.dc, INT_MAX, 5);
    EXPECT_EQ(c.count(RED), 64 + 63);
    move_to(c.dc, INT_MAX, INT_MIN, nullptr);
    line_to(c.dc, INT_MIN, INT_MAX);  // the anti-diagonal x + y = -1 misses the canvas
    EXPECT_EQ(c.count(RED), 64 + 63);
}

TEST(Extremes, HugePenWidthsCoverTheCanvasQuickly) {
    Canvas c;
    c.outlined(INT_MAX, RED);
    move_to(c.dc, 30, 30, nullptr);
    line_to(c.dc, 31, 35);
    EXPECT_EQ(c.count(RED), 64 * 64);

    // A huge pen on a small figure covers everything around it ...
    for (bool round : {false, true}) {
        Canvas e(64, 64, BLUE);
        e.outlined(INT_MAX, RED);
        round ? ellipse(e.dc, 20, 20, 40, 40) : rectangle(e.dc, 20, 20, 40, 40);
        EXPECT_EQ(e.count(RED), 64 * 64) << round;
    }
    // ... while on the largest figure the canvas lies in the hole it leaves.
    for (bool round : {false, true}) {
        Canvas e(64, 64, BLUE);
        e.outlined(INT_MAX, RED);
        round ? ellipse(e.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX)
              : rectangle(e.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        EXPECT_EQ(e.count(BLUE), 64 * 64) << round;
        e.outlined(INT_MAX / 2, RED);
        round ? ellipse(e.dc, INT_MIN, INT_MIN, 0, 0) : rectangle(e.dc, INT_MIN, 0, 0, 64);
        EXPECT_EQ(e.count(RED), 64 * 64) << round;
    }

    Canvas p;
    p.outlined(INT_MAX, RED);
    const Point triangle[] = {{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}};
    polygon(p.dc, triangle, 3);
    EXPECT_EQ(p.count(RED), 64 * 64);
}

TEST(Extremes, HugePolygonFillsSensibly) {
    Canvas c;
    c.brush_only(BLUE);
    const Point triangle[] = {{INT_MIN, INT_MAX}, {INT_MAX, INT_MAX}, {0, INT_MIN}};
    polygon(c.dc, triangle, 3);
    EXPECT_EQ(c.count(BLUE), 64 * 64);
    Canvas half;
    half.brush_only(BLUE);
    const Point wedge[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    polygon(half.dc, wedge, 3);  // below the main diagonal
    EXPECT_TRUE(half.is(10, 40, BLUE));
    EXPECT_TRUE(half.is(40, 10, WHITE));
}

TEST(Extremes, BlitAndScrollWithExtremeArguments) {
    Canvas a, b;
    EXPECT_TRUE(bit_blt(a.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX, b.dc, INT_MAX, INT_MAX, SRCCOPY));
    EXPECT_TRUE(bit_blt(a.dc, INT_MAX, 0, INT_MAX, 10, b.dc, 0, 0, SRCCOPY));
    Rect update;
    EXPECT_TRUE(scroll_dc(a.dc, INT_MIN, INT_MAX, nullptr, nullptr, &update));
    EXPECT_EQ(update.right, 64);
    EXPECT_TRUE(scroll_dc(a.dc, 0, INT_MIN, nullptr, nullptr, nullptr));
    EXPECT_EQ(a.count(WHITE), 64 * 64);
}
