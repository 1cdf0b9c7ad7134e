/* A sunset: ten stripes of sky from night blue at the top to orange at the
 * bottom, in colours of our own, and a yellow sun going down. */
#include "kv390.h"

int main(void) {
    int color;
    int x, y;
    char key;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();

    /* The top stripe.  TODO: all ten, each in its own colour. */
    color = KV390_define_color(0, 0, 128);
    KV390_rectangle(color, -297, 250, 297, 201, 0);

    KV390_circle(YELLOW, 0, -220, 80);

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
