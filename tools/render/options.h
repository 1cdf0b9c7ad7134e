// The command line of kv390-render.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render_tool {

struct Options {
    bool help = false;
    std::string script;
    std::uint32_t seed = 1;
    std::string picture;      // --out
    std::string gif;          // --gif
    std::vector<int> frames;  // --frames
    std::string frame_dir;    // --frame-dir
    std::string program;      // --program; empty: the weather picture in this process
};

// False with a one-line reason for a bad command line.
bool parse_options(int argc, char** argv, Options* options, std::string* error);
std::string usage_text();

}  // namespace render_tool
