// A long run of the weather picture on the headless backend: periodic ticks
// from the library's timer with a click every 20 ticks that walks through
// every kind, colour and panel command and fills the sky.  The test drives
// the picture's own event handlers as its main loop does, checks both stores
// after every event, and redraws every tenth event (a full redraw after
// each of them would make the run take minutes).
//
// KV390_SOAK_TICKS sets the length (100 000 in the normal build, fewer
// under the sanitizers); the peak resident size is printed at 10 000 ticks
// and at the end.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

#include "kv390/harness.h"
#include "random.h"
#include "state.h"
#include "weather.h"

#ifndef KV390_SOAK_TICKS
#define KV390_SOAK_TICKS 100000
#endif

namespace {

namespace harness = kv390::harness;

constexpr int TICKS = KV390_SOAK_TICKS;
constexpr int TICKS_PER_CLICK = 20;
constexpr int EVENTS_PER_REDRAW = 10;
constexpr int FIRST_MEMORY_MARK = 10000;
// Growth of the peak resident size allowed after the first mark.
constexpr long ALLOWED_GROWTH_KB = 4096;

struct Picture {
    ItemStore items{};
    WalkerStore walkers{};
    SceneCounts counts{};
    SceneObject brush{};
    std::int32_t sun_x = 250;
    std::int32_t sun_y = 215;
    PanelCommand command = CMD_NONE;
};

// What the run saw, for checking that it reached every corner.
struct Observed {
    int max_items = 0;
    int max_walkers = 0;
    int rabbits = 0;
    int ceases = 0;
    int lighten_ups = 0;
};

long peak_rss_kb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Drawing y of the middle of panel row r; x inside the panel.
constexpr int PANEL_X = -260;
int panel_row_y(int row) {
    return 235 - 30 * row;
}

// The n-th click of the run, as a drawing position.  Rounds of 700 clicks:
// a new kind every 7 clicks and a new colour after it, Lighten Up in the
// middle of each hundred, Cease! at the end of the round, everything else in
// the sky (a few on the ground).
void nth_click(int n, int* x, int* y) {
    const int in_round = n % 700;
    const int group = n / 7;
    if (in_round == 699) {
        *x = PANEL_X, *y = panel_row_y(9);
    } else if (in_round % 100 == 50) {
        *x = PANEL_X, *y = panel_row_y(8);
    } else if (n % 7 == 0) {
        *x = PANEL_X, *y = panel_row_y(group % 5);
    } else if (n % 7 == 1) {
        *x = PANEL_X, *y = panel_row_y(5 + group % 3);
    } else if (n % 50 == 13) {
        *x = (n * 31) % 500 - 250, *y = -60 - (n % 150);
    } else {
        *x = (n * 37) % 480 - 200, *y = (n * 53) % 290 - 40;
    }
}

void click(int x, int y) {
    const kv390::LibraryState& state = kv390::lib();
    harness::click(state.graphics_window, state.origin_x + x, state.origin_y - y);
}

// A click handled as the picture's event loop handles it, noting the
// commands the run reached.
void take_click(Picture& p, int x, int y, Observed& seen) {
    p.command = CMD_NONE;
    handle_click(p.items, p.counts, p.brush, p.command, x, y);
    if (p.command == CMD_CEASE) ++seen.ceases;
    if (p.command == CMD_LIGHTEN_UP) ++seen.lighten_ups;
}

// Both stores inside their capacities, their write positions inside the
// arrays, every live record of a kind its store holds, and the hunter tally
// no lower than the hunters alive.
void expect_stores_sound(const Picture& p, int tick) {
    const SceneCounts& c = p.counts;
    ASSERT_TRUE(c.item_count >= 0 && c.item_count <= MAX_ITEMS) << "tick " << tick;
    ASSERT_TRUE(c.item_next >= 0 && c.item_next < MAX_ITEMS) << "tick " << tick;
    ASSERT_TRUE(c.walker_count >= 0 && c.walker_count <= MAX_WALKERS) << "tick " << tick;
    ASSERT_TRUE(c.walker_next >= 0 && c.walker_next <= MAX_WALKERS) << "tick " << tick;
    for (int i = 0; i < c.item_count; ++i) {
        ASSERT_TRUE(p.items[i].kind >= KIND_RAIN && p.items[i].kind <= KIND_BATTERY)
            << "tick " << tick << ", item " << i;
    }
    int hunters = 0;
    for (int i = 0; i < c.walker_count; ++i) {
        ASSERT_TRUE(p.walkers[i].kind == KIND_RABBIT || p.walkers[i].kind == KIND_HUNTER)
            << "tick " << tick << ", walker " << i;
        hunters += p.walkers[i].kind == KIND_HUNTER ? 1 : 0;
    }
    // The tally counts hunters created minus those that left the field.
    ASSERT_GE(c.hunter_count, hunters) << "tick " << tick;
}

void note(const Picture& p, Observed& seen) {
    seen.max_items = std::max(seen.max_items, p.counts.item_count);
    seen.max_walkers = std::max(seen.max_walkers, p.counts.walker_count);
    for (int i = 0; i < p.counts.walker_count; ++i) {
        if (p.walkers[i].kind == KIND_RABBIT) ++seen.rabbits;
    }
}

class WeatherSoakTest : public ::testing::Test {
  protected:
    void SetUp() override {
        harness::reset();
        kv390::reset_library_state();
        harness::set_idle_limit(std::uint64_t(1) << 40);
        random_fix_seed(390);
        KV390_begin(nullptr, nullptr, "", 5);
        KV390_set_logging(0);
        KV390_clear();
        KV390_set_run_mode(KV390_RUN_ANIMATE);
    }
    void TearDown() override {
        KV390_end();
        kv390::reset_library_state();
        harness::reset();
    }
};

TEST_F(WeatherSoakTest, StoresStayInsideTheirCapacitiesAndMemoryStaysFlat) {
    Picture picture;
    Observed seen;
    long rss_at_first_mark = 0;
    int ticks = 0;
    int clicks = 0;
    int events = 0;
    while (ticks < TICKS) {
        int x = 0, y = 0;
        char key = 0;
        const int kind = KV390_wait_event(&x, &y, &key);
        ASSERT_NE(kind, KV390_QUIT) << "after " << ticks << " ticks";
        if (kind == KV390_MOUSE) {
            take_click(picture, x, y, seen);
        } else if (kind == KV390_PERIODIC) {
            handle_tick(picture.items, picture.walkers, picture.counts, picture.sun_x,
                        picture.sun_y);
            ++ticks;
            if (ticks % TICKS_PER_CLICK == 0) {
                nth_click(clicks++, &x, &y);
                click(x, y);
            }
            if (ticks == FIRST_MEMORY_MARK) rss_at_first_mark = peak_rss_kb();
        }
        expect_stores_sound(picture, ticks);
        if (HasFatalFailure()) return;
        note(picture, seen);
        if (++events % EVENTS_PER_REDRAW == 0) {
            redraw(picture.items, picture.walkers, picture.counts, picture.brush, picture.sun_x,
                   picture.sun_y);
        }
    }
    const long rss_at_end = peak_rss_kb();
    std::printf("soak: %d ticks, %d clicks; peak RSS %ld kB at %d ticks, %ld kB at the end\n",
                ticks, clicks, rss_at_first_mark, FIRST_MEMORY_MARK, rss_at_end);
    RecordProperty("peak_rss_kb_first_mark", int(rss_at_first_mark));
    RecordProperty("peak_rss_kb_end", int(rss_at_end));

    EXPECT_EQ(seen.max_items, MAX_ITEMS) << "the item store was filled";
    EXPECT_EQ(seen.max_walkers, MAX_WALKERS) << "the walker store was filled";
    EXPECT_GT(seen.rabbits, 0);
    EXPECT_GT(seen.ceases, 0);
    EXPECT_GT(seen.lighten_ups, 0);
#ifndef KV390_SOAK_SKIP_MEMORY_CHECK
    if (TICKS > FIRST_MEMORY_MARK) {
        EXPECT_LE(rss_at_end, rss_at_first_mark + ALLOWED_GROWTH_KB);
    }
#endif
}

}  // namespace
