#include "script_fault_fixture.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace kv390::test {

void ScriptFaultTest::SetUp() {
    harness::reset();
    reset_library_state();
    previous_directory_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "kv390-faults-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    std::filesystem::current_path(directory_);
    ASSERT_EQ(KV390_begin(nullptr, nullptr, "", win::SW_SHOWNORMAL), 1);
}

bool ScriptFaultTest::act_as_unprivileged_owner() {
    if (::geteuid() != 0) return true;
    constexpr uid_t NOBODY = 65534;
    if (::chown(directory_.c_str(), NOBODY, NOBODY) != 0) return false;
    if (::setegid(NOBODY) != 0) return false;
    if (::seteuid(NOBODY) != 0) {
        (void)::setegid(0);
        return false;
    }
    identity_changed_ = true;
    return true;
}

void ScriptFaultTest::TearDown() {
    if (identity_changed_) {
        // The real user is still root: the effective identity comes back.
        EXPECT_EQ(::seteuid(0), 0);
        EXPECT_EQ(::setegid(0), 0);
        identity_changed_ = false;
    }
    KV390_end();
    reset_library_state();
    harness::reset();
    std::filesystem::current_path(previous_directory_);
    std::error_code ignored;
    std::filesystem::permissions(directory_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(directory_, ignored);
}

Event wait_event() {
    Event event;
    event.kind = KV390_wait_event(&event.x, &event.y, &event.key);
    return event;
}

void click_at(int x, int y) {
    harness::click(lib().graphics_window, lib().origin_x + x, lib().origin_y - y);
}

namespace {

constexpr std::uint64_t LIVE_CLICK_DELAY_MS = 500;

// A live click that a script event made unnecessary is taken off the queue,
// so that it cannot end a later wait.
void discard_live_click() {
    harness::advance(LIVE_CLICK_DELAY_MS);
    while (pump_one_message()) {
    }
}

}  // namespace

Event wait_or_live_click() {
    harness::TimedInput input{};
    input.kind = harness::TimedInput::Kind::Click;
    input.at_ms = harness::now() + LIVE_CLICK_DELAY_MS;
    input.x = lib().origin_x + LIVE_CLICK.x;
    input.y = lib().origin_y - LIVE_CLICK.y;
    harness::schedule(input);
    const Event event = wait_event();
    if (!(event == LIVE_CLICK)) discard_live_click();
    return event;
}

void toggle_recording() {
    harness::press_ctrl_key('R');
    while (pump_one_message()) {
    }
}

void start_playback() {
    harness::press_ctrl_key('P');
}

Event play_one() {
    harness::press_ctrl_key('O');
    return wait_or_live_click();
}

int log_count(const std::string& text) {
    int count = 0;
    for (const std::string& line : lib().log.slots) {
        if (line.find(text) != std::string::npos) ++count;
    }
    return count;
}

std::string file_content(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void write_file(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

void expect_round_trip_works() {
    std::error_code ignored;
    std::filesystem::remove_all(SCRIPT_FILE_NAME, ignored);
    toggle_recording();
    ASSERT_TRUE(lib().events.recording_on);
    click_at(-7, 8);
    EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, -7, 8, 0}));
    harness::type_text("k");
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 'k'}));
    toggle_recording();
    EXPECT_EQ(file_content(SCRIPT_FILE_NAME), "KV390_MOUSE(-7, 8);\nKV390_KBD(107);\n");
    start_playback();
    EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, -7, 8, 0}));
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 'k'}));
    EXPECT_EQ(wait_or_live_click(), LIVE_CLICK);
    EXPECT_FALSE(lib().events.playback_on);
}

}  // namespace kv390::test
