#include "kv390.h"

int main(void) {
    volatile int* nowhere = 0;
    KV390_begin(NULL, NULL, "", 5);
    *nowhere = 1;
    KV390_end();
    return 0;
}
