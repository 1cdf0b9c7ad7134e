#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kv390.h"

/* Tries to leave traces everywhere, then draws the right picture: contained,
 * it passes, and nothing outside its folder changes. */
static void touch(const char* path) {
    FILE* f = fopen(path, "w");
    if (f != NULL) {
        fputs("was here\n", f);
        fclose(f);
    }
}

int main(void) {
    char path[4096];
    const char* home = getenv("HOME");
    touch("/tmp/kv390-grade-was-here");
    snprintf(path, sizeof path, "%s/.student-was-here", home != NULL ? home : "/root");
    touch(path);
    touch("/root/.student-was-here");
    touch("../escaped");
    touch("@CLASS_DIR@/right/copied.c");
    remove("@CLASS_DIR@/right/main.c");
    remove("@CANARY@");
    KV390_begin(NULL, NULL, "", 5);
    KV390_clear();
    KV390_circle(BLUE, 0, 0, 60);
    KV390_end();
    return 0;
}
