/* Recursion: a tree.  A branch is a line with two smaller branches on its
 * end, one turned left and one turned right; draw_branch draws those by
 * calling itself.  The calls stop when the branches get short: those are
 * the leaves.  Close the window to end the program. */
#include <math.h>

#include "kv390.h"

#define PI 3.14159265358979

/* Draws a branch of the given length from (x, y) in direction angle
 * (radians, 0 is straight up) and everything growing on it. */
static void draw_branch(double x, double y, double angle, double length, int width) {
    double end_x = x + length * sin(angle);
    double end_y = y + length * cos(angle);
    if (length < 8) { /* short enough: a leaf, and no more calls */
        KV390_circle(FOREST_GREEN, (int)x, (int)y, 3);
        return;
    }
    KV390_line(BROWN, (int)x, (int)y, (int)end_x, (int)end_y, width);
    draw_branch(end_x, end_y, angle - PI / 7, length * 0.72, width > 1 ? width - 1 : 1);
    draw_branch(end_x, end_y, angle + PI / 5, length * 0.68, width > 1 ? width - 1 : 1);
}

int main(void) {
    int x = 0, y = 0;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0); /* thousands of lines would go to the log */
    KV390_clear();
    KV390_rectangle(OLIVE, -296, -247, 296, -230, 0);
    draw_branch(0, -230, 0, 110, 8);
    KV390_text(BLACK, -285, 225, 16, "A tree that draws itself: draw_branch calls draw_branch.");
    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
