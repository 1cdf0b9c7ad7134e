// Files of a render: reading the script, checking that outputs can be
// written, and the temporary working directory the run plays in.
#pragma once

#include <string>

namespace render_tool {

// The whole script, byte for byte.
bool read_script(const std::string& path, std::string* text, std::string* error);
// Whether the file can be created or overwritten; leaves no new file behind.
bool check_writable_file(const std::string& path, std::string* error);
// Creates the directory if needed and checks that files can be made in it.
bool prepare_directory(const std::string& path, std::string* error);
std::string absolute_path(const std::string& path);

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
  public:
    TempDir() = default;
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    bool create(std::string* error);
    const std::string& path() const { return path_; }
    // Writes a file inside the directory.
    bool write(const std::string& name, const std::string& content, std::string* error) const;

  private:
    std::string path_;
};

}  // namespace render_tool
