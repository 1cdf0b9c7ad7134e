/* Clicks: every click puts a numbered dot where you clicked and joins it to
 * the dot before with a line.  KV390_wait_event returns KV390_MOUSE for a
 * click and stores the place, in drawing coordinates, in x and y.
 * Close the window to end the program. */
#include "kv390.h"

int main(void) {
    int x = 0, y = 0, event;
    int last_x = 0, last_y = 0; /* the dot before */
    int dots = 0;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_clear();
    KV390_text(BLACK, -285, 225, 16, "Click anywhere to connect the dots.");

    while ((event = KV390_wait_event(&x, &y, &key)) != KV390_QUIT) {
        if (event != KV390_MOUSE) continue; /* only clicks matter here */
        dots++;
        if (dots > 1) KV390_line(BLUE, last_x, last_y, x, y, 2);
        KV390_circle(RED, x, y, 6);
        KV390_textf(BLACK, x + 8, y + 8, 14, "%d", dots);
        last_x = x;
        last_y = y;
    }
    KV390_end();
    return 0;
}
