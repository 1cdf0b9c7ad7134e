// A window class whose procedure records every message it receives.
#pragma once

#include <string>
#include <vector>

#include "harness_test.h"
#include "kv390/win.h"

namespace kv390::test {

struct Received {
    win::HWND hwnd;
    win::UINT message;
    win::WPARAM wparam;
    win::LPARAM lparam;
};

// What the recording procedure saw, and how it answers WM_CREATE.
struct Recorder {
    std::vector<Received> messages;
    win::LRESULT create_result = 0;

    void clear() { messages.clear(); }
    std::vector<win::UINT> kinds() const;
    // The messages of one kind, in order.
    std::vector<Received> of(win::UINT message) const;
};

Recorder& recorder();

// Registers "Recorded" (CS_HREDRAW | CS_VREDRAW, white background) once per
// layer reset and creates a window of it.
win::HWND make_window(const char* title, win::UINT style, int width, int height, int x = 0,
                      int y = 0, win::HWND parent = nullptr);
constexpr const char* RECORDED_CLASS = "Recorded";

// A fresh layer and an empty recorder for every test.
class CoreTest : public HarnessTest {
  protected:
    void SetUp() override {
        HarnessTest::SetUp();
        recorder() = Recorder{};
    }
};

// The classic graphics window: caption and close box, no sizing frame.
constexpr win::UINT GRAPHICS_STYLE = win::WS_CAPTION | win::WS_SYSMENU;

}  // namespace kv390::test
