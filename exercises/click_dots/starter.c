/* Every click puts a red dot where the user clicked. */
#include "kv390.h"

int main(void) {
    int x, y;
    char key;
    int event;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();
    KV390_text(BLACK, -280, 220, 16, "Click to draw dots.");

    /* KV390_wait_event puts the click's position into x and y. */
    event = KV390_wait_event(&x, &y, &key);
    while (event != KV390_QUIT) {
        /* TODO: when the event is a click (KV390_MOUSE), draw the dot. */
        event = KV390_wait_event(&x, &y, &key);
    }
    KV390_end();
    return 0;
}
