// SDL keys to virtual-key codes, and text input to Latin-1 characters.
#include "sdl/key_map.h"

#include <cstdint>

#include "kv390/win.h"

namespace win::sdl {
namespace {

struct KeyPair {
    SDL_Keycode key;
    int vk;
};

// Keys whose code is not derived arithmetically from their SDL keycode.
constexpr KeyPair NAMED_KEYS[] = {
    {SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, VK_TAB},
    {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},
    {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},
    {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},
    {SDLK_SEMICOLON, VK_OEM_1},
    {SDLK_EQUALS, VK_OEM_PLUS},
    {SDLK_COMMA, VK_OEM_COMMA},
    {SDLK_MINUS, VK_OEM_MINUS},
    {SDLK_PERIOD, VK_OEM_PERIOD},
    {SDLK_SLASH, VK_OEM_2},
    {SDLK_BACKQUOTE, VK_OEM_3},
    {SDLK_LEFTBRACKET, VK_OEM_4},
    {SDLK_BACKSLASH, VK_OEM_5},
    {SDLK_RIGHTBRACKET, VK_OEM_6},
    {SDLK_QUOTE, VK_OEM_7},
    {SDLK_KP_0, VK_NUMPAD0},
};

constexpr SDL_Keycode KEYPAD_DIGITS[] = {SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4, SDLK_KP_5,
                                         SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};

bool is_letter_or_digit(int vk) {
    return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
}

bool is_punctuation(int vk) {
    return (vk >= VK_OEM_1 && vk <= VK_OEM_3) || (vk >= VK_OEM_4 && vk <= VK_OEM_7);
}

bool is_keypad_digit(int vk) {
    return vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9;
}

// Length of the UTF-8 sequence a lead byte starts, 0 for a byte that cannot lead.
int sequence_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

int virtual_key_of(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return int('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return int('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + int(key - SDLK_F1);
    for (int i = 0; i < 9; ++i) {
        if (key == KEYPAD_DIGITS[i]) return VK_NUMPAD0 + 1 + i;
    }
    for (const KeyPair& pair : NAMED_KEYS) {
        if (pair.key == key) return pair.vk;
    }
    return 0;
}

bool key_delivers_text(int vk, bool ctrl_held) {
    if (ctrl_held) return false;
    return vk == VK_SPACE || is_letter_or_digit(vk) || is_punctuation(vk) || is_keypad_digit(vk);
}

std::vector<unsigned> latin1_characters(const char* utf8) {
    std::vector<unsigned> out;
    if (utf8 == nullptr) return out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p != 0) {
        int length = sequence_length(*p);
        if (length == 0) {
            ++p;
            continue;
        }
        std::uint32_t code = length == 1 ? *p : (*p & (0x7Fu >> length));
        int taken = 1;
        while (taken < length && is_continuation(p[taken])) {
            code = (code << 6) | (p[taken] & 0x3Fu);
            ++taken;
        }
        p += taken;
        // Three- and four-byte sequences never hold a Latin-1 character.
        if (taken == length && length <= 2 && code <= 0xFF) out.push_back(code);
    }
    return out;
}

}  // namespace win::sdl
