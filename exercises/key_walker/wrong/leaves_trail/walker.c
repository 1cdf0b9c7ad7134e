/* A green square that the keys w, a, s and d move around. */
#include "kv390.h"

/* Draws the whole picture with the square's centre at (x, y). */
void draw_picture(int x, int y) {
    KV390_textf(BLACK, -280, 220, 16, "w a s d move the square; it is at (%d, %d)", x, y);
    KV390_rectangle(GREEN, x - 20, y - 20, x + 20, y + 20, 0);
}

int main(void) {
    int square_x = 0, square_y = 0; /* the centre of the square */
    int x, y;
    char key;
    int event;

    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();
    draw_picture(square_x, square_y);

    event = KV390_wait_event(&x, &y, &key);
    while (event != KV390_QUIT) {
        if (event == KV390_KBD) {
            if (key == 'w') {
                square_y = square_y + 20;
            } else if (key == 's') {
                square_y = square_y - 20;
            } else if (key == 'a') {
                square_x = square_x - 20;
            } else if (key == 'd') {
                square_x = square_x + 20;
            }
            draw_picture(square_x, square_y);
        }
        event = KV390_wait_event(&x, &y, &key);
    }
    KV390_end();
    return 0;
}
