// Temporary directories: a random name under the system's temporary
// directory, made with create_directory so that an existing one is never
// taken over, readable by the owner only.
#include <filesystem>
#include <random>
#include <system_error>

#include "process.h"

namespace fs = std::filesystem;

namespace kv390::tools {

namespace {

std::string random_suffix(std::mt19937_64& generator) {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    for (int i = 0; i < 10; ++i) suffix += letters[generator() % (sizeof letters - 1)];
    return suffix;
}

}  // namespace

TempDir::~TempDir() {
    remove();
}

bool TempDir::create(const std::string& prefix, std::string* error) {
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec) {
        *error = "cannot find the temporary directory: " + ec.message();
        return false;
    }
    std::mt19937_64 generator(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = base / (prefix + random_suffix(generator));
        if (fs::create_directory(candidate, ec)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
            path_ = candidate.string();
            return true;
        }
        if (ec) break;
    }
    *error = "cannot make a temporary directory in " + base.string() +
             (ec ? ": " + ec.message() : std::string());
    return false;
}

std::string TempDir::file(const std::string& name) const {
    return (fs::path(path_) / name).string();
}

void TempDir::remove() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
    path_.clear();
}

}  // namespace kv390::tools
