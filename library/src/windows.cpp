// Opening and closing the library: window classes, the graphics and text
// windows, the off-screen canvas, the flush to the screen and the graphics
// window procedure.
#include "state.h"

namespace kv390 {
namespace {

constexpr const char* DRAW_CLASS = "DrawWndClass";
constexpr const char* TEXT_CLASS = "TextWndClass";

void register_window_class(const char* name, win::WNDPROC proc, win::HINSTANCE instance) {
    win::WindowClass wc;
    wc.style = win::CS_HREDRAW | win::CS_VREDRAW;
    wc.proc = proc;
    wc.instance = instance;
    wc.background = lib().background_brush;
    wc.menu_name = "generic";
    wc.name = name;
    win::register_class(wc);
}

void register_window_classes(win::HINSTANCE instance) {
    lib().background_brush = win::create_solid_brush(palette_rgb[WHITE]);
    register_window_class(DRAW_CLASS, draw_window_proc, instance);
    register_window_class(TEXT_CLASS, text_window_proc, instance);
}

void create_windows(win::HINSTANCE instance, int screen_width, int screen_height) {
    LibraryState& state = lib();
    state.graphics_window =
        win::create_window(0, DRAW_CLASS, "KV390 Graphics", win::WS_CAPTION | win::WS_SYSMENU, 0, 0,
                           CANVAS_WIDTH, CANVAS_HEIGHT, nullptr, nullptr, instance, nullptr);
    state.text_window = win::create_window(0, TEXT_CLASS, "KV390 Text", win::WS_OVERLAPPEDWINDOW, 0,
                                           (2 * screen_height) / 3 + 1, screen_width,
                                           screen_height / 3, nullptr, nullptr, instance, nullptr);
}

void create_canvas() {
    LibraryState& state = lib();
    state.window_dc = win::get_dc(state.graphics_window);
    state.canvas_bitmap =
        win::create_compatible_bitmap(state.window_dc, CANVAS_WIDTH, CANVAS_HEIGHT);
    state.canvas_dc = win::create_compatible_dc(state.window_dc);
    win::select_object(state.canvas_dc, state.canvas_bitmap);
    forget_canvas_objects();
}

void copy_canvas_to(win::HDC target) {
    win::bit_blt(target, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, lib().canvas_dc, 0, 0, win::SRCCOPY);
}

void compute_origin(win::HWND hwnd) {
    win::Rect client;
    win::get_client_rect(hwnd, &client);
    lib().origin_x = client.left + (client.right - client.left) / 2;
    lib().origin_y = client.top + (client.bottom - client.top) / 2;
}

// The held window DC is gone after KV390_end; a repaint then copies through
// the paint DC so the window still shows its picture.
void paint_graphics_window(win::HWND hwnd) {
    win::PaintStruct ps;
    win::HDC paint_dc = win::begin_paint(hwnd, &ps);
    win::HDC target = lib().window_dc != nullptr ? lib().window_dc : paint_dc;
    if (target != nullptr && lib().canvas_dc != nullptr) copy_canvas_to(target);
    win::end_paint(hwnd, &ps);
    lib().canvas_changed = 0;
}

bool is_library_window(win::HWND hwnd) {
    return hwnd != nullptr && (hwnd == lib().graphics_window || hwnd == lib().text_window);
}

// Focus moving between the two library windows is not a loss of focus.
void notice_focus_change(win::WPARAM new_focus) {
    if (!is_library_window(reinterpret_cast<win::HWND>(new_focus))) on_focus_lost();
}

}  // namespace

void flush_canvas() {
    LibraryState& state = lib();
    if (state.canvas_changed == 0) return;
    if (state.window_dc != nullptr) copy_canvas_to(state.window_dc);
    state.canvas_changed = 0;
}

// The canvas as the next wait would show it, for a tool that takes the
// picture at the end of a run (also after KV390_end released the window's DC).
void show_canvas_now(void*) {
    LibraryState& state = lib();
    if (state.canvas_changed == 0 || state.canvas_dc == nullptr ||
        !win::is_window(state.graphics_window))
        return;
    win::HDC dc = win::get_dc(state.graphics_window);
    copy_canvas_to(dc);
    win::release_dc(state.graphics_window, dc);
    state.canvas_changed = 0;
}

win::LRESULT draw_window_proc(win::HWND hwnd, win::UINT message, win::WPARAM wparam,
                              win::LPARAM lparam) {
    switch (message) {
        case win::WM_CREATE:
            build_run_menu(hwnd);
            return 0;
        case win::WM_SIZE:
            compute_origin(hwnd);
            return 0;
        case win::WM_PAINT:
            paint_graphics_window(hwnd);
            return 0;
        case win::WM_COMMAND:
            run_command(unsigned(wparam));
            return 0;
        case win::WM_KEYDOWN:
        case win::WM_KEYUP:
            on_key_message(message, wparam);
            return 0;
        case win::WM_SYSKEYDOWN:
        case win::WM_SYSKEYUP:
            on_key_message(message, wparam);
            return win::def_window_proc(hwnd, message, wparam, lparam);
        case win::WM_LBUTTONDOWN:
            on_left_button_down(lparam);
            on_button(message, lparam);
            return 0;
        case win::WM_LBUTTONUP:
        case win::WM_RBUTTONDOWN:
        case win::WM_RBUTTONUP:
        case win::WM_MBUTTONDOWN:
        case win::WM_MBUTTONUP:
            on_button(message, lparam);
            return 0;
        case win::WM_MOUSEMOVE:
            on_mouse_move(lparam);
            return 0;
        case win::WM_CHAR:
            on_char(wparam);
            return 0;
        case win::WM_TIMER:
            on_timer();
            return 0;
        case win::WM_DESTROY:
            on_destroy();
            return 0;
        case win::WM_KILLFOCUS:
            notice_focus_change(wparam);
            return 0;
        default:
            return win::def_window_proc(hwnd, message, wparam, lparam);
    }
}

}  // namespace kv390

using kv390::lib;

int KV390_begin(void* instance, void* previous_instance, const char* /*command_line*/,
                int show_mode) {
    if (previous_instance == nullptr) kv390::register_window_classes(instance);
    const int screen_width = win::get_system_metrics(win::SM_CXSCREEN);
    const int screen_height = win::get_system_metrics(win::SM_CYSCREEN);
    lib().events.animate_on = false;
    lib().events.step_requested = false;
    // A new graphics window: what the last one was given or showed is past.
    lib().events.quit_returned = false;
    lib().has_drawn = false;
    kv390::create_windows(instance, screen_width, screen_height);
    lib().instance = instance;
    kv390::create_canvas();
    win::show_window(lib().text_window, show_mode);
    win::show_window(lib().graphics_window, show_mode);
    win::set_timer(lib().graphics_window, kv390::TIMER_ID, lib().input.tick_ms);
    win::set_unshown_drawing_flush(kv390::show_canvas_now, nullptr);
    kv390::keep_unshown_picture_at_exit();
    return 1;
}

int KV390_end(void) {
    if (lib().window_dc != nullptr) win::release_dc(lib().graphics_window, lib().window_dc);
    lib().window_dc = nullptr;
    kv390::close_script_file();
    return 1;
}
