/* The log and the text window: KV390 writes what happens into the text
 * window "KV390 Text".  With logging on, every drawing call is described
 * there ("red circle at (0,0), radius 50"); KV390_log adds lines of your
 * own; and mistakes are always reported and corrected, never hidden: a
 * colour that does not exist is drawn red, a negative radius is made
 * positive.  Press l to switch the descriptions on and off, t to hide and
 * show the text window; every click draws a dot and logs it.
 * Close the window to end the program. */
#include "kv390.h"

int main(void) {
    int x = 0, y = 0, event, logging = 1, text_shown = 1, clicks = 0;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(1); /* it starts on anyway; describe the calls */
    KV390_clear();
    KV390_log("Hello from the program: %d + %d = %d", 2, 3, 2 + 3);

    KV390_circle(BLUE, -150, 0, 50);
    KV390_circle(99, 0, 0, 50);       /* no colour 99: the log says so, it is red */
    KV390_circle(GREEN, 150, 0, -50); /* a negative radius: made 50 */
    KV390_undo();                     /* undo does nothing, and says so */
    KV390_text(BLACK, -285, 200, 14, "Three circles; the text window tells their story.");
    KV390_text(BLACK, -285, 180, 14, "l: descriptions on/off, t: text window, click: a dot.");

    while ((event = KV390_wait_event(&x, &y, &key)) != KV390_QUIT) {
        if (event == KV390_MOUSE) {
            clicks++;
            KV390_log("click %d at (%d, %d)", clicks, x, y);
            KV390_circle(BLACK, x, y, 4);
        } else if (event == KV390_KBD && key == 'l') {
            logging = !logging;
            KV390_set_logging(logging);
            KV390_log("descriptions %s", logging ? "on" : "off");
        } else if (event == KV390_KBD && key == 't') {
            text_shown = !text_shown;
            KV390_show_text(text_shown);
        }
    }
    KV390_end();
    return 0;
}
