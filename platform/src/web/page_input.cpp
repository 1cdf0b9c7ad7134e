// The page's input records to the core (core/input.h), positions in the
// window's picture, so that the drawn menu bar takes what belongs to it.  A
// key's DOM keyCode is its virtual-key code.  A key that types a character
// (without Ctrl or Alt) brings that character along; the core then does not
// translate the key-down again.  Enter, Backspace, Escape, Tab and
// Ctrl+letter bring none and are translated by the core, as on the desktop.
#include "web/page_input.h"

#include "core/input.h"
#include "web/page_windows.h"

namespace win::web {
namespace {

constexpr LPARAM KEY_REPEATED = LPARAM(1) << 30;
constexpr LPARAM KEY_RELEASED = LPARAM(1) << 31;

bool valid_key(int code) {
    return code > 0 && code < 256;
}

void key_down(const InputRecord& r) {
    bool alt = (r.modifiers & MOD_ALT) != 0;
    LPARAM flags = 1;
    if ((r.modifiers & MOD_REPEAT) != 0) flags |= KEY_REPEATED;
    bool types = r.character != 0 && !alt;
    if (valid_key(r.code)) {
        if (types) flags |= input::KEY_TEXT_SEPARATE;
        // A key the menu bar kept types nothing.
        if (!input::keyboard_key(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, r.code, flags)) return;
    }
    if (types) input::character(unsigned(r.character));
}

void key_up(const InputRecord& r) {
    if (!valid_key(r.code)) return;
    bool alt = (r.modifiers & MOD_ALT) != 0 || r.code == VK_MENU;
    input::keyboard_key(alt ? WM_SYSKEYUP : WM_KEYUP, r.code, 1 | KEY_REPEATED | KEY_RELEASED);
}

UINT button_message(int button, bool down) {
    if (button == 0) return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    if (button == 1) return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    if (button == 2) return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    return 0;
}

void button(const InputRecord& r, bool down) {
    PageWindow* p = page_window_by_id(r.window);
    UINT message = button_message(r.code, down);
    if (p == nullptr || message == 0) return;
    input::picture_button(p->hwnd, message, r.x, r.y);
}

void motion(const InputRecord& r) {
    PageWindow* p = page_window_by_id(r.window);
    if (p != nullptr) input::picture_motion(p->hwnd, r.x, r.y);
}

}  // namespace

void deliver_input(const InputRecord& record) {
    switch (record.kind) {
        case INPUT_KEY_DOWN:
            key_down(record);
            break;
        case INPUT_KEY_UP:
            key_up(record);
            break;
        case INPUT_BUTTON_DOWN:
            button(record, true);
            break;
        case INPUT_BUTTON_UP:
            button(record, false);
            break;
        case INPUT_MOTION:
            motion(record);
            break;
        case INPUT_FOCUS: {
            PageWindow* p = page_window_by_id(record.window);
            if (p != nullptr) input::activate(p->hwnd);
            break;
        }
        case INPUT_BLUR:
            input::activate(nullptr);
            break;
        default:
            break;
    }
}

}  // namespace win::web
