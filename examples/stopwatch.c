/* Animation with the tick: a stopwatch.  After KV390_set_run_mode(
 * KV390_RUN_ANIMATE) the wait hands out a KV390_PERIODIC event ten times a
 * second; at each one the program counts, draws the whole picture again and
 * waits for the next.  The hand goes round once in 6 seconds.
 * Close the window to end the program. */
#include <math.h>

#include "kv390.h"

#define PI 3.14159265358979
#define TICKS_PER_TURN 60 /* 60 ticks of 100 ms: 6 seconds */

static void draw_watch(int ticks) {
    double angle = 2 * PI * (ticks % TICKS_PER_TURN) / TICKS_PER_TURN;
    int i;
    KV390_clear();
    KV390_circle(GRAY_20, 0, 0, 160);
    KV390_circle(WHITE, 0, 0, 150);
    /* Twelve marks round the face. */
    for (i = 0; i < 12; ++i) {
        double a = 2 * PI * i / 12;
        KV390_circle(BLACK, (int)(135 * sin(a)), (int)(135 * cos(a)), 5);
    }
    /* The hand: sin and cos turn an angle into a point on a circle
     * (clockwise from 12 o'clock). */
    KV390_line(RED, 0, 0, (int)(120 * sin(angle)), (int)(120 * cos(angle)), 4);
    KV390_circle(BLACK, 0, 0, 8);
    KV390_textf(BLACK, -60, -210, 24, "%d.%d s", ticks / 10, ticks % 10);
}

int main(void) {
    int ticks = 0, x = 0, y = 0, event = 0;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_set_run_mode(KV390_RUN_ANIMATE); /* start the ticks */

    while (event != KV390_QUIT) {
        draw_watch(ticks);
        event = KV390_wait_event(&x, &y, &key);
        if (event == KV390_PERIODIC) ticks++;
    }
    KV390_end();
    return 0;
}
