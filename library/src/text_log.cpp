// The message log: a ring of the last 25 lines, each drawn at once on the
// bottom edge of the text window, and the text window's procedure.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "state.h"

namespace kv390 {
namespace {

constexpr int TEXT_LEFT_MARGIN = 5;

int next_slot(int index) {
    return index == LOG_RING_SIZE - 1 ? 0 : index + 1;
}

void save_line(const char* text) {
    LogRing& ring = lib().log;
    if (ring.oldest == ring.next) ring.oldest = next_slot(ring.oldest);
    ring.slots[ring.next] = text;
    if (ring.oldest < 0) ring.oldest = ring.next;
    ring.next = next_slot(ring.next);
}

bool text_window_exists() {
    win::HWND window = lib().text_window;
    return window != nullptr && win::is_window(window);
}

// Clears the bottom strip of h rows in the DC's background colour.
void clear_bottom_strip(win::HDC dc, const win::Rect& client, int line_height) {
    win::HGDIOBJ brush = win::create_solid_brush(win::get_bk_color(dc));
    win::HGDIOBJ previous_pen = win::select_object(dc, win::get_stock_object(win::NULL_PEN));
    win::HGDIOBJ previous_brush = win::select_object(dc, brush);
    win::rectangle(dc, client.left, client.bottom - line_height, client.right, client.bottom + 1);
    win::select_object(dc, previous_pen);
    win::select_object(dc, previous_brush);
    win::delete_object(brush);
}

void strip_trailing_newline(char* line) {
    const std::size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] == '\n') line[length - 1] = '\0';
}

// Replays the saved lines, oldest first, through the same append that drew
// them.  Each goes through a copy so the saved lines stay exact.
void repaint_text_window(win::HWND hwnd) {
    win::PaintStruct ps;
    win::begin_paint(hwnd, &ps);
    const LogRing& ring = lib().log;
    int index = ring.oldest;
    for (int count = 0; index >= 0 && !(index == ring.next && count != 0); ++count) {
        std::string copy = ring.slots[index];
        append_line(copy.data());
        index = next_slot(index);
    }
    win::end_paint(hwnd, &ps);
}

bool is_library_window(win::HWND hwnd) {
    return hwnd != nullptr && (hwnd == lib().graphics_window || hwnd == lib().text_window);
}

}  // namespace

void append_line(char* line) {
    if (!text_window_exists()) return;
    win::HWND window = lib().text_window;
    win::HDC dc = win::get_dc(window);
    win::HGDIOBJ previous_font =
        win::select_object(dc, win::get_stock_object(win::ANSI_FIXED_FONT));
    win::TextMetrics metrics;
    win::get_text_metrics(dc, &metrics);
    const int line_height = metrics.tmHeight + metrics.tmExternalLeading;

    win::scroll_dc(dc, 0, -line_height, nullptr, nullptr, nullptr);
    win::Rect client;
    win::get_client_rect(window, &client);
    clear_bottom_strip(dc, client, line_height);
    strip_trailing_newline(line);
    win::text_out(dc, client.left + TEXT_LEFT_MARGIN, client.bottom - line_height, line,
                  int(std::strlen(line)));

    win::select_object(dc, previous_font);
    win::release_dc(window, dc);
}

win::LRESULT text_window_proc(win::HWND hwnd, win::UINT message, win::WPARAM wparam,
                              win::LPARAM lparam) {
    switch (message) {
        case win::WM_PAINT:
            repaint_text_window(hwnd);
            return 0;
        case win::WM_KEYDOWN:
        case win::WM_KEYUP:
            // Shortcuts and keyboard events work while this window has the focus.
            win::post_message(lib().graphics_window, message, wparam, lparam);
            return 0;
        case win::WM_CLOSE:
            // The close box hides the window: KV390_set_logging(1) brings it back
            // with every saved line.
            win::show_window(hwnd, win::SW_HIDE);
            return 0;
        case win::WM_KILLFOCUS:
            if (!is_library_window(reinterpret_cast<win::HWND>(wparam))) on_focus_lost();
            return 0;
        default:
            return win::def_window_proc(hwnd, message, wparam, lparam);
    }
}

}  // namespace kv390

using kv390::lib;

int KV390_log(const char* format, ...) {
    char area[kv390::FORMAT_AREA_SIZE];
    std::va_list values;
    va_start(values, format);
    const int length = std::vsnprintf(area, sizeof area, format, values);
    va_end(values);
    if (length < 0) area[0] = '\0';
    kv390::save_line(area);
    kv390::append_line(area);
    return length;
}

int KV390_set_logging(int flag) {
    if (lib().graphics_window == nullptr) return 0;
    lib().logging_on = flag != 0 ? 1 : 0;
    if (lib().run_menu != nullptr)
        win::check_menu_item(lib().run_menu, kv390::IDM_LOGGING,
                             win::MF_BYCOMMAND | (flag != 0 ? win::MF_CHECKED : win::MF_UNCHECKED));
    if (flag != 0) KV390_show_text(1);
    return 1;
}

int KV390_show_text(int flag) {
    if (lib().text_window == nullptr) return 0;
    return win::show_window(lib().text_window, flag != 0 ? win::SW_SHOW : win::SW_HIDE) ? 1 : 0;
}
