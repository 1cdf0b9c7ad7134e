// The extended input wait: key presses and releases with key codes, every
// mouse button, pointer moves, and the key state games poll.
#include "state.h"

namespace kv390 {
namespace {

// Client positions of releases and moves are read as signed halves: a drag
// that leaves the window reports positions beyond its edges.
int signed_half(unsigned half) {
    return half >= 0x8000u ? int(half) - 0x10000 : int(half);
}

void set_position(win::LPARAM lparam) {
    LibraryState& state = lib();
    const int column = signed_half(win::loword(std::uintptr_t(lparam)));
    const int row = signed_half(win::hiword(std::uintptr_t(lparam)));
    state.events.event_x = column - state.origin_x;
    state.events.event_y = state.origin_y - row;
}

// The event becomes pending only while KV390_wait_input runs, so
// KV390_wait_event keeps handing out exactly its four kinds.
bool extended_wait() {
    return lib().input.extended_wait;
}

void deliver_key(int kind, int code) {
    if (!extended_wait()) return;
    lib().events.pending_kind = kind;
    lib().input.event_code = code;
}

struct ButtonMessage {
    win::UINT message;
    MouseButton button;
    bool down;
    int kind;  // the event; 0 for the left press, which is KV390_MOUSE already
};
constexpr ButtonMessage BUTTON_MESSAGES[] = {
    {win::WM_LBUTTONDOWN, LEFT_BUTTON, true, 0},
    {win::WM_LBUTTONUP, LEFT_BUTTON, false, KV390_MOUSE_UP},
    {win::WM_RBUTTONDOWN, RIGHT_BUTTON, true, KV390_RIGHT_DOWN},
    {win::WM_RBUTTONUP, RIGHT_BUTTON, false, KV390_RIGHT_UP},
    {win::WM_MBUTTONDOWN, MIDDLE_BUTTON, true, KV390_MIDDLE_DOWN},
    {win::WM_MBUTTONUP, MIDDLE_BUTTON, false, KV390_MIDDLE_UP},
};

}  // namespace

void on_key_message(win::UINT message, win::WPARAM vk) {
    const bool plain = message == win::WM_KEYDOWN || message == win::WM_KEYUP;
    if (plain && on_key(message, vk)) return;  // a Run menu shortcut, not a key for the program
    if (vk >= win::WPARAM(KEY_CODE_COUNT)) return;
    bool& held = lib().input.keys_held[vk];
    if (message == win::WM_KEYDOWN || message == win::WM_SYSKEYDOWN) {
        held = true;
        deliver_key(KV390_KEY_PRESS, int(vk));
    } else if (held) {  // a release whose press the program never saw is not handed out
        held = false;
        deliver_key(KV390_KEY_RELEASE, int(vk));
    }
}

void on_button(win::UINT message, win::LPARAM lparam) {
    for (const ButtonMessage& entry : BUTTON_MESSAGES) {
        if (entry.message != message) continue;
        bool& pressed = lib().input.buttons_pressed[entry.button];
        if (!entry.down && !pressed) return;  // released after a press elsewhere
        pressed = entry.down;
        if (entry.kind == 0 || !extended_wait()) return;
        set_position(lparam);
        lib().events.pending_kind = entry.kind;
        return;
    }
}

void on_mouse_move(win::LPARAM lparam) {
    if (!extended_wait() || !lib().input.tracking_mouse) return;
    set_position(lparam);
    lib().events.pending_kind = KV390_MOUSE_MOVE;
}

void forget_held_input() {
    LibraryState& state = lib();
    for (bool& held : state.input.keys_held) held = false;
    for (bool& pressed : state.input.buttons_pressed) pressed = false;
}

}  // namespace kv390

using kv390::lib;

extern "C" int KV390_wait_input(KV390_input* in) {
    lib().input.extended_wait = true;
    const int kind = kv390::wait_for_event();
    lib().input.extended_wait = false;
    if (in != nullptr) {
        const kv390::EventState& events = lib().events;
        *in = KV390_input{kind, events.event_x, events.event_y, events.event_key,
                          lib().input.event_code};
    }
    return kind;
}

extern "C" int KV390_track_mouse(int flag) {
    lib().input.tracking_mouse = flag != 0;
    return 1;
}

extern "C" int KV390_key_held(int code) {
    if (code < 0 || code >= kv390::KEY_CODE_COUNT) return 0;
    return lib().input.keys_held[code] ? 1 : 0;
}
