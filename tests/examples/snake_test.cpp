// The snake example: arrows steer, a held Space doubles the speed, apples
// make the snake grow, the wall ends the game and Enter starts a new one.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "example_run.h"
#include "kv390.h"

namespace kv390::examples_test {
namespace {

// The game's field and its own colours, as snake.c draws them.
constexpr int CELL = 16, COLUMNS = 34, ROWS = 28, LEFT = -272, BOTTOM = -224;
constexpr std::uint32_t HEAD = 0x145028, BODY = 0x2E8B57, BANNER = 0x3C3C5A;

struct Cell {
    int column = 0, row = 0;
    bool operator==(const Cell&) const = default;
};

struct Look {
    std::optional<Cell> head;
    int body_cells = 0;
    bool game_over = false;
};

Look look_at(const win::Image& picture) {
    Look look;
    for (int column = 0; column < COLUMNS; ++column) {
        for (int row = 0; row < ROWS; ++row) {
            const std::uint32_t pixel =
                pixel_at(picture, LEFT + column * CELL + 7, BOTTOM + row * CELL + 7);
            if (pixel == HEAD) look.head = Cell{column, row};
            if (pixel == BODY) ++look.body_cells;
        }
    }
    look.game_over = pixel_at(picture, -170, 25) == BANNER;
    return look;
}

// What the graphics window showed at every tick, one entry per change.
std::vector<Look> play(const std::vector<Input>& inputs) {
    std::vector<Look> looks;
    const int exit_code = run_example(snake_main, inputs, [&](const win::Image& picture) {
        const Look look = look_at(picture);
        if (!look.head) return;  // before the first picture
        if (looks.empty() || !(*looks.back().head == *look.head) ||
            looks.back().game_over != look.game_over) {
            looks.push_back(look);
        }
    });
    EXPECT_EQ(exit_code, 0);
    return looks;
}

Input key_event(harness::TimedInput::Kind kind, std::uint64_t at_ms, int vk) {
    Input input = test::timed(kind, at_ms);
    input.vk = vk;
    return input;
}

TEST(Snake, ArrowsSteerItOneCellATickAndAnAppleMakesItGrow) {
    const std::vector<Look> looks = play({key_at(1200, KV390_KEY_UP), key_at(1500, KV390_KEY_LEFT),
                                          key_at(1600, KV390_KEY_RIGHT),  // no turning back
                                          end_at(1900)});
    ASSERT_GT(looks.size(), 15u);
    EXPECT_EQ(*looks.front().head, (Cell{10, ROWS / 2}));
    EXPECT_EQ(looks.front().body_cells, 3);
    bool turned_up = false, turned_left = false;
    for (std::size_t i = 1; i < looks.size(); ++i) {
        const Cell from = *looks[i - 1].head, to = *looks[i].head;
        const int dx = to.column - from.column, dy = to.row - from.row;
        ASSERT_EQ(std::abs(dx) + std::abs(dy), 1) << "one cell per tick, at look " << i;
        if (dy == 1) turned_up = true;
        if (dx == -1) turned_left = true;
        EXPECT_FALSE(turned_up && dy == 0 && dx == 1) << "right again after the turn up";
        // The first apple lies ten cells ahead: eaten, the snake is one longer.
        EXPECT_EQ(looks[i].body_cells, to.column >= 20 || turned_up ? 4 : 3) << i;
    }
    EXPECT_TRUE(turned_up);
    EXPECT_TRUE(turned_left);
    EXPECT_FALSE(looks.back().game_over);
}

TEST(Snake, HoldingSpaceMovesItTwoCellsATick) {
    const std::vector<Look> looks =
        play({key_event(Input::Kind::KeyDown, 400, KV390_KEY_SPACE),
              key_event(Input::Kind::KeyUp, 800, KV390_KEY_SPACE), end_at(1100)});
    ASSERT_GT(looks.size(), 6u);
    int double_steps = 0, single_steps = 0;
    for (std::size_t i = 1; i < looks.size(); ++i) {
        const int dx = looks[i].head->column - looks[i - 1].head->column;
        ASSERT_TRUE(dx == 1 || dx == 2) << i;
        (dx == 2 ? double_steps : single_steps) += 1;
    }
    EXPECT_GE(double_steps, 3);  // 400 ms held at 80 ms a tick
    EXPECT_LE(double_steps, 6);
    EXPECT_GE(single_steps, 6);
}

TEST(Snake, TheWallEndsTheGameAndEnterStartsANewOne) {
    // Up from row 14 reaches the top wall within 14 cells (80 ms a cell).
    const std::vector<Look> looks =
        play({key_at(100, KV390_KEY_UP), key_at(1800, KV390_KEY_ENTER), end_at(2200)});
    std::size_t crash = 0;
    for (std::size_t i = 0; i < looks.size() && crash == 0; ++i) {
        if (looks[i].game_over) crash = i;
    }
    ASSERT_GT(crash, 0u) << "the game never ended";
    EXPECT_EQ(looks[crash].head->row, ROWS - 1);
    ASSERT_GT(looks.size(), crash + 1);
    EXPECT_FALSE(looks[crash + 1].game_over);
    EXPECT_EQ(*looks[crash + 1].head, (Cell{10, ROWS / 2}));  // a new game, from the start
}

}  // namespace
}  // namespace kv390::examples_test
