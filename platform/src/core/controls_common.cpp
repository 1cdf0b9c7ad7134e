// What the controls share: class registration, their data and text, word
// wrap, and the dialog's face.
#include <algorithm>
#include <memory>
#include <string_view>

#include "core/controls.h"

namespace win::controls {
namespace {

void register_if_missing(const char* name, WNDPROC proc) {
    if (is_class_registered(name)) return;
    WindowClass wc;
    wc.proc = proc;
    wc.name = name;
    register_class(wc);
}

bool same_ascii_name(const std::u16string& name, const char* expected) {
    std::size_t i = 0;
    for (; expected[i] != 0; ++i) {
        if (i >= name.size()) return false;
        char16_t unit = name[i];
        if (unit >= u'A' && unit <= u'Z') unit = char16_t(unit - u'A' + u'a');
        if (unit != char16_t(expected[i])) return false;
    }
    return i == name.size();
}

bool is_dialog(const Window* w) {
    return w != nullptr && w->class_name == DIALOG_CLASS;
}

// The longest prefix of text[pos, end) that fits into width pixels, cut after
// the last space when a word would be split; at least one character.
std::size_t fitting_length(HDC hdc, const std::string& text, std::size_t pos, std::size_t end,
                           int width) {
    const char* p = text.data() + pos;
    const std::size_t available = end - pos;
    if (text_width(hdc, p, available) <= width) return available;
    std::size_t fits = 1, too_long = available;
    while (too_long - fits > 1) {
        const std::size_t mid = fits + (too_long - fits) / 2;
        (text_width(hdc, p, mid) <= width ? fits : too_long) = mid;
    }
    if (p[fits] != ' ') {
        const std::size_t space = std::string_view(p, fits).find_last_of(' ');
        if (space != std::string_view::npos) fits = space + 1;
    }
    while (fits < available && p[fits] == ' ') ++fits;
    return fits;
}

}  // namespace

void ensure_classes(WNDPROC dialog_proc) {
    register_if_missing(DIALOG_CLASS, dialog_proc);
    register_if_missing(BUTTON_CLASS, button_proc);
    register_if_missing(EDIT_CLASS, edit_proc);
    register_if_missing(STATIC_CLASS, static_proc);
}

const char* class_for(std::uint16_t atom, const std::u16string& name) {
    if (atom == ATOM_BUTTON || (atom == 0 && same_ascii_name(name, "button"))) return BUTTON_CLASS;
    if (atom == ATOM_EDIT || (atom == 0 && same_ascii_name(name, "edit"))) return EDIT_CLASS;
    if (atom == ATOM_STATIC || (atom == 0 && same_ascii_name(name, "static"))) return STATIC_CLASS;
    return nullptr;
}

void attach_data(HWND control, LPARAM create_struct) {
    Window* w = live_window(control);
    if (w == nullptr) return;
    auto data = std::make_unique<ControlData>();
    const auto* cs = reinterpret_cast<const CreateStruct*>(create_struct);
    if (cs != nullptr && cs->name != nullptr) data->text = cs->name;
    w->extension = std::move(data);
}

ControlData* data_of(HWND control) {
    Window* w = live_window(control);
    return w != nullptr ? dynamic_cast<ControlData*>(w->extension.get()) : nullptr;
}

std::string text_of(HWND control) {
    if (ControlData* data = data_of(control)) return data->text;
    return get_window_text(control);
}

void set_text(HWND control, const std::string& text) {
    ControlData* data = data_of(control);
    if (data == nullptr) {
        set_window_text(control, text.c_str());
        return;
    }
    data->text = text;
    invalidate_rect(control, nullptr, false);
}

bool is_push_button(HWND control) {
    Window* w = live_window(control);
    return w != nullptr && w->class_name == BUTTON_CLASS;
}

bool is_default_push_button(HWND control) {
    return is_push_button(control) && (get_window_style(control) & 0xFu) == BS_DEFPUSHBUTTON;
}

void paint_face(HWND dialog) {
    Window* d = live_window(dialog);
    if (!is_dialog(d)) return;
    std::fill(d->surface.pixels.begin(), d->surface.pixels.end(), FACE);
    d->surface.touch();
}

int line_height(HDC hdc) {
    TextMetrics tm;
    get_text_metrics(hdc, &tm);
    return std::max(1, tm.tmHeight);
}

int text_width(HDC hdc, const char* text, std::size_t length) {
    if (length == 0) return 0;
    Size size;
    get_text_extent_point(hdc, text, int(std::min<std::size_t>(length, 1u << 30)), &size);
    return size.cx;
}

std::vector<Line> wrap_lines(HDC hdc, const std::string& text, int width) {
    std::vector<Line> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::size_t pos = start;
        do {
            const std::size_t length = pos < end ? fitting_length(hdc, text, pos, end, width) : 0;
            lines.push_back(Line{pos, length});
            pos += length;
        } while (pos < end);
        if (end >= text.size()) break;
        start = end + 1;
    }
    return lines;
}

void fill(HDC hdc, const Rect& rect, std::uint32_t pixel) {
    HGDIOBJ brush = create_solid_brush(colorref_of(pixel));
    fill_rect(hdc, &rect, brush);
    delete_object(brush);
}

void draw_text(HDC hdc, int x, int y, const char* text, std::size_t length, std::uint32_t pixel) {
    if (length == 0) return;
    const int previous_mode = set_bk_mode(hdc, TRANSPARENT);
    const COLORREF previous_color = set_text_color(hdc, colorref_of(pixel));
    text_out(hdc, x, y, text, int(std::min<std::size_t>(length, 1u << 30)));
    set_text_color(hdc, previous_color);
    set_bk_mode(hdc, previous_mode);
}

}  // namespace win::controls
