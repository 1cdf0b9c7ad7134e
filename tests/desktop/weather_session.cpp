// Xvfb, xdotool and ImageMagick around the weather program, and the search
// for the headless run that matches a screenshot.
#include "weather_session.h"

#include <algorithm>
#include <sstream>

#include "kv390/harness.h"

namespace desktop {

namespace {

constexpr std::uint32_t SUN_YELLOW = 0xFFFF00;
constexpr int ORIGIN_X = 297, ORIGIN_Y = 248;  // client position of drawing point (0, 0)
constexpr int SUN_START_X = 250;               // the sun's drawing x before the first tick
constexpr int SUN_ROW = ORIGIN_Y - 215;        // client row of the sun's centre
constexpr int NO_SUN = 9999;

// The sun's drawing x from its yellow run on its centre row (right of the panel).
int sun_x_in(const win::Image& client) {
    int first = -1, last = -1;
    for (int x = 80; x < client.width; ++x) {
        if (client.at(x, SUN_ROW) != SUN_YELLOW) continue;
        if (first < 0) first = x;
        last = x;
    }
    return first < 0 ? NO_SUN : (first + last) / 2 - ORIGIN_X;
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

std::string ReferenceChoice::describe() const {
    std::string text = "closest headless picture: seed " + std::to_string(seed) + ", " +
                       std::to_string(ticks) + " ticks, then halted and clicked; it differs in " +
                       std::to_string(differing) + " pixels; ";
    if (shot_ticks < 0) return text + "the screenshot shows no sun, so its ticks are unknown";
    text += "picked because the screenshot's sun shows " + std::to_string(shot_ticks) + " ticks";
    if (reference_ticks != shot_ticks) {
        text += ", the headless picture's " + std::to_string(reference_ticks);
    }
    return text + " (seeds " + std::to_string(from) + " to " + std::to_string(to) +
           ", the seconds of the program's start, were tried)";
}

const ReferenceRun& ReferenceSearch::rendered(std::uint32_t seed, int ticks) {
    const auto key = std::make_pair(seed, ticks);
    for (const auto& [k, run] : cache_) {
        if (k == key) return run;
    }
    cache_.emplace_back(key, render_reference(seed, ticks, WEATHER_CLICKS));
    return cache_.back().second;
}

bool ReferenceSearch::find(const win::Image& shot, ReferenceChoice* choice) {
    const int sun_x = sun_x_in(shot);
    const int ticks = sun_x == NO_SUN ? -1 : SUN_START_X - sun_x;
    *choice = ReferenceChoice{};
    choice->shot_ticks = ticks;
    choice->from = from_;
    choice->to = to_;
    // The ticks the sun shows; one more and one fewer only to name the
    // closest picture when none matches.
    const int around = std::max(ticks, 0);
    for (int k : {around, around - 1, around + 1}) {
        if (k < 0) continue;
        for (std::time_t seed = from_; seed <= to_; ++seed) {
            const ReferenceRun& ref = rendered(std::uint32_t(seed), k);
            const int diff = differing_pixels(shot, ref.picture);
            if (choice->differing >= 0 && diff >= choice->differing) continue;
            const int ref_sun = sun_x_in(ref.picture);
            choice->seed = std::uint32_t(seed);
            choice->ticks = k;
            choice->reference_ticks = ref_sun == NO_SUN ? -1 : SUN_START_X - ref_sun;
            choice->differing = diff;
            choice->run = ref;
            if (diff == 0) return true;
        }
        if (ticks >= 0 && choice->differing >= 0 && k == around) {
            // A picture with the sun's ticks is the one to show when none matches.
            if (choice->reference_ticks == ticks) return false;
        }
    }
    return false;
}

bool shows_headless_picture(const std::string& display, const WindowPlace& graphics, int bar,
                            std::time_t from, std::time_t to, const std::string& name,
                            win::Image* content, ReferenceChoice* choice, int timeout_s) {
    const std::string dir = SCREENSHOT_DIR;
    ReferenceSearch search(from, to);
    bool same = false;
    *content = screenshot_showing(
        display, graphics, dir + "/" + name + "_screen.png",
        [&](const win::Image& shot) {
            same = search.find(client_part(shot, bar), choice);
            return same;
        },
        timeout_s);
    if (same) return true;
    kv390::harness::save_png(client_part(*content, bar), dir + "/" + name + ".png");
    kv390::harness::save_png(choice->run.picture, dir + "/" + name + "_headless.png");
    return false;
}

namespace {

// The script's lines without their line ends (the Windows build writes \r\n).
std::vector<std::string> script_lines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream text(read_file(path));
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string mouse_line(const win::Point& client) {
    return "KV390_MOUSE(" + std::to_string(client.x - ORIGIN_X) + ", " +
           std::to_string(ORIGIN_Y - client.y) + ");";
}

}  // namespace

std::string halt_record_and_click(const std::string& display, const WindowPlace& graphics, int bar,
                                  const std::string& dir, int timeout_s) {
    const std::string end_mark = "KV390_KBD(120);";
    const std::string script = dir + "/KV390.SCR";
    std::string clicks;
    for (const win::Point& p : WEATHER_CLICKS) {
        clicks += " mousemove --sync " + std::to_string(graphics.x + p.x) + " " +
                  std::to_string(graphics.y + bar + p.y) + " click 1";
    }
    // The pointer rests on the ground while the keys go to the focused window.
    const std::string ground =
        std::to_string(graphics.x + 300) + " " + std::to_string(graphics.y + bar + 400);
    run(on_display(display, "xdotool windowfocus --sync " + graphics.id + " mousemove --sync " +
                                ground + " key ctrl+h ctrl+r" + clicks + " key x"));
    std::vector<std::string> lines;
    const bool ended = wait_until(
        [&] {
            lines = script_lines(script);
            return std::find(lines.begin(), lines.end(), end_mark) != lines.end();
        },
        timeout_s);
    std::string text;
    for (const std::string& line : lines) text += "\n  " + line;
    if (!ended) {
        return "after " + std::to_string(timeout_s) + " s the script " + script +
               " has no end mark " + end_mark + "; it holds:" + text;
    }
    // At most one tick, the one the halt left pending, before the first click.
    std::vector<std::string> expected;
    for (const win::Point& p : WEATHER_CLICKS) expected.push_back(mouse_line(p));
    expected.push_back(end_mark);
    std::vector<std::string> taken = lines;
    if (!taken.empty() && (taken[0] == "KV390_PERIODIC(1);")) taken.erase(taken.begin());
    if (taken != expected) {
        return "the program did not take the clicks while halted, as its script " + script +
               " shows:" + text;
    }
    return "";
}

}  // namespace desktop
