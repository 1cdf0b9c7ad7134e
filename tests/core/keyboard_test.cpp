// Key translation into characters and the key state.
#include <gtest/gtest.h>

#include "core/input.h"
#include "kv390/harness.h"
#include "recorder.h"

namespace kv390::test {
namespace {

using namespace win;

class KeyboardTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        hwnd = make_window("K", GRAPHICS_STYLE | WS_VISIBLE, 100, 100);
        pump_pending();
        recorder().clear();
    }
    // The characters that reached the window.
    std::string typed() {
        pump_pending();
        std::string out;
        for (const Received& m : recorder().of(WM_CHAR)) out += char(m.wparam);
        recorder().clear();
        return out;
    }
    HWND hwnd = nullptr;
};

TEST_F(KeyboardTest, LettersFollowShiftAndCapsLock) {
    harness::press_key('A');
    EXPECT_EQ(typed(), "a");
    harness::key_down(VK_SHIFT);
    harness::press_key('A');
    harness::key_up(VK_SHIFT);
    EXPECT_EQ(typed(), "A");
    harness::press_key(VK_CAPITAL);
    harness::press_key('Q');
    harness::key_down(VK_SHIFT);
    harness::press_key('Q');
    harness::key_up(VK_SHIFT);
    EXPECT_EQ(typed(), "Qq");
}

TEST_F(KeyboardTest, CtrlLettersAreControlCodes) {
    harness::press_ctrl_key('L');
    harness::press_ctrl_key('A');
    harness::press_ctrl_key('Z');
    EXPECT_EQ(typed(), std::string("\x0c\x01\x1a"));
}

TEST_F(KeyboardTest, SpecialKeysAndKeysWithoutCharacters) {
    for (int vk : {VK_RETURN, VK_BACK, VK_ESCAPE, VK_TAB, VK_SPACE}) harness::press_key(vk);
    EXPECT_EQ(typed(), std::string("\r\b\x1b\t "));
    for (int vk : {VK_CONTROL, VK_SHIFT, VK_LEFT, VK_UP, VK_F1, VK_DELETE, VK_HOME}) {
        harness::press_key(vk);
    }
    EXPECT_EQ(typed(), "");
}

TEST_F(KeyboardTest, DigitsAndPunctuationWithShift) {
    harness::type_text("0123456789");
    EXPECT_EQ(typed(), "0123456789");
    const std::string punctuation = ")!@#$%^&*(;:=+,<-_.>/?`~[{\\|]}'\"";
    harness::type_text(punctuation);
    EXPECT_EQ(typed(), punctuation);
    harness::type_text("Hello World\n");
    EXPECT_EQ(typed(), "Hello World\r");
}

TEST_F(KeyboardTest, CharacterComesRightAfterItsKeyDown) {
    harness::press_key('B');
    pump_pending();
    std::vector<UINT> expected{WM_KEYDOWN, WM_CHAR, WM_KEYUP};
    EXPECT_EQ(recorder().kinds(), expected);
}

TEST_F(KeyboardTest, SeparatelyDeliveredTextIsNotTranslatedTwice) {
    input::key(WM_KEYDOWN, 'X', input::KEY_TEXT_SEPARATE);
    input::character('x');
    input::key(WM_KEYUP, 'X');
    EXPECT_EQ(typed(), "x");
}

TEST_F(KeyboardTest, KeyStateFollowsTheMessagesTaken) {
    harness::key_down(VK_CONTROL);
    pump_pending();
    EXPECT_TRUE(is_key_down(VK_CONTROL));
    harness::key_up(VK_CONTROL);
    pump_pending();
    EXPECT_FALSE(is_key_down(VK_CONTROL));
}

}  // namespace
}  // namespace kv390::test
