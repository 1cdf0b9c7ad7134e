/* A red ball bouncing around the graphics window.
 *
 * The ball moves one step at every animation tick (KV390_PERIODIC, ten times
 * a second).  Click to put the ball somewhere else.  The Run menu (or Ctrl+H,
 * Ctrl+A, Ctrl+F) halts the ball, starts it again or moves it one step; close
 * the window to end the program. */
#include "kv390.h"

/* The part of the drawing area the window shows: x from -297 to 297, y from
 * -248 to 248, with (0, 0) in the middle and y growing upwards. */
#define RIGHT_EDGE 297
#define TOP_EDGE 248
#define RADIUS 20

/* Moves one coordinate of the ball a step and turns it round at the edges. */
static void move_and_bounce(int* position, int* step, int edge) {
    *position += *step;
    if (*position > edge - RADIUS) {
        *position = edge - RADIUS;
        *step = -*step;
    }
    if (*position < -edge + RADIUS) {
        *position = -edge + RADIUS;
        *step = -*step;
    }
}

int main(void) {
    int ball_x = 0, ball_y = 0; /* the centre of the ball */
    int step_x = 7, step_y = 5; /* how far it moves at each tick */
    int x = 0, y = 0;
    char key = 0;
    int event = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);                  /* do not describe every drawing call */
    KV390_set_run_mode(KV390_RUN_ANIMATE); /* deliver the animation ticks */

    while (event != KV390_QUIT) {
        /* Draw the whole picture again; it shows when we wait for the next event. */
        KV390_clear();
        KV390_text(BLACK, -290, 225, 14, "Click to move the ball; Run menu to halt it.");
        KV390_circle(RED, ball_x, ball_y, RADIUS);

        event = KV390_wait_event(&x, &y, &key);
        if (event == KV390_PERIODIC) {
            move_and_bounce(&ball_x, &step_x, RIGHT_EDGE);
            move_and_bounce(&ball_y, &step_y, TOP_EDGE);
        } else if (event == KV390_MOUSE) {
            ball_x = x;
            ball_y = y;
        }
    }
    KV390_end();
    return 0;
}
