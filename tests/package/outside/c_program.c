/* A whole program in C: draws and waits until the window is closed (headless:
 * until the run ends by itself). */
#include <stdio.h>

#include "kv390.h"

int main(void) {
    int x = 0, y = 0;
    char key = 0;
    KV390_begin(0, 0, "", 5);
    KV390_set_logging(0);
    KV390_clear();
    KV390_textf(BLACK, -100, 0, 20, "%d colours", KV390_COLOR_COUNT);
    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    printf("c program ended\n");
    return 0;
}
