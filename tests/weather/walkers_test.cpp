#include <gtest/gtest.h>

#include <cstdlib>

#include "weather.h"
#include "weather_test_support.h"

namespace {

struct WalkerTest : ::testing::Test {
    WalkerStore walkers{};
    SceneCounts counts{};

    // Seeds the generator so that the tick's chance-hunter draw is not 0;
    // further draws must satisfy ok (d[1], d[2], ... follow the first).
    template <typename Predicate>
    std::vector<int> seed_tick(int draws, Predicate ok) {
        const std::uint32_t seed = find_seed(
            1, draws, [&](const std::vector<int>& d) { return d[0] % 1000 != 0 && ok(d); });
        return peek_draws(seed, draws);
    }
    std::vector<int> seed_quiet_tick(int draws) {
        return seed_tick(draws, [](const std::vector<int>&) { return true; });
    }
};

TEST_F(WalkerTest, FirstTickCreatesCountsAndStepsAHunter) {
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        WalkerStore store{};
        SceneCounts n{};
        const std::vector<int> d = peek_draws(seed, 4);
        update_walkers(store, n);
        ASSERT_EQ(n.walker_next, 1) << seed;
        ASSERT_EQ(n.walker_count, 1) << seed;
        ASSERT_EQ(n.hunter_count, 1) << seed;
        const SceneObject& hunter = store[0];
        ASSERT_EQ(hunter.kind, KIND_HUNTER);
        ASSERT_EQ(hunter.steps, 1) << "stepped in the tick it was created";
        ASSERT_EQ(hunter.bob, 1);
        // Step 0 is a moving step: x by 6 sideways or y by 2 down/up.
        const int x = d[1] % 151 - 75;
        const int y = d[2] % 120 - 220;
        ASSERT_GE(x, -75);
        ASSERT_LE(x, 75);
        ASSERT_GE(y, -220);
        ASSERT_LE(y, -101);
        const int moved = std::abs(hunter.x - x) + std::abs(hunter.y - y);
        ASSERT_TRUE(moved == 6 || moved == 2) << seed;
    }
}

TEST_F(WalkerTest, FirstTickHunterFollowsTheDrawOrder) {
    // Draws: chance, x, y, heading, then the step's turn chance (not 0 here).
    const std::vector<int> d = seed_tick(5, [](const std::vector<int>& v) {
        return v[4] % 30 != 0 && v[3] % 4 == 0;  // heading right
    });
    update_walkers(walkers, counts);
    EXPECT_EQ(walkers[0].x, d[1] % 151 - 75 + 6);
    EXPECT_EQ(walkers[0].y, d[2] % 120 - 220);
    EXPECT_EQ(walkers[0].heading, 0);
}

TEST_F(WalkerTest, NoHunterWithoutAFreeSlot) {
    std::vector<SceneObject> rabbits;
    for (int i = 0; i < MAX_WALKERS; ++i) {
        rabbits.push_back(make_walker(-200 + 40 * i, -100, KIND_RABBIT, 1, 0));
    }
    place_walkers(walkers, counts, rabbits);
    update_walkers(walkers, counts);
    EXPECT_EQ(counts.hunter_count, 0);
    EXPECT_EQ(counts.walker_next, 10);
    for (const SceneObject& w : walkers) EXPECT_EQ(w.kind, KIND_RABBIT);
}

TEST_F(WalkerTest, HunterCatchesARabbitAt34ButNotAt35) {
    struct Case {
        int dx, dy;
        bool caught;
    };
    const Case cases[] = {
        {34, 34, true}, {-34, -34, true}, {35, 0, false}, {0, -35, false}, {-35, 34, false}};
    for (const Case& c : cases) {
        WalkerStore store{};
        SceneCounts n{};
        // steps 1: the hunter does not move this tick; the rabbit does not either.
        place_walkers(store, n,
                      {make_walker(0, -150, KIND_HUNTER, 1, 0),
                       make_walker(c.dx, -150 + c.dy, KIND_RABBIT, 1, 1)});
        n.hunter_count = 1;
        seed_quiet_tick(3);
        update_walkers(store, n);
        EXPECT_EQ(n.walker_count, c.caught ? 1 : 2) << c.dx << "," << c.dy;
        EXPECT_EQ(store[0].kind, KIND_HUNTER);
    }
}

TEST_F(WalkerTest, WalkersLeaveOnlyBeyondTheField) {
    struct Case {
        int x, y;
        bool leaves;
    };
    const Case cases[] = {{320, -100, false}, {321, -100, true}, {-320, -100, false},
                          {-321, -100, true}, {0, -270, false},  {0, -271, true}};
    for (int kind : {KIND_RABBIT, KIND_HUNTER}) {
        for (const Case& c : cases) {
            WalkerStore store{};
            SceneCounts n{};
            place_walkers(store, n, {make_walker(c.x, c.y, kind, 1, 1)});
            n.hunter_count = 2;
            seed_quiet_tick(3);
            update_walkers(store, n);
            EXPECT_EQ(n.walker_count, c.leaves ? 0 : 1) << kind << " at " << c.x << "," << c.y;
            EXPECT_EQ(n.walker_next, c.leaves ? 0 : 1);
            const int hunters_left = (kind == KIND_HUNTER && c.leaves) ? 1 : 2;
            EXPECT_EQ(n.hunter_count, hunters_left);
        }
    }
}

TEST_F(WalkerTest, HunterHeadingUpTurnsAtTheHorizon) {
    // Moving step (steps 0); the turn chance (second draw) must not fire.
    const std::vector<int> d =
        seed_tick(3, [](const std::vector<int>& v) { return v[1] % 30 != 0; });
    place_walkers(walkers, counts, {make_walker(0, -50, KIND_HUNTER, 0, 2)});
    counts.hunter_count = 1;
    update_walkers(walkers, counts);
    EXPECT_EQ(walkers[0].y, -50);
    EXPECT_EQ(walkers[0].x, 0);
    EXPECT_EQ(walkers[0].heading, d[2] % 4);

    seed_tick(3, [](const std::vector<int>& v) { return v[1] % 30 != 0; });
    walkers[0] = make_walker(0, -51, KIND_HUNTER, 0, 2);
    update_walkers(walkers, counts);
    EXPECT_EQ(walkers[0].y, -49);
    EXPECT_EQ(walkers[0].heading, 2);
}

TEST_F(WalkerTest, RabbitDrumsWalksAndTurnsOnSchedule) {
    SceneObject rabbit = make_walker(0, -100, KIND_RABBIT, 0, 0);
    walkers[0] = rabbit;
    random_seed(5);
    std::vector<int> bobs;
    int moves = 0;
    for (int tick = 0; tick < 49; ++tick) {
        const SceneObject before = walkers[0];
        step_walker(walkers, 0);
        bobs.push_back(walkers[0].bob);
        if (walkers[0].x != before.x || walkers[0].y != before.y) {
            ++moves;
            EXPECT_EQ(tick % 3, 0) << tick;
        }
    }
    EXPECT_EQ(moves, 17);
    const std::vector<int> beat = {1, 2, 3, 4, 5, 4, 3, 2, 1, 0};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(bobs[i], beat[i]);
    EXPECT_EQ(walkers[0].steps, 49);
}

TEST_F(WalkerTest, StepCounterWrapsAfter9999) {
    walkers[0] = make_walker(0, -100, KIND_HUNTER, 9999, 1);
    step_walker(walkers, 0);
    EXPECT_EQ(walkers[0].steps, 0);
    walkers[1] = make_walker(0, -100, KIND_RABBIT, 9998, 1);
    step_walker(walkers, 1);
    EXPECT_EQ(walkers[1].steps, 9999);
}

TEST_F(WalkerTest, RemoveShiftsAndStaysInsideTheStore) {
    std::vector<SceneObject> all;
    for (int i = 0; i < MAX_WALKERS; ++i) all.push_back(make_walker(i, -100, KIND_RABBIT, 0, 0));
    place_walkers(walkers, counts, all);
    remove_walker(walkers, 9, counts);
    EXPECT_EQ(counts.walker_count, 9);
    EXPECT_EQ(counts.walker_next, 9);
    remove_walker(walkers, 2, counts);
    EXPECT_EQ(walkers[2].x, 3);
    EXPECT_EQ(walkers[7].x, 8);
    EXPECT_EQ(counts.walker_next, 8);
    counts.walker_next = 1;
    remove_walker(walkers, 4, counts);
    EXPECT_EQ(counts.walker_next, 1) << "a write position below the removal stays";
}

TEST_F(WalkerTest, PassReadsTheRecordShiftedIntoTheSlotAfterACatch) {
    // Slot 0: rabbit next to the hunter in slot 1; slot 2: a rabbit off the
    // field.  The catch shifts the far rabbit into slot 1, where the field
    // check of the same turn reads and removes it, unstepped.
    place_walkers(walkers, counts,
                  {make_walker(5, -150, KIND_RABBIT, 1, 1), make_walker(0, -150, KIND_HUNTER, 1, 0),
                   make_walker(330, -150, KIND_RABBIT, 7, 1)});
    counts.hunter_count = 1;
    seed_quiet_tick(4);
    update_walkers(walkers, counts);
    ASSERT_EQ(counts.walker_count, 1);
    EXPECT_EQ(walkers[0].kind, KIND_HUNTER);
    EXPECT_EQ(walkers[0].steps, 2);
    EXPECT_EQ(counts.hunter_count, 1);
}

TEST_F(WalkerTest, RecordShiftedIntoTheSlotIsNotSteppedThisTick) {
    place_walkers(walkers, counts,
                  {make_walker(5, -150, KIND_RABBIT, 1, 1), make_walker(0, -150, KIND_HUNTER, 1, 0),
                   make_walker(200, -150, KIND_RABBIT, 7, 1)});
    counts.hunter_count = 1;
    seed_quiet_tick(4);
    update_walkers(walkers, counts);
    ASSERT_EQ(counts.walker_count, 2);
    EXPECT_EQ(walkers[1].kind, KIND_RABBIT);
    EXPECT_EQ(walkers[1].x, 200);
    EXPECT_EQ(walkers[1].steps, 7) << "shifted into the visited slot, so skipped";
    EXPECT_EQ(walkers[0].steps, 2);
}

TEST_F(WalkerTest, ARabbitShiftedIntoTheHuntersSlotCatchesNothing) {
    // After the hunter catches the rabbit below it, slot 1 holds a rabbit;
    // the catching pass must not go on with that rabbit as the catcher.
    place_walkers(
        walkers, counts,
        {make_walker(5, -150, KIND_RABBIT, 1, 1), make_walker(0, -150, KIND_HUNTER, 1, 0),
         make_walker(200, -150, KIND_RABBIT, 1, 1), make_walker(210, -150, KIND_RABBIT, 1, 1)});
    counts.hunter_count = 1;
    seed_quiet_tick(4);
    update_walkers(walkers, counts);
    EXPECT_EQ(counts.walker_count, 3);
    EXPECT_EQ(walkers[1].x, 200);
    EXPECT_EQ(walkers[2].x, 210);
}

TEST_F(WalkerTest, CatchByTheLastHunterNeverReadsPastTheLiveWalkers) {
    // The hunter in the last live slot catches the rabbit below it: slot 1 is
    // then past the count and holds a stale record far off the field, which
    // must not be taken for a walker leaving it.
    place_walkers(
        walkers, counts,
        {make_walker(5, -150, KIND_RABBIT, 1, 1), make_walker(0, -150, KIND_HUNTER, 1, 0)});
    walkers[2] = make_walker(5000, -150, KIND_HUNTER, 0, 0);
    counts.hunter_count = 1;
    seed_quiet_tick(3);
    update_walkers(walkers, counts);
    ASSERT_EQ(counts.walker_count, 1);
    EXPECT_EQ(walkers[0].kind, KIND_HUNTER);
    EXPECT_EQ(counts.hunter_count, 1);
    EXPECT_EQ(counts.walker_next, 1);
}

}  // namespace
