// Lines: Bresenham, end point excluded, exact clipping, wide pens with round caps.
#include <cmath>

#include <gtest/gtest.h>

#include "canvas.h"

using namespace win;
using namespace raster_test;

namespace {

void draw_line(Canvas& c, int x0, int y0, int x1, int y1) {
    move_to(c.dc, x0, y0, nullptr);
    line_to(c.dc, x1, y1);
}

double distance_to_segment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
    t = std::fmax(0.0, std::fmin(1.0, t));
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

TEST(Line, HorizontalRunExcludesEndPoint) {
    Canvas c;
    c.outlined(1, RED);
    draw_line(c, 0, 0, 10, 0);
    EXPECT_EQ(c.count(RED), 10);
    EXPECT_TRUE(c.is(9, 0, RED));
    EXPECT_FALSE(c.is(10, 0, RED));
    draw_line(c, 20, 30, 20, 20);  // upwards: rows 30 .. 21
    EXPECT_TRUE(c.is(20, 30, RED));
    EXPECT_TRUE(c.is(20, 21, RED));
    EXPECT_FALSE(c.is(20, 20, RED));
    EXPECT_EQ(c.count(RED), 20);
}

TEST(Line, DiagonalSetsOnePixelPerStep) {
    Canvas c;
    c.outlined(1, RED);
    draw_line(c, 2, 3, 12, 13);
    EXPECT_EQ(c.count(RED), 10);
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(c.is(2 + i, 3 + i, RED)) << i;
    draw_line(c, 40, 10, 30, 20);
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(c.is(40 - i, 10 + i, RED)) << i;
}

TEST(Line, ShallowAndSteepLinesAreConnectedAndNearTheSegment) {
    const int ends[][4] = {{3, 4, 60, 21}, {60, 2, 5, 40}, {10, 60, 17, 1}, {50, 50, 47, 3}};
    for (const auto& e : ends) {
        Canvas c;
        c.outlined(1, RED);
        draw_line(c, e[0], e[1], e[2], e[3]);
        const int steps = std::max(std::abs(e[2] - e[0]), std::abs(e[3] - e[1]));
        EXPECT_EQ(c.count(RED), steps);
        EXPECT_TRUE(c.is(e[0], e[1], RED));
        EXPECT_FALSE(c.is(e[2], e[3], RED));
        c.for_each_pixel([&](int x, int y, COLORREF colour) {
            if (colour != RED) return;
            EXPECT_LE(distance_to_segment(x, y, e[0], e[1], e[2], e[3]), 0.71) << x << "," << y;
        });
    }
}

TEST(Line, MovesCurrentPosition) {
    Canvas c;
    Point previous;
    move_to(c.dc, 4, 5, nullptr);
    line_to(c.dc, 9, 7);
    move_to(c.dc, 0, 0, &previous);
    EXPECT_EQ(previous.x, 9);
    EXPECT_EQ(previous.y, 7);
}

TEST(Line, NullPenOnlyMoves) {
    Canvas c;
    c.use(PS_NULL, 1, RED, nullptr);
    draw_line(c, 1, 1, 30, 30);
    EXPECT_EQ(c.count(WHITE), 64 * 64);
    EXPECT_EQ(c.dc->position.x, 30);
}

TEST(Line, ClippedLineEqualsTheVisiblePartOfTheUnclipped) {
    // The same lines drawn on a big canvas and on a small one that sees only
    // a window of it (by shifting the coordinates).
    const int lines[][4] = {{-70, -33, 190, 141}, {180, -20, -45, 150},      {-300, 40, 400, 61},
                            {37, -500, 52, 700},  {-1000, -999, 1000, 1000}, {5, 80, 125, 79}};
    const int shift_x = 40, shift_y = 50;
    for (const auto& l : lines) {
        Canvas big(2400, 2400), small(64, 64);
        big.outlined(1, RED);
        small.outlined(1, RED);
        const int o = 1100;  // the big canvas shows every line whole
        draw_line(big, l[0] + o, l[1] + o, l[2] + o, l[3] + o);
        draw_line(small, l[0] - shift_x, l[1] - shift_y, l[2] - shift_x, l[3] - shift_y);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(small.at(x, y), big.at(x + shift_x + o, y + shift_y + o))
                    << l[0] << "," << l[1] << " at " << x << "," << y;
    }
}

TEST(WideLine, HorizontalAndVerticalAreCentredWithRoundCaps) {
    Canvas c;
    c.outlined(5, RED);
    draw_line(c, 10, 10, 30, 10);
    for (int x = 10; x < 30; ++x)
        for (int y = 8; y <= 12; ++y) EXPECT_TRUE(c.is(x, y, RED)) << x << "," << y;
    EXPECT_FALSE(c.is(20, 7, RED));
    EXPECT_FALSE(c.is(20, 13, RED));
    EXPECT_TRUE(c.is(8, 10, RED));   // cap at the start
    EXPECT_TRUE(c.is(32, 10, RED));  // cap at the end
    EXPECT_FALSE(c.is(7, 10, RED));
    EXPECT_FALSE(c.is(8, 8, RED));  // round, not square
    EXPECT_FALSE(c.is(32, 12, RED));
    const int horizontal = c.count(RED);

    Canvas v;
    v.outlined(5, RED);
    draw_line(v, 10, 10, 10, 30);
    EXPECT_EQ(v.count(RED), horizontal);
    for (int y = 10; y < 30; ++y)
        for (int x = 8; x <= 12; ++x) EXPECT_TRUE(v.is(x, y, RED));
}

TEST(WideLine, EvenWidthPutsExtraPixelTopLeft) {
    Canvas c;
    c.outlined(4, RED);
    draw_line(c, 10, 20, 40, 20);
    for (int y : {18, 19, 20, 21}) EXPECT_TRUE(c.is(25, y, RED)) << y;
    EXPECT_FALSE(c.is(25, 17, RED));
    EXPECT_FALSE(c.is(25, 22, RED));
}

TEST(WideLine, DiagonalCoversEveryPixelNearTheSegmentAndNoneFar) {
    const int ends[][4] = {{10, 12, 52, 40}, {50, 8, 14, 55}, {8, 30, 56, 33}};
    for (int width : {2, 5, 9}) {
        for (const auto& e : ends) {
            Canvas c;
            c.outlined(width, RED);
            draw_line(c, e[0], e[1], e[2], e[3]);
            const double half = width / 2.0;
            c.for_each_pixel([&](int x, int y, COLORREF colour) {
                const double d = distance_to_segment(x, y, e[0], e[1], e[2], e[3]);
                if (d <= half - 1.0) {
                    EXPECT_EQ(colour, RED) << width << " " << x << "," << y;
                }
                if (d >= half + 1.0) {
                    EXPECT_NE(colour, RED) << width << " " << x << "," << y;
                }
            });
        }
    }
}
