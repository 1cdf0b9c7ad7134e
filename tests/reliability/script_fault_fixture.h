// Set-up for the script fault tests: the library open on the headless
// backend in a fresh temporary working directory (where KV390.SCR lives),
// and the user's ways of driving it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "kv390/harness.h"
#include "state.h"
#include "wait_event.h"

namespace kv390::test {

// The live click that ends a wait in which no script event came.
constexpr Event LIVE_CLICK{KV390_MOUSE, 33, 44, 0};

class ScriptFaultTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    const std::filesystem::path& directory() const { return directory_; }

    // File permissions do not stop root.  Run as root, this hands the working
    // directory to the unprivileged user "nobody" and takes on that user's
    // identity as the effective one until the test ends, so that permission
    // faults happen as they would for a user.  False when that is impossible.
    bool act_as_unprivileged_owner();

  private:
    std::filesystem::path previous_directory_;
    std::filesystem::path directory_;
    bool identity_changed_ = false;
};

// ---- the user
Event wait_event();
// A wait that also has a live click coming 500 ms later on the virtual
// clock: it returns the script's event if there is one (the click is then
// taken off the queue unused), else the click.
Event wait_or_live_click();
void click_at(int x, int y);
void toggle_recording();  // Ctrl+R, worked off at once
void start_playback();    // Ctrl+P, worked off by the next wait
Event play_one();         // Ctrl+O, then wait_or_live_click()

// ---- what the user sees
// How many of the saved log lines contain text.
int log_count(const std::string& text);
std::string file_content(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& content);

// Records a click and a key, stops and plays them back: the script
// machinery still works after whatever went before.
void expect_round_trip_works();

}  // namespace kv390::test
