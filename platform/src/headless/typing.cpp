// Typing text as the key presses of a US keyboard.
#include <cstring>

#include "core/input.h"
#include "kv390/harness.h"

namespace kv390::harness {

namespace {

struct KeyStroke {
    int vk = 0;
    bool shift = false;
};

constexpr char PLAIN_PUNCTUATION[] = ";=,-./`[\\]'";
constexpr char SHIFTED_PUNCTUATION[] = ":+<_>?~{|}\"";
constexpr int PUNCTUATION_KEYS[] = {win::VK_OEM_1,     win::VK_OEM_PLUS,   win::VK_OEM_COMMA,
                                    win::VK_OEM_MINUS, win::VK_OEM_PERIOD, win::VK_OEM_2,
                                    win::VK_OEM_3,     win::VK_OEM_4,      win::VK_OEM_5,
                                    win::VK_OEM_6,     win::VK_OEM_7};
constexpr char SHIFTED_DIGITS[] = ")!@#$%^&*(";

// The key (and Shift) that types c; false for a character no key makes.
bool stroke_for(unsigned char c, KeyStroke* k) {
    bool caps = win::caps_lock_on();
    if (c >= 'a' && c <= 'z')
        *k = {c - 'a' + 'A', caps};
    else if (c >= 'A' && c <= 'Z')
        *k = {c, !caps};
    else if (c >= '0' && c <= '9')
        *k = {c, false};
    else if (c == ' ')
        *k = {win::VK_SPACE, false};
    else if (c == '\n' || c == '\r')
        *k = {win::VK_RETURN, false};
    else if (c == '\b')
        *k = {win::VK_BACK, false};
    else if (c == '\t')
        *k = {win::VK_TAB, false};
    else if (c == 27)
        *k = {win::VK_ESCAPE, false};
    else if (const char* d = c != 0 ? std::strchr(SHIFTED_DIGITS, c) : nullptr)
        *k = {'0' + int(d - SHIFTED_DIGITS), true};
    else if (const char* p = c != 0 ? std::strchr(PLAIN_PUNCTUATION, c) : nullptr)
        *k = {PUNCTUATION_KEYS[p - PLAIN_PUNCTUATION], false};
    else if (const char* s = c != 0 ? std::strchr(SHIFTED_PUNCTUATION, c) : nullptr)
        *k = {PUNCTUATION_KEYS[s - SHIFTED_PUNCTUATION], true};
    else
        return false;
    return true;
}

}  // namespace

void type_text(const std::string& text) {
    for (char ch : text) {
        KeyStroke k;
        if (!stroke_for(static_cast<unsigned char>(ch), &k)) {
            win::input::character(static_cast<unsigned char>(ch));
            continue;
        }
        if (k.shift) key_down(win::VK_SHIFT);
        press_key(k.vk);
        if (k.shift) key_up(win::VK_SHIFT);
    }
}

}  // namespace kv390::harness
