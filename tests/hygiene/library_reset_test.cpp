// Opening the library and resetting the layer, as the library's own tests and
// the benchmarks do many times in one process, leaves no DC or object behind.
#include <gtest/gtest.h>

#include "harness_test.h"
#include "kv390.h"
#include "raster/objects.h"
#include "state.h"

namespace kv390::test {
namespace {

TEST(LibraryReset, EveryOpenAndCloseGivesEverythingBack) {
    for (int round = 0; round < 3; ++round) {
        harness::reset();
        reset_library_state();
        ASSERT_EQ(KV390_begin(nullptr, nullptr, "", win::SW_SHOW), 1);
        KV390_circle(RED, 0, 0, 30);
        KV390_text(BLUE, 10, 10, 12, "hello");
        EXPECT_GT(win::raster::live_dc_count(), 0u);      // the canvas DC at least
        EXPECT_GT(win::raster::live_object_count(), 1u);  // canvas bitmap and class brush
        KV390_end();
        harness::reset();
        reset_library_state();
        EXPECT_EQ(win::raster::live_dc_count(), 0u) << round;
        EXPECT_EQ(win::raster::live_object_count(), 0u) << round;
    }
}

}  // namespace
}  // namespace kv390::test
