/* Click to draw: every click puts a dot where you clicked, in the colour
 * chosen with a key:
 *     r red   g green   b blue   y yellow   k black   c clears the picture
 * The square in the top-left corner shows the colour the next dot gets.
 * Close the window to end the program. */
#include "kv390.h"

#define DOT_RADIUS 6

/* The colour a key chooses, or -1 when the key chooses none. */
static int color_for_key(char key) {
    switch (key) {
        case 'r':
            return RED;
        case 'g':
            return GREEN;
        case 'b':
            return BLUE;
        case 'y':
            return YELLOW;
        case 'k':
            return BLACK;
        default:
            return -1;
    }
}

/* The square showing the chosen colour, framed in black. */
static void draw_swatch(int color) {
    KV390_rectangle(color, -290, 240, -270, 220, 0);
    KV390_rectangle(BLACK, -290, 240, -270, 220, 1);
}

static void start_picture(int color) {
    KV390_clear();
    KV390_text(BLACK, -260, 225, 14, "r g b y k: colour, c: clear, click: draw");
    draw_swatch(color);
}

int main(void) {
    int color = BLACK;
    int x = 0, y = 0;
    char key = 0;
    int event = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0); /* do not describe every drawing call */
    start_picture(color);

    /* The picture is never drawn again from scratch: each dot stays on the
     * canvas until 'c' clears it. */
    while ((event = KV390_wait_event(&x, &y, &key)) != KV390_QUIT) {
        if (event == KV390_MOUSE) {
            KV390_circle(color, x, y, DOT_RADIUS);
        } else if (event == KV390_KBD && key == 'c') {
            start_picture(color);
        } else if (event == KV390_KBD && color_for_key(key) >= 0) {
            color = color_for_key(key);
            draw_swatch(color);
        }
    }
    KV390_end();
    return 0;
}
