// The library-wide state and the internal operations the library's source
// files share.  One instance for the process, created by KV390_begin.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "kv390.h"
#include "kv390/constants.h"
#include "kv390/win.h"

namespace kv390 {

constexpr int CANVAS_WIDTH = 601;
constexpr int CANVAS_HEIGHT = 540;
constexpr std::uintptr_t TIMER_ID = 2;
constexpr unsigned TIMER_PERIOD_MS = 100;
constexpr int LOG_RING_SIZE = 25;
constexpr int FORMAT_AREA_SIZE = 1024;  // one formatted message: at most 1023 characters
constexpr const char* SCRIPT_FILE_NAME = KV390_SCRIPT_FILE_NAME;

// Run menu command ids (the public values).
enum : unsigned {
    IDM_ANIMATE = KV390_IDM_ANIMATE,
    IDM_HALT = KV390_IDM_HALT,
    IDM_ADVANCE = KV390_IDM_ADVANCE,
    IDM_LOGGING = KV390_IDM_LOGGING,
    IDM_RECORD = KV390_IDM_RECORD,
    IDM_PLAYBACK = KV390_IDM_PLAYBACK,
    IDM_PLAY_ONE = KV390_IDM_PLAY_ONE,
    IDM_QUIT = KV390_IDM_QUIT,
    IDM_INFO = KV390_IDM_INFO,
};

// Event, run-control and script state.
struct EventState {
    int pending_kind = -1;
    int event_x = 0;
    int event_y = 0;
    char event_key = 0;
    bool timer_ticked = false;
    bool animate_on = false;
    bool step_requested = false;
    bool quit_requested = false;
    bool ctrl_held = false;
    bool recording_on = false;
    bool playback_on = false;
    bool play_one_requested = false;
    int periodic_count = 0;
    std::FILE* script_file = nullptr;
    bool script_writing = false;        // direction the open script_file was opened for
    bool write_error_reported = false;  // a failed write to the open script_file was logged
    bool frame_owed = false;     // a periodic event was handed out; its picture is not flushed yet
    bool quit_returned = false;  // the wait has handed out KV390_QUIT
};

// The extended input wait (KV390_wait_input) and the calls games use beside it.
constexpr int KEY_CODE_COUNT = 256;
enum MouseButton : int { LEFT_BUTTON = 0, RIGHT_BUTTON = 1, MIDDLE_BUTTON = 2, BUTTON_COUNT = 3 };
struct InputState {
    bool extended_wait = false;   // the running wait may hand out the extended kinds
    bool tracking_mouse = false;  // KV390_track_mouse: moves become events
    int event_code = 0;           // key code of the running wait's key down/up
    bool keys_held[KEY_CODE_COUNT] = {};
    bool buttons_pressed[BUTTON_COUNT] = {};  // pressed in the graphics window, not released
    unsigned tick_ms = TIMER_PERIOD_MS;
};

// Colours the program defined with KV390_define_color: numbers from
// KV390_COLOR_COUNT up, each named "#RRGGBB" in log lines.
constexpr int DEFINED_COLOR_ROOM = KV390_COLOR_LIMIT - KV390_COLOR_COUNT;
struct DefinedColors {
    int count = 0;
    win::COLORREF rgb[DEFINED_COLOR_ROOM] = {};
    char names[DEFINED_COLOR_ROOM][8] = {};
};

// The ring of the last 25 log lines; each slot owns its exact copy.
struct LogRing {
    std::string slots[LOG_RING_SIZE];
    int oldest = -1;
    int next = 0;
};

// Lines appended to the text window but not drawn yet: the window draws them
// in one go when its pixels are next read or shown.  Only the newest lines
// can still be seen, so only they keep their text (a ring of `kept` slots).
struct PendingLines {
    win::HWND window = nullptr;  // the text window the hook is set on
    std::size_t count = 0;       // appended since the last drawing
    std::vector<std::string> kept;
};

// The pens and brushes the renderer draws with, made on first use and kept
// with the canvas DC (the layer reset frees them with it): one brush per
// colour; per colour one pen for each of the widths 0 .. KEPT_PEN_WIDTHS - 1
// and one for the other width asked for last.
constexpr int KEPT_PEN_WIDTHS = 4;
struct CanvasObjects {
    win::HGDIOBJ pens[KV390_COLOR_LIMIT][KEPT_PEN_WIDTHS] = {};
    win::HGDIOBJ wide_pens[KV390_COLOR_LIMIT] = {};
    int wide_pen_widths[KV390_COLOR_LIMIT] = {};
    win::HGDIOBJ brushes[KV390_COLOR_LIMIT] = {};
};

struct LibraryState {
    win::HWND graphics_window = nullptr;
    win::HWND text_window = nullptr;
    win::HINSTANCE instance = nullptr;
    win::HDC window_dc = nullptr;
    win::HGDIOBJ canvas_bitmap = nullptr;
    win::HDC canvas_dc = nullptr;
    win::HGDIOBJ background_brush = nullptr;
    CanvasObjects canvas_objects;
    int origin_x = 0;
    int origin_y = 0;
    std::uint32_t canvas_changed = 1;
    bool has_drawn = false;  // a primitive or KV390_clear drew into the canvas
    EventState events;
    InputState input;
    DefinedColors colors;
    win::HMENU run_menu = nullptr;
    std::uint8_t logging_on = 1;
    LogRing log;
    PendingLines pending_lines;
    char* gets_buffer = nullptr;
    int gets_buffer_size = 0;  // bytes the dialog may write into gets_buffer
    bool told_drawing_before_begin = false;
};

// The one instance, a plain global reached without any check.  Where the
// standard library's strings are constexpr (g++) it is initialised at compile
// time; elsewhere (clang with libstdc++, emscripten's libc++) its constructor
// runs before main, so the library is not for use from static constructors.
extern LibraryState library_state;
inline LibraryState& lib() {
    return library_state;
}
// Back to the state of a fresh process (for tests that open the library more
// than once in one run; the windowing layer is reset separately).
void reset_library_state();

// ---- palette and renderer
extern const std::array<win::COLORREF, KV390_COLOR_COUNT> palette_rgb;
extern const char* const palette_names[KV390_COLOR_COUNT];

enum DrawKind : std::int32_t {
    DRAW_TRIANGLE = 0,
    DRAW_RECTANGLE = 1,
    DRAW_OVAL = 2,
    DRAW_LINE = 3,
    DRAW_PIXEL = 4,
    DRAW_TEXT = 5,
};
// One drawing command.  Text is drawn at (x1, y1) and travels as an owned
// string.
struct DrawCommand {
    std::int32_t kind = 0;
    std::int32_t color = 0;
    std::int32_t width = 0;
    std::int32_t x1 = 0, y1 = 0;
    std::int32_t x2 = 0, y2 = 0;
    std::int32_t x3 = 0, y3 = 0;
    std::int32_t point_size = 0;  // text only
    std::string text;
};
// A 64-bit value held within the int32 range: coordinates computed in 64
// bits reach the platform without overflow.
inline std::int32_t clamp_to_int(std::int64_t value) {
    return std::int32_t(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}
// Palette colours and the program's own: the number of valid colours, and a
// valid colour's value and log name.
inline int color_count() {
    return KV390_COLOR_COUNT + library_state.colors.count;
}
inline win::COLORREF color_rgb(int color) {
    return color < KV390_COLOR_COUNT ? palette_rgb[color]
                                     : library_state.colors.rgb[color - KV390_COLOR_COUNT];
}
inline const char* color_name(int color) {
    return color < KV390_COLOR_COUNT ? palette_names[color]
                                     : library_state.colors.names[color - KV390_COLOR_COUNT];
}
void render_command(const DrawCommand& command);
void erase_canvas();
// The kept solid pen of that palette colour and width, and the kept brush.
win::HGDIOBJ canvas_pen(int color, int width);
win::HGDIOBJ canvas_brush(int color);
// Drops the kept objects without deleting them (a new canvas starts afresh).
void forget_canvas_objects();

// ---- windows and canvas
void flush_canvas();
// Copies a changed canvas to the graphics window now, also after KV390_end
// (the unshown-drawing flush of the layer; the context is unused).
void show_canvas_now(void*);
win::LRESULT draw_window_proc(win::HWND hwnd, win::UINT message, win::WPARAM wparam,
                              win::LPARAM lparam);
win::LRESULT text_window_proc(win::HWND hwnd, win::UINT message, win::WPARAM wparam,
                              win::LPARAM lparam);

// ---- text window and log
// Shows one line at the bottom of the text window (removes one trailing
// newline in place).
void append_line(char* line);
// Saves a finished message in the ring and shows it (removes one trailing
// newline in place): what KV390_log does once the message is formatted.
void log_message(char* line);

// ---- event wait (graphics window input)
// One pass of message handling; returns whether it took a message.
bool pump_one_message();
void on_left_button_down(win::LPARAM lparam);
// The extended kinds: key down/up (after the Run menu's shortcuts had their
// say), button presses and releases, pointer moves.  They update the key and
// button state in every wait and become events only in KV390_wait_input.
void on_key_message(win::UINT message, win::WPARAM vk);
void on_button(win::UINT message, win::LPARAM lparam);
void on_mouse_move(win::LPARAM lparam);
// Keys and buttons count as released (the keyboard focus left the library).
void forget_held_input();
// The wait shared by KV390_wait_event and KV390_wait_input: returns the kind
// handed out, with the event in lib().events and lib().input.
int wait_for_event();
void on_char(win::WPARAM wparam);
void on_timer();
void on_destroy();

// ---- Run menu
void build_run_menu(win::HWND hwnd);
void run_command(unsigned id);
// WM_KEYDOWN / WM_KEYUP of the graphics window: Ctrl tracking and shortcuts.
// True when the key ran a shortcut.
bool on_key(win::UINT message, win::WPARAM vk);
// The library's windows lost the keyboard focus.
void on_focus_lost();

// ---- scripts
void record_event(int kind, int x, int y, char key, int code = 0);
void record_step(int kind, int x, int y, char key, int code = 0);
void stop_recording();
int play_next_event();
void stop_playback();
void close_script_file();
// The next number at or after text, converted as atoi would from at most its
// first 11 characters (0 when there is none); returns where the number ends.
const char* scan_script_number(const char* text, bool with_minus, int* value);
// Lines of the extended kinds (script_input.cpp).  Writing returns what
// fprintf returned, or 0 for a kind without a line.
int write_input_line(std::FILE* file, int kind, int x, int y, int code);
enum class InputLine { Unknown, Played, Skipped };
// Played: the line's event is pending.  Skipped: an extended line met by
// KV390_wait_event, which hands out none of them (its key state still follows).
InputLine interpret_input_line(EventState& events, const char* line);

// ---- beginners' mistakes, each told in one line on stderr
// A primitive or KV390_clear was called before KV390_begin (told once).
void tell_drawing_before_begin();
// Once per process, from KV390_begin: show_unshown_picture at exit.
void keep_unshown_picture_at_exit();
// On the desktop, when the program is ending with a picture drawn but never
// shown (and it was not told to quit): tells so, retitles the graphics
// window and shows the picture until the window is closed.  Headless runs
// just end.
constexpr const char* ENDED_PROGRAM_TITLE = "KV390 Graphics - the program has ended";
void show_unshown_picture();
// On the desktop, a quit request after the program was given KV390_QUIT,
// or a wait after that with the graphics window gone, ends the program
// (status 1): nothing else could close it.
void note_quit_request();
void note_wait_without_window();

// ---- line input
constexpr std::size_t GETS_TEMPLATE_SIZE = 292;
// The line-input dialog's template: zeroed, then the header, the edit box, the
// push button and the prompt (cut or padded with spaces to 79 characters).
void build_gets_template(const char* prompt, std::uint8_t out[GETS_TEMPLATE_SIZE]);

}  // namespace kv390
