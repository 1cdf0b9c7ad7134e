#include "core/fatal.h"

#include <cstdio>
#include <cstdlib>

namespace win {

void fatal_error(const char* what) {
    std::fprintf(stderr, "KV390: internal error: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

}  // namespace win
