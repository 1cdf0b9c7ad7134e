/* A street of three houses, each drawn by the same function. */
#include "kv390.h"

/* Draws a house whose wall has its lower-left corner at (x, y): the wall in
 * the given colour, 100 pixels wide and 80 high, a red roof on top of it and
 * a brown door in the middle of the wall's bottom edge. */
void draw_house(int x, int y, int color) {
    KV390_rectangle(color, -250, -100, -151, -21, 0);       /* wall */
    KV390_triangle(RED, -260, -20, -140, -20, -200, 40, 0); /* roof */
    KV390_rectangle(BROWN, -210, -100, -191, -61, 0);       /* door */
}

int main(void) {
    int x, y;
    char key;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();

    KV390_rectangle(FOREST_GREEN, -297, -101, 297, -248, 0); /* the grass */
    draw_house(-250, -100, YELLOW);
    draw_house(-50, -100, PEACH);
    draw_house(150, -100, ICE_BLUE);

    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
