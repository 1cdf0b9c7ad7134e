// The contract between the windowing core and a backend.  A backend supplies
// the screen, a clock, native input, a way to sleep until something may have
// happened, and a way to show pictures; the core composes each top-level
// window into one picture and takes input through core/input.h.  Together
// with core/input.h this is all a backend may include of the core.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kv390/win.h"

namespace win::backend {

enum class WindowEvent {
    Created,
    Destroyed,
    Shown,
    Hidden,
    Moved,
    Retitled,
    MenuChanged,
    Enabled,
    Frame
};

// One backend: the core calls exactly one instance for the whole run.
class Backend {
  public:
    virtual ~Backend() = default;
    // Called once, before the first window is created or the clock is read.
    virtual void init() = 0;
    virtual Size screen_size() = 0;
    virtual std::uint64_t now_ms() = 0;
    // Feeds pending native input to the core (core/input.h), never blocks.
    virtual void poll_input() = 0;
    // Sleeps until native input may be waiting or the clock reaches
    // deadline_ms (no deadline when has_deadline is false).  A virtual clock
    // may advance instead of sleeping.
    virtual void sleep_until(std::uint64_t deadline_ms, bool has_deadline) = 0;
    // Shows every top-level window whose picture changed since it was shown.
    virtual void present() = 0;
    // A window was created, destroyed, changed, or drew an animation frame.
    virtual void window_event(HWND hwnd, WindowEvent event) = 0;
    // Whether a user sees the windows on a real desktop (win::on_a_desktop).
    virtual bool on_a_desktop() { return false; }
};

// Chooses the backend; only before the layer's first use (false after it).
bool install(Backend& backend);
// The library's own choice, taken when nothing was installed.  Defined once
// per library, by the file that puts its backends together.
Backend& built_in();

// ---- What the core offers a backend

// A top-level window as a desktop shows it.
struct TopLevel {
    HWND hwnd = nullptr;
    std::string title;
    Rect outer;    // screen rectangle, frame included
    Size content;  // what a desktop window shows: menu bar strip plus client area
    bool visible = false;
    bool resizable = false;  // has a sizing frame
    bool captioned = false;  // has a caption (and so a title bar on the desktop)
};
// The live top-level windows, in creation order.
std::vector<TopLevel> top_levels();

// A window's pixels, composed once: for a top-level window with a menu bar
// the bar strip (rows above client_top), then the client area with its
// visible child windows and dialog controls on top, and the open drop-down
// over both.  Each row holds width pixels (0x00RRGGBB).  Rows point into the
// layer's own storage and stay valid until the layer is next called.
struct Picture {
    int width = 0, height = 0;
    int client_top = 0;
    std::vector<const std::uint32_t*> rows;
    std::uint64_t version = 0;  // changes whenever any pixel may have changed
};
// The picture of a live window (an empty one otherwise); deferred drawing is
// flushed first.
const Picture& compose(HWND hwnd);
// The client pixels of a window's own record, also after the window was
// destroyed (the record stays until reset_layer); children are not included.
Image record_image(HWND hwnd);

// Flushes every window marked for deferred drawing (before presenting).
void flush_all_deferred();
// Creates the layer's records now, so that an exit handler registered after
// this call still finds them.
void keep_records_for_exit();

// A harness observes every dispatched message (one observer; null removes).
using DispatchObserver = void (*)(const Msg& msg, void* context);
void set_dispatch_observer(DispatchObserver observer, void* context);

}  // namespace win::backend
