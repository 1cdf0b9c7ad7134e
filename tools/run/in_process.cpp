// The weather picture inside kv390-run's own process, for platforms that
// cannot start a child (the node build): the in-process render of
// kv390/render.h, from the run's directory, so that the script is KV390.SCR.
#include <filesystem>

#include "kv390/constants.h"
#include "kv390/render.h"
#include "random.h"
#include "run.h"
#include "weather.h"

namespace run_tool {

bool run_weather_here(const Options& options, const std::string& timed_input,
                      const std::string& work_dir, std::vector<std::string>* warnings,
                      std::string* error) {
    namespace fs = std::filesystem;
    const fs::path work(work_dir);
    kv390::render::Request request;
    request.input = timed_input;
    request.idle_limit_ms = 1000;
    if (!options.picture.empty() || !options.gif.empty())
        request.picture_path = (work / "picture.png").string();
    if (!options.gif.empty()) request.outputs.gif_path = (work / "out.gif").string();
    if (!options.frames.empty()) {
        fs::create_directory(work / "chosen");
        request.outputs.frame_dir = (work / "chosen").string();
        request.outputs.frames = options.frames;
    }
    const unsigned colors[KV390_COLOR_COUNT] = KV390_PALETTE_RGB;
    request.outputs.palette.assign(std::begin(colors), std::end(colors));
    request.outputs.gif_limit_bytes = options.gif_limit_mb * 1024 * 1024;

    std::error_code ec;
    const fs::path previous = fs::current_path(ec);
    fs::current_path(work, ec);
    if (ec) {
        *error = "cannot enter " + work_dir + ": " + ec.message();
        return false;
    }
    bool done = kv390::render::start(request, error);
    if (done) {
        random_fix_seed(options.seed);
        weather_main(nullptr, nullptr, "", 5 /* SW_SHOW */);
        kv390::render::Result result;
        done = kv390::render::finish(&result, error);
        *warnings = result.warnings;
    }
    fs::current_path(previous, ec);
    return done;
}

}  // namespace run_tool
