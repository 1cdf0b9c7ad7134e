/* Functions: draw_house draws one house of any size anywhere, so drawing a
 * street is three calls.  The house is placed by a KV390_point, a pair of
 * coordinates in one value; every drawing call has a "_pt" form that takes
 * points instead of separate x and y.  Close the window to end the program. */
#include "kv390.h"

/* A point from two coordinates. */
static KV390_point at(int x, int y) {
    KV390_point p;
    p.x = x;
    p.y = y;
    return p;
}

/* A house whose lower-left corner is at corner: walls, roof, door, window. */
static void draw_house(KV390_point corner, int size, int wall_color) {
    int x = corner.x, y = corner.y;
    KV390_rectangle_pt(wall_color, corner, at(x + size, y + size), 0);
    KV390_triangle_pt(RED, at(x - size / 8, y + size), at(x + size + size / 8, y + size),
                      at(x + size / 2, y + size + size / 2), 0);
    KV390_rectangle_pt(BROWN, at(x + size / 8, y), at(x + size * 3 / 8, y + size / 2), 0);
    KV390_oval_pt(ICE_BLUE, at(x + size / 2, y + size / 2), at(x + size * 7 / 8, y + size * 7 / 8),
                  0);
    KV390_line_pt(BLACK, at(x + size * 11 / 16, y + size / 2),
                  at(x + size * 11 / 16, y + size * 7 / 8), 1);
}

/* A sun with a name tag; text_pt places the text's lower-left corner. */
static void draw_sun(KV390_point centre, int radius) {
    KV390_circle_pt(GOLD, centre, radius);
    KV390_text_pt(BLACK, at(centre.x - radius, centre.y - radius - 20), 12, "the sun");
}

int main(void) {
    int x = 0, y = 0, i;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_clear();

    KV390_rectangle_pt(FOREST_GREEN, at(-296, -247), at(296, -150), 0); /* grass */
    draw_sun(at(200, 170), 40);
    for (i = 0; i < 40; ++i)
        KV390_pixel_pt(BLACK, at(-280 + i * 7, 230 - (i % 5) * 3)); /* birds far away */

    /* The same function, three times, with different arguments. */
    draw_house(at(-250, -150), 120, CHALK);
    draw_house(at(-60, -150), 80, PEACH);
    draw_house(at(100, -150), 160, PINK);

    KV390_textf_pt(WHITE, at(-280, -210), 16, "%d houses, one function", 3);
    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
