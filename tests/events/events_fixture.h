// Shared set-up for the event, menu and script tests: a fresh windowing layer
// and library per test, run in a temporary working directory of its own
// (the script file lives in the working directory).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "kv390/harness.h"
#include "kv390/win.h"
#include "state.h"
#include "wait_event.h"

namespace kv390::test {

// Resets everything and changes into a fresh temporary directory; does not
// open the library.
class ClosedLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

  private:
    std::filesystem::path previous_directory_;
    std::filesystem::path directory_;
};

// As above, with the library open (halted, as KV390_begin leaves it).
class EventsTest : public ClosedLibraryTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    win::HWND graphics() const { return lib().graphics_window; }
    win::HWND text() const { return lib().text_window; }
};

Event wait_event();
// Works off every queued message without waiting for anything.
void pump_queued_messages();
// Clicks at a drawing point of the graphics window.
void click_at(int x, int y);
// Queues a click at a drawing point that arrives after `delay_ms` of the
// virtual clock: a wait that returns it had nothing else to hand out before.
void click_later(std::uint64_t delay_ms, int x, int y);
// The Run menu's check mark of a command.
bool is_checked(unsigned id);

void write_script(const std::string& content);
std::string read_script();
bool script_exists();

// How many saved log lines contain `text`.
int log_count(const std::string& text);

}  // namespace kv390::test
