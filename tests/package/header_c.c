/* kv390.h from a C translation unit (compiled with -pedantic): every kind of
 * declaration used once.  The C++ tests call these and compare. */
#include "kv390.h" /* alone: it brings NULL and size_t */

/* Opens the library the way the guide tells C students to. */
int c_begin(void) {
    return KV390_begin(NULL, NULL, "", 5);
}

size_t c_point_size(void) {
    return sizeof(KV390_point);
}

/* The event kinds, run modes and colour count as C sees them. */
void c_constants(int values[10]) {
    const int seen[10] = {KV390_MOUSE,       KV390_KBD,      KV390_PERIODIC,    KV390_QUIT,
                          KV390_RUN_HALT,    KV390_RUN_STEP, KV390_RUN_ANIMATE, KV390_RUN_QUIT,
                          KV390_COLOR_COUNT, GRAY_20};
    size_t i;
    for (i = 0; i < 10; ++i) values[i] = seen[i];
}

/* Draws one figure of each kind, integer and point forms; returns the sum
 * of their results (1 each). */
int c_draw_figures(void) {
    const KV390_point a = {-100, 100}, b = {-50, 50};
    const KV390_point c = {50, 50}, d = {100, 100}, e = {75, 100};
    int sum = 0;
    sum += KV390_rectangle_pt(GREEN, a, b, 0);
    sum += KV390_triangle_pt(ORANGE, c, d, e, 0);
    sum += KV390_circle(BLUE, 0, -100, 20);
    sum += KV390_oval(PURPLE, -150, -80, -110, -120, 0);
    sum += KV390_line(BLACK, 120, -60, 180, -60, 3);
    sum += KV390_pixel(RED, 200, 200);
    sum += KV390_text(BLACK, 0, 150, 12, "C");
    return sum;
}

/* The formatted forms return the formatted length. */
int c_textf_length(void) {
    const KV390_point at = {0, 0};
    return KV390_textf(BLACK, 0, 0, 12, "%s-%d", "abc", 42) +
           KV390_textf_pt(BLACK, at, 12, "%c", 'x');
}

int c_log_length(void) {
    return KV390_log("from C %d\n", 7);
}
