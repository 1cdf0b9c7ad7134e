// The line-input dialog's template, byte for byte.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "state.h"

namespace {

using Bytes = std::array<std::uint8_t, kv390::GETS_TEMPLATE_SIZE>;

// Offsets 0 to 129: the header, the edit box, the button and the prompt's
// fixed part, as little-endian bytes.
constexpr std::uint8_t FIXED_PART[130] = {
    // header: style, extended style, 3 items, x 50, y 50, cx 185, cy 92
    0x80, 0x00, 0xC8, 0x90, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x32, 0x00, 0x32, 0x00, 0xB9, 0x00,
    0x5C, 0x00,
    // no menu, the default dialog class
    0x00, 0x00, 0x00, 0x00,
    // title "KV390_gets" and its zero unit (offsets 22..43)
    'K', 0, 'V', 0, '3', 0, '9', 0, '0', 0, '_', 0, 'g', 0, 'e', 0, 't', 0, 's', 0, 0, 0,
    // edit box at 44: style, extended style, 8, 30, 167, 37, id 102, class 0xFFFF 0x0081
    0x44, 0x00, 0x81, 0x50, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x1E, 0x00, 0xA7, 0x00, 0x25, 0x00,
    0x66, 0x00, 0xFF, 0xFF, 0x81, 0x00,
    // empty text, no creation data, alignment filler
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    // button at 72: style, extended style, 67, 74, 50, 14, id 101, class 0xFFFF 0x0080
    0x01, 0x00, 0x01, 0x50, 0x00, 0x00, 0x00, 0x00, 0x43, 0x00, 0x4A, 0x00, 0x32, 0x00, 0x0E, 0x00,
    0x65, 0x00, 0xFF, 0xFF, 0x80, 0x00,
    // "Okay", no creation data, alignment filler
    'O', 0, 'k', 0, 'a', 0, 'y', 0, 0, 0, 0x00, 0x00, 0x00, 0x00,
    // prompt at 108: style, extended style, 8, 3, 167, 24, id 103, class 0xFFFF 0x0082
    0x00, 0x00, 0x02, 0x50, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x03, 0x00, 0xA7, 0x00, 0x18, 0x00,
    0x67, 0x00, 0xFF, 0xFF, 0x82, 0x00};

// The whole expected template for the 79 prompt characters shown.
Bytes expected_for(const std::string& shown_prompt) {
    Bytes bytes{};
    std::copy(std::begin(FIXED_PART), std::end(FIXED_PART), bytes.begin());
    for (std::size_t i = 0; i < 79; ++i) {
        bytes[130 + 2 * i] = i < shown_prompt.size() ? std::uint8_t(shown_prompt[i]) : 0x20;
        bytes[131 + 2 * i] = 0;
    }
    return bytes;  // 288..291: zero unit and no creation data
}

Bytes built_for(const char* prompt) {
    Bytes bytes;
    bytes.fill(0xAA);  // every byte must be written
    kv390::build_gets_template(prompt, bytes.data());
    return bytes;
}

void expect_same_bytes(const Bytes& actual, const Bytes& expected) {
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(int(actual[i]), int(expected[i])) << "at offset " << i;
    }
}

TEST(GetsTemplate, EmptyPromptIs79Spaces) {
    expect_same_bytes(built_for(""), expected_for(""));
}

TEST(GetsTemplate, ShortPromptIsPaddedWithSpaces) {
    expect_same_bytes(built_for("What is your name?"), expected_for("What is your name?"));
}

TEST(GetsTemplate, PromptOf79CharactersIsShownWhole) {
    std::string prompt;
    for (int i = 0; i < 79; ++i) prompt.push_back(char('A' + i % 26));
    const Bytes bytes = built_for(prompt.c_str());
    expect_same_bytes(bytes, expected_for(prompt));
    EXPECT_EQ(bytes[130 + 2 * 78], std::uint8_t(prompt[78]));
}

TEST(GetsTemplate, PromptOf100CharactersIsCutAfter79) {
    std::string prompt;
    for (int i = 0; i < 100; ++i) prompt.push_back(char('a' + i % 26));
    const Bytes bytes = built_for(prompt.c_str());
    expect_same_bytes(bytes, expected_for(prompt.substr(0, 79)));
    EXPECT_EQ(bytes[288], 0);
    EXPECT_EQ(bytes[289], 0);
}

TEST(GetsTemplate, HighCharactersBecomeOneUnitEach) {
    const char prompt[] = {char(0xE9), char(0xFF), 0};
    const Bytes bytes = built_for(prompt);
    EXPECT_EQ(bytes[130], 0xE9);
    EXPECT_EQ(bytes[131], 0x00);
    EXPECT_EQ(bytes[132], 0xFF);
    EXPECT_EQ(bytes[133], 0x00);
    EXPECT_EQ(bytes[134], 0x20);
}

}  // namespace
