// Checking a script before a run: each line must be one the library's
// player plays (a mouse, key or periodic line with its numbers), since the
// player stops without a word at the first one it cannot.
#pragma once

#include <string>

namespace run_tool {

// False with "script line N cannot be played: TEXT (why)".
bool check_script(const std::string& script, std::string* error);

}  // namespace run_tool
