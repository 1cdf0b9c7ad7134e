/* A traffic light: a gray pole, a black box and three lamps. */
#include "kv390.h"

int main(void) {
    int x, y;
    char key;

    KV390_clear();

    KV390_rectangle(GRAY_50, -10, -160, 10, -248, 0); /* the pole */
    KV390_rectangle(BLACK, -60, 160, 60, -160, 0);    /* the box */
    KV390_circle(RED, 0, 100, 40);
    KV390_circle(YELLOW, 0, 0, 40);
    KV390_circle(GREEN, 0, -100, 40);

    /* The picture shows while the program waits; wait until the window is closed. */
    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
