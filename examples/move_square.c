/* Key state: hold the arrow keys to move the square, several at once to
 * move diagonally; hold Shift to move faster.
 *
 * KV390_wait_input hands out every event, key presses included.  At each
 * animation tick the program asks KV390_key_held which keys are down right
 * now, so the square moves for as long as a key is held.
 * Close the window to end the program. */
#include "kv390.h"

#define SIZE 30
#define STEP 6

/* Keeps a coordinate inside -limit .. limit. */
static int clamp(int value, int limit) {
    if (value > limit) return limit;
    if (value < -limit) return -limit;
    return value;
}

static void draw(int x, int y) {
    KV390_clear();
    KV390_text(BLACK, -285, 225, 16, "Hold the arrow keys (and Shift for speed).");
    KV390_rectangle(TURQUOISE, x - SIZE, y - SIZE, x + SIZE, y + SIZE, 0);
    KV390_rectangle(NAVY_BLUE, x - SIZE, y - SIZE, x + SIZE, y + SIZE, 3);
}

int main(void) {
    KV390_input in;
    int x = 0, y = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    draw(x, y);

    while (KV390_wait_input(&in) != KV390_QUIT) {
        if (in.kind == KV390_PERIODIC) {
            int step = KV390_key_held(KV390_KEY_SHIFT) ? 3 * STEP : STEP;
            if (KV390_key_held(KV390_KEY_LEFT)) x -= step;
            if (KV390_key_held(KV390_KEY_RIGHT)) x += step;
            if (KV390_key_held(KV390_KEY_UP)) y += step;
            if (KV390_key_held(KV390_KEY_DOWN)) y -= step;
            x = clamp(x, 297 - SIZE);
            y = clamp(y, 248 - SIZE);
            draw(x, y);
        }
    }
    KV390_end();
    return 0;
}
