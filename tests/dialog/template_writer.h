// Builds dialog templates byte by byte for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dialog_test {

class TemplateWriter {
  public:
    TemplateWriter& u16(std::uint16_t v) {
        bytes.push_back(std::uint8_t(v & 0xFF));
        bytes.push_back(std::uint8_t(v >> 8));
        return *this;
    }
    TemplateWriter& u32(std::uint32_t v) {
        return u16(std::uint16_t(v & 0xFFFF)).u16(std::uint16_t(v >> 16));
    }
    TemplateWriter& text(const std::string& s) {
        for (unsigned char c : s) u16(c);
        return u16(0);
    }
    TemplateWriter& ordinal(std::uint16_t v) { return u16(0xFFFF).u16(v); }
    TemplateWriter& align4() {
        while (bytes.size() % 4 != 0) bytes.push_back(0);
        return *this;
    }
    // Header without menu, class or font.
    TemplateWriter& header(std::uint32_t style, std::uint16_t count, int x, int y, int cx, int cy,
                           const std::string& title) {
        u32(style).u32(0).u16(count).u16(std::uint16_t(x)).u16(std::uint16_t(y));
        return u16(std::uint16_t(cx)).u16(std::uint16_t(cy)).u16(0).u16(0).text(title);
    }
    // An item with a class atom and a text, no creation data.
    TemplateWriter& item(std::uint32_t style, int x, int y, int cx, int cy, std::uint16_t id,
                         std::uint16_t atom, const std::string& caption) {
        align4().u32(style).u32(0).u16(std::uint16_t(x)).u16(std::uint16_t(y));
        u16(std::uint16_t(cx)).u16(std::uint16_t(cy)).u16(id).ordinal(atom).text(caption);
        return u16(0);
    }

    std::vector<std::uint8_t> bytes;
};

}  // namespace dialog_test
