// Static text: left-aligned, wrapped at the control's right border, on the
// dialog face.
#include "core/controls.h"

namespace win::controls {
namespace {

void paint_static(HWND hwnd) {
    PaintStruct ps;
    HDC hdc = begin_paint(hwnd, &ps);
    if (hdc != nullptr) {
        Rect client;
        get_client_rect(hwnd, &client);
        fill(hdc, client, FACE);
        const std::string text = text_of(hwnd);
        const int height = line_height(hdc);
        int y = 0;
        for (const Line& line : wrap_lines(hdc, text, client.right)) {
            if (y >= client.bottom) break;
            draw_text(hdc, 0, y, text.data() + line.start, line.length, TEXT);
            y += height;
        }
    }
    end_paint(hwnd, &ps);
}

}  // namespace

LRESULT static_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            attach_data(hwnd, lparam);
            return 0;
        case WM_PAINT:
            paint_static(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return def_window_proc(hwnd, message, wparam, lparam);
    }
}

}  // namespace win::controls
