// The headless harness: drive a program built on KV390 without a display.
//
// Link the program with the headless backend (kv390_headless) and use these
// calls to set the screen size, give input (at once or as a timed list), run
// the virtual clock and read or save any window's pixels.  Timers fire as fast
// as the CPU allows and every run is deterministic.
//
// A run always ends: once the timed input list is used up and its end time
// (or, without one, the idle limit after the last input) has passed on the
// virtual clock, the first top-level window receives the close box, as if the
// user had closed it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kv390/win.h"

namespace kv390::harness {

// ---- screen
// Screen size in pixels (default 1024 x 768).  Set it before creating windows.
void set_screen_size(int width, int height);

// ---- immediate input (queued now, in order, as a user would cause it)
// Left button down and up at a client position (activates the window first).
void click(win::HWND hwnd, int x, int y);
void mouse_down(win::HWND hwnd, int x, int y);
void mouse_up(win::HWND hwnd, int x, int y);
// Right and middle button down and up at a client position.
void right_click(win::HWND hwnd, int x, int y);
void middle_click(win::HWND hwnd, int x, int y);
// The pointer moves to a client position (a drag: mouse_down, moves, mouse_up).
void mouse_move(win::HWND hwnd, int x, int y);
// Keys go to the window with the keyboard focus; vk is a virtual-key code.
void key_down(int vk);
void key_up(int vk);
void press_key(int vk);  // down and up
// Presses and releases Ctrl around a letter key (vk 'A'..'Z').
void press_ctrl_key(int vk);
// Types text: each character as the key presses that produce it (Shift for
// upper case and shifted punctuation; '\n' is Enter, '\b' Backspace, '\t' Tab,
// 27 Escape).
void type_text(const std::string& text);
// Gives the keyboard focus to a window (nullptr: to another application).
void focus(win::HWND hwnd);
// The window's close box.
void close_window(win::HWND hwnd);
// Chooses the enabled item with this command id in the window's menu bar
// popups; false if there is none.
bool choose_menu_command(win::HWND hwnd, unsigned id);
// The items of the first popup of a window's menu bar whose label is title
// (without "&"); empty when there is none.
std::vector<win::MenuItem> menu_popup(win::HWND hwnd, const std::string& title);

// ---- clock
std::uint64_t now();
// Moves the virtual clock forward; timers become due, timed input is queued.
// The end of the run (see above) is checked here too.
void advance(std::uint64_t ms);
// Paces the virtual clock by the real one: a sleep really waits until its
// deadline (for measuring the CPU use of animated runs).  Off by default.
void set_real_time(bool on);
// How many times the layer asked the backend to show window pixels.
std::uint64_t present_count();

// ---- timed input
// One entry of a timed input list.  Times are virtual milliseconds from the
// start of the run.  The window is named by its title ("" = graphics window,
// i.e. the first top-level window).
struct TimedInput {
    enum class Kind {
        Click,
        KeyDown,
        KeyUp,
        Key,
        CtrlKey,
        Type,
        Menu,
        Close,
        End,
        RightClick,
        MiddleClick,
        Move,
        MouseDown,
        MouseUp,
    } kind;
    std::uint64_t at_ms = 0;
    std::string window;  // title
    int x = 0, y = 0;    // Click, RightClick, MiddleClick, Move, MouseDown/Up: client position
    int vk = 0;          // Key*, CtrlKey
    std::string text;    // Type
    unsigned id = 0;     // Menu: command id
};
void schedule(const TimedInput& input);
// Reads a timed list, one entry per line ('#' starts a comment):
//   at 1500 click 40 30            (client position, graphics window)
//   at 1500 click "KV390 Text" 5 5
//   at 1600 rclick 40 30 | mclick 40 30 | move 45 30 | mousedown 40 30 | mouseup 60 30
//   at 2000 key 65 | keydown 17 | keyup 17 | ctrl 76 | type hello world
//   at 2100 key left | keydown f1 | keyup shift   (key names, see below)
//   at 2500 menu 8 | close | end
// Positions may take a window title first, as for click.  Keys are
// virtual-key codes (1..255), a letter or digit, or a name: left right up
// down insert delete home end pageup pagedown f1..f12 shift ctrl alt enter
// escape space tab backspace.
// Returns false and an error text ("line 3: ...") for a bad line.
bool load_timed_input(const std::string& text, std::string* error);
// Idle limit: virtual milliseconds after the last timed input after which the
// run ends when no "end" entry is given (default 60000).
void set_idle_limit(std::uint64_t ms);
// True once the end of the run was reached and the close box was sent.
bool run_ended();

// ---- windows and pixels
win::HWND window_by_title(const std::string& title);
win::Image window_pixels(win::HWND hwnd);
// PNG files of 8-bit RGB pixels.
bool save_png(const win::Image& image, const std::string& path, std::string* error = nullptr);
bool load_png(const std::string& path, win::Image* image, std::string* error = nullptr);

// ---- the program's message log
// Every line the program logged (the KV390 library: every KV390_log, call
// descriptions and corrections alike) since the process started (the first
// line starts the layer) or the last reset, oldest first, each without its
// one trailing newline.
std::vector<std::string> log_history();
// The newest LOG_RING_LINES of them: the lines the library's log ring holds
// and its text window replays.
constexpr std::size_t LOG_RING_LINES = 25;
std::vector<std::string> log_ring();

// ---- observers
// Called after every WM_TIMER dispatched to hwnd (any window when null); the
// render tool takes animation frames here.  One observer; nullptr removes it.
using TickObserver = void (*)(win::HWND hwnd, void* context);
void on_timer_dispatched(TickObserver observer, void* context);

// Forgets all harness state and the layer's (windows, timers, queue) and
// restarts the virtual clock at 0.  For tests that open a program repeatedly.
void reset();

}  // namespace kv390::harness
