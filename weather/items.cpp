// The weather item store (500 slots used as a ring once full), the panel
// commands that thin or empty it, the per-tick motion with its random drift
// and the landing of each kind.
#include "random.h"
#include "weather.h"

namespace {

constexpr int HORIZON = -50;
constexpr int SKY_TOP = 250;
constexpr int CLONE_HEIGHT = 240;
constexpr int BLAST_REACH = 100;

// Random step of one item; the horizontal draw comes first.
void drift_item(SceneObject& item) {
    switch (item.kind) {
        case KIND_RAIN:
            item.x += r(5) - 2;
            item.y += r(5) - 8;
            break;
        case KIND_SNOW:
            item.x += r(5) - 2;
            item.y += r(3) - 4;
            break;
        case KIND_HAIL:
            item.x += r(3) - 1;
            item.y += r(3) - 8;
            break;
        case KIND_GRENADE:
        case KIND_BATTERY:
            item.x += r(7) - 3;
            item.y += r(7) - 11;
            break;
        default:
            break;
    }
}

bool within(std::int32_t value, std::int32_t centre, std::int32_t reach) {
    return centre - reach < value && value < centre + reach;
}

// Removes every walker strictly within the blast box around the grenade.
// Hunters lost this way are not taken off the hunter tally.
void blast_walkers(const SceneObject& grenade, WalkerStore& walkers, SceneCounts& counts) {
    for (int j = 0; j < counts.walker_count; ++j) {
        const SceneObject& walker = walkers[j];
        if (within(walker.x, grenade.x, BLAST_REACH) && within(walker.y, grenade.y, BLAST_REACH)) {
            remove_walker(walkers, j, counts);
        }
    }
}

void land_item(ItemStore& items, WalkerStore& walkers, SceneCounts& counts, int index) {
    SceneObject& item = items[index];
    switch (item.kind) {
        case KIND_RAIN:
        case KIND_SNOW:
        case KIND_HAIL:
            item.y = SKY_TOP;
            break;
        case KIND_GRENADE:
            blast_walkers(item, walkers, counts);
            remove_item(items, index, counts);
            break;
        case KIND_BATTERY:
            battery_to_rabbit(items, walkers, counts, index);
            break;
        default:
            break;
    }
}

}  // namespace

void add_item(ItemStore& items, const SceneObject& item, SceneCounts& counts) {
    items[counts.item_next] = item;
    ++counts.item_next;
    if (counts.item_count < MAX_ITEMS) ++counts.item_count;
    if (counts.item_next >= MAX_ITEMS) counts.item_next = 0;
}

void remove_item(ItemStore& items, int index, SceneCounts& counts) {
    for (int slot = index; slot + 1 < MAX_ITEMS; ++slot) items[slot] = items[slot + 1];
    if (counts.item_next > index) --counts.item_next;
    --counts.item_count;
}

void apply_command(SceneCounts& counts, PanelCommand command) {
    if (command == CMD_CEASE) {
        counts.item_count = 0;
    } else if (command == CMD_LIGHTEN_UP) {
        counts.item_count = 2 * counts.item_count / 3;
    }
    // A full store writes next at slot 0, as after the 500th addition.
    counts.item_next = counts.item_count % MAX_ITEMS;
}

void clone_item(ItemStore& items, int index, SceneCounts& counts) {
    if (r(1000) != 0) return;
    const SceneObject& source = items[index];
    SceneObject clone{};
    clone.x = source.x + r(9) - 4;
    clone.y = CLONE_HEIGHT;
    clone.kind = source.kind;
    clone.color = source.color;
    add_item(items, clone, counts);
}

void move_items(ItemStore& items, WalkerStore& walkers, SceneCounts& counts) {
    for (int i = 0; i < counts.item_count; ++i) {
        drift_item(items[i]);
        clone_item(items, i, counts);
        if (items[i].y < HORIZON) land_item(items, walkers, counts, i);
    }
}

void battery_to_rabbit(ItemStore& items, WalkerStore& walkers, SceneCounts& counts, int index) {
    if (counts.walker_next < MAX_WALKERS) {
        SceneObject& rabbit = walkers[counts.walker_next];
        rabbit.x = items[index].x;
        rabbit.y = items[index].y;
        rabbit.kind = KIND_RABBIT;
        rabbit.steps = 0;
        rabbit.bob = 0;
        rabbit.heading = r(3) - 1;
        ++counts.walker_next;
    } else {
        // No free slot: the rabbit is lost and the next ones overwrite from slot 0.
        counts.walker_next = 0;
    }
    remove_item(items, index, counts);
}
