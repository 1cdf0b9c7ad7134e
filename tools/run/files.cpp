// Files around a run, with std::filesystem and standard streams only.
#include "files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace run_tool {

bool check_writable_file(const std::string& path, std::string* error) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        *error = "cannot write " + path + ": it is a directory";
        return false;
    }
    const bool existed = fs::exists(path, ec);
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) {
        *error = "cannot write " + path + ": " + std::strerror(errno);
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
    const fs::path probe = fs::path(path) / ".kv390-run-probe";
    if (!std::ofstream(probe)) {
        *error = "cannot write into " + path;
        return false;
    }
    fs::remove(probe, ec);
    return true;
}

std::string absolute_path(const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

bool move_into_place(const std::string& from, const std::string& to, std::string* error) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec) return true;
    const std::string beside = to + ".kv390-partial";
    fs::copy_file(from, beside, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(beside, to, ec);
    if (!ec) return true;
    *error = "cannot write " + to + ": " + ec.message();
    fs::remove(beside, ec);
    return false;
}

std::string GrowingFile::read_new(std::size_t max_bytes) {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return {};
    in.seekg(0, std::ios::end);
    const std::uint64_t size = std::uint64_t(in.tellg());
    if (size <= offset_) return {};
    const std::size_t length = std::size_t(std::min<std::uint64_t>(size - offset_, max_bytes));
    std::string text(length, '\0');
    in.seekg(std::streamoff(offset_));
    in.read(text.data(), std::streamsize(length));
    text.resize(std::size_t(in.gcount()));
    offset_ += text.size();
    return text;
}

}  // namespace run_tool
