/* A sorting animation: bubble sort puts an array in order one comparison at
 * a time, and here every tick shows one.  The two bars compared are
 * orange; the ones already in their final place are green.  The Run menu's
 * "Advance one frame" (Ctrl+F) shows the steps one by one after "Halt"
 * (Ctrl+H).  Close the window to end the program. */
#include "kv390.h"

#define COUNT 16

static int bars[COUNT] = {42, 17, 90, 5, 66, 33, 78, 12, 55, 99, 27, 61, 8, 84, 47, 70};

static void draw(int compared, int sorted_from, int swaps) {
    int i;
    KV390_clear();
    for (i = 0; i < COUNT; ++i) {
        int color = GRAY_50;
        int left = -280 + i * 35;
        if (i >= sorted_from) color = FOREST_GREEN;
        if (compared >= 0 && (i == compared || i == compared + 1)) color = ORANGE;
        KV390_rectangle(color, left, -200, left + 28, -200 + bars[i] * 4, 0);
        KV390_textf(BLACK, left + 2, -222, 11, "%d", bars[i]);
    }
    KV390_textf(BLACK, -280, 222, 16, "Bubble sort: %d swaps so far", swaps);
}

int main(void) {
    int x = 0, y = 0, event = 0;
    char key = 0;
    int i = 0;               /* bars i and i + 1 are compared next */
    int sorted_from = COUNT; /* bars from here on are in place */
    int swaps = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_set_run_mode(KV390_RUN_ANIMATE);

    while (event != KV390_QUIT) {
        if (sorted_from > 1)
            draw(i, sorted_from, swaps);
        else
            draw(-1, 0, swaps); /* all sorted: nothing compared, every bar green */
        event = KV390_wait_event(&x, &y, &key);
        if (event != KV390_PERIODIC || sorted_from <= 1) continue;

        /* One step: compare a pair, swap it when it is the wrong way round. */
        if (bars[i] > bars[i + 1]) {
            int t = bars[i];
            bars[i] = bars[i + 1];
            bars[i + 1] = t;
            swaps++;
        }
        i++;
        if (i + 1 >= sorted_from) { /* the largest has bubbled to the end */
            sorted_from--;
            i = 0;
        }
    }
    KV390_end();
    return 0;
}
