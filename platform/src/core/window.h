// The windowing core's records: windows, menus, timers, the message queue and
// the focus.  Internal to the windowing layer (core, backends, harness).
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/backend.h"
#include "kv390/win.h"
#include "menu_bar/menu_bar.h"
#include "raster/device_context.h"

namespace win {

// Data that a window kind keeps beside the common record (dialogs, controls).
// Owned by the window; freed with the record at reset_layer.
struct WindowExtension {
    virtual ~WindowExtension() = default;
};

// A window's last composed picture and what it was composed from: when
// nothing in the key changed, the picture is still right.
struct Composition {
    std::vector<std::uint64_t> key;
    backend::Picture picture;
    Surface scratch;  // the picture's pixels when layers overlap
};

// One window.  Records live until reset_layer; a destroyed window is only
// marked, so a stale HWND never dangles (is_window is false for it).
struct Window {
    std::string class_name;
    UINT class_style = 0;
    WNDPROC proc = nullptr;
    HGDIOBJ background = nullptr;  // class brush the client area is erased with
    HINSTANCE instance = nullptr;

    std::string title;
    UINT style = 0;  // WS_VISIBLE and WS_DISABLED follow the window's state
    UINT ex_style = 0;
    HWND parent = nullptr;       // WS_CHILD windows only
    HWND owner = nullptr;        // top-level windows created with a parent: the owner
    std::vector<HWND> children;  // creation order, destroyed ones included
    int id = 0;                  // child windows: control id

    Rect outer;  // screen coordinates
    int client_width = 0, client_height = 0;
    Surface surface;  // client pixels

    bool visible = false;
    bool enabled = true;
    bool ever_shown = false;
    HMENU menu = nullptr;       // menu bar of a top-level window
    HWND last_focus = nullptr;  // top-level: focus to restore on activation

    bool has_invalid = false;
    Rect invalid;  // client coordinates, bounding rectangle of what needs painting
    bool erase = false;

    bool destroying = false;
    bool destroyed = false;

    DeferredFlush deferred_flush = nullptr;  // set_deferred_drawing
    void* deferred_context = nullptr;
    bool deferred_marked = false;

    void* user = nullptr;
    std::unique_ptr<WindowExtension> extension;

    menu_bar::MenuBar menu_bar;  // top-level windows with a menu: the drawn bar
    Composition composition;     // the last picture composed of this window
};

struct Menu {
    bool bar = false;
    std::vector<MenuItem> items;
};

struct Timer {
    HWND hwnd = nullptr;
    std::uintptr_t id = 0;
    UINT interval = 0;
    std::uint64_t due = 0;
};

struct QueuedMessage {
    Msg msg;
    bool from_input = false;  // key messages from input update the key state when taken
};

struct Core {
    std::vector<WindowClass> classes;
    std::vector<std::unique_ptr<Window>> windows;  // creation order
    std::vector<std::unique_ptr<Menu>> menus;
    std::deque<QueuedMessage> posted;
    bool quit_pending = false;
    int quit_code = 0;
    std::vector<Timer> timers;
    std::uintptr_t next_free_timer_id = 0x10000;  // ids for timers without a window
    HWND focus = nullptr;
    HWND active = nullptr;
    std::vector<HWND> activation_order;  // most recently active first
    std::array<bool, 256> keys{};
    bool caps_lock = false;
    backend::DispatchObserver observer = nullptr;
    void* observer_context = nullptr;
    std::uint64_t last_present = 0;
};

// The one core record of the process.
Core& core();
// The backend in use, initialised on first use.
backend::Backend& ensure_backend();

// A live window record, or null for null, unknown and destroyed handles.
Window* live_window(HWND hwnd);
const WindowClass* find_class(const std::string& name);
Menu* live_menu(HMENU menu);
HWND top_level_of(HWND hwnd);
// Whether hwnd is target or one of its descendants.
bool is_self_or_descendant(HWND hwnd, HWND ancestor);
// Visible itself and every ancestor visible.
bool is_shown(HWND hwnd);
// Enabled itself and every ancestor enabled.
bool accepts_input(HWND hwnd);

// Frame thickness, caption and menu bar taken from an outer size.
struct FrameMetrics {
    int frame = 0, caption = 0, menu = 0;
};
FrameMetrics frame_metrics(UINT style, bool has_menu_bar);
// Screen position of the client area's top-left corner.
Point client_origin(const Window& w);
// Rows of a window's picture above its client area: the drawn menu bar strip
// of a top-level window with a menu bar, else 0.
int menu_strip_height(const Window& w);
// Recomputes the client size from the outer rect; resizes the surface (new
// pixels white), sends WM_SIZE and invalidates as the class asks when the size
// changed (notify: false during creation, before WM_CREATE).  Returns whether
// it changed.
bool update_client_size(HWND hwnd, bool notify = true);
// Sets the client size directly (the outer rect follows), as above.
bool set_client_size(HWND hwnd, int width, int height);

// Activation: the top-level window becomes active and takes the focus (its
// last focused child, if still there).  Null: focus leaves the layer.
void activate_window(HWND hwnd);
// After hwnd was hidden or destroyed: if it held the activation or the focus,
// hands them to the most recently active remaining top-level window.
void release_activation(HWND hwnd);

// Timers of a window that goes away.
void kill_window_timers(HWND hwnd);
// The earliest due time of any timer; false when there is none.
bool next_timer_due(std::uint64_t* due);
// Takes a due timer matching the filter into msg (removing it resets its due
// time when remove is set).
bool take_due_timer(Msg* msg, HWND filter, UINT min, UINT max, bool remove);
bool any_timer_due();

// Whether a message matches a peek filter.
bool matches_filter(HWND msg_hwnd, UINT message, HWND filter, UINT min, UINT max);
// Posted messages for a window that goes away are dropped.
void drop_posted_messages(HWND hwnd);
// Posts a message from input (key state follows it when it is taken).
void post_input_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

// Key state: updated when a key message from input is taken from the queue,
// so that translate_message sees Shift and Ctrl as they were at that key.
void apply_key_message(UINT message, WPARAM vk);

// Whether a WM_PAINT could be generated for any window.
bool any_paint_pending();

}  // namespace win
