/* Drawing with your own colours: KV390_define_color makes a colour from
 * amounts of red, green and blue (each 0 to 255) and gives back its number,
 * which every drawing call takes like RED or BLUE.  Here a loop mixes 60
 * colours from dark blue at the top to orange at the horizon, one for each
 * band of the sky.  Close the window to end the program. */
#include "kv390.h"

#define BANDS 60

/* The value a fraction step/steps of the way from a to b. */
static int mix(int a, int b, int step, int steps) {
    return a + (b - a) * step / steps;
}

int main(void) {
    int i, x = 0, y = 0;
    char key = 0;
    int band_height = 300 / BANDS; /* the sky runs from y = 248 down to -52 */
    int sea, sun, sand;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_clear();

    for (i = 0; i < BANDS; ++i) {
        int color = KV390_define_color(mix(20, 255, i, BANDS - 1), mix(24, 150, i, BANDS - 1),
                                       mix(80, 60, i, BANDS - 1));
        int top = 248 - i * band_height;
        KV390_rectangle(color, -297, top, 297, top - band_height + 1, 0);
    }

    sun = KV390_define_color(255, 220, 90);
    sea = KV390_define_color(30, 70, 120);
    sand = KV390_define_color(230, 200, 140);
    KV390_circle(sun, 0, -52, 70);
    KV390_rectangle(sea, -297, -52, 297, -180, 0); /* the sea hides the lower half of the sun */
    KV390_rectangle(sand, -297, -181, 297, -248, 0);
    for (i = 0; i < 6; ++i) { /* the sun's reflection */
        KV390_rectangle(sun, -60 + i * 10, -60 - i * 18, 60 - i * 10, -64 - i * 18, 0);
    }
    KV390_textf(WHITE, -285, 225, 16, "%d colours of our own", BANDS + 3);

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
