// Test helpers shared by every test folder: a fixture that starts each test
// with a fresh windowing layer and virtual clock, and a message pump.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "kv390/harness.h"
#include "kv390/win.h"

namespace kv390::test {

// Each test starts and ends with a fresh layer, harness and clock at 0.
class HarnessTest : public ::testing::Test {
  protected:
    void SetUp() override { harness::reset(); }
    void TearDown() override { harness::reset(); }
};

// Takes, translates and dispatches every waiting message (WM_QUIT is taken
// and counted but not dispatched).  Returns the number of messages taken;
// stops after limit messages so that a repainting loop cannot hang a test.
inline int pump_pending(int limit = 10000) {
    int taken = 0;
    win::Msg msg;
    while (taken < limit && win::peek_message(&msg, nullptr, 0, 0, win::PM_REMOVE)) {
        ++taken;
        if (msg.message == win::WM_QUIT) continue;
        win::translate_message(&msg);
        win::dispatch_message(&msg);
    }
    return taken;
}

// The repository's source directory (set by CTest), or "." when run by hand.
inline std::filesystem::path source_dir() {
    const char* dir = std::getenv("KV390_SOURCE_DIR");
    return dir != nullptr ? std::filesystem::path(dir) : std::filesystem::path(".");
}

// A fresh, empty temporary directory for one test.
inline std::filesystem::path fresh_temp_dir(const std::string& name) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("kv390-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace kv390::test
