/* Run modes: a traffic light that changes with the ticks.  The program
 * itself switches the ticks with KV390_set_run_mode, as the Run menu does:
 *     h  halt: no more ticks         a  animate: a tick every 100 ms
 *     s  step: exactly one tick      q  quit: the next wait gives KV390_QUIT
 * Close the window (or press q) to end the program. */
#include "kv390.h"

/* The phases of the light and how many ticks each lasts. */
enum phase { STOP, GET_READY, GO, SLOW_DOWN };
static const int phase_ticks[4] = {12, 4, 12, 4};
static const char* const phase_names[4] = {"stop", "get ready", "go", "slow down"};

static void draw(enum phase p, const char* mode) {
    KV390_clear();
    KV390_rectangle(GRAY_20, -60, 190, 60, -150, 0);  /* the housing */
    KV390_rectangle(GRAY_50, -10, -150, 10, -247, 0); /* the pole */
    KV390_circle(p == STOP || p == GET_READY ? RED : BLACK, 0, 125, 45);
    KV390_circle(p == GET_READY || p == SLOW_DOWN ? YELLOW : BLACK, 0, 20, 45);
    KV390_circle(p == GO ? GREEN : BLACK, 0, -85, 45);
    KV390_textf(BLACK, 90, 20, 20, "%s", phase_names[p]);
    KV390_textf(BLACK, -285, 225, 14, "mode: %s   (h halt, a animate, s step, q quit)", mode);
}

int main(void) {
    int x = 0, y = 0, event = 0, ticks = 0;
    char key = 0;
    enum phase p = STOP;
    const char* mode = "animate";

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_set_run_mode(KV390_RUN_ANIMATE);

    while (event != KV390_QUIT) {
        draw(p, mode);
        event = KV390_wait_event(&x, &y, &key);
        if (event == KV390_PERIODIC) {
            ticks++;
            if (ticks == phase_ticks[p]) { /* this phase is over: on to the next */
                p = (enum phase)((p + 1) % 4);
                ticks = 0;
            }
        } else if (event == KV390_KBD) {
            if (key == 'h') {
                KV390_set_run_mode(KV390_RUN_HALT);
                mode = "halted";
            } else if (key == 'a') {
                KV390_set_run_mode(KV390_RUN_ANIMATE);
                mode = "animate";
            } else if (key == 's') {
                KV390_set_run_mode(KV390_RUN_STEP);
                mode = "one step";
            } else if (key == 'q') {
                KV390_set_run_mode(KV390_RUN_QUIT);
            }
        }
    }
    KV390_end();
    return 0;
}
