// Whole files read into memory, for the tools' inputs and their children's
// outputs.
#pragma once

#include <string>

namespace kv390::tools {

// Reads the file; on failure sets error to "cannot read WHAT PATH: why".
bool read_file(const std::string& path, const std::string& what, std::string* text,
               std::string* error);

// The file's bytes, or "" when it cannot be read (a child's output that may
// not have been written).
std::string read_file_or_empty(const std::string& path);

}  // namespace kv390::tools
