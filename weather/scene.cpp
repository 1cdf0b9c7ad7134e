// The fixed landscape: sky, sun, ground, instruction line, three hills and
// the fruit tree.
#include "kv390.h"
#include "weather.h"

void draw_scene(int sun_x, int sun_y) {
    KV390_rectangle(ICE_BLUE, -300, -250, 300, 250, 0);
    KV390_circle(YELLOW, sun_x, sun_y, 20);
    KV390_rectangle(BROWN, -300, -250, 300, -50, 0);  // ground; its top is the horizon
    KV390_textf(BLACK, -285, -220, 12,
                "Click a weather type and a color, then click on the picture.");
    KV390_triangle(GRAY_50, -300, -50, 300, -50, 0, 150, 0);
    KV390_triangle(OLIVE, -375, -50, 100, -50, -225, 150, 0);
    KV390_triangle(FOREST_GREEN, -100, -50, 300, -50, 300, 150, 0);
    draw_tree();
}

void draw_tree() {
    KV390_rectangle(BROWN, -15, -50, 15, 70, 0);
    for (int i = 0; i < 2; ++i) {
        KV390_circle(GREEN, -25, 40 + 25 * i, 30);
        KV390_circle(GREEN, 25, 40 + 25 * i, 30);
        KV390_circle(GREEN, 0, 35 + 50 * i, 30);
    }
    for (int i = 0; i < 2; ++i) {
        KV390_circle(RED, 60 * i - 30, 40 - 5 * i, 5);
        KV390_circle(RED, 60 * i - 30, 70 - 5 * i, 5);
        KV390_circle(RED, 0, 30 + 55 * i, 5);
    }
    KV390_circle(RED, 0, 55, 5);
}
