/* Recursion: a fractal.  Sierpinski's triangle is three half-size copies of
 * itself, one in each corner.  draw_sierpinski draws the three copies by
 * calling itself with the corners of each, until the depth is used up;
 * then it draws a plain triangle.  Keys 0 to 7 choose the depth.
 * Close the window to end the program. */
#include "kv390.h"

/* The triangle with corners a, b, c at the given depth. */
static void draw_sierpinski(KV390_point a, KV390_point b, KV390_point c, int depth) {
    KV390_point ab, bc, ca; /* the middles of the three sides */
    if (depth == 0) {
        KV390_triangle_pt(PURPLE, a, b, c, 0);
        return;
    }
    ab.x = (a.x + b.x) / 2;
    ab.y = (a.y + b.y) / 2;
    bc.x = (b.x + c.x) / 2;
    bc.y = (b.y + c.y) / 2;
    ca.x = (c.x + a.x) / 2;
    ca.y = (c.y + a.y) / 2;
    draw_sierpinski(a, ab, ca, depth - 1);
    draw_sierpinski(ab, b, bc, depth - 1);
    draw_sierpinski(ca, bc, c, depth - 1);
}

static void draw(int depth) {
    KV390_point left = {-270, -230}, right = {270, -230}, top = {0, 210};
    KV390_clear();
    draw_sierpinski(left, right, top, depth);
    KV390_textf(BLACK, -285, 225, 16, "depth %d (keys 0 to 7)", depth);
}

int main(void) {
    int x = 0, y = 0, event;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    draw(5);
    while ((event = KV390_wait_event(&x, &y, &key)) != KV390_QUIT) {
        if (event == KV390_KBD && key >= '0' && key <= '7') draw(key - '0');
    }
    KV390_end();
    return 0;
}
