// The web backend: the page supplies the screen, the clock (the browser's
// monotonic milliseconds), input and canvases.  Sleeping hands control to the
// browser until input arrives or the deadline passes, so the program's
// blocking waits keep their form while the page stays responsive and idle.
#include <algorithm>

#include "core/backend.h"
#include "select/backends.h"
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

class WebBackend final : public backend::Backend {
  public:
    void init() override {
        screen_width_ = std::clamp(kv390_page_open(), NARROWEST_SCREEN, WIDEST_SCREEN);
    }
    Size screen_size() override { return Size{screen_width_, SCREEN_HEIGHT}; }
    std::uint64_t now_ms() override { return std::uint64_t(kv390_page_now()); }
    void poll_input() override;
    void sleep_until(std::uint64_t deadline_ms, bool has_deadline) override;
    void present() override;
    void window_event(HWND hwnd, backend::WindowEvent event) override;

  private:
    int screen_width_ = 1024;
};

void WebBackend::poll_input() {
    sync_page_windows();
    if (kv390_page_since_yield() > LONGEST_WITHOUT_YIELD_MS) kv390_page_wait(0);
    InputRecord record{};
    while (kv390_page_take_input(&record) != INPUT_NONE) deliver_input(record);
}

void WebBackend::sleep_until(std::uint64_t deadline_ms, bool has_deadline) {
    present();
    if (kv390_page_has_input() != 0) return;
    double timeout = -1;  // until input arrives
    if (has_deadline) {
        std::uint64_t now = now_ms();
        timeout = deadline_ms > now ? double(deadline_ms - now) : 0;
    }
    kv390_page_wait(timeout);
}

void WebBackend::present() {
    backend::flush_all_deferred();
    sync_page_windows();
    present_page_windows();
}

void WebBackend::window_event(HWND hwnd, backend::WindowEvent event) {
    if (event == backend::WindowEvent::Frame) return;
    PageWindow* p = page_window_of(hwnd);
    if (p != nullptr && event == backend::WindowEvent::Shown) p->needs_present = true;
    sync_page_windows();
}

}  // namespace

backend::Backend& backend() {
    static WebBackend instance;
    return instance;
}

}  // namespace win::web
