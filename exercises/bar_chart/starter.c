/* A bar chart of a week's rain, from an array. */
#include "kv390.h"

#define DAYS 7

int main(void) {
    int rain[DAYS] = {12, 30, 25, 8, 40, 18, 22}; /* millimetres on each day */
    const char* names[DAYS] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    int x, y;
    char key;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();
    KV390_text(BLACK, -240, 200, 20, "Rain this week (mm)");

    /* TODO: one bar for every day, with its value above it and its name below. */
    (void)rain;
    (void)names;

    KV390_line(BLACK, -260, -151, 260, -151, 2); /* the base line */

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
