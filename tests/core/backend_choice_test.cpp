// A backend chosen at run time: installed before the layer's first use, it
// replaces the library's built-in one for the clock, the screen, window
// events and presentation, and presents the core's composed pictures.
// Its own program: the layer must not have been used before.
#include <gtest/gtest.h>

#include <vector>

#include "core/backend.h"
#include "kv390/win.h"

namespace {

using namespace win;

class RecordingBackend final : public backend::Backend {
  public:
    void init() override { ++inits; }
    Size screen_size() override { return Size{640, 480}; }
    std::uint64_t now_ms() override { return clock; }
    void poll_input() override {}
    void sleep_until(std::uint64_t deadline_ms, bool has_deadline) override {
        if (has_deadline && deadline_ms > clock) clock = deadline_ms;
    }
    // Shows what a desktop would: each visible top-level window's picture.
    void present() override {
        backend::flush_all_deferred();
        for (const backend::TopLevel& w : backend::top_levels()) {
            if (!w.visible) continue;
            const backend::Picture& p = backend::compose(w.hwnd);
            shown.push_back(Shown{w.hwnd, p.width, p.height, p.rows.empty() ? 0 : p.rows[12][12]});
        }
    }
    void window_event(HWND hwnd, backend::WindowEvent event) override {
        events.push_back(Event{hwnd, event});
    }

    struct Event {
        HWND hwnd;
        backend::WindowEvent event;
        bool operator==(const Event&) const = default;
    };
    struct Shown {
        HWND hwnd;
        int width, height;
        std::uint32_t pixel_12_12;
    };
    int inits = 0;
    std::uint64_t clock = 1000;
    std::vector<Event> events;
    std::vector<Shown> shown;
};

LRESULT plain_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return def_window_proc(hwnd, message, wparam, lparam);
}

TEST(BackendChoice, AnInstalledBackendServesTheWholeRun) {
    static RecordingBackend chosen;
    ASSERT_TRUE(backend::install(chosen));
    EXPECT_EQ(get_system_metrics(SM_CXSCREEN), 640);
    EXPECT_EQ(get_tick_count(), 1000u);
    EXPECT_EQ(chosen.inits, 1);

    WindowClass wc;
    wc.proc = plain_proc;
    wc.background = get_stock_object(WHITE_BRUSH);
    wc.name = "Plain";
    register_class(wc);
    HWND top = create_window(0, "Plain", "Top", WS_CAPTION | WS_VISIBLE, 0, 0, 106, 74, nullptr,
                             nullptr, nullptr, nullptr);
    HWND child = create_window(0, "Plain", "Child", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    using Event = RecordingBackend::Event;
    using backend::WindowEvent;
    std::vector<Event> expected{{top, WindowEvent::Created},
                                {top, WindowEvent::Shown},
                                {child, WindowEvent::Created},
                                {child, WindowEvent::Shown}};
    EXPECT_EQ(chosen.events, expected);

    Msg msg;
    while (peek_message(&msg, nullptr, 0, 0, PM_REMOVE)) dispatch_message(&msg);
    HDC dc = get_dc(child);
    HGDIOBJ red = create_solid_brush(rgb(255, 0, 0));
    Rect all{0, 0, 20, 20};
    fill_rect(dc, &all, red);
    delete_object(red);
    release_dc(child, dc);

    // Idle waiting presents through the chosen backend, then sleeps on its clock.
    chosen.shown.clear();
    wait_for_activity(250);
    ASSERT_EQ(chosen.shown.size(), 1u);
    EXPECT_EQ(chosen.shown[0].hwnd, top);
    EXPECT_EQ(chosen.shown[0].width, 100);
    EXPECT_EQ(chosen.shown[0].height, 50);
    EXPECT_EQ(chosen.shown[0].pixel_12_12, 0xFF0000u) << "the child, composed by the core";
    EXPECT_EQ(get_tick_count(), 1250u);

    static RecordingBackend late;
    EXPECT_FALSE(backend::install(late)) << "the layer already runs on another backend";
    EXPECT_TRUE(backend::install(chosen));
    reset_layer();
}

}  // namespace
