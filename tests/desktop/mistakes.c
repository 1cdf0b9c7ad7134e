/* Two beginners' mistakes for the desktop tests; argv[1] chooses one.
 * "never-shown" draws a red disc and returns without waiting, so the
 * picture was never shown; "ignores-quit" animates and waits on after
 * KV390_QUIT. */
#include <string.h>

#include "kv390.h"

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    KV390_begin(NULL, NULL, "", 5);
    KV390_set_logging(0);
    KV390_clear();
    if (strcmp(mode, "never-shown") == 0) {
        KV390_circle(RED, 0, 0, 60);
        KV390_end();
        return 0;
    }
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    for (;;) {
        int x, y;
        char key;
        KV390_wait_event(&x, &y, &key);
    }
}
