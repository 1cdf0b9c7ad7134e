// KV390 windowing layer: a small, platform-neutral windowing and drawing API with
// classic desktop semantics (message queue, window procedures, timers, paint
// messages, menus, modal dialogs, device contexts and a software raster).
//
// One API, two backends chosen at link time: kv390_headless (virtual screen and
// clock, for tests and tools) and kv390_sdl (real desktop windows).  Everything
// a window shows is a 32-bit bitmap (0x00RRGGBB) that this layer owns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace win {

// ---------------------------------------------------------------- basic types
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT = std::uint32_t;
using COLORREF = std::uint32_t;  // R + 256 * G + 65536 * B
using HINSTANCE = void*;

struct Window;
struct Menu;
struct DeviceContext;
struct GdiObject;
using HWND = Window*;
using HMENU = Menu*;
using HDC = DeviceContext*;
using HGDIOBJ = GdiObject*;

using WNDPROC = LRESULT (*)(HWND, UINT message, WPARAM, LPARAM);
using DLGPROC = std::intptr_t (*)(HWND, UINT message, WPARAM, LPARAM);

struct Point {
    std::int32_t x = 0, y = 0;
};
struct Size {
    std::int32_t cx = 0, cy = 0;
};
struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

constexpr COLORREF rgb(unsigned r, unsigned g, unsigned b) {
    return (r & 255u) | ((g & 255u) << 8) | ((b & 255u) << 16);
}
// COLORREF <-> bitmap pixel (0x00RRGGBB).
constexpr std::uint32_t pixel_of(COLORREF c) {
    return ((c & 255u) << 16) | (c & 0xFF00u) | ((c >> 16) & 255u);
}
constexpr COLORREF colorref_of(std::uint32_t px) {
    return ((px >> 16) & 255u) | (px & 0xFF00u) | ((px & 255u) << 16);
}

constexpr WPARAM make_wparam(unsigned lo, unsigned hi) {
    return (lo & 0xFFFFu) | ((WPARAM(hi) & 0xFFFFu) << 16);
}
constexpr LPARAM make_lparam(unsigned lo, unsigned hi) {
    return LPARAM((lo & 0xFFFFu) | ((std::uint32_t(hi) & 0xFFFFu) << 16));
}
constexpr unsigned loword(std::uintptr_t v) {
    return unsigned(v & 0xFFFFu);
}
constexpr unsigned hiword(std::uintptr_t v) {
    return unsigned((v >> 16) & 0xFFFFu);
}

// ------------------------------------------------------------------ messages
enum : UINT {
    WM_NULL = 0,
    WM_CREATE = 1,
    WM_DESTROY = 2,
    WM_MOVE = 3,
    WM_SIZE = 5,
    WM_ACTIVATE = 6,
    WM_SETFOCUS = 7,
    WM_KILLFOCUS = 8,
    WM_ENABLE = 10,
    WM_PAINT = 15,
    WM_CLOSE = 16,
    WM_QUIT = 18,
    WM_ERASEBKGND = 20,
    WM_SHOWWINDOW = 24,
    WM_KEYDOWN = 256,
    WM_KEYUP = 257,
    WM_CHAR = 258,
    WM_SYSKEYDOWN = 260,
    WM_SYSKEYUP = 261,
    WM_INITDIALOG = 272,
    WM_COMMAND = 273,
    WM_SYSCOMMAND = 274,
    WM_TIMER = 275,
    WM_MOUSEMOVE = 512,
    WM_LBUTTONDOWN = 513,
    WM_LBUTTONUP = 514,
    WM_RBUTTONDOWN = 516,
    WM_RBUTTONUP = 517,
    WM_MBUTTONDOWN = 519,
    WM_MBUTTONUP = 520,
    WM_USER = 0x0400,
};

// WM_SIZE wparam
enum : WPARAM { SIZE_RESTORED = 0 };
// WM_SYSCOMMAND wparam
enum : WPARAM { SC_CLOSE = 0xF060 };
// Dialog command ids
enum : int { IDOK = 1, IDCANCEL = 2 };

// Virtual-key codes (letters are their upper-case ASCII codes, digits '0'..'9').
enum : int {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,  // Alt
    VK_CAPITAL = 20,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_F1 = 112,
    VK_F10 = 121,
    VK_F12 = 123,
    VK_OEM_1 = 0xBA,       // ;:
    VK_OEM_PLUS = 0xBB,    // =+
    VK_OEM_COMMA = 0xBC,   // ,<
    VK_OEM_MINUS = 0xBD,   // -_
    VK_OEM_PERIOD = 0xBE,  // .>
    VK_OEM_2 = 0xBF,       // /?
    VK_OEM_3 = 0xC0,       // `~
    VK_OEM_4 = 0xDB,       // [{
    VK_OEM_5 = 0xDC,       // \|
    VK_OEM_6 = 0xDD,       // ]}
    VK_OEM_7 = 0xDE,       // '"
};

struct Msg {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wparam = 0;
    LPARAM lparam = 0;
    std::uint64_t time = 0;  // milliseconds of the layer's clock
};

// ------------------------------------------------------------ window classes
enum : UINT { CS_VREDRAW = 1, CS_HREDRAW = 2 };

struct WindowClass {
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HGDIOBJ background = nullptr;  // brush the client area is erased with
    std::string menu_name;
    std::string name;
};
// Registers a class; false (and nothing changes) if the name is taken or empty.
bool register_class(const WindowClass& wc);
bool is_class_registered(const std::string& name);
// Forgets every class, window, timer, queued message and menu.  For tests and
// tools that open a fresh "process" several times in one run.
// Every DC and non-stock GDI object still live is freed too (DCs first).
void reset_layer();

// --------------------------------------------------------------- windows
enum : UINT {
    WS_OVERLAPPED = 0x00000000,
    WS_TABSTOP = 0x00010000,
    WS_MAXIMIZEBOX = 0x00010000,
    WS_GROUP = 0x00020000,
    WS_MINIMIZEBOX = 0x00020000,
    WS_THICKFRAME = 0x00040000,
    WS_SYSMENU = 0x00080000,
    WS_BORDER = 0x00800000,
    WS_DLGFRAME = 0x00400000,
    WS_CAPTION = 0x00C00000,
    WS_DISABLED = 0x08000000,
    WS_VISIBLE = 0x10000000,
    WS_CHILD = 0x40000000,
    WS_POPUP = 0x80000000,
    WS_OVERLAPPEDWINDOW = 0x00CF0000,
};

// Classic metrics of the frame around a window's client area.
enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXFIXEDFRAME = 7,
    SM_CYFIXEDFRAME = 8,
    SM_CYMENU = 15,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
};
constexpr int FIXED_FRAME = 3;   // WS_CAPTION window without sizing frame
constexpr int SIZING_FRAME = 4;  // WS_THICKFRAME
constexpr int CAPTION_HEIGHT = 18;
constexpr int MENU_BAR_HEIGHT = 19;

// What WM_CREATE's lparam points to: the creation arguments.
struct CreateStruct {
    void* create_param = nullptr;
    HINSTANCE instance = nullptr;
    HMENU menu = nullptr;
    HWND parent = nullptr;
    int cy = 0, cx = 0, y = 0, x = 0;
    UINT style = 0;
    const char* name = nullptr;
    const char* class_name = nullptr;
    UINT ex_style = 0;
};

// Sends WM_CREATE then WM_SIZE synchronously (WM_CREATE returning -1 destroys
// the window and gives nullptr).  A WS_VISIBLE style shows the window at once.
HWND create_window(UINT ex_style, const char* class_name, const char* title, UINT style, int x,
                   int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                   void* create_param);
// Sends WM_DESTROY; children first; kills the window's timers.
bool destroy_window(HWND hwnd);
bool is_window(HWND hwnd);

enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWNOACTIVATE = 4,
    SW_SHOW = 5
};
// Returns whether the window was visible before.  Showing a top-level window
// activates it and gives it the keyboard focus (except SW_SHOWNOACTIVATE).
// The first showing invalidates the whole client area.
bool show_window(HWND hwnd, int command);
bool is_window_visible(HWND hwnd);
bool enable_window(HWND hwnd, bool enable);  // returns whether it was disabled
bool is_window_enabled(HWND hwnd);

int get_system_metrics(int index);
bool get_client_rect(HWND hwnd, Rect* rect);  // always (0, 0, width, height)
bool get_window_rect(HWND hwnd, Rect* rect);  // outer rectangle in screen coordinates
// Moves/resizes (outer size); the client area follows and WM_SIZE is sent.
bool move_window(HWND hwnd, int x, int y, int width, int height, bool repaint);
std::string get_window_text(HWND hwnd);
bool set_window_text(HWND hwnd, const char* text);
HWND get_parent(HWND hwnd);
HWND find_window(const char* class_name, const char* title);  // either may be null
UINT get_window_style(HWND hwnd);
int get_dlg_ctrl_id(HWND hwnd);
// Top-level windows in creation order.
std::vector<HWND> top_level_windows();
std::vector<HWND> child_windows(HWND parent);

// Keyboard focus: WM_KILLFOCUS to the old window, WM_SETFOCUS to the new one.
HWND set_focus(HWND hwnd);
HWND get_focus();
HWND get_active_window();

// ------------------------------------------------------------ message queue
enum : UINT { PM_NOREMOVE = 0, PM_REMOVE = 1 };

bool post_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT send_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
void post_quit_message(int exit_code);
// Takes at most one message, never blocks.  Order: posted messages (in order),
// then the quit message, then WM_PAINT for a window with an invalid region, then
// WM_TIMER for a due timer (at most one pending per timer).  A null hwnd and
// min = max = 0 match everything.
bool peek_message(Msg* msg, HWND hwnd, UINT min, UINT max, UINT remove);
// Blocking variant: waits (sleeping) until a message arrives; false for WM_QUIT.
bool get_message(Msg* msg, HWND hwnd, UINT min, UINT max);
// Key-downs become WM_CHAR: letters (Shift/Caps aware), digits, punctuation
// with Shift, space, Enter 13, Backspace 8, Escape 27, Tab 9, Ctrl+letter 1..26.
// Returns true when a character was posted.
bool translate_message(const Msg* msg);
LRESULT dispatch_message(const Msg* msg);
// WM_CLOSE destroys the window; WM_SYSCOMMAND SC_CLOSE sends WM_CLOSE;
// everything else does nothing and returns 0.
LRESULT def_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
// Sleeps until a message may have arrived (input, a posted message, a due timer
// or a pending paint) or timeout_ms passed; returns at once if one is waiting.
// A negative timeout waits without a deadline.
void wait_for_activity(int timeout_ms);
// Milliseconds of the layer's clock (virtual in the headless backend).
std::uint64_t get_tick_count();
// Whether the windows are shown on a real desktop, where only a user closes
// them (false for the headless backend).
bool on_a_desktop();
// Whether a key is down, as the layer last saw it from input.
bool is_key_down(int vk);

// -------------------------------------------------------------------- timers
std::uintptr_t set_timer(HWND hwnd, std::uintptr_t id, UINT interval_ms);
bool kill_timer(HWND hwnd, std::uintptr_t id);

// --------------------------------------------------------------------- paint
struct PaintStruct {
    HDC hdc = nullptr;
    bool erase = false;
    Rect paint;
};
bool invalidate_rect(HWND hwnd, const Rect* rect, bool erase);  // null rect: all
bool validate_rect(HWND hwnd, const Rect* rect);
bool get_update_rect(HWND hwnd, Rect* rect);  // false when nothing is invalid
// Erases the invalid region with the class background (when asked), validates
// it and returns a DC clipped to it.
HDC begin_paint(HWND hwnd, PaintStruct* ps);
bool end_paint(HWND hwnd, const PaintStruct* ps);
// Sends WM_PAINT now if the window has an invalid region.
bool update_window(HWND hwnd);

// ---------------------------------------------------------- deferred drawing
// A window's owner may hold back drawing and do it in one go later.  Once the
// owner marks the window, the layer calls flush (once, clearing the mark)
// before the window's pixels are read or changed from outside: get_dc,
// begin_paint, window_image, a change of the client size (before the pixels
// are resized), destroy_window, and the backend before it presents.
using DeferredFlush = void (*)(HWND hwnd, void* context);
// Null flush: the window draws at once again (a pending mark is dropped).
void set_deferred_drawing(HWND hwnd, DeferredFlush flush, void* context);
void mark_deferred(HWND hwnd);
// Calls the flush now if the window is marked.
void flush_deferred(HWND hwnd);

// --------------------------------------------------------------------- menus
enum : UINT {
    MF_STRING = 0x0000,
    MF_UNCHECKED = 0x0000,
    MF_BYCOMMAND = 0x0000,
    MF_ENABLED = 0x0000,
    MF_GRAYED = 0x0001,
    MF_DISABLED = 0x0002,
    MF_CHECKED = 0x0008,
    MF_POPUP = 0x0010,
    MF_BYPOSITION = 0x0400,
    MF_SEPARATOR = 0x0800,
};
constexpr UINT MENU_ITEM_NOT_FOUND = 0xFFFFFFFFu;

struct MenuItem {
    UINT flags = 0;         // MF_* as appended, check state kept current
    std::uintptr_t id = 0;  // command id (0 for separators and popups)
    std::string text;       // "&" marks the mnemonic, "\t" starts the shortcut
    HMENU popup = nullptr;  // for MF_POPUP items
};

HMENU create_menu();        // a menu bar
HMENU create_popup_menu();  // a drop-down
// For MF_POPUP, id_or_popup is the popup's HMENU cast to an integer.
bool append_menu(HMENU menu, UINT flags, std::uintptr_t id_or_popup, const char* text);
bool set_menu(HWND hwnd, HMENU menu);  // attaching a bar shrinks the client area, sends WM_SIZE
HMENU get_menu(HWND hwnd);
bool draw_menu_bar(HWND hwnd);
// Returns the previous check state (MF_CHECKED or MF_UNCHECKED), or
// MENU_ITEM_NOT_FOUND.  flags: MF_CHECKED/MF_UNCHECKED | MF_BYCOMMAND/MF_BYPOSITION.
UINT check_menu_item(HMENU menu, UINT id_or_position, UINT flags);
UINT get_menu_state(HMENU menu, UINT id_or_position, UINT flags);
const std::vector<MenuItem>& menu_items(HMENU menu);
// What a user choosing an item does: for a selectable item (not a separator,
// popup, greyed or disabled) posts WM_COMMAND with its id to hwnd and returns
// true; otherwise nothing and false.
bool choose_menu_item(HWND hwnd, HMENU menu, int position);
// Visible menu text without "&" and the shortcut part; the mnemonic letter.
std::string menu_label(const std::string& text);
std::string menu_shortcut(const std::string& text);
char menu_mnemonic(const std::string& text);

// -------------------------------------------------------------------- dialogs
enum : UINT {
    DS_SETFONT = 0x40,
    DS_MODALFRAME = 0x80,
    ES_MULTILINE = 0x0004,
    ES_AUTOVSCROLL = 0x0040,
    ES_AUTOHSCROLL = 0x0080,
    ES_WANTRETURN = 0x1000,
    BS_PUSHBUTTON = 0x0000,
    BS_DEFPUSHBUTTON = 0x0001,
    SS_LEFT = 0x0000,
};
enum : std::uint16_t { ATOM_BUTTON = 0x0080, ATOM_EDIT = 0x0081, ATOM_STATIC = 0x0082 };

struct DialogItemTemplate {
    UINT style = 0, ex_style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint16_t id = 0;
    std::uint16_t class_atom = 0;  // 0 when the class is given by name
    std::u16string class_name;
    std::u16string text;
    std::uint16_t text_resource = 0;  // when the text is a 0xFFFF ordinal
    std::vector<std::uint8_t> creation_data;
};
struct DialogTemplate {
    UINT style = 0, ex_style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::u16string menu, class_name, title;
    std::uint16_t point_size = 0;  // DS_SETFONT only
    std::u16string font_name;
    std::vector<DialogItemTemplate> items;
};
// Parses an in-memory template (header, items with class atoms or names,
// strings, 4-byte alignment).  False for a truncated or malformed one.
bool parse_dialog_template(const void* data, std::size_t size, DialogTemplate* out);

// Runs a modal dialog; returns the value given to end_dialog, or -1 when the
// dialog cannot be created.  The owner is disabled while it runs; the modal
// loop dispatches every window's messages.  The template must be readable for
// template_size bytes.
std::intptr_t dialog_box_indirect_param(HINSTANCE instance, const void* dialog_template,
                                        std::size_t template_size, HWND owner, DLGPROC proc,
                                        LPARAM init_param);
bool end_dialog(HWND dialog, std::intptr_t result);
HWND get_dlg_item(HWND dialog, int id);
// Copies at most max_count - 1 characters and a terminator; returns the count.
UINT get_dlg_item_text(HWND dialog, int id, char* buffer, int max_count);
bool set_dlg_item_text(HWND dialog, int id, const char* text);
// Dialog base units of the system font (average width, height in pixels).
Size dialog_base_units();

// ------------------------------------------------------------- GDI objects
enum : int { PS_SOLID = 0, PS_NULL = 5 };
enum : int {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    OEM_FIXED_FONT = 10,
    ANSI_FIXED_FONT = 11,
    ANSI_VAR_FONT = 12,
    SYSTEM_FONT = 13,
    DEFAULT_GUI_FONT = 17,
};
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : UINT { SRCCOPY = 0x00CC0020 };

struct TextMetrics {
    std::int32_t tmHeight = 0;  // ascent + descent
    std::int32_t tmAscent = 0;
    std::int32_t tmDescent = 0;
    std::int32_t tmInternalLeading = 0;
    std::int32_t tmExternalLeading = 0;
    std::int32_t tmAveCharWidth = 0;
    std::int32_t tmMaxCharWidth = 0;
    std::int32_t tmWeight = 0;
    bool fixed_pitch = false;
};

HGDIOBJ create_pen(int style, int width, COLORREF color);
HGDIOBJ create_solid_brush(COLORREF color);
HGDIOBJ get_stock_object(int index);
// height < 0: character height of -height pixels; > 0: cell height; 0: default.
// Every face name maps to one of the embedded faces (a name containing "Mono",
// "Courier" or "Fixed", or FIXED_PITCH in pitch_family, picks the fixed face).
HGDIOBJ create_font(int height, int width, int escapement, int orientation, int weight, int italic,
                    int underline, int strike_out, int charset, int out_precision,
                    int clip_precision, int quality, int pitch_and_family, const char* face);
HGDIOBJ create_compatible_bitmap(HDC hdc, int width, int height);
// Returns the previously selected object of that kind (or null on error).
HGDIOBJ select_object(HDC hdc, HGDIOBJ object);
// False for stock objects and for objects still selected into a DC.
bool delete_object(HGDIOBJ object);

// ---------------------------------------------------------- device contexts
HDC get_dc(HWND hwnd);  // the window's client area
int release_dc(HWND hwnd, HDC hdc);
HDC create_compatible_dc(HDC hdc);  // a memory DC with a 1x1 default bitmap
bool delete_dc(HDC hdc);

// ----------------------------------------------------------------- drawing
// Coordinates are device pixels of the DC's surface; any int32 is safe and a
// call costs no more than its visible part.
bool rectangle(HDC hdc, int left, int top, int right, int bottom);
bool ellipse(HDC hdc, int left, int top, int right, int bottom);
bool polygon(HDC hdc, const Point* points, int count);
bool move_to(HDC hdc, int x, int y, Point* previous);
bool line_to(HDC hdc, int x, int y);
COLORREF set_pixel(HDC hdc, int x, int y, COLORREF color);  // the colour set, or 0xFFFFFFFF outside
COLORREF get_pixel(HDC hdc, int x, int y);                  // 0xFFFFFFFF outside
bool fill_rect(HDC hdc, const Rect* rect, HGDIOBJ brush);   // right/bottom excluded
bool bit_blt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, UINT rop);
// Moves the pixels of the scroll rectangle (whole surface if null) by dx, dy,
// clipped to clip (whole surface if null).  Uncovered pixels keep their old
// contents.  update, when given, receives the uncovered rectangle.
bool scroll_dc(HDC hdc, int dx, int dy, const Rect* scroll, const Rect* clip, Rect* update);

COLORREF set_text_color(HDC hdc, COLORREF color);
COLORREF get_text_color(HDC hdc);
COLORREF set_bk_color(HDC hdc, COLORREF color);
COLORREF get_bk_color(HDC hdc);
int set_bk_mode(HDC hdc, int mode);  // returns the previous mode
int get_bk_mode(HDC hdc);
bool get_text_extent_point(HDC hdc, const char* text, int count, Size* size);
bool get_text_metrics(HDC hdc, TextMetrics* metrics);
// Top-left corner of the text cell at (x, y); bytes drawn as Latin-1.
bool text_out(HDC hdc, int x, int y, const char* text, int count);

// ---------------------------------------------------------------- pixels
// A copy of a window's client pixels (0x00RRGGBB, row-major), or of a DC's
// surface.  Used by backends, the harness and tools.
struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};
Image window_image(HWND hwnd);
Image dc_image(HDC hdc);

// ----------------------------------------------------------- animation frames
// A program tells the layer that hwnd now shows the finished picture of one
// animation tick (the KV390 library calls it after the flush that follows the
// redraw for a periodic event).  Recorders such as the headless backend's
// render request take their frames here; otherwise it does nothing.
void note_frame(HWND hwnd);

// ------------------------------------------- message log and unshown drawing
// A program above the layer reports each line of its message log here (the
// KV390 library does it for every line it logs, newline included), so that a
// harness or a tool can read the log without reading the text window's
// pixels.  One observer; nullptr removes it.
using LogObserver = void (*)(const char* line, std::size_t length, void* context);
void set_log_observer(LogObserver observer, void* context);
void note_log_line(const char* line, std::size_t length);

// A program that draws off-screen and shows its drawing only now and then
// (the KV390 library shows its canvas in the event wait) registers how to
// show what is not shown yet; a tool calls show_unshown_drawing to take the
// newest picture at the end of a run.  One registration; nullptr removes it.
using UnshownDrawingFlush = void (*)(void* context);
void set_unshown_drawing_flush(UnshownDrawingFlush flush, void* context);
void show_unshown_drawing();

}  // namespace win
