// The push button: a raised face with its text centred; the default button
// has a thick black border.  A button-down and a button-up inside it send
// WM_COMMAND (its id, notification 0) to the dialog.
#include <algorithm>

#include "core/controls.h"

namespace win::controls {
namespace {

void draw_bevel(HDC hdc, Rect r, bool pressed) {
    const std::uint32_t top_left = pressed ? SHADOW : HIGHLIGHT;
    const std::uint32_t bottom_right = pressed ? HIGHLIGHT : SHADOW;
    fill(hdc, Rect{r.left, r.top, r.right, r.top + 1}, top_left);
    fill(hdc, Rect{r.left, r.top, r.left + 1, r.bottom}, top_left);
    fill(hdc, Rect{r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
    fill(hdc, Rect{r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

// A frame of the given thickness just inside r.
void draw_outline(HDC hdc, const Rect& r, int thickness, std::uint32_t pixel) {
    fill(hdc, Rect{r.left, r.top, r.right, r.top + thickness}, pixel);
    fill(hdc, Rect{r.left, r.bottom - thickness, r.right, r.bottom}, pixel);
    fill(hdc, Rect{r.left, r.top, r.left + thickness, r.bottom}, pixel);
    fill(hdc, Rect{r.right - thickness, r.top, r.right, r.bottom}, pixel);
}

void draw_centred_text(HDC hdc, const std::string& text, const Rect& r, int shift) {
    const int width = text_width(hdc, text.data(), text.size());
    const int x = r.left + (r.right - r.left - width) / 2 + shift;
    const int y = r.top + (r.bottom - r.top - line_height(hdc)) / 2 + shift;
    draw_text(hdc, x, y, text.data(), text.size(), TEXT);
}

void paint_button(HWND hwnd) {
    PaintStruct ps;
    HDC hdc = begin_paint(hwnd, &ps);
    ControlData* data = data_of(hwnd);
    if (hdc != nullptr && data != nullptr) {
        Rect r;
        get_client_rect(hwnd, &r);
        fill(hdc, r, FACE);
        const int outline = is_default_push_button(hwnd) ? 2 : 1;
        draw_outline(hdc, r, outline, TEXT);
        const Rect inner{r.left + outline, r.top + outline, r.right - outline, r.bottom - outline};
        draw_bevel(hdc, inner, data->pressed);
        draw_centred_text(hdc, data->text, r, data->pressed ? 1 : 0);
    }
    end_paint(hwnd, &ps);
}

bool inside_client(HWND hwnd, LPARAM lparam) {
    const int x = std::int16_t(loword(std::uintptr_t(lparam)));
    const int y = std::int16_t(hiword(std::uintptr_t(lparam)));
    Rect r;
    get_client_rect(hwnd, &r);
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void on_button_down(HWND hwnd, LPARAM lparam) {
    ControlData* data = data_of(hwnd);
    if (data == nullptr || !inside_client(hwnd, lparam)) return;
    data->pressed = true;
    set_focus(hwnd);
    invalidate_rect(hwnd, nullptr, false);
}

void on_button_up(HWND hwnd, LPARAM lparam) {
    ControlData* data = data_of(hwnd);
    if (data == nullptr || !data->pressed) return;
    data->pressed = false;
    invalidate_rect(hwnd, nullptr, false);
    if (!inside_client(hwnd, lparam)) return;
    send_message(get_parent(hwnd), WM_COMMAND, make_wparam(unsigned(get_dlg_ctrl_id(hwnd)), 0),
                 reinterpret_cast<LPARAM>(hwnd));
}

}  // namespace

LRESULT button_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            attach_data(hwnd, lparam);
            return 0;
        case WM_PAINT:
            paint_button(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            on_button_down(hwnd, lparam);
            return 0;
        case WM_LBUTTONUP:
            on_button_up(hwnd, lparam);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            invalidate_rect(hwnd, nullptr, false);
            return 0;
        default:
            return def_window_proc(hwnd, message, wparam, lparam);
    }
}

}  // namespace win::controls
