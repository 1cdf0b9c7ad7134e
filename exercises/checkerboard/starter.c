/* A checkerboard of 8 x 8 squares; a click on a square puts a red checker
 * in its middle. */
#include "kv390.h"

#define SIZE 50     /* the side of a square in pixels */
#define LEFT -200   /* the board's left edge */
#define BOTTOM -200 /* the board's bottom edge */

void draw_board(void) {
    /* TODO: 8 rows of 8 squares, brown and chalk like a checkerboard.
     * This draws only the lower-left square. */
    KV390_rectangle(BROWN, LEFT, BOTTOM, LEFT + SIZE - 1, BOTTOM + SIZE - 1, 0);
}

int main(void) {
    int x, y;
    char key;
    int event;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();
    draw_board();

    event = KV390_wait_event(&x, &y, &key);
    while (event != KV390_QUIT) {
        /* TODO: a click on the board puts a checker in the middle of its square. */
        event = KV390_wait_event(&x, &y, &key);
    }
    KV390_end();
    return 0;
}
