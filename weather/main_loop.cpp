// The entry routine: start-up, the event loop and shutdown.  All state of
// the picture lives here as locals and is passed by reference.
#include "kv390.h"
#include "random.h"
#include "weather.h"

namespace {

constexpr int SUN_START_X = 250;
constexpr int SUN_START_Y = 215;
constexpr int SUN_LEFT_LIMIT = -330;

}  // namespace

void redraw(const ItemStore& items, const WalkerStore& walkers, const SceneCounts& counts,
            const SceneObject& brush, int sun_x, int sun_y) {
    draw_scene(sun_x, sun_y);
    draw_panel(brush.kind, brush.color);
    draw_items(items, counts);
    draw_walkers(walkers, counts);
}

void handle_click(ItemStore& items, SceneCounts& counts, SceneObject& brush, PanelCommand& command,
                  int x, int y) {
    brush.x = x;
    brush.y = y;
    switch (classify_click(brush)) {
        case AREA_PANEL:
            pick_from_panel(brush, command);
            if (command != CMD_NONE) apply_command(counts, command);
            break;
        case AREA_SKY:
            if (brush.kind != 0 && brush.color != 0) add_item(items, brush, counts);
            break;
        case AREA_GROUND:
            break;
    }
}

void handle_tick(ItemStore& items, WalkerStore& walkers, SceneCounts& counts, int& sun_x,
                 int& sun_y) {
    if (counts.item_count != 0) move_items(items, walkers, counts);
    update_walkers(walkers, counts);
    move_sun(sun_x, sun_y);
}

void move_sun(std::int32_t& sun_x, std::int32_t& sun_y) {
    --sun_x;
    if (sun_x < SUN_LEFT_LIMIT) {
        sun_x = -sun_x;
        --sun_y;
    }
}

int weather_main(void* instance, void* previous_instance, const char* command_line, int show_mode) {
    random_seed_at_startup();
    KV390_begin(instance, previous_instance, command_line, show_mode);
    KV390_set_logging(0);
    KV390_clear();
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    draw_scene(0, 0);  // the first picture: the sun hides behind the gray hill
    draw_panel(0, 0);

    // Zeroed although every slot is written before it is counted: the
    // stores' shifts copy slots beyond the live ones.
    ItemStore items{};
    WalkerStore walkers{};
    SceneCounts counts{};
    SceneObject brush{};
    int sun_x = SUN_START_X;
    int sun_y = SUN_START_Y;
    PanelCommand command = CMD_NONE;
    bool quit = false;

    while (!quit) {
        int mouse_x = 0;
        int mouse_y = 0;
        char key = 0;
        switch (KV390_wait_event(&mouse_x, &mouse_y, &key)) {
            case KV390_MOUSE:
                handle_click(items, counts, brush, command, mouse_x, mouse_y);
                break;
            case KV390_PERIODIC:
                handle_tick(items, walkers, counts, sun_x, sun_y);
                break;
            case KV390_QUIT:
                quit = true;
                break;
            default:
                break;
        }
        redraw(items, walkers, counts, brush, sun_x, sun_y);
    }

    KV390_end();
    return 0;
}
