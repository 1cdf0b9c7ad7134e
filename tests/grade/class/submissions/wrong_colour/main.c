#include "kv390.h"

/* The disc is right; a colour that does not exist shows only in the log. */
int main(void) {
    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();
    KV390_circle(BLUE, 0, 0, 60);
    KV390_pixel(99, 1000, 1000);
    KV390_end();
    return 0;
}
