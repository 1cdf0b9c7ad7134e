// Drawings of the weather items, each relative to the item's reference point.
#include "kv390.h"
#include "random.h"
#include "weather.h"

namespace {

constexpr int BLAST_FRAGMENTS = 50;
constexpr int BLAST_HEIGHT = -42;  // a grenade at or below this height shows as a blast

}  // namespace

void draw_items(const ItemStore& items, const SceneCounts& counts) {
    for (int i = 0; i < counts.item_count; ++i) {
        const SceneObject& item = items[i];
        draw_item(item.kind, item.x, item.y, item.color);
    }
}

void draw_item(int kind, int x, int y, int color) {
    switch (kind) {
        case KIND_RAIN:
            draw_rain(x, y, color);
            break;
        case KIND_SNOW:
            draw_snow(x, y, color);
            break;
        case KIND_HAIL:
            draw_hail(x, y, color);
            break;
        case KIND_GRENADE:
            if (y > BLAST_HEIGHT) {
                draw_grenade(x, y, color);
            } else {
                draw_blast(x, y, color);
            }
            break;
        case KIND_BATTERY:
            draw_battery(x, y, color);
            break;
        default:
            break;
    }
}

void draw_rain(int x, int y, int color) {
    KV390_circle(color, x, y, 3);
}

void draw_snow(int x, int y, int color) {
    KV390_triangle(color, x, y, x + 5, y, x, y + 4, 0);
}

void draw_hail(int x, int y, int color) {
    KV390_rectangle(color, x, y, x + 4, y + 4, 0);
}

void draw_grenade(int x, int y, int color) {
    KV390_oval(color, x - 8, y - 12, x, y, 0);          // body
    KV390_line(color, x - 6, y - 1, x - 10, y - 7, 2);  // lever
    KV390_rectangle(color, x - 6, y, x - 2, y + 2, 0);  // cap
}

void draw_blast(int x, int y, int color) {
    for (int fragment = 0; fragment < BLAST_FRAGMENTS; ++fragment) {
        const int dx = r(201) - 100;
        const int dy = r(201) - 100;
        KV390_triangle(color, x + dx, y + dy, x + dx + 5, y + dy, x + dx, y + dy + 5, 0);
        KV390_rectangle(color, x + dx / 2, y + dy, x + dx / 2 + 5, y + dy + 5, 0);
    }
}

void draw_battery(int x, int y, int color) {
    KV390_circle(GRAY_20, x, y - 15, 6);                        // rounded bottom
    KV390_rectangle(GRAY_20, x - 6, y - 15, x + 6, y + 15, 0);  // body
    KV390_circle(WHITE, x, y + 15, 6);                          // top
    for (int k = -1; k <= 1; ++k) {                             // the three bars of the E
        KV390_line(color, x - 4, y + 9 * k - 4, x + 4, y + 9 * k - 4, 2);
    }
    KV390_line(color, x - 4, y + 4, x - 4, y - 13, 2);  // the upright of the E
    KV390_circle(BLACK, x, y + 15, 2);                  // terminal
    KV390_circle(GRAY_50, x, y + 17, 2);
    KV390_rectangle(BLACK, x - 2, y + 15, x + 2, y + 17, 0);
}
