#include <unistd.h>

#include "kv390.h"

int main(void) {
    KV390_begin(NULL, NULL, "", 5);
    KV390_circle(BLUE, 0, 0, 60);
    for (;;) fork();
}
