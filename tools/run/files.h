// Files around a run: checking that outputs can be made,
// growing files read as they grow, and moving finished outputs into place.
#pragma once

#include <cstdint>
#include <string>

namespace run_tool {

// Whether the file can be created or overwritten; leaves no new file behind.
bool check_writable_file(const std::string& path, std::string* error);
// Creates the directory if needed and checks that files can be made in it.
bool prepare_directory(const std::string& path, std::string* error);
std::string absolute_path(const std::string& path);

// Moves a complete file to its final name in one step: a rename, or across
// file systems a copy beside the target that is then renamed.
bool move_into_place(const std::string& from, const std::string& to, std::string* error);

// A file another process appends to, read piece by piece.
class GrowingFile {
  public:
    explicit GrowingFile(std::string path) : path_(std::move(path)) {}
    // What was added since the last call, at most max_bytes of it (empty
    // when nothing or no file).
    std::string read_new(std::size_t max_bytes = std::size_t(-1));

  private:
    std::string path_;
    std::uint64_t offset_ = 0;
};

}  // namespace run_tool
