// Opening and closing the library on the headless backend for one fuzz input,
// so that every input starts from a fresh process state.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "kv390.h"
#include "kv390/harness.h"
#include "state.h"

namespace kv390::fuzz {

// Runs one input inside a private temporary directory (the script file lives
// in the working directory) and comes back to the directory libFuzzer started
// in afterwards: libFuzzer reads and writes its corpus paths relative to it.
class PrivateDirectory {
  public:
    PrivateDirectory() {
        static const std::string path = [] {
            char pattern[] = "/tmp/kv390-fuzz-XXXXXX";
            if (mkdtemp(pattern) == nullptr) std::abort();
            return std::string(pattern);
        }();
        previous_ = open(".", O_RDONLY | O_DIRECTORY);
        if (previous_ < 0 || chdir(path.c_str()) != 0) std::abort();
    }
    ~PrivateDirectory() {
        if (fchdir(previous_) != 0) std::abort();
        close(previous_);
    }
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;

  private:
    int previous_ = -1;
};

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
