/* Asks how many balloons to draw, then draws that many in a row. */
#include <stdlib.h>

#include "kv390.h"

int main(void) {
    char answer[100];
    int x, y;
    char key;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();

    KV390_gets_n("How many balloons (1 to 18)?", answer, sizeof answer);
    /* TODO: turn the answer into a number and draw that many balloons. */
    KV390_line(BLACK, -255, -12, -255, -100, 1); /* the first balloon */
    KV390_circle(RED, -255, 0, 12);

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
