/* The drawing half of the outside program, in C. */
#include "kv390.h"

int draw_picture(void) {
    KV390_point centre = {10, 20};
    KV390_set_logging(0);
    KV390_clear();
    return KV390_circle_pt(BLUE, centre, 30);
}
