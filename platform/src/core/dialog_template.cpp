// Reading an in-memory dialog template: a header, then one entry per control,
// each entry starting on a 4-byte boundary.  Every read is checked against the
// template's size, so arbitrary bytes are safe to parse.
//
// A menu or window class given as an ordinal (0xFFFF then a 16-bit number) is
// kept as the two-unit string {0xFFFF, ordinal}; a name never starts with
// 0xFFFF, so the two cannot be confused.
#include <algorithm>

#include "kv390/win.h"

namespace win {
namespace {

constexpr std::uint16_t ORDINAL_MARKER = 0xFFFF;
constexpr std::size_t HEADER_SIZE = 18;
constexpr std::size_t ITEM_HEADER_SIZE = 18;

class TemplateReader {
  public:
    TemplateReader(const void* data, std::size_t size)
        : bytes_(static_cast<const std::uint8_t*>(data)), size_(size) {}

    bool u16(std::uint16_t* value) {
        if (remaining() < 2) return false;
        *value = std::uint16_t(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        offset_ += 2;
        return true;
    }
    bool i16(std::int16_t* value) {
        std::uint16_t raw = 0;
        if (!u16(&raw)) return false;
        *value = std::int16_t(raw);
        return true;
    }
    bool u32(UINT* value) {
        std::uint16_t low = 0, high = 0;
        if (!u16(&low) || !u16(&high)) return false;
        *value = UINT(low) | (UINT(high) << 16);
        return true;
    }
    // Units up to (not including) the terminating zero unit.
    bool string(std::u16string* out) {
        out->clear();
        for (;;) {
            std::uint16_t unit = 0;
            if (!u16(&unit)) return false;
            if (unit == 0) return true;
            out->push_back(char16_t(unit));
        }
    }
    // A zero unit (none), an ordinal, or a string, as one u16string.
    bool name_or_ordinal(std::u16string* out) {
        std::uint16_t first = 0;
        if (!peek_u16(&first)) return false;
        if (first != ORDINAL_MARKER) return string(out);
        std::uint16_t ordinal = 0;
        if (!u16(&first) || !u16(&ordinal)) return false;
        *out = {char16_t(ORDINAL_MARKER), char16_t(ordinal)};
        return true;
    }
    bool bytes(std::size_t count, std::vector<std::uint8_t>* out) {
        if (count > size_ - offset_) return false;
        out->assign(bytes_ + offset_, bytes_ + offset_ + count);
        offset_ += count;
        return true;
    }
    bool align4() {
        const std::size_t aligned = (offset_ + 3) & ~std::size_t(3);
        if (aligned > size_) return false;
        offset_ = aligned;
        return true;
    }
    std::size_t remaining() const { return size_ - offset_; }

  private:
    bool peek_u16(std::uint16_t* value) const {
        if (remaining() < 2) return false;
        *value = std::uint16_t(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        return true;
    }

    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

bool read_geometry(TemplateReader& in, std::int16_t* x, std::int16_t* y, std::int16_t* cx,
                   std::int16_t* cy) {
    return in.i16(x) && in.i16(y) && in.i16(cx) && in.i16(cy);
}

bool read_item_class(TemplateReader& in, DialogItemTemplate* item) {
    std::u16string name;
    if (!in.name_or_ordinal(&name)) return false;
    if (!name.empty() && name[0] == char16_t(ORDINAL_MARKER)) {
        item->class_atom = std::uint16_t(name[1]);
        return item->class_atom != 0;
    }
    item->class_name = std::move(name);
    return !item->class_name.empty();
}

bool read_item_text(TemplateReader& in, DialogItemTemplate* item) {
    std::u16string text;
    if (!in.name_or_ordinal(&text)) return false;
    if (!text.empty() && text[0] == char16_t(ORDINAL_MARKER)) {
        item->text_resource = std::uint16_t(text[1]);
    } else {
        item->text = std::move(text);
    }
    return true;
}

bool read_item(TemplateReader& in, DialogItemTemplate* item) {
    std::uint16_t data_size = 0;
    return in.align4() && in.remaining() >= ITEM_HEADER_SIZE && in.u32(&item->style) &&
           in.u32(&item->ex_style) && read_geometry(in, &item->x, &item->y, &item->cx, &item->cy) &&
           in.u16(&item->id) && read_item_class(in, item) && read_item_text(in, item) &&
           in.u16(&data_size) && in.bytes(data_size, &item->creation_data);
}

bool read_header(TemplateReader& in, DialogTemplate* out, std::uint16_t* item_count) {
    return in.remaining() >= HEADER_SIZE && in.u32(&out->style) && in.u32(&out->ex_style) &&
           in.u16(item_count) && read_geometry(in, &out->x, &out->y, &out->cx, &out->cy) &&
           in.name_or_ordinal(&out->menu) && in.name_or_ordinal(&out->class_name) &&
           in.string(&out->title);
}

bool read_font(TemplateReader& in, DialogTemplate* out) {
    if (!(out->style & DS_SETFONT)) return true;
    return in.u16(&out->point_size) && in.string(&out->font_name);
}

// The extended layout starts with version 1 and the 0xFFFF signature.
bool is_extended_layout(const void* data, std::size_t size) {
    const auto* b = static_cast<const std::uint8_t*>(data);
    return size >= 4 && b[0] == 1 && b[1] == 0 && b[2] == 0xFF && b[3] == 0xFF;
}

}  // namespace

bool parse_dialog_template(const void* data, std::size_t size, DialogTemplate* out) {
    if (data == nullptr || out == nullptr || is_extended_layout(data, size)) return false;
    TemplateReader in(data, size);
    DialogTemplate result;
    std::uint16_t item_count = 0;
    if (!read_header(in, &result, &item_count) || !read_font(in, &result)) return false;
    // Each entry takes at least its fixed part, so a count the bytes cannot hold
    // fails without reserving memory for it.
    if (std::size_t(item_count) > in.remaining() / ITEM_HEADER_SIZE + 1) return false;
    result.items.resize(item_count);
    for (DialogItemTemplate& item : result.items) {
        if (!read_item(in, &item)) return false;
    }
    *out = std::move(result);
    return true;
}

}  // namespace win
