/* A bar chart of a week's rain, from an array. */
#include "kv390.h"

#define DAYS 7

int main(void) {
    int rain[DAYS] = {12, 30, 25, 8, 40, 18, 22}; /* millimetres on each day */
    const char* names[DAYS] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    int day;
    int left, top, color;
    int x, y;
    char key;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();
    KV390_text(BLACK, -240, 200, 20, "Rain this week (mm)");

    for (day = 0; day < DAYS; day++) {
        left = -240 + 70 * day;
        top = -150 + rain[day];
        color = ICE_BLUE;
        if (rain[day] > 20) {
            color = NAVY_BLUE;
        }
        KV390_rectangle(color, left, -150, left + 49, top, 0);
        KV390_textf(BLACK, left + 10, top + 5, 14, "%d", rain[day]);
        KV390_text(BLACK, left + 10, -175, 14, names[day]);
    }
    KV390_line(BLACK, -260, -151, 260, -151, 2); /* the base line */

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
