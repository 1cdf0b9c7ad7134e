// Reading dialog templates: every field of the published layout, and refusal
// of truncated or malformed bytes without reading past their end.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "kv390/win.h"
#include "state.h"
#include "template_writer.h"

namespace {

using dialog_test::TemplateWriter;

std::vector<std::uint8_t> gets_template(const char* prompt) {
    std::vector<std::uint8_t> bytes(kv390::GETS_TEMPLATE_SIZE);
    kv390::build_gets_template(prompt, bytes.data());
    return bytes;
}

// Parses from a heap block of exactly the given size, so that a read past
// the end is caught by the address sanitizer.
bool parse_exact(const std::vector<std::uint8_t>& bytes, std::size_t size,
                 win::DialogTemplate* out) {
    std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[size == 0 ? 1 : size]);
    std::copy_n(bytes.begin(), size, block.get());
    return win::parse_dialog_template(block.get(), size, out);
}

TEST(DialogTemplateParser, ReadsTheGetsTemplate) {
    const auto bytes = gets_template("Name?");
    win::DialogTemplate t;
    ASSERT_TRUE(parse_exact(bytes, bytes.size(), &t));
    EXPECT_EQ(t.style, 0x90C80080u);
    EXPECT_EQ(t.ex_style, 0u);
    EXPECT_EQ(t.x, 50);
    EXPECT_EQ(t.y, 50);
    EXPECT_EQ(t.cx, 185);
    EXPECT_EQ(t.cy, 92);
    EXPECT_TRUE(t.menu.empty());
    EXPECT_TRUE(t.class_name.empty());
    EXPECT_EQ(t.title, u"KV390_gets");
    ASSERT_EQ(t.items.size(), 3u);

    const win::DialogItemTemplate& edit = t.items[0];
    EXPECT_EQ(edit.style, 0x50810044u);
    EXPECT_EQ(edit.id, 102);
    EXPECT_EQ(edit.class_atom, win::ATOM_EDIT);
    EXPECT_EQ(edit.x, 8);
    EXPECT_EQ(edit.y, 30);
    EXPECT_EQ(edit.cx, 167);
    EXPECT_EQ(edit.cy, 37);
    EXPECT_TRUE(edit.text.empty());

    const win::DialogItemTemplate& button = t.items[1];
    EXPECT_EQ(button.style, 0x50010001u);
    EXPECT_EQ(button.id, 101);
    EXPECT_EQ(button.class_atom, win::ATOM_BUTTON);
    EXPECT_EQ(button.text, u"Okay");
    EXPECT_EQ(button.x, 67);
    EXPECT_EQ(button.y, 74);

    const win::DialogItemTemplate& prompt = t.items[2];
    EXPECT_EQ(prompt.id, 103);
    EXPECT_EQ(prompt.class_atom, win::ATOM_STATIC);
    EXPECT_EQ(prompt.text, u"Name?" + std::u16string(74, u' '));
    EXPECT_TRUE(prompt.creation_data.empty());
}

TEST(DialogTemplateParser, ReadsFontNamesOrdinalsAndCreationData) {
    TemplateWriter w;
    w.u32(win::UINT(win::DS_SETFONT) | win::WS_POPUP)
        .u32(0x8)
        .u16(2)
        .u16(0xFFF6)
        .u16(4)
        .u16(100)
        .u16(60);
    w.ordinal(7).text("MyDialogClass").text("Title").u16(9).text("Sans");
    w.align4().u32(win::WS_CHILD).u32(0).u16(1).u16(2).u16(3).u16(4).u16(42);
    w.text("Static").ordinal(5).u16(3);
    w.bytes.insert(w.bytes.end(), {0x11, 0x22, 0x33});
    w.align4().u32(win::WS_CHILD | win::WS_TABSTOP).u32(0).u16(5).u16(6).u16(7).u16(8).u16(43);
    w.ordinal(win::ATOM_BUTTON).text("Go").u16(0);

    win::DialogTemplate t;
    ASSERT_TRUE(parse_exact(w.bytes, w.bytes.size(), &t));
    EXPECT_EQ(t.ex_style, 0x8u);
    EXPECT_EQ(t.x, -10);
    EXPECT_EQ(t.menu, (std::u16string{char16_t(0xFFFF), char16_t(7)}));
    EXPECT_EQ(t.class_name, u"MyDialogClass");
    EXPECT_EQ(t.title, u"Title");
    EXPECT_EQ(t.point_size, 9);
    EXPECT_EQ(t.font_name, u"Sans");
    ASSERT_EQ(t.items.size(), 2u);
    EXPECT_EQ(t.items[0].class_atom, 0);
    EXPECT_EQ(t.items[0].class_name, u"Static");
    EXPECT_EQ(t.items[0].text_resource, 5);
    EXPECT_EQ(t.items[0].creation_data, (std::vector<std::uint8_t>{0x11, 0x22, 0x33}));
    EXPECT_EQ(t.items[1].id, 43);
    EXPECT_EQ(t.items[1].class_atom, win::ATOM_BUTTON);
    EXPECT_EQ(t.items[1].text, u"Go");
}

TEST(DialogTemplateParser, RejectsEveryTruncation) {
    const auto bytes = gets_template("A prompt");
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        win::DialogTemplate t;
        EXPECT_FALSE(parse_exact(bytes, size, &t)) << "size " << size;
    }
}

TEST(DialogTemplateParser, RejectsMalformedFields) {
    win::DialogTemplate t;
    // A title without its zero unit.
    TemplateWriter no_terminator;
    no_terminator.header(0, 0, 0, 0, 10, 10, "T");
    no_terminator.bytes.resize(no_terminator.bytes.size() - 2);
    no_terminator.u16('x');
    EXPECT_FALSE(parse_exact(no_terminator.bytes, no_terminator.bytes.size(), &t));

    // More items announced than present.
    TemplateWriter too_many;
    too_many.header(0, 60000, 0, 0, 10, 10, "T")
        .item(win::WS_CHILD, 0, 0, 1, 1, 1, win::ATOM_STATIC, "x");
    EXPECT_FALSE(parse_exact(too_many.bytes, too_many.bytes.size(), &t));

    // Creation data running past the end.
    TemplateWriter long_data;
    long_data.header(0, 1, 0, 0, 10, 10, "T")
        .item(win::WS_CHILD, 0, 0, 1, 1, 1, win::ATOM_STATIC, "x");
    long_data.bytes.resize(long_data.bytes.size() - 2);
    long_data.u16(500).u16(0);
    EXPECT_FALSE(parse_exact(long_data.bytes, long_data.bytes.size(), &t));

    // An item whose class is an empty name or the zero atom.
    TemplateWriter empty_class;
    empty_class.header(0, 1, 0, 0, 10, 10, "T").align4().u32(0).u32(0).u16(0).u16(0).u16(1);
    empty_class.u16(1).u16(1).u16(0).u16(0).u16(0);
    EXPECT_FALSE(parse_exact(empty_class.bytes, empty_class.bytes.size(), &t));
    TemplateWriter zero_atom;
    zero_atom.header(0, 1, 0, 0, 10, 10, "T").item(0, 0, 0, 1, 1, 1, 0, "x");
    EXPECT_FALSE(parse_exact(zero_atom.bytes, zero_atom.bytes.size(), &t));

    // The extended layout is not read.
    TemplateWriter extended;
    extended.u16(1).u16(0xFFFF).u32(0).u32(0).u32(0).u16(0).u16(0).u16(0).u16(10).u16(10);
    extended.u16(0).u16(0).u16(0);
    EXPECT_FALSE(parse_exact(extended.bytes, extended.bytes.size(), &t));

    EXPECT_FALSE(win::parse_dialog_template(nullptr, 100, &t));
}

TEST(DialogTemplateParser, FailureLeavesTheResultAlone) {
    win::DialogTemplate t;
    t.title = u"kept";
    const auto bytes = gets_template("");
    EXPECT_FALSE(parse_exact(bytes, 100, &t));
    EXPECT_EQ(t.title, u"kept");
    EXPECT_TRUE(t.items.empty());
}

// Random bytes, and the gets template with single bytes changed: parsing
// must end (either way) without reading outside the block.
TEST(DialogTemplateParser, SurvivesGarbage) {
    std::mt19937 random(390);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes(random() % 400);
        for (auto& b : bytes) b = std::uint8_t(random());
        win::DialogTemplate t;
        parse_exact(bytes, bytes.size(), &t);
    }
    const auto good = gets_template("garbage");
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (std::uint8_t value : {std::uint8_t(0x00), std::uint8_t(0xFF), std::uint8_t(0x7F)}) {
            auto bytes = good;
            bytes[i] = value;
            win::DialogTemplate t;
            if (parse_exact(bytes, bytes.size(), &t)) {
                EXPECT_LE(t.items.size(), 3u);
            }
        }
    }
}

}  // namespace
