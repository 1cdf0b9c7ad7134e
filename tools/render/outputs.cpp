// Script input, output checks and the temporary working directory.
#include "outputs.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace render_tool {

namespace {

std::string reason(int code) {
    return std::strerror(code);
}

}  // namespace

bool read_script(const std::string& path, std::string* text, std::string* error) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        *error = "cannot read script " + path + ": it is a directory";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot read script " + path + ": " + reason(errno);
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        *error = "cannot read script " + path + ": read error";
        return false;
    }
    *text = content.str();
    return true;
}

bool check_writable_file(const std::string& path, std::string* error) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        *error = "cannot write " + path + ": it is a directory";
        return false;
    }
    const bool existed = fs::exists(path, ec);
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) {
        *error = "cannot write " + path + ": " + reason(errno);
        return false;
    }
    std::fclose(file);
    if (!existed) std::remove(path.c_str());
    return true;
}

bool prepare_directory(const std::string& path, std::string* error) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (!fs::is_directory(path, ec)) {
        *error = "cannot make directory " + path;
        return false;
    }
    if (access(path.c_str(), W_OK | X_OK) != 0) {
        *error = "cannot write into " + path + ": " + reason(errno);
        return false;
    }
    return true;
}

std::string absolute_path(const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

TempDir::~TempDir() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
}

bool TempDir::create(std::string* error) {
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec) base = "/tmp";
    std::string pattern = (base / "kv390-render-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        *error = "cannot make a temporary directory in " + base.string() + ": " + reason(errno);
        return false;
    }
    path_ = name.data();
    return true;
}

bool TempDir::write(const std::string& name, const std::string& content, std::string* error) const {
    std::string file = path_ + "/" + name;
    std::ofstream out(file, std::ios::binary);
    out << content;
    out.close();
    if (!out) {
        *error = "cannot write " + file;
        return false;
    }
    return true;
}

}  // namespace render_tool
