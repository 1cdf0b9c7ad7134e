// The message log: a ring of the last 25 lines, each shown on the bottom edge
// of the text window, and the text window's procedure.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

// Selects the fixed-pitch font into the DC; returns the line height h and the
// previously selected font.
int select_log_font(win::HDC dc, win::HGDIOBJ* previous_font) {
    *previous_font = win::select_object(dc, win::get_stock_object(win::ANSI_FIXED_FONT));
    win::TextMetrics metrics;
    win::get_text_metrics(dc, &metrics);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

// Clears the strip of one line from its top row in the given brush.  With the
// null pen the rectangle fills up to, not including, its right and bottom
// edges, so both lie one pixel further out: the strip covers the full width,
// the right-most column included (a strip that stopped one column short
// would leave stale pixels of longer lines there), and h + 1 rows, as a
// single append clears at the bottom (where the extra row lies outside the
// window).  Here the extra row is the next line's first one, which that line
// clears again after this one.
void clear_strip(win::HDC dc, const win::Rect& client, int top, int line_height,
                 win::HGDIOBJ brush) {
    win::HGDIOBJ previous_pen = win::select_object(dc, win::get_stock_object(win::NULL_PEN));
    win::HGDIOBJ previous_brush = win::select_object(dc, brush);
    win::rectangle(dc, client.left, top, client.right + 1, top + line_height + 1);
    win::select_object(dc, previous_pen);
    win::select_object(dc, previous_brush);
}

void strip_trailing_newline(char* line) {
    const std::size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] == '\n') line[length - 1] = '\0';
}

// Draws the held-back lines as appending them one by one would have: one
// scroll by all of them, then each visible line, oldest first, cleared and
// written at its final place.  A line further up than the kept ones would
// lie wholly above the top, and the kept ones then cover every row, so the
// scroll never needs to be longer than the ring.
void draw_pending_lines(win::HWND hwnd, void*) {
    PendingLines& pending = lib().pending_lines;
    const std::size_t count = pending.count;
    pending.count = 0;
    if (hwnd != pending.window || count == 0 || pending.kept.empty()) return;

    win::HDC dc = win::get_dc(hwnd);
    win::HGDIOBJ previous_font = nullptr;
    const int line_height = select_log_font(dc, &previous_font);
    win::Rect client;
    win::get_client_rect(hwnd, &client);
    const std::size_t shown = std::min(count, pending.kept.size());
    win::scroll_dc(dc, 0, -int(shown) * line_height, nullptr, nullptr, nullptr);
    win::HGDIOBJ brush = win::create_solid_brush(win::get_bk_color(dc));
    for (std::size_t i = 0; i < shown; ++i) {
        const int top = client.bottom - int(shown - i) * line_height;
        if (top + line_height <= client.top) continue;
        const std::string& line = pending.kept[(count - shown + i) % pending.kept.size()];
        clear_strip(dc, client, top, line_height, brush);
        win::text_out(dc, client.left + TEXT_LEFT_MARGIN, top, line.data(), int(line.size()));
    }
    win::delete_object(brush);
    win::select_object(dc, previous_font);
    win::release_dc(hwnd, dc);
}

// Room for the lines that can still be seen when drawing comes: as many as
// fit in the client height, plus one.  Asked at the first line held back,
// while nothing is pending (so get_dc draws nothing).
void start_pending_batch(win::HWND window) {
    win::HDC dc = win::get_dc(window);
    win::HGDIOBJ previous_font = nullptr;
    const int line_height = std::max(select_log_font(dc, &previous_font), 1);
    win::select_object(dc, previous_font);
    win::release_dc(window, dc);
    win::Rect client;
    win::get_client_rect(window, &client);
    const int height = std::max(client.bottom - client.top, 0);
    const std::size_t lines = std::size_t(height / line_height + (height % line_height != 0) + 1);
    PendingLines& pending = lib().pending_lines;
    pending.kept.resize(lines);
}

void hold_back_line(win::HWND window, const char* line) {
    PendingLines& pending = lib().pending_lines;
    if (pending.window != window) {
        win::set_deferred_drawing(window, draw_pending_lines, nullptr);
        pending.window = window;
        pending.count = 0;
    }
    if (pending.count == 0) start_pending_batch(window);
    pending.kept[pending.count % pending.kept.size()].assign(line);
    ++pending.count;
    win::mark_deferred(window);
}

// Draws what is held back, then replays the saved lines, oldest first,
// through the same append that showed them.  Each goes through a copy so the
// saved lines stay exact.
void repaint_text_window(win::HWND hwnd) {
    win::flush_deferred(hwnd);
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

// The line is held back and drawn, with every line after it, the next time
// the window's pixels are read or shown: the picture is the same as drawing
// each line at once (a scroll by h, a cleared bottom strip, the text).
void log_message(char* line) {
    save_line(line);
    win::note_log_line(line, std::strlen(line));
    append_line(line);
}

void append_line(char* line) {
    if (!text_window_exists()) return;
    strip_trailing_newline(line);
    hold_back_line(lib().text_window, line);
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
    kv390::log_message(area);
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
