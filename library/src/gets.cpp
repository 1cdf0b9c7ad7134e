// The line-input dialog: a template built in memory at every call (a prompt,
// an edit box and an "Okay" button under the title "KV390_gets"), run
// modally with the graphics window as owner.
#include <algorithm>
#include <climits>
#include <cstring>

#include "state.h"

namespace kv390 {
namespace {

constexpr int GETS_ID_OKAY = 101;
constexpr int GETS_ID_EDIT = 102;
constexpr int GETS_ID_PROMPT = 103;
constexpr int GETS_BUFFER_SIZE = 256;  // KV390_gets: at most 255 characters
constexpr std::size_t PROMPT_UNITS = 79;

constexpr std::uint32_t DIALOG_STYLE =
    0x90C80080;  // popup, visible, caption, system menu, modal frame
constexpr std::uint32_t EDIT_STYLE =
    0x50810044;  // child, visible, border, tab stop, multi-line, auto scroll
constexpr std::uint32_t BUTTON_STYLE = 0x50010001;  // child, visible, tab stop, default push button
constexpr std::uint32_t PROMPT_STYLE = 0x50020000;  // child, visible, group, left-aligned text

void put16(std::uint8_t* out, std::size_t offset, std::uint16_t value) {
    out[offset] = std::uint8_t(value & 0xFF);
    out[offset + 1] = std::uint8_t(value >> 8);
}

void put32(std::uint8_t* out, std::size_t offset, std::uint32_t value) {
    put16(out, offset, std::uint16_t(value & 0xFFFF));
    put16(out, offset + 2, std::uint16_t(value >> 16));
}

// One 16-bit unit per 8-bit character; the terminator stays the zeroed unit.
void put_text(std::uint8_t* out, std::size_t offset, const char* text) {
    for (std::size_t i = 0; text[i] != '\0'; ++i) {
        put16(out, offset + 2 * i, static_cast<unsigned char>(text[i]));
    }
}

// Style, extended style (0), position and size, id, class atom.
struct ItemHeader {
    std::uint32_t style;
    std::uint16_t x, y, cx, cy, id, atom;
};

void put_item_header(std::uint8_t* out, std::size_t offset, const ItemHeader& item) {
    put32(out, offset, item.style);
    put16(out, offset + 8, item.x);
    put16(out, offset + 10, item.y);
    put16(out, offset + 12, item.cx);
    put16(out, offset + 14, item.cy);
    put16(out, offset + 16, item.id);
    put16(out, offset + 18, 0xFFFF);
    put16(out, offset + 20, item.atom);
}

void put_dialog_header(std::uint8_t* out) {
    put32(out, 0, DIALOG_STYLE);
    put16(out, 8, 3);
    put16(out, 10, 50);
    put16(out, 12, 50);
    put16(out, 14, 185);
    put16(out, 16, 92);
    put_text(out, 22, "KV390_gets");
}

// The first 79 characters of the prompt, filled up with spaces.
void put_prompt(std::uint8_t* out, std::size_t offset, const char* prompt) {
    std::size_t i = 0;
    for (; i < PROMPT_UNITS && prompt[i] != '\0'; ++i) {
        put16(out, offset + 2 * i, static_cast<unsigned char>(prompt[i]));
    }
    for (; i < PROMPT_UNITS; ++i) put16(out, offset + 2 * i, 0x0020);
}

std::intptr_t GetsDlgProc(win::HWND dialog, win::UINT message, win::WPARAM wparam,
                          win::LPARAM lparam) {
    switch (message) {
        case win::WM_INITDIALOG:
            lib().gets_buffer = reinterpret_cast<char*>(lparam);
            return 1;
        case win::WM_COMMAND:
            if (wparam != GETS_ID_OKAY) return 0;
            win::get_dlg_item_text(dialog, GETS_ID_EDIT, lib().gets_buffer, lib().gets_buffer_size);
            win::end_dialog(dialog, 1);
            return 1;
        default:
            return 0;
    }
}

}  // namespace

void build_gets_template(const char* prompt, std::uint8_t out[GETS_TEMPLATE_SIZE]) {
    std::memset(out, 0, GETS_TEMPLATE_SIZE);
    put_dialog_header(out);
    put_item_header(out, 44, ItemHeader{EDIT_STYLE, 8, 30, 167, 37, GETS_ID_EDIT, 0x0081});
    put_item_header(out, 72, ItemHeader{BUTTON_STYLE, 67, 74, 50, 14, GETS_ID_OKAY, 0x0080});
    put_text(out, 94, "Okay");
    put_item_header(out, 108, ItemHeader{PROMPT_STYLE, 8, 3, 167, 24, GETS_ID_PROMPT, 0x0082});
    put_prompt(out, 130, prompt);
}

}  // namespace kv390

using kv390::lib;

extern "C" int KV390_gets(const char* prompt, char* buffer) {
    return KV390_gets_n(prompt, buffer, kv390::GETS_BUFFER_SIZE);
}

extern "C" int KV390_gets_n(const char* prompt, char* buffer, std::size_t size) {
    lib().gets_buffer_size = int(std::min<std::size_t>(size, INT_MAX));
    std::uint8_t dialog_template[kv390::GETS_TEMPLATE_SIZE];
    kv390::build_gets_template(prompt, dialog_template);
    const std::intptr_t result = win::dialog_box_indirect_param(
        lib().instance, dialog_template, sizeof dialog_template, lib().graphics_window,
        kv390::GetsDlgProc, reinterpret_cast<win::LPARAM>(buffer));
    return result == -1 ? 0 : 1;
}
