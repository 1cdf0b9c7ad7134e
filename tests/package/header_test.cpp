// kv390.h used from C: the same layout and constants as in C++, and drawing
// calls made from C reach the canvas.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "kv390.h"
#include "kv390/harness.h"
#include "state.h"

extern "C" {
int c_begin(void);
std::size_t c_point_size(void);
void c_constants(int values[10]);
int c_draw_figures(void);
int c_textf_length(void);
int c_log_length(void);
}

namespace kv390 {
namespace {

class HeaderFromC : public ::testing::Test {
  protected:
    void SetUp() override {
        harness::reset();
        reset_library_state();
        ASSERT_EQ(c_begin(), 1);
        KV390_set_logging(0);
        KV390_clear();
    }
    void TearDown() override {
        reset_library_state();
        harness::reset();  // frees the canvas, DCs and class brush
    }

    static std::uint32_t canvas_at(int x, int y) {
        const win::Image image = win::dc_image(lib().canvas_dc);
        return image.at(lib().origin_x + x, lib().origin_y - y) & 0xffffffu;
    }
    static std::uint32_t color(int index) { return win::pixel_of(palette_rgb[index]) & 0xffffffu; }
};

TEST_F(HeaderFromC, SeesTheSameLayoutAndConstants) {
    EXPECT_EQ(c_point_size(), sizeof(KV390_point));
    int values[10] = {};
    c_constants(values);
    const int expected[10] = {KV390_MOUSE,       KV390_KBD,      KV390_PERIODIC,    KV390_QUIT,
                              KV390_RUN_HALT,    KV390_RUN_STEP, KV390_RUN_ANIMATE, KV390_RUN_QUIT,
                              KV390_COLOR_COUNT, GRAY_20};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(values[i], expected[i]) << "constant " << i;
}

TEST_F(HeaderFromC, DrawingCallsReachTheCanvas) {
    EXPECT_EQ(c_draw_figures(), 7);
    EXPECT_EQ(canvas_at(-75, 75), color(GREEN));
    EXPECT_EQ(canvas_at(75, 80), color(ORANGE));
    EXPECT_EQ(canvas_at(0, -100), color(BLUE));
    EXPECT_EQ(canvas_at(-130, -100), color(PURPLE));
    EXPECT_EQ(canvas_at(150, -60), color(BLACK));
    EXPECT_EQ(canvas_at(200, 200), color(RED));
    EXPECT_EQ(canvas_at(-200, -200), color(WHITE));
}

TEST_F(HeaderFromC, FormattedCallsReturnTheLengthThroughVarargs) {
    EXPECT_EQ(c_textf_length(), 6 + 1);  // "abc-42" and "x"
    EXPECT_EQ(c_log_length(), 9);        // "from C 7\n"
    bool logged = false;
    for (const std::string& line : lib().log.slots)
        logged = logged || line.rfind("from C 7", 0) == 0;
    EXPECT_TRUE(logged) << "the C call's line is not in the log";
}

}  // namespace
}  // namespace kv390
