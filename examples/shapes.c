/* Coordinates and colours: every kind of shape once, with its name.
 *
 * The point (0, 0) is the middle of the graphics window; x grows to the
 * right (up to 297), y grows upwards (up to 248).  The grey lines are the
 * two axes.  Every drawing call takes its colour first.
 * Close the window to end the program. */
#include "kv390.h"

int main(void) {
    int x = 0, y = 0;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0); /* do not describe every drawing call in the log */
    KV390_clear();        /* white, inside a thin black frame */

    /* The axes: a line goes from its first point up to its second. */
    KV390_line(GRAY_50, -297, 0, 297, 0, 1);
    KV390_line(GRAY_50, 0, -248, 0, 248, 1);
    KV390_text(GRAY_50, 5, 5, 12, "(0, 0)");

    /* Width 0 fills a shape; any other width draws its outline. */
    KV390_circle(RED, -200, 150, 40); /* centre (-200, 150), radius 40 */
    KV390_text(BLACK, -230, 90, 14, "circle");

    KV390_rectangle(BLUE, -50, 190, 50, 110, 0); /* two opposite corners */
    KV390_text(BLACK, -40, 90, 14, "rectangle");

    KV390_oval(GREEN, 140, 190, 260, 110, 0); /* the oval inside that box */
    KV390_text(BLACK, 175, 90, 14, "oval");

    KV390_triangle(ORANGE, -250, -150, -150, -150, -200, -60, 0); /* three corners */
    KV390_text(BLACK, -235, -180, 14, "triangle");

    KV390_rectangle(PURPLE, -50, -60, 50, -150, 4); /* outlines 4 pixels wide */
    KV390_oval(NAVY_BLUE, 140, -60, 260, -150, 2);
    KV390_text(BLACK, -45, -180, 14, "outlines");

    /* Single pixels: a dotted line. */
    for (x = 140; x <= 260; x += 4) KV390_pixel(BLACK, x, -180);
    KV390_text(BLACK, 170, -205, 14, "pixels");

    KV390_text(BLACK, -290, -240, 14, "x grows to the right, y grows upwards");

    /* Nothing shows until the program waits for an event. */
    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
