// The desktop's whole-window scale factor: chosen from the screen size or
// asked for with KV390_SCALE, and mouse positions mapped back.
#include <gtest/gtest.h>

#include <string>

#include "sdl/scale.h"

namespace {

using win::sdl::choose_scale;
using win::sdl::unscaled;

TEST(DesktopScale, ChosenFromTheScreenOrAskedFor) {
    const struct {
        int width, height;
        const char* requested;
        int scale;
        bool complaint;
    } cases[] = {
        {1024, 768, nullptr, 1, false},
        {1920, 1080, nullptr, 1, false},  // 2x would cover the text window's third
        {2560, 1440, nullptr, 1, false},
        {3840, 2160, nullptr, 2, false},
        {5120, 2880, nullptr, 3, false},
        {7680, 4320, nullptr, 5, false},
        {1201, 4320, nullptr, 1, false},  // too narrow for the window at 2x
        {3840, 2160, "", 2, false},       // set but empty: as if unset
        {3840, 2160, "1", 1, false},      // scaling turned off
        {1024, 768, "3", 3, false},
        {1024, 768, "8", 8, false},
        {1024, 768, "9", 1, true},
        {3840, 2160, "0", 2, true},
        {3840, 2160, "-2", 2, true},
        {3840, 2160, "2x", 2, true},
        {3840, 2160, " 2", 2, true},
        {3840, 2160, "two", 2, true},
    };
    for (const auto& c : cases) {
        std::string complaint;
        const int scale = choose_scale(win::Size{c.width, c.height}, c.requested, &complaint);
        const std::string where = std::to_string(c.width) + "x" + std::to_string(c.height) +
                                  " KV390_SCALE=" + (c.requested ? c.requested : "(unset)");
        EXPECT_EQ(scale, c.scale) << where;
        EXPECT_EQ(!complaint.empty(), c.complaint) << where << ": " << complaint;
        if (c.complaint) {
            EXPECT_EQ(complaint.rfind("KV390: KV390_SCALE=", 0), 0u) << complaint;
            EXPECT_EQ(complaint.find('\n'), std::string::npos) << "one line";
        }
    }
}

TEST(DesktopScale, PositionsMapBackRoundingDown) {
    const struct {
        int physical, scale, layer;
    } cases[] = {{0, 2, 0},   {1, 2, 0}, {2, 2, 1}, {1189, 2, 594}, {-1, 2, -1}, {-2, 2, -1},
                 {-3, 2, -2}, {8, 3, 2}, {9, 3, 3}, {-1, 3, -1},    {7, 1, 7}};
    for (const auto& c : cases) {
        EXPECT_EQ(unscaled(c.physical, c.scale), c.layer) << c.physical << " / " << c.scale;
    }
}

}  // namespace
