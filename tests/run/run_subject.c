/* A small student-style program for the runner's tests, built the ordinary
 * way for the desktop.  argv[1] chooses what it does. */
#include <stdio.h>
#include <string.h>

#include "kv390.h"

/* Draws the picture the mode asks for, or misbehaves as it asks. */
static void draw(const char* mode) {
    if (strcmp(mode, "red-disc") == 0) KV390_circle(99, 0, 0, 60); /* corrected to RED */
    if (strcmp(mode, "blue-disc") == 0) KV390_circle(BLUE, 0, 0, 60);
    if (strcmp(mode, "null") == 0) {
        volatile int* nowhere = NULL;
        *nowhere = 1;
    }
    if (strcmp(mode, "quiz") == 0) {
        char answer[256];
        KV390_gets("What is your name?", answer);
        KV390_log("answer: %s\n", answer);
        KV390_text(BLACK, -250, 0, 40, answer);
    }
}

/* Animates until the end of the run; "ignore-quit" waits on after
 * KV390_QUIT, "spin" stops waiting altogether, "noise" changes most of the
 * picture at every tick. */
static void animate(const char* mode) {
    unsigned seed = 1;
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    for (;;) {
        int x, y;
        char key;
        int event = KV390_wait_event(&x, &y, &key);
        if (event == KV390_QUIT && strcmp(mode, "ignore-quit") != 0) return;
        if (strcmp(mode, "spin") == 0) {
            for (volatile unsigned long n = 0;; ++n) {
            }
        }
        if (strcmp(mode, "noise") == 0) {
            for (int i = 0; i < 4000; ++i) {
                seed = seed * 214013u + 2531011u;
                KV390_pixel((int)(seed >> 16) % 24, (int)(seed % 595) - 297,
                            (int)((seed >> 8) % 497) - 248);
            }
        }
    }
}

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (strcmp(mode, "no-library") == 0) return 0;
    KV390_begin(NULL, NULL, "", 5);
    KV390_set_logging(0);
    KV390_clear();
    draw(mode);
    if (strcmp(mode, "exit-3") == 0) return 3;
    if (strcmp(mode, "ignore-quit") == 0 || strcmp(mode, "spin") == 0 ||
        strcmp(mode, "noise") == 0)
        animate(mode);
    KV390_end();
    return 0;
}
