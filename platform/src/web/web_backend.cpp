// The web backend: the page supplies the screen, the clock (the browser's
// monotonic milliseconds), input and canvases.  Sleeping hands control to the
// browser until input arrives or the deadline passes, so the program's
// blocking waits keep their form while the page stays responsive and idle.
#include <emscripten.h>

#include <algorithm>

#include "core/backend.h"
#include "core/window.h"
#include "web/page.h"
#include "web/page_input.h"
#include "web/page_windows.h"

namespace win::web {
namespace {

// A program that computes without waiting still lets the browser paint and
// take input this often.
constexpr double LONGEST_WITHOUT_YIELD_MS = 50;
constexpr int SCREEN_HEIGHT = 768;
constexpr int NARROWEST_SCREEN = 640, WIDEST_SCREEN = 1024;

int screen_width = 1024;

void take_page_input() {
    InputRecord record{};
    while (kv390_page_take_input(&record) != INPUT_NONE) deliver_input(record);
}

}  // namespace
}  // namespace win::web

namespace win::backend {

void init() {
    int width = kv390_page_open();
    web::screen_width = std::clamp(width, web::NARROWEST_SCREEN, web::WIDEST_SCREEN);
}

Size screen_size() {
    return Size{web::screen_width, web::SCREEN_HEIGHT};
}

std::uint64_t now_ms() {
    return std::uint64_t(emscripten_get_now());
}

void poll_input() {
    web::sync_page_windows();
    if (kv390_page_since_yield() > web::LONGEST_WITHOUT_YIELD_MS) kv390_page_wait(0);
    web::take_page_input();
}

void sleep_until(std::uint64_t deadline_ms, bool has_deadline) {
    web::sync_page_windows();
    web::present_page_windows();
    if (kv390_page_has_input() != 0) return;
    double timeout = -1;
    if (has_deadline) {
        std::uint64_t now = now_ms();
        timeout = deadline_ms > now ? double(deadline_ms - now) : 0;
    }
    kv390_page_wait(timeout);
}

void present() {
    flush_all_deferred();
    web::sync_page_windows();
    web::present_page_windows();
}

void window_event(HWND hwnd, WindowEvent event) {
    web::PageWindow* p = web::page_window_of(hwnd);
    if (p != nullptr && (event == WindowEvent::Shown || event == WindowEvent::MenuChanged)) {
        p->needs_present = true;
    }
    web::sync_page_windows();
}

}  // namespace win::backend
