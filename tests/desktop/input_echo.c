/* Writes every event KV390_wait_input hands out to inputs.txt in the working
 * directory, one "kind x y key code" line each, with pointer moves tracked;
 * Escape ends it.  The desktop test drives it with xdotool. */
#include <stdio.h>

#include "kv390.h"

int main(void) {
    KV390_input in;
    FILE* out = fopen("inputs.txt", "w");
    if (out == NULL) return 1;
    KV390_begin(0, 0, "", 5);
    KV390_set_logging(0);
    KV390_track_mouse(1);
    KV390_clear();
    while (KV390_wait_input(&in) != KV390_QUIT) {
        fprintf(out, "%d %d %d %d %d\n", in.kind, in.x, in.y, in.key, in.code);
        fflush(out);
        if (in.kind == KV390_KEY_PRESS && in.code == KV390_KEY_ESCAPE) {
            KV390_set_run_mode(KV390_RUN_QUIT);
        }
    }
    KV390_end();
    fclose(out);
    return 0;
}
