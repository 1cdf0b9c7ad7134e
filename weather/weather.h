// The weather picture: a landscape with a control panel, weather items that
// fall from the sky and walkers (rabbits and hunters) on the ground.
//
// Plain procedures over SceneObject records.  All state belongs to
// weather_main and is passed by reference; the only process-wide state is
// the random generator (random.h).
#pragma once

#include <array>
#include <cstdint>

// One record shape for weather items, walkers and the brush.  The fourth
// field is the colour of a weather item and the step counter of a walker.
struct SceneObject {
    std::int32_t x;
    std::int32_t y;
    std::int32_t kind;
    union {
        std::int32_t color;
        std::int32_t steps;
    };
    std::int32_t bob;
    std::int32_t heading;
};

enum ObjectKind : std::int32_t {
    KIND_NONE = 0,
    KIND_RAIN = 1,
    KIND_SNOW = 2,
    KIND_HAIL = 3,
    KIND_GRENADE = 4,
    KIND_BATTERY = 5,
    KIND_RABBIT = 6,
    KIND_HUNTER = 7,
};

struct SceneCounts {
    std::int32_t item_count = 0;
    std::int32_t item_next = 0;
    std::int32_t walker_count = 0;
    std::int32_t walker_next = 0;
    std::int32_t hunter_count = 0;
};

constexpr int MAX_ITEMS = 500;
constexpr int MAX_WALKERS = 10;

using ItemStore = std::array<SceneObject, MAX_ITEMS>;
using WalkerStore = std::array<SceneObject, MAX_WALKERS>;

enum ClickArea : std::int32_t {
    AREA_SKY = 0,
    AREA_PANEL = 1,
    AREA_GROUND = 2,
};

enum PanelCommand : std::int32_t {
    CMD_NONE = 0,
    CMD_CEASE = 1,
    CMD_LIGHTEN_UP = 2,
};

// ---- main loop, scene and panel
int weather_main(void* instance, void* previous_instance, const char* command_line, int show_mode);
// What the event loop does for each event: draws the whole picture; puts a
// click at (x, y) to use (a panel choice or command, or a new item in the
// sky); advances items, walkers and the sun by one periodic step.
void redraw(const ItemStore& items, const WalkerStore& walkers, const SceneCounts& counts,
            const SceneObject& brush, int sun_x, int sun_y);
void handle_click(ItemStore& items, SceneCounts& counts, SceneObject& brush, PanelCommand& command,
                  int x, int y);
void handle_tick(ItemStore& items, WalkerStore& walkers, SceneCounts& counts, int& sun_x,
                 int& sun_y);
// One periodic step of the sun: one unit left; past the left edge it starts
// again at the right, one unit lower.
void move_sun(std::int32_t& sun_x, std::int32_t& sun_y);
void draw_scene(int sun_x, int sun_y);
void draw_tree();
void draw_panel(int kind, int color);
ClickArea classify_click(const SceneObject& click);
void pick_from_panel(SceneObject& click, PanelCommand& command);

// ---- weather items
void add_item(ItemStore& items, const SceneObject& item, SceneCounts& counts);
void remove_item(ItemStore& items, int index, SceneCounts& counts);
void apply_command(SceneCounts& counts, PanelCommand command);
void clone_item(ItemStore& items, int index, SceneCounts& counts);
void move_items(ItemStore& items, WalkerStore& walkers, SceneCounts& counts);
void battery_to_rabbit(ItemStore& items, WalkerStore& walkers, SceneCounts& counts, int index);
void draw_items(const ItemStore& items, const SceneCounts& counts);
void draw_item(int kind, int x, int y, int color);
void draw_rain(int x, int y, int color);
void draw_snow(int x, int y, int color);
void draw_hail(int x, int y, int color);
void draw_grenade(int x, int y, int color);
void draw_blast(int x, int y, int color);
void draw_battery(int x, int y, int color);

// ---- walkers
void update_walkers(WalkerStore& walkers, SceneCounts& counts);
void step_walker(WalkerStore& walkers, int index);
void remove_walker(WalkerStore& walkers, int index, SceneCounts& counts);
void draw_walkers(const WalkerStore& walkers, const SceneCounts& counts);
void draw_rabbit(int x, int y, int bob, int heading);
void draw_rabbit_ear(int x, int y, int side);
void draw_hunter(int x, int y, int bob, int heading);
void draw_hunter_pose(int x, int y, int bob, int facing);
void report_bad_heading();
