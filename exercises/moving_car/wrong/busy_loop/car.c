/* A car that drives to the right, 10 pixels at every animation tick, and
 * comes back in at the left when it has left the window. */
#include "kv390.h"

/* Draws the road and the car with the left end of its body at x. */
void draw_picture(int x) {
    KV390_clear();
    KV390_rectangle(GRAY_50, -297, -56, 297, -248, 0); /* the road */
    KV390_rectangle(BLUE, x, -40, x + 79, -11, 0);     /* the body */
    KV390_circle(BLACK, x + 15, -45, 10);              /* the wheels */
    KV390_circle(BLACK, x + 65, -45, 10);
}

int main(void) {
    int car_x = -290;

    KV390_begin(NULL, NULL, "", 5);

    /* Drive forever. */
    while (1) {
        draw_picture(car_x);
        car_x = car_x + 10;
        if (car_x > 290) {
            car_x = -290;
        }
    }
    KV390_end();
    return 0;
}
