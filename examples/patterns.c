/* Loops and patterns: one loop inside another draws a chessboard, and a
 * loop that counts down draws rings, each smaller than the one before.
 * Close the window to end the program. */
#include "kv390.h"

#define SQUARE 30 /* the side of one chessboard square */

int main(void) {
    int row, column, radius, x = 0, y = 0;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_clear();

    /* A chessboard of 8 x 8 squares: the outer loop counts the rows, the
     * inner one the squares in a row.  A square is dark when row + column
     * is odd. */
    for (row = 0; row < 8; ++row) {
        for (column = 0; column < 8; ++column) {
            int left = -280 + column * SQUARE;
            int bottom = -120 + row * SQUARE;
            int color = (row + column) % 2 == 1 ? BROWN : PEACH;
            KV390_rectangle(color, left, bottom, left + SQUARE - 1, bottom + SQUARE - 1, 0);
        }
    }

    /* Rings: big discs first, each smaller one drawn on top, the colours
     * taking turns. */
    for (radius = 120; radius > 0; radius -= 15) {
        KV390_circle(radius % 30 == 0 ? NAVY_BLUE : ICE_BLUE, 150, 0, radius);
    }

    /* A row of growing dots. */
    for (x = -280; x <= 280; x += 40) {
        KV390_circle(RED, x, -190, (x + 300) / 40);
    }

    KV390_text(BLACK, -280, 200, 18, "for loops: a chessboard, rings and dots");
    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
