/* A tree that grows by recursion: every branch ends in two smaller trees.
 * The keys 1 to 7 choose how many levels of branches it has. */
#include "kv390.h"

/* Draws a V from (x, y) to (x - size, y + size) and (x + size, y + size),
 * then on each of its two tips a tree one level smaller and half as big. */
void tree(int x, int y, int size, int depth) {
    if (depth < 0) {
        return;
    }
    KV390_line(GREEN, x, y, x - size, y + size, 2);
    KV390_line(GREEN, x, y, x + size, y + size, 2);
    tree(x - size, y + size, size / 2, depth - 1);
    tree(x + size, y + size, size / 2, depth - 1);
}

void draw_picture(int depth) {
    KV390_clear();
    KV390_textf(BLACK, -280, 220, 16, "Levels: %d (keys 1 to 7)", depth);
    KV390_line(BROWN, 0, -240, 0, -120, 6); /* the trunk */
    tree(0, -120, 128, depth);
}

int main(void) {
    int depth = 1;
    int x, y;
    char key;
    int event;

    KV390_begin(NULL, NULL, "", 5);
    draw_picture(depth);

    event = KV390_wait_event(&x, &y, &key);
    while (event != KV390_QUIT) {
        if (event == KV390_KBD && key >= '1' && key <= '7') {
            depth = key - '0'; /* the character '7' stands for the number 7 */
            draw_picture(depth);
        }
        event = KV390_wait_event(&x, &y, &key);
    }
    KV390_end();
    return 0;
}
