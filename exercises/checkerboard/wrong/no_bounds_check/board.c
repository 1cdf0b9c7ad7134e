/* A checkerboard of 8 x 8 squares; a click on a square puts a red checker
 * in its middle. */
#include "kv390.h"

#define SIZE 50     /* the side of a square in pixels */
#define LEFT -200   /* the board's left edge */
#define BOTTOM -200 /* the board's bottom edge */

void draw_board(void) {
    int row, column;
    int x, y, color;

    for (row = 0; row < 8; row++) {
        for (column = 0; column < 8; column++) {
            x = LEFT + SIZE * column;
            y = BOTTOM + SIZE * row;
            color = CHALK;
            if ((row + column) % 2 == 0) {
                color = BROWN;
            }
            KV390_rectangle(color, x, y, x + SIZE - 1, y + SIZE - 1, 0);
        }
    }
}

int main(void) {
    int x, y;
    char key;
    int event;
    int row, column;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();
    draw_board();

    event = KV390_wait_event(&x, &y, &key);
    while (event != KV390_QUIT) {
        if (event == KV390_MOUSE) {
            /* x - LEFT is 0 or more, so the division rounds down to the column. */
            column = (x - LEFT) / SIZE;
            row = (y - BOTTOM) / SIZE;
            KV390_circle(RED, LEFT + SIZE * column + SIZE / 2, BOTTOM + SIZE * row + SIZE / 2, 20);
        }
        event = KV390_wait_event(&x, &y, &key);
    }
    KV390_end();
    return 0;
}
