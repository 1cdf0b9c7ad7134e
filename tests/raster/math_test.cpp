// The exact arithmetic under the raster, and huge ellipses row by row.
#include <climits>

#include <gtest/gtest.h>

#include "raster/shapes/ellipse.h"
#include "raster/shapes/exact_math.h"

using namespace win::raster;

TEST(WideMath, ProductsAndDivisions) {
    const u128 all = ~u128(0);
    const U256 square = mul_wide(all, all);  // (2^128 - 1)^2 = 2^256 - 2^129 + 1
    EXPECT_TRUE(square.hi == all - 1);
    EXPECT_TRUE(square.lo == 1);
    const U256 small = mul_wide(u128(1) << 64, u128(1) << 64);
    EXPECT_TRUE(small.hi == 1 && small.lo == 0);
    EXPECT_TRUE(mul_wide(3, 5) <= mul_wide(5, 3));
    EXPECT_FALSE(mul_wide(all, 2) <= mul_wide(all, 1));
    EXPECT_EQ(std::int64_t(floor_div(-7, 2)), -4);
    EXPECT_EQ(std::int64_t(ceil_div(-7, 2)), -3);
    EXPECT_EQ(std::int64_t(floor_div(7, 2)), 3);
    EXPECT_EQ(std::int64_t(ceil_div(7, 2)), 4);
    EXPECT_EQ(std::int64_t(ceil_div(-8, 2)), -4);
}

TEST(EllipseRows, HugeEllipsesAreSymmetricAndConvex) {
    // Boxes beyond 2^31 pixels across use the 256-bit comparison.
    const std::int64_t big = std::int64_t(INT_MAX) * 3 / 2;
    for (Box64 box : {Box64{-big, -big, big + 1, big + 1}, Box64{-big, -7, big, 8},
                      Box64{INT_MIN, INT_MIN, INT_MAX, INT_MAX}}) {
        const EllipseRows shape(box);
        const std::int64_t third = box.top + box.height() / 3;
        const std::int64_t rows[] = {box.top, box.top + 1, third, 0, -1, 3};
        Span previous{0, 0};
        for (std::int64_t y : rows) {
            Span s, mirror;
            ASSERT_TRUE(shape.row_span(y, &s)) << y;
            ASSERT_TRUE(shape.row_span(box.top + box.bottom - 1 - y, &mirror));
            EXPECT_EQ(s.x0, mirror.x0);
            EXPECT_EQ(s.x1, mirror.x1);
            EXPECT_EQ(s.x0 - box.left, box.right - s.x1) << y;
            EXPECT_GE(s.x0, box.left);
            EXPECT_LE(s.x1, box.right);
            if (y != box.top && y <= third) {
                EXPECT_LE(s.x0, previous.x0);
            }
            previous = s;
        }
        Span middle;
        ASSERT_TRUE(shape.row_span((box.top + box.bottom - 1) / 2, &middle));
        EXPECT_LE(middle.x0 - box.left, 1);
    }
}

TEST(EllipseRows, WidestRowTouchesTheBoxAndPolesAreNarrow) {
    const EllipseRows circle({0, 0, 11, 11});
    Span s;
    ASSERT_TRUE(circle.row_span(5, &s));
    EXPECT_EQ(s.x0, 0);
    EXPECT_EQ(s.x1, 11);
    ASSERT_TRUE(circle.row_span(0, &s));
    EXPECT_EQ(s.x0, 3);
    EXPECT_EQ(s.x1, 8);
    EXPECT_FALSE(circle.row_span(11, &s));
    EXPECT_FALSE(circle.row_span(-1, &s));
}
