/* Asks how many balloons to draw, then draws that many in a row. */
#include <stdlib.h>

#include "kv390.h"

int main(void) {
    char answer[100];
    int count;
    int i;
    int x, y;
    char key;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();

    /* The dialog gives back the typed text; atoi turns "12" into the number 12. */
    KV390_gets_n("How many balloons (1 to 18)?", answer, sizeof answer);
    count = atoi(answer);

    if (count < 1 || count > 18) {
        KV390_text(BLACK, -200, 0, 20, "Please give a number from 1 to 18.");
    } else {
        for (i = 0; i <= count; i++) {
            KV390_line(BLACK, -255 + 30 * i, -12, -255 + 30 * i, -100, 1); /* the string */
            KV390_circle(RED, -255 + 30 * i, 0, 12);
        }
    }

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
