/* Ten blue circles in a row, drawn by a loop. */
#include "kv390.h"

int main(void) {
    int x, y;
    char key;
    int i;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();

    /* Circle number i (0 to 9) has its centre 50 pixels right of the one before. */
    for (i = 0; i <= 10; i++) {
        KV390_circle(BLUE, -225 + 50 * i, 0, 20);
    }

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
