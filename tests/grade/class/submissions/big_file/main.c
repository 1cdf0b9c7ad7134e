#include <stdio.h>

#include "kv390.h"

/* A 10 GB file in its own folder. */
int main(void) {
    static char block[1 << 20];
    FILE* f = fopen("big.bin", "wb");
    KV390_begin(NULL, NULL, "", 5);
    for (int i = 0; f != NULL && i < 10 * 1024; ++i) fwrite(block, 1, sizeof block, f);
    KV390_circle(BLUE, 0, 0, 60);
    KV390_end();
    return 0;
}
