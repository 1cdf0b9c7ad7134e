// The bouncing ball example: a red disc of radius 20 that moves (7, 5) per
// animation tick, turns round at the edges of the visible area, jumps to a
// click and stops while the Run menu halts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "example_run.h"
#include "kv390.h"

namespace kv390::examples_test {
namespace {

constexpr int RADIUS = 20;
constexpr int HIGHEST_X = 297 - RADIUS;
constexpr int HIGHEST_Y = 248 - RADIUS;

struct Ball {
    int x = 0, y = 0;           // centre, drawing coordinates
    int width = 0, height = 0;  // of the red pixels' bounding box
    bool operator==(const Ball& other) const = default;
};

// Finds the red disc; nothing when the picture has no red pixel.
std::optional<Ball> find_ball(const win::Image& picture) {
    const std::uint32_t red = pixel_of_color(RED);
    int left = picture.width, right = -1, top = picture.height, bottom = -1;
    for (int row = 0; row < picture.height; ++row) {
        for (int column = 0; column < picture.width; ++column) {
            if ((picture.at(column, row) & 0xffffffu) != red) continue;
            left = std::min(left, column);
            right = std::max(right, column);
            top = std::min(top, row);
            bottom = std::max(bottom, row);
        }
    }
    if (right < 0) return std::nullopt;
    // The disc covers columns x - 20 .. x + 20 and rows y + 20 down to y - 20.
    return Ball{left - ORIGIN_X + RADIUS, ORIGIN_Y - top - RADIUS, right - left + 1,
                bottom - top + 1};
}

// The ball at every tick, a position repeated by consecutive ticks counted once.
std::vector<Ball> ball_path(const std::vector<Input>& inputs) {
    std::vector<Ball> path;
    const int exit_code = run_example(bouncing_ball_main, inputs, [&](const win::Image& picture) {
        const std::optional<Ball> ball = find_ball(picture);
        if (ball && (path.empty() || !(path.back() == *ball))) path.push_back(*ball);
    });
    EXPECT_EQ(exit_code, 0);
    return path;
}

TEST(BouncingBall, MovesEveryTickAndTurnsRoundAtTheEdges) {
    const std::vector<Ball> path = ball_path({end_at(20000)});
    ASSERT_GT(path.size(), 150u) << "the ball should move at nearly every one of 200 ticks";
    EXPECT_EQ(path.front().x, 0);
    EXPECT_EQ(path.front().y, 0);

    bool reached_right = false, reached_top = false, reached_bottom = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const Ball& ball = path[i];
        EXPECT_EQ(ball.width, 2 * RADIUS + 1) << "tick " << i;
        EXPECT_EQ(ball.height, 2 * RADIUS + 1) << "tick " << i;
        ASSERT_LE(std::abs(ball.x), HIGHEST_X) << "tick " << i;
        ASSERT_LE(std::abs(ball.y), HIGHEST_Y) << "tick " << i;
        reached_right = reached_right || ball.x == HIGHEST_X;
        reached_top = reached_top || ball.y == HIGHEST_Y;
        reached_bottom = reached_bottom || ball.y == -HIGHEST_Y;
        if (i == 0) continue;
        const int dx = ball.x - path[i - 1].x, dy = ball.y - path[i - 1].y;
        // A full step, or a shorter one that ends at an edge.
        EXPECT_TRUE(std::abs(dx) == 7 || std::abs(ball.x) == HIGHEST_X) << "tick " << i;
        EXPECT_TRUE(std::abs(dy) == 5 || std::abs(ball.y) == HIGHEST_Y) << "tick " << i;
    }
    // From the middle, 7 and 5 pixels a tick: the right edge after 40 ticks,
    // the top after 46, the bottom after about 137.
    EXPECT_TRUE(reached_right);
    EXPECT_TRUE(reached_top);
    EXPECT_TRUE(reached_bottom);
}

TEST(BouncingBall, TurnsBackFromTheRightEdge) {
    const std::vector<Ball> path = ball_path({end_at(8000)});
    std::size_t at_edge = 0;
    while (at_edge < path.size() && path[at_edge].x != HIGHEST_X) ++at_edge;
    ASSERT_LT(at_edge + 1, path.size()) << "the ball never reached the right edge";
    EXPECT_EQ(path[at_edge + 1].x, HIGHEST_X - 7);
    EXPECT_GT(path[at_edge + 1].y, path[at_edge].y) << "still going up";
}

TEST(BouncingBall, HaltsFromTheRunMenuAndJumpsToAClick) {
    const std::vector<Ball> path =
        ball_path({ctrl_key_at(1000, 'H'), click_at(2000, -150, 100), end_at(4000)});
    ASSERT_GE(path.size(), 2u);
    // Halted after about ten ticks, the ball stands still until the click,
    // then stays where it was put.
    const Ball& halted = path[path.size() - 2];
    EXPECT_GT(halted.x, 0);
    EXPECT_EQ(halted.x % 7, 0);
    EXPECT_EQ(path.back().x, -150);
    EXPECT_EQ(path.back().y, 100);
}

}  // namespace
}  // namespace kv390::examples_test
