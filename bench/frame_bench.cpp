// The weather frame measured four ways in one run (the library with logging
// off and on, the bare pixel writes it needs, cairo drawing the same calls),
// playback throughput of the whole program, and single primitives next to
// their cairo counterparts.  Ends with the ratios between them.
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>

#include "cairo_frame.h"
#include "coverage.h"
#include "frame_calls.h"
#include "kv390.h"
#include "playback_script.h"
#include "raster/paint/row_fill.h"
#include "state.h"
#include "weather_frame.h"

namespace {

using bench::CallList;
using bench::DrawCall;

// The busy frame as a list of calls, and the pixels each call writes.
struct RecordedFrame {
    bench::WeatherFrame frame = bench::busy_frame();
    CallList calls;
    std::vector<std::uint64_t> pixels;
    std::uint64_t total_pixels = 0;
    // The strip each log line clears at the bottom of the text window.
    int log_strip_width = 0;
    int log_strip_height = 0;
};

void measure_log_strip(RecordedFrame& r) {
    win::HWND text = kv390::lib().text_window;
    win::Rect client{};
    win::get_client_rect(text, &client);
    win::HDC dc = win::get_dc(text);
    win::HGDIOBJ previous = win::select_object(dc, win::get_stock_object(win::ANSI_FIXED_FONT));
    win::TextMetrics metrics{};
    win::get_text_metrics(dc, &metrics);
    win::select_object(dc, previous);
    win::release_dc(text, dc);
    r.log_strip_width = client.right - client.left;
    r.log_strip_height = metrics.tmHeight + metrics.tmExternalLeading;
}

const RecordedFrame& recorded_frame() {
    static const RecordedFrame recorded = [] {
        RecordedFrame r;
        bench::LibrarySession session;
        bench::start_recording(&r.calls);
        bench::draw_frame(r.frame);
        bench::stop_recording();
        r.pixels = bench::pixels_per_call(r.calls);
        measure_log_strip(r);
        r.total_pixels = std::accumulate(r.pixels.begin(), r.pixels.end(), std::uint64_t{0});
        return r;
    }();
    return recorded;
}

void set_frame_counters(benchmark::State& state) {
    const RecordedFrame& r = recorded_frame();
    state.counters["calls"] = double(r.calls.size());
    state.counters["pixels"] = double(r.total_pixels);
}

// 1. The frame through the public primitives, logging off.
void BM_WeatherFrame(benchmark::State& state) {
    const RecordedFrame& r = recorded_frame();
    bench::LibrarySession session;
    for (auto _ : state) bench::draw_frame(r.frame);
    set_frame_counters(state);
}
BENCHMARK(BM_WeatherFrame)->Unit(benchmark::kMicrosecond);

// 2. The same with every call described in the text window.  The window
// draws its held-back lines when it is next shown; here once a frame, as
// presenting the frame would.
void BM_WeatherFrameLogging(benchmark::State& state) {
    const RecordedFrame& r = recorded_frame();
    bench::LibrarySession session;
    KV390_set_logging(1);
    win::HWND text = kv390::lib().text_window;
    for (auto _ : state) {
        bench::draw_frame(r.frame);
        win::flush_deferred(text);
    }
    set_frame_counters(state);
}
BENCHMARK(BM_WeatherFrameLogging)->Unit(benchmark::kMicrosecond);

// 3. The floor: per call, one plain fill of as many pixels as the call
// writes, in its colour, into a canvas-sized buffer.
void BM_PixelFloor(benchmark::State& state) {
    const RecordedFrame& r = recorded_frame();
    const std::size_t size = std::size_t(kv390::CANVAS_WIDTH) * kv390::CANVAS_HEIGHT;
    std::vector<std::uint32_t> canvas(size);
    for (auto _ : state) {
        std::size_t at = 0;
        for (std::size_t i = 0; i < r.calls.size(); ++i) {
            std::size_t left = r.pixels[i];
            const std::uint32_t pixel = win::pixel_of(kv390::palette_rgb[r.calls[i].color]);
            while (left > 0) {
                const std::size_t run = std::min(left, size - at);
                // The raster's own row fill: eight stores a step, vector
                // stores once compiled.
                win::raster::fill_pixels(canvas.data() + at, std::int64_t(run), pixel);
                left -= run;
                at = (at + run) % size;
            }
        }
        benchmark::DoNotOptimize(canvas.data());
        benchmark::ClobberMemory();
    }
    set_frame_counters(state);
}
BENCHMARK(BM_PixelFloor)->Unit(benchmark::kMicrosecond);

// 4. The peer: cairo draws the same calls on its image surface.
void BM_CairoFrame(benchmark::State& state) {
    const RecordedFrame& r = recorded_frame();
    bench::CairoCanvas canvas;
    for (auto _ : state) {
        canvas.draw(r.calls);
        canvas.flush();
    }
    set_frame_counters(state);
}
BENCHMARK(BM_CairoFrame)->Unit(benchmark::kMicrosecond);

// 5. The whole program fed a long script; every event is followed by the
// full redraw.
void BM_PlaybackThroughput(benchmark::State& state) {
    const std::filesystem::path home = std::filesystem::current_path();
    char pattern[] = "/tmp/kv390-bench-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (dir == nullptr || chdir(dir) != 0) {
        state.SkipWithError("no scratch directory");
        return;
    }
    std::ofstream(kv390::SCRIPT_FILE_NAME) << bench::long_weather_script();
    std::uint64_t events = 0;
    for (auto _ : state) events += bench::play_weather_script();
    state.counters["events"] = benchmark::Counter(double(events) / double(state.iterations()));
    state.counters["events/s"] = benchmark::Counter(double(events), benchmark::Counter::kIsRate);
    std::filesystem::current_path(home);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PlaybackThroughput)->Unit(benchmark::kMillisecond)->Iterations(2);

// 6. Single primitives, small and large, in the library and in cairo.
DrawCall circle_call(int radius) {
    return {bench::CallKind::Circle, BLUE, 0, 0, radius, 0, 0, 0, 0, 0, {}};
}
DrawCall micro_call(int which) {
    switch (which) {
        case 0:
            return circle_call(3);
        case 1:
            return circle_call(200);
        case 2:
            return {bench::CallKind::Line, RED, -280, 240, 280, -240, 0, 0, 9, 0, {}};
        case 3:
            return {bench::CallKind::Triangle, GREEN, -297, -248, 297, -248, 0, 248, 0, 0, {}};
        // The weather's most frequent figures: blast fragments and battery letters.
        case 5:
            return {bench::CallKind::Triangle, RED, 10, 10, 15, 10, 10, 15, 0, 0, {}};
        case 6:
            return {bench::CallKind::Rectangle, RED, 10, 10, 15, 15, 0, 0, 0, 0, {}};
        case 7:
            return {bench::CallKind::Line, BLUE, -4, 5, 4, 5, 0, 0, 2, 0, {}};
        default:
            return {bench::CallKind::Text,
                    BLACK,
                    -285,
                    0,
                    0,
                    0,
                    0,
                    0,
                    0,
                    12,
                    "Click a weather type and a color, then click on the picture."};
    }
}
const char* const MICRO_NAMES[] = {"circle r3",        "circle r200",         "line width 9",
                                   "triangle 595x497", "text 12pt 60 chars",  "triangle 5x5",
                                   "rectangle 5x5",    "line width 2, 8 long"};

void BM_Primitive(benchmark::State& state) {
    const DrawCall call = micro_call(int(state.range(0)));
    state.SetLabel(MICRO_NAMES[state.range(0)]);
    bench::LibrarySession session;
    for (auto _ : state) bench::replay(call);
}
BENCHMARK(BM_Primitive)->DenseRange(0, 7);

void BM_CairoPrimitive(benchmark::State& state) {
    const DrawCall call = micro_call(int(state.range(0)));
    state.SetLabel(MICRO_NAMES[state.range(0)]);
    bench::CairoCanvas canvas;
    for (auto _ : state) {
        canvas.draw(call);
        canvas.flush();
    }
}
BENCHMARK(BM_CairoPrimitive)->DenseRange(0, 7);

// Keeps each benchmark's time per iteration for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) continue;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median")
                    seconds_[run.benchmark_name()] =
                        run.GetAdjustedRealTime() * seconds_per_unit(run);
                continue;
            }
            seconds_[run.benchmark_name()] = run.real_accumulated_time / double(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // The median of repeated runs when there is one, else the single run.
    double seconds(const std::string& name) const {
        auto found = seconds_.find(name + "_median");
        if (found == seconds_.end()) found = seconds_.find(name);
        return found == seconds_.end() ? 0.0 : found->second;
    }

  private:
    static double seconds_per_unit(const Run& run) {
        return 1.0 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
    std::map<std::string, double> seconds_;
};

void print_ratio(const char* what, double measured, double target, const char* unit) {
    if (measured <= 0) {
        std::printf("  %-38s not measured\n", what);
        return;
    }
    std::printf("  %-38s %7.2f %s (target <= %.1f)  %s\n", what, measured, unit, target,
                measured <= target ? "met" : "MISSED");
}

void print_ratios(const RatioReporter& r) {
    const double frame = r.seconds("BM_WeatherFrame");
    const double logging = r.seconds("BM_WeatherFrameLogging");
    const double floor = r.seconds("BM_PixelFloor");
    const double cairo = r.seconds("BM_CairoFrame");
    const RecordedFrame& recorded = recorded_frame();
    std::printf("\nWeather frame: %zu calls, %llu pixels written\n", recorded.calls.size(),
                static_cast<unsigned long long>(recorded.total_pixels));
    std::printf(
        "Logging: one line per call (%zu a frame); the text window draws the visible ones "
        "once a frame, in %d x %d strips\n",
        recorded.calls.size(), recorded.log_strip_width, recorded.log_strip_height);
    if (frame <= 0) return;
    print_ratio("frame / cairo frame", cairo > 0 ? frame / cairo : 0, 0.5, "x");
    print_ratio("frame / pixel floor", floor > 0 ? frame / floor : 0, 3.0, "x");
    print_ratio("frame with logging / frame", logging > 0 ? logging / frame : 0, 3.0, "x");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    recorded_frame();  // recorded before any timing starts
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    print_ratios(reporter);
    benchmark::Shutdown();
    // cairo's and fontconfig's caches, so that leak checkers see a clean exit.
    cairo_debug_reset_static_data();
    FcFini();
    return 0;
}
