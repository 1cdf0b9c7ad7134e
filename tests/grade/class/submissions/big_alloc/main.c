#include <stdlib.h>

#include "kv390.h"

/* 8 GB, every page of it used, without looking whether it came. */
int main(void) {
    size_t size = (size_t)8 << 30;
    volatile char* memory = malloc(size);
    KV390_begin(NULL, NULL, "", 5);
    for (size_t i = 0; i < size; i += 4096) memory[i] = 1;
    KV390_circle(BLUE, 0, 0, 60);
    KV390_end();
    return 0;
}
