// Plays arbitrary bytes as the script file KV390.SCR: first as a continuous
// playback, then through a few Play One requests, every event taken with
// KV390_wait_event.  A live click is always scheduled a little later, so a
// wait whose playback ended returns instead of idling until the run's end.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "library_session.h"

namespace {

namespace harness = kv390::harness;

constexpr int PLAY_ONE_REQUESTS = 6;
// A periodic line may stand for two billion events; playback is cut here.
constexpr int PLAYBACK_WAITS = 300;
constexpr std::uint64_t LIVE_CLICK_DELAY_MS = 300;

void write_script(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(kv390::SCRIPT_FILE_NAME, "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

void schedule_live_click() {
    harness::TimedInput click{};
    click.kind = harness::TimedInput::Kind::Click;
    click.at_ms = harness::now() + LIVE_CLICK_DELAY_MS;
    click.x = 10;
    click.y = 10;
    harness::schedule(click);
}

// One wait after a menu command; false once the wait reports a quit.
bool wait_after(unsigned command) {
    if (command != 0) harness::choose_menu_command(kv390::lib().graphics_window, command);
    schedule_live_click();
    int x = 0, y = 0;
    char key = 0;
    return KV390_wait_event(&x, &y, &key) != KV390_QUIT;
}

void play(const std::uint8_t* data, std::size_t size) {
    write_script(data, size);
    kv390::fuzz::open_library();
    if (!wait_after(kv390::IDM_PLAYBACK)) return;
    for (int i = 0; i < PLAYBACK_WAITS && kv390::lib().events.playback_on; ++i) {
        if (!wait_after(0)) return;
    }
    // Stopping a running playback lets the script go, so the single requests
    // read it again from its first line.
    if (kv390::lib().events.playback_on && !wait_after(kv390::IDM_PLAYBACK)) return;
    for (int i = 0; i < PLAY_ONE_REQUESTS; ++i) {
        if (!wait_after(kv390::IDM_PLAY_ONE)) return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kv390::fuzz::PrivateDirectory directory;
    play(data, size);
    kv390::fuzz::close_library();
    return 0;
}
