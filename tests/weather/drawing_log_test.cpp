// The drawing calls of the picture, read back from the library's log of
// recent lines with logging on.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kv390.h"
#include "kv390/harness.h"
#include "state.h"
#include "weather.h"
#include "weather_test_support.h"

namespace {

constexpr const char* MARK = "-- mark --\n";

class DrawingLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        kv390::harness::reset();
        kv390::reset_library_state();
        KV390_begin(nullptr, nullptr, "", 5);
        KV390_set_logging(1);
        KV390_log("%s", MARK);
    }
    void TearDown() override { KV390_end(); }

    // The lines logged since the mark, oldest first.
    static std::vector<std::string> lines_since_mark() {
        const kv390::LogRing& ring = kv390::lib().log;
        std::vector<std::string> all;
        if (ring.oldest < 0) return all;
        int slot = ring.oldest;
        do {
            all.push_back(ring.slots[slot]);
            slot = (slot + 1) % kv390::LOG_RING_SIZE;
        } while (slot != ring.next);
        std::vector<std::string> after;
        for (const std::string& line : all) {
            if (line == MARK) {
                after.clear();
            } else {
                after.push_back(line);
            }
        }
        return after;
    }
};

TEST_F(DrawingLogTest, SceneIsDrawnInItsFixedOrder) {
    draw_scene(250, 215);
    const std::vector<std::string> expected = {
        "ice blue rectangle with bounding box (-300,250) to (300,-250), filled\n",
        "yellow circle at (250,215), radius 20\n",
        "brown rectangle with bounding box (-300,-50) to (300,-250), filled\n",
        "black text at (-285,-220), \"Click a weather type and a color, then click on the "
        "picture.\"\n",
        "50% gray triangle at (-300,-50), (300,-50), (0,150)\n",
        "olive triangle at (-375,-50), (100,-50), (-225,150)\n",
        "forest green triangle at (-100,-50), (300,-50), (300,150)\n",
        "brown rectangle with bounding box (-15,70) to (15,-50), filled\n",
        "green circle at (-25,40), radius 30\n",
        "green circle at (25,40), radius 30\n",
        "green circle at (0,35), radius 30\n",
        "green circle at (-25,65), radius 30\n",
        "green circle at (25,65), radius 30\n",
        "green circle at (0,85), radius 30\n",
        "red circle at (-30,40), radius 5\n",
        "red circle at (-30,70), radius 5\n",
        "red circle at (0,30), radius 5\n",
        "red circle at (30,35), radius 5\n",
        "red circle at (30,65), radius 5\n",
        "red circle at (0,85), radius 5\n",
        "red circle at (0,55), radius 5\n",
    };
    EXPECT_EQ(lines_since_mark(), expected);
}

TEST_F(DrawingLogTest, PanelHighlightsTheChosenKindAndColour) {
    draw_panel(KIND_HAIL, MAGENTA);
    const std::vector<std::string> lines = lines_since_mark();
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0],
              "black rectangle with bounding box (-296,248) to (-220,218) with line width 1\n");
    EXPECT_EQ(lines[9],
              "black rectangle with bounding box (-296,-22) to (-220,-52) with line width 1\n");
    const std::vector<std::string> labels = {
        "black text at (-285,225), \"Rain\"\n",       "black text at (-285,195), \"Snow\"\n",
        "yellow text at (-285,165), \"Hail\"\n",      "black text at (-285,135), \"Grenade\"\n",
        "black text at (-285,105), \"Battery\"\n",    "black text at (-285,75), \"White\"\n",
        "black text at (-285,45), \"Blue\"\n",        "yellow text at (-285,15), \"Magenta\"\n",
        "black text at (-285,-15), \"Lighten Up\"\n", "black text at (-285,-45), \"Cease!\"\n",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 10, lines.end()), labels);
}

TEST_F(DrawingLogTest, PanelWithNothingChosenHasNoHighlight) {
    draw_panel(0, 0);
    for (const std::string& line : lines_since_mark())
        EXPECT_EQ(line.rfind("black ", 0), 0u) << line;
}

TEST_F(DrawingLogTest, ImpossiblePanelRowReportsBadNews) {
    SceneObject click{};
    click.x = -250;
    click.y = -50;
    PanelCommand command = CMD_CEASE;
    pick_from_panel(click, command);
    EXPECT_EQ(command, CMD_NONE);
    EXPECT_EQ(lines_since_mark(),
              std::vector<std::string>{"red text at (50,50), \"BAAADD NEWS!\"\n"});
}

TEST_F(DrawingLogTest, ItemsDrawByKind) {
    draw_item(KIND_RAIN, 10, 20, BLUE);
    draw_item(KIND_SNOW, 10, 20, WHITE);
    draw_item(KIND_HAIL, 10, 20, MAGENTA);
    draw_item(KIND_GRENADE, 10, -41, WHITE);
    draw_item(99, 10, 20, WHITE);
    const std::vector<std::string> expected = {
        "blue circle at (10,20), radius 3\n",
        "white triangle at (10,20), (15,20), (10,24)\n",
        "magenta rectangle with bounding box (10,24) to (14,20), filled\n",
        "white oval with bounding box (2,-41) to (10,-53), filled\n",
        "white line from (4,-42) to (0,-48), width 2\n",
        "white rectangle with bounding box (4,-39) to (8,-41), filled\n",
    };
    EXPECT_EQ(lines_since_mark(), expected);
}

TEST_F(DrawingLogTest, GrenadeAtTheBlastHeightShowsFragmentsWithinReach) {
    random_seed(3);
    draw_item(KIND_GRENADE, 0, -42, WHITE);
    // 100 calls push the mark out of the 25-line ring: read the last 24.
    const std::vector<std::string> all = lines_since_mark();
    ASSERT_EQ(all.size(), 25u);
    const std::vector<std::string> lines(all.begin() + 1, all.end());
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        int x = 0;
        int y = 0;
        ASSERT_EQ(std::sscanf(lines[i].c_str(), "white triangle at (%d,%d)", &x, &y), 2)
            << lines[i];
        EXPECT_GE(x, -100);
        EXPECT_LE(x, 100);
        EXPECT_GE(y, -142);
        EXPECT_LE(y, 58);
        EXPECT_EQ(lines[i + 1].rfind("white rectangle", 0), 0u) << lines[i + 1];
    }
}

TEST_F(DrawingLogTest, BatteryIsACylinderWithAnE) {
    draw_battery(0, 0, BLUE);
    const std::vector<std::string> expected = {
        "20% gray circle at (0,-15), radius 6\n",
        "20% gray rectangle with bounding box (-6,15) to (6,-15), filled\n",
        "white circle at (0,15), radius 6\n",
        "blue line from (-4,-13) to (4,-13), width 2\n",
        "blue line from (-4,-4) to (4,-4), width 2\n",
        "blue line from (-4,5) to (4,5), width 2\n",
        "blue line from (-4,4) to (-4,-13), width 2\n",
        "black circle at (0,15), radius 2\n",
        "50% gray circle at (0,17), radius 2\n",
        "black rectangle with bounding box (-2,17) to (2,15), filled\n",
    };
    EXPECT_EQ(lines_since_mark(), expected);
}

TEST_F(DrawingLogTest, RabbitFacingRightDrumsWithItsStick) {
    draw_rabbit(0, -100, 5, 1);
    const std::vector<std::string> expected = {
        "pink circle at (0,-100), radius 15\n",
        "pink circle at (0,-79), radius 8\n",
        "white circle at (-15,-104), radius 6\n",
        "black circle at (15,-100), radius 11\n",
        "white circle at (15,-100), radius 9\n",
        "pink oval with bounding box (-14,-52) to (-4,-77), filled\n",
        "white oval with bounding box (-11,-54) to (-7,-75), filled\n",
        "black circle at (4,-77), radius 3\n",
        "black line from (4,-75) to (-8,-75), width 1\n",
        "black line from (6,-105) to (20,-98), width 2\n",
        "pink circle at (6,-105), radius 6\n",
    };
    EXPECT_EQ(lines_since_mark(), expected);
}

TEST_F(DrawingLogTest, RabbitFacingTheViewerHasTwoSticksAndTwoEars) {
    draw_rabbit(0, 0, 0, 0);
    const std::vector<std::string> lines = lines_since_mark();
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[2], "black rectangle with bounding box (0,9) to (5,-9), filled\n");
    EXPECT_EQ(lines[5], "black line from (15,-3) to (11,1), width 2\n");
    EXPECT_EQ(lines[7], "black line from (-11,-3) to (-15,-5), width 2\n");
    EXPECT_EQ(lines[9], "pink oval with bounding box (-14,48) to (-4,23), filled\n");
    EXPECT_EQ(lines[13], "pink oval with bounding box (4,48) to (14,23), filled\n");
}

TEST_F(DrawingLogTest, HunterFacesByHeading) {
    draw_hunter(0, -100, 9, 3);  // left
    const std::vector<std::string> expected = {
        "20% gray triangle at (-16,-94), (-16,-82), (-32,-100)\n",
        "black circle at (-32,-100), radius 2\n",
        "black circle at (-21,-90), radius 1\n",
        "20% gray line from (12,-97) to (30,-90), width 3\n",
        "20% gray rectangle with bounding box (-12,-94) to (12,-106), filled\n",
        "black line from (12,-100) to (21,-115), width 3\n",
        "black line from (-12,-100) to (-21,-115), width 3\n",
        "20% gray circle at (12,-100), radius 6\n",
        "20% gray circle at (-12,-100), radius 6\n",
    };
    EXPECT_EQ(lines_since_mark(), expected);
}

TEST_F(DrawingLogTest, HunterWithABadHeadingIsNotDrawnAndReportsWhenMoving) {
    draw_hunter(0, -100, 0, 4);
    EXPECT_TRUE(lines_since_mark().empty());
    WalkerStore walkers{};
    walkers[0] = make_walker(0, -100, KIND_HUNTER, 0, 7);
    random_seed(find_seed(1, 1, [](const std::vector<int>& d) { return d[0] % 30 != 0; }));
    step_walker(walkers, 0);
    EXPECT_EQ(walkers[0].x, 0);
    EXPECT_EQ(walkers[0].y, -100);
    EXPECT_EQ(lines_since_mark(),
              std::vector<std::string>{"red text at (0,0), \"BAAAADDD NEWS!\"\n"});
}

TEST_F(DrawingLogTest, WalkersAreDrawnInSlotOrderUpToTheCount) {
    WalkerStore walkers{};
    SceneCounts counts{};
    place_walkers(
        walkers, counts,
        {make_walker(1, -100, KIND_HUNTER, 0, 0), make_walker(2, -100, KIND_RABBIT, 0, 1)});
    walkers[2] = make_walker(3, -100, KIND_RABBIT, 0, 1);  // not counted
    draw_walkers(walkers, counts);
    const std::vector<std::string> lines = lines_since_mark();
    ASSERT_EQ(lines.size(), 9u + 11u);
    EXPECT_EQ(lines[0].rfind("20% gray triangle at (17,", 0), 0u);
    EXPECT_EQ(lines[9], "pink circle at (2,-100), radius 15\n");
}

}  // namespace
