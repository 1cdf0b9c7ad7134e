// Opening and closing the library on the headless backend for one fuzz input,
// so that every input starts from a fresh process state.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "kv390.h"
#include "kv390/harness.h"
#include "state.h"

namespace kv390::fuzz {

// Moves the process into a private temporary directory once: the script
// file lives in the working directory.
inline void enter_private_directory() {
    static const bool entered = [] {
        char pattern[] = "/tmp/kv390-fuzz-XXXXXX";
        if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) std::abort();
        return true;
    }();
    static_cast<void>(entered);
}

inline void open_library() {
    harness::reset();
    reset_library_state();
    KV390_begin(nullptr, nullptr, "", 5);
}

// KV390_end, then what the end of the process would release (the layer
// reset frees every DC and GDI object).
inline void close_library() {
    KV390_end();
    reset_library_state();
    harness::reset();
}

}  // namespace kv390::fuzz
