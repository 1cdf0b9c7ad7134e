// Line input, in C++: asks who the card is for and who sends it, with
// KV390_gets_n, which is told the size of the buffer and never writes past
// it, then draws a birthday card with both names.
// Close the window to end the program.
#include "kv390.h"

// A cake with a candle per year, up to ten.
void draw_cake(int candles) {
    KV390_rectangle(PINK, -120, -180, 120, -80, 0);
    KV390_rectangle(CHALK, -120, -80, 120, -60, 0);
    for (int i = 0; i < candles; ++i) {
        int x = -100 + i * 22;
        KV390_rectangle(ICE_BLUE, x, -60, x + 8, -20, 0);
        KV390_oval(ORANGE, x - 2, -18, x + 10, 2, 0);
    }
}

int main() {
    KV390_begin(nullptr, nullptr, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_clear();

    char to[40] = "";  // short names only: gets_n cuts longer ones
    char from[40] = "";
    KV390_gets_n("Who is the card for?", to, sizeof to);
    KV390_gets_n("Who sends it?", from, sizeof from);

    KV390_rectangle(PEACH, -280, -230, 280, 230, 0);
    KV390_rectangle(DUSTY_PLUM, -280, -230, 280, 230, 6);
    KV390_textf(DUSTY_PLUM, -240, 160, 32, "Happy birthday,\n%s!", to);
    draw_cake(10);
    KV390_textf(DUSTY_PLUM, -240, -215, 18, "from %s", from);

    int x = 0, y = 0;
    char key = 0;
    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
