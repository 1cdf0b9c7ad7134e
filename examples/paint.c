/* Painting with the mouse: hold the left button and move to draw; the right
 * button changes the colour, the middle button clears the page.
 *
 * KV390_wait_input hands out more than clicks: after KV390_track_mouse(1)
 * every move of the pointer is a KV390_MOUSE_MOVE, and letting go of the
 * left button is a KV390_MOUSE_UP.  So a stroke is: a press (KV390_MOUSE),
 * moves, a release.  Close the window to end the program. */
#include "kv390.h"

static const int colors[] = {BLACK, RED, BLUE, FOREST_GREEN, ORANGE, PURPLE};
#define COLOR_COUNT 6

static void new_page(int color) {
    KV390_clear();
    KV390_text(BLACK, -285, 225, 14, "Drag to paint; right button: colour, middle: clear.");
    KV390_circle(color, 280, 230, 10); /* the current colour */
}

int main(void) {
    KV390_input in;
    int drawing = 0; /* is the left button down? */
    int last_x = 0, last_y = 0;
    int color_index = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_track_mouse(1); /* report the pointer's moves */
    new_page(colors[color_index]);

    while (KV390_wait_input(&in) != KV390_QUIT) {
        switch (in.kind) {
            case KV390_MOUSE: /* the left button went down: a stroke starts */
                drawing = 1;
                last_x = in.x;
                last_y = in.y;
                KV390_circle(colors[color_index], in.x, in.y, 2);
                break;
            case KV390_MOUSE_MOVE:
                if (drawing) {
                    KV390_line(colors[color_index], last_x, last_y, in.x, in.y, 5);
                    KV390_circle(colors[color_index], in.x, in.y, 2); /* round joints */
                    last_x = in.x;
                    last_y = in.y;
                }
                break;
            case KV390_MOUSE_UP: /* the stroke ends */
                drawing = 0;
                break;
            case KV390_RIGHT_DOWN:
                color_index = (color_index + 1) % COLOR_COUNT;
                KV390_circle(colors[color_index], 280, 230, 10);
                break;
            case KV390_MIDDLE_DOWN:
                new_page(colors[color_index]);
                break;
            default: /* keys, ticks and the other releases are not used */
                break;
        }
    }
    KV390_end();
    return 0;
}
