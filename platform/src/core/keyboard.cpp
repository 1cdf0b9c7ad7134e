// Key state and the translation of key-downs into characters (US layout).
#include "core/input.h"
#include "core/window.h"

namespace win {

void apply_key_message(UINT message, WPARAM vk) {
    if (vk >= 256) return;
    Core& c = core();
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        if (vk == VK_CAPITAL && !c.keys[vk]) c.caps_lock = !c.caps_lock;
        c.keys[vk] = true;
    } else if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        c.keys[vk] = false;
    }
}

bool caps_lock_on() {
    return core().caps_lock;
}

bool is_key_down(int vk) {
    return vk >= 0 && vk < 256 && core().keys[std::size_t(vk)];
}

struct PunctuationKey {
    int vk;
    char plain, shifted;
};
constexpr PunctuationKey PUNCTUATION[] = {
    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},
    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
};
constexpr char SHIFTED_DIGITS[] = ")!@#$%^&*(";

// The character a key makes, or -1 for none.
static int character_of(int vk, bool shift, bool ctrl, bool caps) {
    switch (vk) {
        case VK_RETURN:
            return 13;
        case VK_BACK:
            return 8;
        case VK_ESCAPE:
            return 27;
        case VK_TAB:
            return 9;
        default:
            break;
    }
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return vk - 'A' + 1;
        return shift != caps ? vk : vk - 'A' + 'a';
    }
    if (ctrl) return -1;
    if (vk == VK_SPACE) return ' ';
    if (vk >= '0' && vk <= '9') return shift ? SHIFTED_DIGITS[vk - '0'] : vk;
    for (const PunctuationKey& key : PUNCTUATION) {
        if (key.vk == vk) return shift ? key.shifted : key.plain;
    }
    return -1;
}

bool translate_message(const Msg* msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN) return false;
    if (msg->lparam & input::KEY_TEXT_SEPARATE) return false;
    if (live_window(msg->hwnd) == nullptr) return false;
    int vk = int(msg->wparam);
    int code = character_of(vk, is_key_down(VK_SHIFT), is_key_down(VK_CONTROL), caps_lock_on());
    if (code < 0) return false;
    // The character comes right after its key-down, ahead of anything queued since.
    Msg ch{msg->hwnd, WM_CHAR, WPARAM(code), msg->lparam, msg->time};
    core().posted.push_front(QueuedMessage{ch, false});
    return true;
}

}  // namespace win
