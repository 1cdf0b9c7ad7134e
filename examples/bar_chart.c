/* Arrays: a bar chart.  Two arrays hold the months and the rainfall in
 * each; one loop draws a bar per element, and a second loop finds the
 * largest value so the chart can mark it.  Close the window to end the
 * program. */
#include "kv390.h"

#define MONTHS 12

static const char* const month[MONTHS] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
static const int rain_mm[MONTHS] = {78, 61, 55, 43, 57, 64, 71, 80, 62, 83, 91, 88};

#define BASE_Y (-200) /* where the bars stand */
#define BAR_WIDTH 34
#define PIXELS_PER_MM 4

int main(void) {
    int i, wettest = 0, x = 0, y = 0;
    char key = 0;

    /* The index of the largest element. */
    for (i = 1; i < MONTHS; ++i) {
        if (rain_mm[i] > rain_mm[wettest]) wettest = i;
    }

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_clear();
    KV390_text(BLACK, -285, 222, 18, "Rain per month (mm)");
    KV390_line(BLACK, -285, BASE_Y, 285, BASE_Y, 2);

    for (i = 0; i < MONTHS; ++i) {
        int left = -270 + i * 45;
        int top = BASE_Y + rain_mm[i] * PIXELS_PER_MM / 2;
        KV390_rectangle(i == wettest ? NAVY_BLUE : SEA_GREEN, left, BASE_Y + 1, left + BAR_WIDTH,
                        top, 0);
        KV390_textf(BLACK, left + 4, top + 6, 12, "%d", rain_mm[i]);
        KV390_text(BLACK, left + 2, BASE_Y - 22, 12, month[i]);
    }
    KV390_textf(NAVY_BLUE, -285, -243, 14, "The wettest month is %s.", month[wettest]);

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
