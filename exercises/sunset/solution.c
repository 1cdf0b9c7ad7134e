/* A sunset: ten stripes of sky from night blue at the top to orange at the
 * bottom, in colours of our own, and a yellow sun going down. */
#include "kv390.h"

int main(void) {
    int i;
    int top;
    int color;
    int x, y;
    char key;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();

    for (i = 0; i < 10; i++) {
        /* More red and green and less blue in every stripe further down. */
        color = KV390_define_color(28 * i, 14 * i, 128 - 14 * i);
        top = 250 - 50 * i;
        KV390_rectangle(color, -297, top, 297, top - 49, 0);
    }
    KV390_circle(YELLOW, 0, -220, 80);

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
