/* Ten blue circles in a row, drawn by a loop. */
#include "kv390.h"

int main(void) {
    int x, y;
    char key;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();

    /* The first circle.  TODO: a loop that draws all ten. */
    KV390_circle(BLUE, -225, 0, 20);

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
