// The benchmark's weather frame.
#include "weather_frame.h"

#include "kv390.h"
#include "kv390/harness.h"
#include "random.h"
#include "state.h"

namespace bench {
namespace {

constexpr std::uint32_t FRAME_SEED = 20240601;
constexpr int ITEM_COLORS[3] = {WHITE, BLUE, MAGENTA};

// A small private generator, so that building the frame leaves the weather
// picture's generator alone.
class Positions {
  public:
    int next(int low, int high) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return low + int((state_ >> 33) % std::uint64_t(high - low + 1));
    }

  private:
    std::uint64_t state_ = 42;
};

SceneObject item_at(Positions& positions, int index) {
    SceneObject item{};
    item.kind = KIND_RAIN + index % 5;
    item.color = ITEM_COLORS[index % 3];
    item.x = positions.next(-210, 290);
    item.y = positions.next(-40, 245);
    // Every fifth grenade has come down to where it shows as a blast.
    if (item.kind == KIND_GRENADE && (index / 5) % 5 == 0) item.y = -45;
    return item;
}

SceneObject walker_at(int index) {
    SceneObject walker{};
    const bool rabbit = index % 2 == 0;
    walker.kind = rabbit ? KIND_RABBIT : KIND_HUNTER;
    walker.x = -200 + 45 * index;
    walker.y = -90 - 12 * (index % 4);
    walker.bob = index % 3;
    walker.heading = rabbit ? (index / 2) % 3 - 1 : (index / 2) % 4;
    return walker;
}

}  // namespace

WeatherFrame busy_frame() {
    WeatherFrame frame;
    Positions positions;
    for (int i = 0; i < MAX_ITEMS; ++i) frame.items[i] = item_at(positions, i);
    for (int i = 0; i < MAX_WALKERS; ++i) frame.walkers[i] = walker_at(i);
    frame.counts.item_count = MAX_ITEMS;
    frame.counts.walker_count = MAX_WALKERS;
    frame.counts.hunter_count = MAX_WALKERS / 2;
    frame.panel_color = BLUE;
    return frame;
}

void draw_frame(const WeatherFrame& frame) {
    random_seed(FRAME_SEED);
    draw_scene(frame.sun_x, frame.sun_y);
    draw_panel(frame.panel_kind, frame.panel_color);
    draw_items(frame.items, frame.counts);
    draw_walkers(frame.walkers, frame.counts);
}

void close_library() {
    kv390::reset_library_state();
    kv390::harness::reset();
}

LibrarySession::LibrarySession() {
    kv390::harness::reset();
    kv390::reset_library_state();
    KV390_begin(nullptr, nullptr, "", 5);
    KV390_set_logging(0);
    KV390_clear();
}

LibrarySession::~LibrarySession() {
    KV390_end();
    close_library();
}

}  // namespace bench
