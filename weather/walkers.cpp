// The walker store: hunters that appear by themselves, rabbits born from
// batteries, their stepping, catching and leaving the field.
#include "kv390.h"
#include "random.h"
#include "weather.h"

namespace {

constexpr int CATCH_REACH = 35;
constexpr int FIELD_LEFT = -320;
constexpr int FIELD_RIGHT = 320;
constexpr int FIELD_BOTTOM = -270;
constexpr int HORIZON = -50;
constexpr int STEPS_WRAP = 10000;

enum HunterHeading : std::int32_t {
    HEADING_RIGHT = 0,
    HEADING_DOWN = 1,
    HEADING_UP = 2,
    HEADING_LEFT = 3
};

// A hunter comes by a 1-in-1000 chance while there is room in the count, and
// at once while the tally is empty.  Without a free slot it waits for the
// next tick.
void maybe_create_hunter(WalkerStore& walkers, SceneCounts& counts) {
    const bool by_chance = r(1000) == 0 && counts.walker_count < MAX_WALKERS;
    if (!by_chance && counts.hunter_count >= 1) return;
    if (counts.walker_next >= MAX_WALKERS) return;
    SceneObject& hunter = walkers[counts.walker_next];
    hunter.x = r(151) - 75;
    hunter.y = r(120) - 220;
    hunter.kind = KIND_HUNTER;
    hunter.steps = 0;
    hunter.bob = 0;
    hunter.heading = r(4);
    ++counts.walker_next;
    ++counts.hunter_count;
}

bool within(std::int32_t value, std::int32_t centre, std::int32_t reach) {
    return centre - reach < value && value < centre + reach;
}

// The hunter in slot i catches every rabbit close to it.  The pass reads
// slots as they are at each moment, so a catch below i moves another record
// into slot i; the pass goes on only while that slot is live and holds a
// hunter (a rabbit never catches, least of all itself).
void catch_rabbits(WalkerStore& walkers, SceneCounts& counts, int i) {
    for (int j = 0; j < counts.walker_count; ++j) {
        if (i >= counts.walker_count || walkers[i].kind != KIND_HUNTER) return;
        const SceneObject& hunter = walkers[i];
        const SceneObject& prey = walkers[j];
        if (prey.kind == KIND_RABBIT && within(prey.x, hunter.x, CATCH_REACH) &&
            within(prey.y, hunter.y, CATCH_REACH)) {
            remove_walker(walkers, j, counts);
        }
    }
}

bool outside_field(const SceneObject& walker) {
    return walker.y < FIELD_BOTTOM || walker.x < FIELD_LEFT || walker.x > FIELD_RIGHT;
}

void step_rabbit(SceneObject& rabbit, int s) {
    rabbit.bob += (s % 10 < 5) ? 1 : -1;
    if (s % 50 == 0) rabbit.heading = r(3) - 1;
    if (s % 3 != 0) return;
    if (rabbit.heading > 0) {
        rabbit.x += 3;
    } else if (rabbit.heading == 0) {
        rabbit.y -= 3;
    } else {
        rabbit.x -= 3;
    }
}

void move_hunter(SceneObject& hunter) {
    switch (hunter.heading) {
        case HEADING_RIGHT:
            hunter.x += 6;
            break;
        case HEADING_DOWN:
            hunter.y -= 2;
            break;
        case HEADING_UP:
            // Up only while below the horizon; at the horizon it turns instead.
            if (hunter.y < HORIZON) {
                hunter.y += 2;
            } else {
                hunter.heading = r(4);
            }
            break;
        case HEADING_LEFT:
            hunter.x -= 6;
            break;
        default:
            report_bad_heading();
            break;
    }
}

void step_hunter(SceneObject& hunter, int s) {
    if (s % 4 == 0) hunter.bob += (s % 80 < 40) ? 1 : -1;
    if (r(30) == 0) hunter.heading = r(4);
    if (s % 5 == 0) move_hunter(hunter);
}

}  // namespace

void update_walkers(WalkerStore& walkers, SceneCounts& counts) {
    maybe_create_hunter(walkers, counts);
    if (counts.walker_next > counts.walker_count && counts.walker_count < MAX_WALKERS) {
        ++counts.walker_count;
    }
    for (int i = 0; i < counts.walker_count; ++i) {
        if (walkers[i].kind == KIND_RABBIT) {
            step_walker(walkers, i);
        } else if (walkers[i].kind == KIND_HUNTER) {
            step_walker(walkers, i);
            catch_rabbits(walkers, counts, i);
            // A catch below slot i can leave slot i past the live walkers.
            if (i >= counts.walker_count) break;
        }
        if (outside_field(walkers[i])) {
            if (walkers[i].kind == KIND_HUNTER) --counts.hunter_count;
            remove_walker(walkers, i, counts);
        }
    }
}

void step_walker(WalkerStore& walkers, int index) {
    SceneObject& walker = walkers[index];
    const int s = walker.steps;
    if (walker.kind == KIND_RABBIT) {
        step_rabbit(walker, s);
    } else if (walker.kind == KIND_HUNTER) {
        step_hunter(walker, s);
    }
    ++walker.steps;
    if (walker.steps >= STEPS_WRAP) walker.steps = 0;
}

void remove_walker(WalkerStore& walkers, int index, SceneCounts& counts) {
    for (int slot = index; slot + 1 < MAX_WALKERS; ++slot) walkers[slot] = walkers[slot + 1];
    if (counts.walker_next > index) --counts.walker_next;
    --counts.walker_count;
}

void report_bad_heading() {
    KV390_textf(RED, 0, 0, 16, "BAAAADDD NEWS!");
}
