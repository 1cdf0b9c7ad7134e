// kv390-compare: counts the pixels in which two PNG pictures differ.
//   kv390-compare A.png B.png [--tolerance N] [--diff D.png]
// Exit status 0 when at most N pixels differ (default 0), 1 when more do or
// the sizes differ, 2 for bad options or a file that cannot be read or
// written.  The diff picture shows A faded to grey with every differing
// pixel in red.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "kv390/harness.h"

namespace {

enum { SAME = 0, DIFFERENT = 1, BAD_INPUT = 2 };

constexpr std::uint32_t DIFF_MARK = 0xFF0000;

struct Options {
    std::string first, second, diff;
    unsigned long long tolerance = 0;
};

const char* const USAGE =
    "Usage: kv390-compare A.png B.png [--tolerance N] [--diff D.png]\n"
    "Counts the pixels in which A and B differ.  Exit status: 0 at most N\n"
    "differ (default 0), 1 more differ or the sizes differ, 2 bad input.\n";

// CLI11 reads the command line; its messages become one line.
bool parse_options(int argc, char** argv, Options* o, std::string* error) {
    CLI::App app;
    app.set_help_flag();
    std::vector<std::string> files;
    app.add_option("pictures", files)->expected(0, 2);
    app.add_option_function<std::string>("--tolerance", [o](const std::string& text) {
        if (text.empty() || text.size() > 19 ||
            text.find_first_not_of("0123456789") != std::string::npos)
            throw CLI::ValidationError("--tolerance needs a pixel count, not \"" + text + "\"");
        o->tolerance = std::stoull(text);
    });
    app.add_option("--diff", o->diff);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const std::string what = e.what();
        *error = what.substr(0, what.find('\n'));
        return false;
    }
    if (files.size() != 2) {
        *error = "give exactly two pictures";
        return false;
    }
    o->first = files[0];
    o->second = files[1];
    return true;
}

std::uint32_t faded(std::uint32_t pixel) {
    const std::uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    const std::uint32_t grey = 128 + (r * 30 + g * 59 + b * 11) / 100 / 2;
    return grey << 16 | grey << 8 | grey;
}

// Written beside its name first, so that the name only ever holds a whole picture.
bool save_diff(const win::Image& diff, const std::string& path, std::string* error) {
    const std::string partial = path + ".kv390-partial";
    if (!kv390::harness::save_png(diff, partial, error)) return false;
    std::error_code ec;
    std::filesystem::rename(partial, path, ec);
    if (!ec) return true;
    std::filesystem::remove(partial, ec);
    *error = "cannot write " + path;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    std::string error;
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(USAGE, stdout);
        return SAME;
    }
    if (!parse_options(argc, argv, &o, &error)) {
        std::fprintf(stderr, "kv390-compare: %s (see --help)\n", error.c_str());
        return BAD_INPUT;
    }
    win::Image a, b;
    for (auto [path, image] : {std::pair{&o.first, &a}, std::pair{&o.second, &b}}) {
        if (!kv390::harness::load_png(*path, image, &error)) {
            std::fprintf(stderr, "kv390-compare: cannot read %s: %s\n", path->c_str(),
                         error.c_str());
            return BAD_INPUT;
        }
    }
    if (a.width != b.width || a.height != b.height) {
        std::printf("%s is %d x %d but %s is %d x %d: the pictures differ in size\n",
                    o.first.c_str(), a.width, a.height, o.second.c_str(), b.width, b.height);
        return DIFFERENT;
    }
    win::Image diff = a;
    unsigned long long differing = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        const bool differs = a.pixels[i] != b.pixels[i];
        differing += differs ? 1 : 0;
        diff.pixels[i] = differs ? DIFF_MARK : faded(a.pixels[i]);
    }
    if (!o.diff.empty() && !save_diff(diff, o.diff, &error)) {
        std::fprintf(stderr, "kv390-compare: %s\n", error.c_str());
        return BAD_INPUT;
    }
    std::printf("%llu of %zu pixels differ (tolerance %llu)\n", differing, a.pixels.size(),
                o.tolerance);
    return differing <= o.tolerance ? SAME : DIFFERENT;
}
