// Making a submission runnable: sources compiled against the installed
// KV390 for the desktop, as students build, or a program copied as it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sandbox.h"

namespace grade {

struct BuildSetup {
    std::vector<std::string> flags;  // compiler and linker flags for KV390
    std::string prefix;              // where KV390 is installed (visible to builds)
    bool sandbox = true;
    kv390::tools::SandboxLimits limits;
    std::uint64_t timeout_s = 60;
};

// The flags for KV390 installed in prefix, from its pkg-config files (the
// desktop backend, or the headless one where it is all there is).
bool kv390_flags(const std::string& prefix, std::vector<std::string>* flags, std::string* error);

struct Built {
    bool ok = false;
    std::string program;  // the program to run
    std::string log;      // the compiler's messages when !ok
};

// Builds (or copies) the submission at source into work, a fresh folder of
// the caller's; slot tells apart builds that run at once.  False with a
// one-line reason when the tool itself fails; a submission that does not
// compile is a Built without ok.
bool build_submission(const BuildSetup& setup, const std::string& source, const std::string& work,
                      unsigned slot, Built* built, std::string* error);

}  // namespace grade
