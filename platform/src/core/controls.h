// The dialog window class and the controls a dialog template may name (static
// text, edit box, push button).  Internal to the windowing core.
//
// A control paints into its own client surface; the dialog's picture shows
// it (with its border) on top of the dialog's face, as for any child window.
#pragma once

#include <string>
#include <vector>

#include "core/window.h"

namespace win::controls {

constexpr const char* DIALOG_CLASS = "KV390.Dialog";
constexpr const char* BUTTON_CLASS = "KV390.Button";
constexpr const char* EDIT_CLASS = "KV390.Edit";
constexpr const char* STATIC_CLASS = "KV390.Static";

// Classic colours, as bitmap pixels.
constexpr std::uint32_t FACE = 0xC0C0C0;
constexpr std::uint32_t SHADOW = 0x808080;
constexpr std::uint32_t BORDER = 0x404040;
constexpr std::uint32_t HIGHLIGHT = 0xFFFFFF;
constexpr std::uint32_t TEXT = 0x000000;
constexpr std::uint32_t WINDOW = 0xFFFFFF;

// Per-control data, kept in the window's extension.
struct ControlData : WindowExtension {
    std::string text;
    bool pressed = false;  // push button: the button went down inside and is held
    int first_line = 0;    // edit box: first visible line
};

// Registers the dialog class and the control classes (again after a reset).
void ensure_classes(WNDPROC dialog_proc);
// The registered class for a template's class atom or name; null if unknown.
const char* class_for(std::uint16_t atom, const std::u16string& name);

// WM_CREATE of a control: attaches its data, the text taken from the title.
void attach_data(HWND control, LPARAM create_struct);
ControlData* data_of(HWND control);
std::string text_of(HWND control);
void set_text(HWND control, const std::string& text);
bool is_push_button(HWND control);
bool is_default_push_button(HWND control);

// Paints the dialog's face (the controls show on top of it).
void paint_face(HWND dialog);

// Word wrap for the system font: the lines of text (start and length) that fit
// into width pixels; an empty text is one empty line.
struct Line {
    std::size_t start = 0, length = 0;
};
std::vector<Line> wrap_lines(HDC hdc, const std::string& text, int width);
int line_height(HDC hdc);
int text_width(HDC hdc, const char* text, std::size_t length);

// Fills a rectangle of a DC's surface with a pixel colour.
void fill(HDC hdc, const Rect& rect, std::uint32_t pixel);
// Draws text with a transparent background in a pixel colour.
void draw_text(HDC hdc, int x, int y, const char* text, std::size_t length, std::uint32_t pixel);

LRESULT static_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT edit_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT button_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace win::controls
