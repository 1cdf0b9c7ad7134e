// Asks for the user's name in the line-input dialog and greets them in the
// graphics window, then waits until the window is closed.
#include "kv390.h"

int main() {
    KV390_begin(nullptr, nullptr, "", 5 /* show */);
    KV390_set_logging(0);
    KV390_clear();

    char name[64] = "";
    KV390_gets_n("What is your name?", name, sizeof name);

    KV390_clear();
    KV390_textf(BLACK, -280, 40, 36, "Hello, %s!", name);

    int x = 0, y = 0;
    char key = 0;
    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
