/* A street of three houses, each drawn by the same function. */
#include "kv390.h"

/* Draws a house whose wall has its lower-left corner at (x, y): the wall in
 * the given colour, 100 pixels wide and 80 high, a red roof on top of it and
 * a brown door in the middle of the wall's bottom edge. */
void draw_house(int x, int y, int color) {
    KV390_rectangle(color, x, y, x + 99, y + 79, 0);                          /* wall */
    KV390_triangle(RED, x - 10, y + 80, x + 110, y + 80, x + 50, y + 140, 0); /* roof */
    KV390_rectangle(BROWN, x + 40, y, x + 59, y + 39, 0);                     /* door */
}

int main(void) {
    int x, y;
    char key;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();

    KV390_rectangle(FOREST_GREEN, -297, -101, 297, -248, 0); /* the grass */
    draw_house(-250, -100, YELLOW);
    draw_house(-50, -100, PEACH);
    draw_house(150, -100, 24);

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
