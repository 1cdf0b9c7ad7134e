/* The line-input dialog: guess the number from 1 to 100.  KV390_gets opens a
 * small window with a question, waits until the player types a line and
 * presses Enter, and puts the line into a buffer of 256 characters.  The
 * window shows every guess and whether it was too big or too small.
 * After the right guess, close the window to end the program. */
#include <stdlib.h> /* atoi: the number written in a string */

#include "kv390.h"

#define SECRET 37 /* a real game would choose it at random */

int main(void) {
    char answer[256]; /* KV390_gets needs room for 256 characters */
    int guess = 0, tries = 0, x = 0, y = 0, event = 0;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_clear();
    KV390_text(BLACK, -285, 220, 20, "Guess my number (1 to 100)");

    while (guess != SECRET && event != KV390_QUIT) {
        if (!KV390_gets("Your guess?", answer)) break; /* no dialog: give up */
        guess = atoi(answer);
        tries++;
        if (guess < SECRET) {
            KV390_textf(BLUE, -285, 190 - tries * 26, 18, "%d is too small", guess);
        } else if (guess > SECRET) {
            KV390_textf(RED, -285, 190 - tries * 26, 18, "%d is too big", guess);
        } else {
            KV390_textf(FOREST_GREEN, -285, 190 - tries * 26, 18, "%d it is, in %d tries!", guess,
                        tries);
        }
        /* The dialog stops the program: the picture shows at the next wait,
         * so ask for a single tick and wait for it (or for the end). */
        KV390_set_run_mode(KV390_RUN_STEP);
        event = KV390_wait_event(&x, &y, &key);
    }

    while (event != KV390_QUIT) event = KV390_wait_event(&x, &y, &key);
    KV390_end();
    return 0;
}
