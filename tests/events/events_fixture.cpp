#include "events_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "harness_test.h"

namespace kv390::test {

void ClosedLibraryTest::SetUp() {
    kv390::harness::reset();
    kv390::reset_library_state();
    previous_directory_ = std::filesystem::current_path();
    directory_ = fresh_temp_dir("events");
    std::filesystem::current_path(directory_);
}

void ClosedLibraryTest::TearDown() {
    kv390::reset_library_state();  // closes a script file left open
    kv390::harness::reset();       // frees the canvas, DCs and class brush
    std::filesystem::current_path(previous_directory_);
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void EventsTest::SetUp() {
    ClosedLibraryTest::SetUp();
    ASSERT_EQ(KV390_begin(nullptr, nullptr, "", win::SW_SHOWNORMAL), 1);
}

void EventsTest::TearDown() {
    KV390_end();
    ClosedLibraryTest::TearDown();
}

Event wait_event() {
    Event event;
    event.kind = KV390_wait_event(&event.x, &event.y, &event.key);
    return event;
}

void pump_queued_messages() {
    while (pump_one_message()) {
    }
}

void click_at(int x, int y) {
    kv390::harness::click(lib().graphics_window, lib().origin_x + x, lib().origin_y - y);
}

void click_later(std::uint64_t delay_ms, int x, int y) {
    kv390::harness::TimedInput input{};
    input.kind = kv390::harness::TimedInput::Kind::Click;
    input.at_ms = kv390::harness::now() + delay_ms;
    input.x = lib().origin_x + x;
    input.y = lib().origin_y - y;
    kv390::harness::schedule(input);
}

bool is_checked(unsigned id) {
    return (win::get_menu_state(lib().run_menu, id, win::MF_BYCOMMAND) & win::MF_CHECKED) != 0;
}

// Both in text mode, as the library reads and writes the file: on Windows
// the file's lines end in CR LF and read back as LF.
void write_script(const std::string& content) {
    std::ofstream out(SCRIPT_FILE_NAME);
    out << content;
}

std::string read_script() {
    std::ifstream in(SCRIPT_FILE_NAME);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool script_exists() {
    return std::filesystem::exists(SCRIPT_FILE_NAME);
}

int log_count(const std::string& text) {
    int count = 0;
    for (const std::string& line : lib().log.slots) {
        if (line.find(text) != std::string::npos) ++count;
    }
    return count;
}

}  // namespace kv390::test
