// Translation of SDL keyboard input into the layer's virtual-key codes and
// Latin-1 characters.
#pragma once

#include <SDL2/SDL_keycode.h>

#include <vector>

namespace win::sdl {

// Keypad digit keys (VK_NUMPAD0 .. VK_NUMPAD9) and Insert, which the public
// header does not name.
constexpr int VK_INSERT = 45;
constexpr int VK_NUMPAD0 = 0x60;

// The virtual-key code of an SDL key, or 0 for a key the layer has no code for.
int virtual_key_of(SDL_Keycode key);

// Whether a key-down's character arrives separately as text input, so that the
// core must not translate the key-down into a character as well.  Enter,
// Backspace, Escape and Tab produce no text input and are translated by the
// core; so is every letter while Ctrl is held (Ctrl+letter control codes).
bool key_delivers_text(int vk, bool ctrl_held);

// The characters of a UTF-8 text-input string that Latin-1 can hold; other
// characters and malformed bytes are dropped.
std::vector<unsigned> latin1_characters(const char* utf8);

}  // namespace win::sdl
