/* The 24 colours: each colour is a number from 0 to 23, and the names
 * (RED, NAVY_BLUE, ...) are just easier to read.  A loop draws a swatch for
 * every number, six to a row.  Close the window to end the program. */
#include "kv390.h"

/* The names, in the order of their numbers. */
static const char* const names[KV390_COLOR_COUNT] = {
    "BLACK",     "WHITE",        "RED",       "GREEN",     "BLUE",       "YELLOW",
    "MAGENTA",   "CYAN",         "PURPLE",    "NAVY_BLUE", "DUSTY_PLUM", "ICE_BLUE",
    "TURQUOISE", "ORANGE",       "BROWN",     "PINK",      "CHALK",      "GOLD",
    "PEACH",     "FOREST_GREEN", "SEA_GREEN", "OLIVE",     "GRAY_50",    "GRAY_20"};

#define PER_ROW 6
#define WIDTH 95 /* room for one swatch and its name */
#define HEIGHT 110

int main(void) {
    int color, x = 0, y = 0;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_clear();
    KV390_text(BLACK, -285, 225, 18, "The 24 colours of KV390");

    for (color = 0; color < KV390_COLOR_COUNT; ++color) {
        int column = color % PER_ROW; /* 0 .. 5 */
        int row = color / PER_ROW;    /* 0 .. 3 */
        int left = -285 + column * WIDTH;
        int top = 195 - row * HEIGHT;
        KV390_rectangle(color, left, top, left + 80, top - 60, 0);
        KV390_rectangle(BLACK, left, top, left + 80, top - 60, 1); /* a frame */
        KV390_textf(BLACK, left, top - 78, 10, "%d %s", color, names[color]);
    }

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
