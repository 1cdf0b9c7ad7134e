#include <gtest/gtest.h>

#include <cstdint>

#include "random.h"

namespace {

TEST(WeatherRandom, SeedOneGivesTheClassicSequence) {
    random_seed(1);
    EXPECT_EQ(random_next(), 41);
    EXPECT_EQ(random_next(), 18467);
    EXPECT_EQ(random_next(), 6334);
    EXPECT_EQ(random_next(), 26500);
    EXPECT_EQ(random_next(), 19169);
    EXPECT_EQ(random_next(), 15724);
}

TEST(WeatherRandom, FollowsTheRecurrenceAndStaysIn15Bits) {
    std::uint32_t state = 0xdeadbeefu;
    random_seed(state);
    for (int i = 0; i < 10000; ++i) {
        state = state * 214013u + 2531011u;
        const int value = random_next();
        ASSERT_EQ(value, static_cast<int>((state >> 16) & 0x7fff)) << "draw " << i;
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

TEST(WeatherRandom, ReducedDrawIsValueModuloN) {
    random_seed(1);
    EXPECT_EQ(r(1000), 41);
    EXPECT_EQ(r(1000), 467);
    EXPECT_EQ(r(5), 6334 % 5);
}

TEST(WeatherRandom, FixedStartupSeedMakesRunsRepeatable) {
    random_fix_seed(12345);
    random_seed_at_startup();
    const int first = random_next();
    const int second = random_next();
    random_seed(99);
    random_seed_at_startup();
    EXPECT_EQ(random_next(), first);
    EXPECT_EQ(random_next(), second);
    random_seed(12345);
    EXPECT_EQ(random_next(), first);
}

}  // namespace
