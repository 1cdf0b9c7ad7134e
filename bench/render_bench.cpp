// Rendering the demo script headless, as kv390-render does: the playback
// alone, and with the animated GIF and the last picture written.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "kv390/harness.h"
#include "kv390/render.h"
#include "random.h"
#include "state.h"
#include "weather.h"

namespace {

namespace fs = std::filesystem;

// A working directory holding the demo script as KV390.SCR.
class DemoDirectory {
  public:
    DemoDirectory() {
        dir_ = fs::temp_directory_path() / ("kv390-render-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        fs::copy_file(fs::path(KV390_SOURCE_DIR) / "scripts/demo.scr", dir_ / "KV390.SCR",
                      fs::copy_options::overwrite_existing);
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }
    ~DemoDirectory() {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }

  private:
    fs::path dir_, previous_;
};

kv390::render::Request demo_request(const DemoDirectory& dir, bool write_files) {
    kv390::render::Request request;
    request.input = "at 0 menu " + std::to_string(kv390::IDM_PLAYBACK) + "\n";
    for (win::COLORREF c : kv390::palette_rgb) request.outputs.palette.push_back(win::pixel_of(c));
    if (write_files) {
        request.outputs.gif_path = dir.file("demo.gif");
        request.picture_path = dir.file("demo.png");
    }
    return request;
}

void render_demo(benchmark::State& state, bool write_files) {
    DemoDirectory dir;
    int frames = 0;
    for (auto _ : state) {
        kv390::harness::reset();
        kv390::reset_library_state();
        random_fix_seed(1997);
        std::string error;
        if (!kv390::render::start(demo_request(dir, write_files), &error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        weather_main(nullptr, nullptr, "", 5);
        kv390::render::Result result;
        if (!kv390::render::finish(&result, &error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        frames = result.frame_count;
    }
    state.counters["frames"] = frames;
}

void BM_PlayDemo(benchmark::State& state) {
    render_demo(state, false);
}
void BM_RenderDemoToGifAndPng(benchmark::State& state) {
    render_demo(state, true);
}

BENCHMARK(BM_PlayDemo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderDemoToGifAndPng)->Unit(benchmark::kMillisecond);

}  // namespace
