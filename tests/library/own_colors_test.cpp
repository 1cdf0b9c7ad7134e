// Colours a program defines: their numbers, corrections, limit, log names
// and pixels.
#include <string>
#include <vector>

#include "library_fixture.h"

namespace kv390::test {
namespace {

using Lines = std::vector<std::string>;
using OwnColorsTest = LibraryTest;

TEST_F(OwnColorsTest, DefinedColoursAreNumberedFrom24AndDrawnAndNamedByTheirValues) {
    open_cleared();
    EXPECT_EQ(KV390_pixel(24, 0, 0), 1);  // not defined yet: illegal as always
    EXPECT_EQ(KV390_define_color(0x12, 0xAB, 0xEF), 24);
    EXPECT_EQ(KV390_define_color(1, 2, 3), 25);
    EXPECT_EQ(KV390_define_color(0x12, 0xAB, 0xEF), 24);  // the same values, the same number
    KV390_circle(24, 10, 10, 3);
    KV390_line(25, -50, -50, -40, -50, 7);  // a kept wide pen of a defined colour
    KV390_rectangle(25, 60, 60, 70, 50, 2);
    KV390_pixel(26, 1, 1);
    EXPECT_EQ(log_lines(), (Lines{"Illegal color 24; using RED.\n", "red pixel at (0,0)\n",
                                  "#12ABEF circle at (10,10), radius 3\n",
                                  "#010203 line from (-50,-50) to (-40,-50), width 7\n",
                                  "#010203 rectangle with bounding box (60,60) to (70,50) with "
                                  "line width 2\n",
                                  "Illegal color 26; using RED.\n", "red pixel at (1,1)\n"}));
    const win::Image image = canvas();
    EXPECT_EQ(canvas_at(image, 10, 10), 0x12ABEFu);
    EXPECT_EQ(canvas_at(image, -45, -50), 0x010203u);
    EXPECT_EQ(canvas_at(image, 60, 55), 0x010203u);
    EXPECT_EQ(canvas_at(image, 1, 1), pixel_of_color(RED));
}

TEST_F(OwnColorsTest, ComponentsOutsideTheirRangeAreCorrectedAndReported) {
    open_cleared();
    EXPECT_EQ(KV390_define_color(-5, 300, 128), 24);
    EXPECT_EQ(log_lines(), (Lines{"Color value -5 not possible, using 0\n",
                                  "Color value 300 not possible, using 255\n"}));
    KV390_pixel(24, 0, 0);
    EXPECT_EQ(canvas_at(canvas(), 0, 0), 0x00FF80u);
}

TEST_F(OwnColorsTest, ColoursRunOutAtTheLimitWithAReportAndRed) {
    open_cleared();
    KV390_set_logging(0);
    int last = 0;
    for (int i = KV390_COLOR_COUNT; i < KV390_COLOR_LIMIT; ++i) {
        last = KV390_define_color(i, 0, 7);
        ASSERT_EQ(last, i);
    }
    const std::size_t before = log_lines().size();
    EXPECT_EQ(KV390_define_color(1, 1, 1), RED);
    EXPECT_EQ(log_lines_since(before),
              (Lines{"No room for color #010101 (at most 256 colors); using RED.\n"}));
    EXPECT_EQ(KV390_define_color(KV390_COLOR_LIMIT - 1, 0, 7), last);  // a known one still works
    KV390_set_logging(1);
    KV390_pixel(last, 2, 2);
    KV390_pixel(KV390_COLOR_LIMIT, 3, 3);
    EXPECT_EQ(log_lines_since(before + 1),
              (Lines{"#FF0007 pixel at (2,2)\n", "Illegal color 256; using RED.\n",
                     "red pixel at (3,3)\n"}));
    EXPECT_EQ(canvas_at(canvas(), 2, 2), 0xFF0007u);
}

TEST_F(OwnColorsTest, DefinitionsMadeBeforeTheLibraryOpensAreKept) {
    EXPECT_EQ(KV390_define_color(9, 8, 7), 24);
    open_cleared();
    KV390_pixel(24, 0, 0);
    EXPECT_EQ(canvas_at(canvas(), 0, 0), 0x090807u);
}

}  // namespace
}  // namespace kv390::test
