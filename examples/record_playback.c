/* Recording and playing back a script.  This is a stamp pad: a click puts a
 * star there, a key chooses its colour (r, g, b) and c starts a fresh page
 * (with gold stars again).
 *
 * The Run menu records everything you do into the file KV390.SCR:
 *   1. Run > Record Script (Ctrl+R) starts recording; stamp a few stars;
 *      Ctrl+R again stops it.
 *   2. Press c to clear the page.
 *   3. Run > Playback Script (Ctrl+P) plays the recording: the program gets
 *      the same clicks and keys again and draws the same stars.
 * Play One Script (Ctrl+O) plays just the next event of the script.
 * KV390_log writes a line to the text window for every event, so you can
 * watch what the program is given.  Close the window to end the program. */
#include "kv390.h"

static void draw_star(int color, int x, int y) {
    KV390_triangle(color, x - 20, y - 10, x + 20, y - 10, x, y + 25, 0);
    KV390_triangle(color, x - 20, y + 12, x + 20, y + 12, x, y - 23, 0);
}

static void new_page(void) {
    KV390_clear();
    KV390_text(BLACK, -285, 225, 14, "Click: star, r g b: colour, c: fresh page.");
    KV390_text(BLACK, -285, 205, 14, "Ctrl+R: record on/off, Ctrl+P: play the recording.");
}

int main(void) {
    int x = 0, y = 0, event, color = GOLD;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_show_text(1); /* the text window shows the log */
    new_page();

    while ((event = KV390_wait_event(&x, &y, &key)) != KV390_QUIT) {
        if (event == KV390_MOUSE) {
            KV390_log("click at (%d, %d)", x, y);
            draw_star(color, x, y);
        } else if (event == KV390_KBD) {
            KV390_log("key %c", key);
            if (key == 'r') color = RED;
            if (key == 'g') color = GREEN;
            if (key == 'b') color = BLUE;
            if (key == 'c') {
                color = GOLD;
                new_page();
            }
        }
    }
    KV390_end();
    return 0;
}
