// The edit box: multi-line, words wrapped at its right border, scrolled so
// that the caret's line stays visible.  Typing appends at the caret (the end
// of the text), Backspace removes the last character; there is no length
// limit.  The caret is a 1-pixel bar shown while the box has the focus.
#include <algorithm>

#include "core/controls.h"

namespace win::controls {
namespace {

constexpr int MARGIN = 2;  // pixels between the border and the text, left and right

int wrap_width(const Rect& client) {
    return std::max(1, client.right - 2 * MARGIN);
}

// Moves the first visible line so that the last line (the caret's) is shown.
void scroll_to_caret(ControlData& data, int line_count, int visible_lines) {
    const int caret_line = line_count - 1;
    if (caret_line < data.first_line) data.first_line = caret_line;
    if (caret_line >= data.first_line + visible_lines) {
        data.first_line = caret_line - visible_lines + 1;
    }
    data.first_line = std::max(data.first_line, 0);
}

void draw_caret(HDC hdc, const std::string& text, const Line& line, int y, int height,
                const Rect& client) {
    int x = MARGIN + text_width(hdc, text.data() + line.start, line.length);
    x = std::min(x, client.right - 1);
    fill(hdc, Rect{x, y, x + 1, y + height}, TEXT);
}

void paint_edit(HWND hwnd) {
    PaintStruct ps;
    HDC hdc = begin_paint(hwnd, &ps);
    ControlData* data = data_of(hwnd);
    if (hdc != nullptr && data != nullptr) {
        Rect client;
        get_client_rect(hwnd, &client);
        fill(hdc, client, WINDOW);
        const int height = line_height(hdc);
        const std::vector<Line> lines = wrap_lines(hdc, data->text, wrap_width(client));
        scroll_to_caret(*data, int(lines.size()), std::max(1, client.bottom / height));
        for (int i = data->first_line; i < int(lines.size()); ++i) {
            const int y = (i - data->first_line) * height;
            if (y >= client.bottom) break;
            const Line& line = lines[std::size_t(i)];
            draw_text(hdc, MARGIN, y, data->text.data() + line.start, line.length, TEXT);
            if (i + 1 == int(lines.size()) && get_focus() == hwnd) {
                draw_caret(hdc, data->text, line, y, height, client);
            }
        }
    }
    end_paint(hwnd, &ps);
}

// Printable Latin-1 characters are typed, Enter too when the box wants it;
// Backspace removes one.
void on_edit_char(HWND hwnd, WPARAM code) {
    ControlData* data = data_of(hwnd);
    if (data == nullptr) return;
    if (code == VK_BACK) {
        if (data->text.empty()) return;
        data->text.pop_back();
    } else if (code == VK_RETURN && (get_window_style(hwnd) & ES_WANTRETURN) != 0) {
        data->text.push_back('\n');
    } else if ((code >= 32 && code < 127) || (code >= 160 && code < 256)) {
        data->text.push_back(char(code));
    } else {
        return;
    }
    invalidate_rect(hwnd, nullptr, false);
}

}  // namespace

LRESULT edit_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            attach_data(hwnd, lparam);
            return 0;
        case WM_PAINT:
            paint_edit(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_CHAR:
            on_edit_char(hwnd, wparam);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            invalidate_rect(hwnd, nullptr, false);
            return 0;
        case WM_LBUTTONDOWN:
            set_focus(hwnd);
            return 0;
        default:
            return def_window_proc(hwnd, message, wparam, lparam);
    }
}

}  // namespace win::controls
