// Polygon coverage: even-odd interior, pen outline through the actual vertices.
#include <gtest/gtest.h>

#include "canvas.h"

using namespace win;
using namespace raster_test;

TEST(Polygon, BrushOnlyCoversLeftEdgeButNotRightOrBottom) {
    Canvas c;
    c.brush_only(BLUE);
    const Point square[] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    polygon(c.dc, square, 4);
    const Bounds b = c.bounds(BLUE);
    EXPECT_EQ(b.left, 10);
    EXPECT_EQ(b.top, 10);
    EXPECT_EQ(b.right, 20);
    EXPECT_EQ(b.bottom, 20);
    EXPECT_EQ(c.count(BLUE), 100);
}

TEST(Polygon, OnePixelPenReachesRightmostAndBottomVertices) {
    Canvas c;
    c.filled(1, RED, BLUE);
    const Point triangle[] = {{10, 40}, {50, 40}, {30, 10}};
    polygon(c.dc, triangle, 3);
    EXPECT_TRUE(c.is(50, 40, RED));
    EXPECT_TRUE(c.is(30, 10, RED));
    EXPECT_TRUE(c.is(10, 40, RED));
    EXPECT_TRUE(c.is(30, 30, BLUE));
    const Bounds b = c.bounds(RED);
    EXPECT_EQ(b.right, 51);
    EXPECT_EQ(b.bottom, 41);
}

TEST(Polygon, EvenOddLeavesTheStarsCentreEmpty) {
    Canvas c;
    c.brush_only(BLUE);
    // A pentagram: its middle pentagon is crossed twice and stays unfilled.
    const Point star[] = {{32, 2}, {50, 60}, {3, 24}, {61, 24}, {14, 60}};
    polygon(c.dc, star, 5);
    EXPECT_TRUE(c.is(32, 34, WHITE));
    EXPECT_TRUE(c.is(32, 10, BLUE));
    EXPECT_TRUE(c.is(10, 25, BLUE));
}

TEST(Polygon, WideTriangleOutlineLeavesInteriorUntouched) {
    Canvas c(64, 64, BLUE);
    c.outlined(3, RED);
    const Point triangle[] = {{5, 55}, {58, 55}, {30, 5}};
    polygon(c.dc, triangle, 3);
    EXPECT_TRUE(c.is(30, 40, BLUE));
    EXPECT_TRUE(c.is(20, 50, BLUE));
    // The edges are three pixels thick: the bottom edge covers rows 54..56.
    for (int y : {54, 55, 56}) EXPECT_TRUE(c.is(30, y, RED)) << y;
    EXPECT_TRUE(c.is(30, 53, BLUE));
    EXPECT_TRUE(c.is(30, 57, BLUE));
    // Joins are discs around each vertex.
    EXPECT_TRUE(c.is(4, 55, RED));
    EXPECT_TRUE(c.is(59, 55, RED));
    EXPECT_TRUE(c.is(30, 4, RED));
}

TEST(Polygon, RefusesTooFewPoints) {
    Canvas c;
    const Point one[] = {{1, 1}};
    EXPECT_FALSE(polygon(c.dc, one, 1));
    EXPECT_FALSE(polygon(c.dc, nullptr, 3));
    EXPECT_FALSE(polygon(nullptr, one, 1));
}
