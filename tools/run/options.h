// The command line of kv390-run (and of its old name, kv390-render).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sandbox.h"

namespace run_tool {

struct Options {
    bool help = false;
    std::string program;            // empty: the weather picture
    std::vector<std::string> args;  // the program's own arguments
    std::string input;              // --input: timed input list
    std::string script;             // --script: KV390.SCR format
    std::uint32_t seed = 1;
    std::uint64_t timeout_s = 60;
    std::string picture;  // --out
    std::string gif;      // --gif
    std::uint64_t gif_limit_mb = 100;
    std::vector<int> frames;  // --frames
    std::string frame_dir;    // --frame-dir
    std::string log;          // --log
    bool sandbox = false;     // --sandbox: the program runs confined, with limits
    kv390::tools::SandboxLimits limits;
};

// False with a one-line reason for a bad command line.
bool parse_options(int argc, char** argv, Options* options, std::string* error);
std::string usage_text(const std::string& name);

}  // namespace run_tool
