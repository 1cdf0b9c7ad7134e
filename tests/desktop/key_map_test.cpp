// SDL keys to virtual-key codes, text flags and UTF-8 decoding.
#include <gtest/gtest.h>

#include <initializer_list>

#include "core/input.h"
#include "sdl/key_map.h"

namespace {

using win::sdl::key_delivers_text;
using win::sdl::latin1_characters;
using win::sdl::virtual_key_of;

TEST(KeyMap, LettersDigitsAndFunctionKeys) {
    EXPECT_EQ(virtual_key_of(SDLK_a), 65);
    EXPECT_EQ(virtual_key_of(SDLK_h), 72);
    EXPECT_EQ(virtual_key_of(SDLK_z), 90);
    EXPECT_EQ(virtual_key_of(SDLK_0), 48);
    EXPECT_EQ(virtual_key_of(SDLK_9), 57);
    EXPECT_EQ(virtual_key_of(SDLK_F1), win::VK_F1);
    EXPECT_EQ(virtual_key_of(SDLK_F10), win::VK_F10);
    EXPECT_EQ(virtual_key_of(SDLK_F12), win::VK_F1 + 11);
}

TEST(KeyMap, ModifiersEditingKeysAndArrows) {
    EXPECT_EQ(virtual_key_of(SDLK_LCTRL), 17);
    EXPECT_EQ(virtual_key_of(SDLK_RCTRL), 17);
    EXPECT_EQ(virtual_key_of(SDLK_LSHIFT), 16);
    EXPECT_EQ(virtual_key_of(SDLK_RSHIFT), 16);
    EXPECT_EQ(virtual_key_of(SDLK_LALT), 18);
    EXPECT_EQ(virtual_key_of(SDLK_RETURN), 13);
    EXPECT_EQ(virtual_key_of(SDLK_KP_ENTER), 13);
    EXPECT_EQ(virtual_key_of(SDLK_BACKSPACE), 8);
    EXPECT_EQ(virtual_key_of(SDLK_ESCAPE), 27);
    EXPECT_EQ(virtual_key_of(SDLK_TAB), 9);
    EXPECT_EQ(virtual_key_of(SDLK_LEFT), 37);
    EXPECT_EQ(virtual_key_of(SDLK_UP), 38);
    EXPECT_EQ(virtual_key_of(SDLK_RIGHT), 39);
    EXPECT_EQ(virtual_key_of(SDLK_DOWN), 40);
    EXPECT_EQ(virtual_key_of(SDLK_SPACE), 32);
}

TEST(KeyMap, PunctuationUsesOemCodes) {
    EXPECT_EQ(virtual_key_of(SDLK_SEMICOLON), win::VK_OEM_1);
    EXPECT_EQ(virtual_key_of(SDLK_EQUALS), win::VK_OEM_PLUS);
    EXPECT_EQ(virtual_key_of(SDLK_COMMA), win::VK_OEM_COMMA);
    EXPECT_EQ(virtual_key_of(SDLK_MINUS), win::VK_OEM_MINUS);
    EXPECT_EQ(virtual_key_of(SDLK_PERIOD), win::VK_OEM_PERIOD);
    EXPECT_EQ(virtual_key_of(SDLK_SLASH), win::VK_OEM_2);
    EXPECT_EQ(virtual_key_of(SDLK_BACKQUOTE), win::VK_OEM_3);
    EXPECT_EQ(virtual_key_of(SDLK_LEFTBRACKET), win::VK_OEM_4);
    EXPECT_EQ(virtual_key_of(SDLK_BACKSLASH), win::VK_OEM_5);
    EXPECT_EQ(virtual_key_of(SDLK_RIGHTBRACKET), win::VK_OEM_6);
    EXPECT_EQ(virtual_key_of(SDLK_QUOTE), win::VK_OEM_7);
}

TEST(KeyMap, UnknownKeysHaveNoCode) {
    EXPECT_EQ(virtual_key_of(SDLK_UNKNOWN), 0);
    EXPECT_EQ(virtual_key_of(SDLK_MUTE), 0);
    EXPECT_EQ(virtual_key_of(SDL_Keycode(0xE9)), 0);  // a layout's own letter key
}

TEST(KeyTextFlag, PrintableKeysGetTheirCharacterAsText) {
    for (int vk : std::initializer_list<int>{int('A'), int('Z'), int('0'), int('9'), win::VK_SPACE,
                                             win::VK_OEM_1, win::VK_OEM_7}) {
        EXPECT_TRUE(key_delivers_text(vk, false)) << vk;
    }
}

TEST(KeyTextFlag, CoreTranslatesControlKeysAndCtrlLetters) {
    for (int vk :
         std::initializer_list<int>{win::VK_RETURN, win::VK_BACK, win::VK_ESCAPE, win::VK_TAB,
                                    win::VK_CONTROL, win::VK_SHIFT, win::VK_LEFT, win::VK_F1}) {
        EXPECT_FALSE(key_delivers_text(vk, false)) << vk;
    }
    EXPECT_FALSE(key_delivers_text('L', true));
    EXPECT_FALSE(key_delivers_text('Q', true));
}

TEST(TextInput, AsciiAndLatin1Kept) {
    EXPECT_EQ(latin1_characters("aZ 9~"), (std::vector<unsigned>{'a', 'Z', ' ', '9', '~'}));
    EXPECT_EQ(latin1_characters("\xC3\xA9\xC3\xBF\xC2\xA0"),
              (std::vector<unsigned>{0xE9, 0xFF, 0xA0}));
}

TEST(TextInput, CharactersBeyondLatin1AreDropped) {
    EXPECT_EQ(latin1_characters("a\xE2\x82\xAC"
                                "b"),
              (std::vector<unsigned>{'a', 'b'}));                                     // euro sign
    EXPECT_EQ(latin1_characters("\xF0\x9F\x98\x80x"), (std::vector<unsigned>{'x'}));  // emoji
    EXPECT_EQ(latin1_characters("\xC4\x80"), (std::vector<unsigned>{}));              // U+0100
}

TEST(TextInput, MalformedBytesAreDropped) {
    EXPECT_EQ(latin1_characters("\x80x"), (std::vector<unsigned>{'x'}));      // stray continuation
    EXPECT_EQ(latin1_characters("\xC3y"), (std::vector<unsigned>{'y'}));      // truncated pair
    EXPECT_EQ(latin1_characters("\xC0\xA1z"), (std::vector<unsigned>{'z'}));  // overlong '!'
    EXPECT_EQ(latin1_characters("\xE0\x80\xA1"), (std::vector<unsigned>{}));  // overlong, 3 bytes
    EXPECT_TRUE(latin1_characters(nullptr).empty());
}

}  // namespace
