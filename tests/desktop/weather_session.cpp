// Xvfb, xdotool and ImageMagick around the weather program, and the search
// for the headless run that matches a screenshot.
#include "weather_session.h"

#include <algorithm>

#include "kv390/harness.h"

namespace desktop {

namespace {

constexpr std::uint32_t SUN_YELLOW = 0xFFFF00;
constexpr int SUN_ROW = 248 - 215;  // client row of the sun's centre

// The sun's drawing x from its yellow run on its centre row (right of the panel).
int sun_x_in(const win::Image& client) {
    int first = -1, last = -1;
    for (int x = 80; x < client.width; ++x) {
        if (client.at(x, SUN_ROW) != SUN_YELLOW) continue;
        if (first < 0) first = x;
        last = x;
    }
    return first < 0 ? 9999 : (first + last) / 2 - 297;
}

}  // namespace

const std::vector<win::Point> WEATHER_CLICKS = {
    {297 - 258, 248 - 235}, {297 - 258, 248 - 50}, {297 - 100, 248 - 120}};

void WeatherSession::SetUp() {
    std::string why;
    for (const char* tool : {"xdotool", "import"}) {
        if (!program_available(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    if (!display.start(1024, 768, &why)) GTEST_SKIP() << "no virtual display: " << why;
}

win::Image client_part(const win::Image& content, int bar) {
    win::Image client;
    if (content.width < CLIENT_W || content.height < bar + CLIENT_H) return client;
    client.width = CLIENT_W;
    client.height = CLIENT_H;
    for (int y = 0; y < CLIENT_H; ++y) {
        for (int x = 0; x < CLIENT_W; ++x) client.pixels.push_back(content.at(x, y + bar));
    }
    return client;
}

int differing_pixels(const win::Image& a, const win::Image& b) {
    if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
    int n = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] != b.pixels[i] ? 1 : 0;
    return n;
}

bool matching_reference(const win::Image& shot, std::time_t from, std::time_t to,
                        ReferenceRun* found, int* best) {
    int ticks = 250 - sun_x_in(shot);
    *best = shot.width * shot.height;
    for (std::time_t seed = from; seed <= to; ++seed) {
        for (int k = std::max(ticks - 2, 0); k <= ticks + 3; ++k) {
            ReferenceRun ref =
                render_reference(std::uint32_t(seed), std::uint64_t(k) * 100 + 50, WEATHER_CLICKS);
            int diff = differing_pixels(shot, ref.picture);
            if (diff < *best) {
                *best = diff;
                *found = ref;
            }
            if (diff == 0) return true;
        }
    }
    return false;
}

bool same_as_headless(const win::Image& shot, std::time_t from, std::time_t to,
                      const std::string& name, ReferenceRun* found, int* best) {
    if (matching_reference(shot, from, to, found, best)) return true;
    const std::string dir = SCREENSHOT_DIR;
    kv390::harness::save_png(shot, dir + "/" + name + ".png");
    kv390::harness::save_png(found->picture, dir + "/" + name + "_headless.png");
    return false;
}

}  // namespace desktop
