/* Keys: type, and the letters appear in the window.  KV390_wait_event
 * returns KV390_KBD for a typed character and stores it in key.  Enter
 * starts a new line, Backspace takes the last character back.
 * Close the window to end the program. */
#include "kv390.h"

#define MAX_TEXT 400

int main(void) {
    char text[MAX_TEXT + 1] = ""; /* what was typed, ending with a 0 */
    int length = 0, x = 0, y = 0, event;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_clear();
    KV390_text(GRAY_50, -285, 225, 14, "Type something.  Enter: new line, Backspace: delete.");

    while ((event = KV390_wait_event(&x, &y, &key)) != KV390_QUIT) {
        if (event != KV390_KBD) continue;
        if (key == '\b') { /* Backspace */
            if (length > 0) length--;
        } else if (key == '\r') { /* Enter gives a carriage return */
            if (length < MAX_TEXT) text[length++] = '\n';
        } else if (key >= ' ' && length < MAX_TEXT) {
            text[length++] = key;
        }
        text[length] = 0;

        /* Draw the page again with the whole text; '\n' starts a new line. */
        KV390_clear();
        KV390_text(GRAY_50, -285, 225, 14, "Type something.  Enter: new line, Backspace: delete.");
        KV390_text(NAVY_BLUE, -285, 180, 24, text);
        KV390_textf(GRAY_50, -285, -240, 12, "%d characters; the last key was code %d", length,
                    key);
    }
    KV390_end();
    return 0;
}
