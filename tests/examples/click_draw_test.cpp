// The click-to-draw example: keys choose the colour, clicks put dots of it,
// 'c' clears the picture, and the corner square shows the chosen colour.
#include <gtest/gtest.h>

#include <vector>

#include "example_run.h"
#include "kv390.h"

namespace kv390::examples_test {
namespace {

// Inside the colour square in the top-left corner.
constexpr int SWATCH_X = -280;
constexpr int SWATCH_Y = 230;

// The graphics window as it was at the last tick of the run.
win::Image final_picture(const std::vector<Input>& inputs) {
    win::Image last;
    const int exit_code =
        run_example(click_draw_main, inputs, [&](const win::Image& picture) { last = picture; });
    EXPECT_EQ(exit_code, 0);
    return last;
}

TEST(ClickDraw, KeysChooseTheColourOfTheNextDots) {
    const win::Image picture = final_picture({
        click_at(100, 100, -100),  // before any key: black
        key_at(200, 'B'),
        click_at(300, 10, 10),
        key_at(400, 'G'),
        click_at(500, -50, -50),
        click_at(600, 60, -120),
        key_at(700, 'Z'),  // no colour: green stays
        click_at(800, 150, 50),
        end_at(1500),
    });
    ASSERT_FALSE(picture.pixels.empty());
    EXPECT_EQ(pixel_at(picture, 100, -100), pixel_of_color(BLACK));
    EXPECT_EQ(pixel_at(picture, 10, 10), pixel_of_color(BLUE));
    EXPECT_EQ(pixel_at(picture, 13, 8), pixel_of_color(BLUE)) << "a dot, not a pixel";
    EXPECT_EQ(pixel_at(picture, -50, -50), pixel_of_color(GREEN));
    EXPECT_EQ(pixel_at(picture, 60, -120), pixel_of_color(GREEN));
    EXPECT_EQ(pixel_at(picture, 150, 50), pixel_of_color(GREEN));
    EXPECT_EQ(pixel_at(picture, SWATCH_X, SWATCH_Y), pixel_of_color(GREEN));
    EXPECT_EQ(pixel_at(picture, 200, 150), pixel_of_color(WHITE)) << "nowhere clicked";
}

TEST(ClickDraw, ClearingRemovesTheDotsAndKeepsTheColour) {
    const win::Image picture = final_picture({
        key_at(100, 'R'),
        click_at(200, 40, 40),
        key_at(300, 'C'),
        click_at(400, -40, -40),
        end_at(1000),
    });
    ASSERT_FALSE(picture.pixels.empty());
    EXPECT_EQ(pixel_at(picture, 40, 40), pixel_of_color(WHITE));
    EXPECT_EQ(pixel_at(picture, -40, -40), pixel_of_color(RED));
    EXPECT_EQ(pixel_at(picture, SWATCH_X, SWATCH_Y), pixel_of_color(RED));
}

TEST(ClickDraw, StartsWithBlackInTheCornerSquare) {
    const win::Image picture = final_picture({end_at(300)});
    ASSERT_FALSE(picture.pixels.empty());
    EXPECT_EQ(pixel_at(picture, SWATCH_X, SWATCH_Y), pixel_of_color(BLACK));
    EXPECT_EQ(pixel_at(picture, 0, 0), pixel_of_color(WHITE));
}

}  // namespace
}  // namespace kv390::examples_test
