// A face at one pixel size: metrics, advances, ink bounds and monochrome glyph
// runs of the Latin-1 code points.
#include <algorithm>
#include <climits>
#include <stdexcept>

#include "text/font_cache.h"
#include "text/font_faces.h"

#include FT_OUTLINE_H
#include FT_SIZES_H

namespace win::text {
namespace {

// Hinted for monochrome output, outlines only, so every run is deterministic
// and every pixel is either ink or not.
constexpr FT_Int32 LOAD_FLAGS = FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO;

std::int32_t floor_pixels(FT_Pos v) {
    return std::int32_t(v >> 6);
}
std::int32_t ceil_pixels(FT_Pos v) {
    return std::int32_t((v + 63) >> 6);
}

const unsigned char* bitmap_row(const FT_Bitmap& bitmap, unsigned row) {
    const int pitch = bitmap.pitch;
    if (pitch >= 0) return bitmap.buffer + std::size_t(row) * std::size_t(pitch);
    return bitmap.buffer + std::size_t(bitmap.rows - 1 - row) * std::size_t(-pitch);
}

bool bitmap_pixel(const FT_Bitmap& bitmap, const unsigned char* row, unsigned column) {
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        return (row[column >> 3] >> (7 - (column & 7))) & 1;
    return row[column] >= 128;
}

// Turns a rendered bitmap into runs; dy_top is the cell row of bitmap row 0.
std::vector<GlyphSpan> spans_of(const FT_Bitmap& bitmap, std::int32_t dy_top, std::int32_t x_left) {
    std::vector<GlyphSpan> spans;
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        const unsigned char* row = bitmap_row(bitmap, r);
        unsigned c = 0;
        while (c < bitmap.width) {
            while (c < bitmap.width && !bitmap_pixel(bitmap, row, c)) ++c;
            const unsigned start = c;
            while (c < bitmap.width && bitmap_pixel(bitmap, row, c)) ++c;
            if (c > start)
                spans.push_back({dy_top + std::int32_t(r), x_left + std::int32_t(start),
                                 std::int32_t(c - start)});
        }
    }
    return spans;
}

}  // namespace

SizedFont::SizedFont(const SizeKey& key) : key_(key), face_(face_of(key.face)) {
    if (FT_New_Size(face_, &size_) != 0 || FT_Activate_Size(size_) != 0 ||
        FT_Set_Pixel_Sizes(face_, 0, FT_UInt(key.pixels_per_em)) != 0)
        font_failure("cannot size an embedded font");
    if (key.bold) bold_strength_ = std::max(1, (key.pixels_per_em + 12) / 24);

    const std::int32_t ppem = key.pixels_per_em;
    metrics_.pixels_per_em = ppem;
    metrics_.ascent = scaled_ascent(face_, ppem);
    metrics_.descent = scaled_descent(face_, ppem);
    metrics_.height = metrics_.ascent + metrics_.descent;
    metrics_.internal_leading = std::max(0, metrics_.height - ppem);
    metrics_.external_leading = scaled_line_gap(face_, ppem);
    metrics_.weight = key.bold ? 700 : 400;
    metrics_.fixed_pitch = key.face == Face::Mono;
    measure_code_points();
}

SizedFont::~SizedFont() {
    if (size_) FT_Done_Size(size_);
}

bool SizedFont::load_outline(unsigned char code) {
    if (FT_Activate_Size(size_) != 0) return false;
    const FT_UInt index = FT_Get_Char_Index(face_, code);  // 0: the missing-glyph box
    if (FT_Load_Glyph(face_, index, LOAD_FLAGS) != 0) return false;
    FT_GlyphSlot slot = face_->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (bold_strength_ > 0) FT_Outline_Embolden(&slot->outline, FT_Pos(bold_strength_) * 64);
    return true;
}

void SizedFont::measure_code_points() {
    InkBounds ink{INT_MAX, INT_MIN, INT_MAX, INT_MIN};
    std::int32_t widest = 0;
    for (int code = 0; code < 256; ++code) {
        if (!load_outline(static_cast<unsigned char>(code))) continue;
        const FT_GlyphSlot slot = face_->glyph;
        advances_[code] = std::int32_t((slot->advance.x + 32) >> 6) + bold_strength_;
        widest = std::max(widest, advances_[code]);
        if (slot->outline.n_points == 0) continue;
        FT_BBox box;
        FT_Outline_Get_CBox(&slot->outline, &box);
        // One pixel of margin: dropout control may set a pixel at the box edge.
        ink.left = std::min(ink.left, floor_pixels(box.xMin) - 1);
        ink.right = std::max(ink.right, ceil_pixels(box.xMax) + 1);
        ink.top = std::min(ink.top, metrics_.ascent - ceil_pixels(box.yMax) - 1);
        ink.bottom = std::max(ink.bottom, metrics_.ascent - floor_pixels(box.yMin) + 1);
    }
    if (ink.left > ink.right) ink = InkBounds{};
    ink_ = ink;
    metrics_.max_width = widest;
    metrics_.average_width = advances_['x'];
}

const Glyph& SizedFont::glyph(unsigned char code) {
    std::optional<Glyph>& cached = glyphs_[code];
    if (cached) return *cached;
    cached.emplace();
    if (load_outline(code) && FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_MONO) == 0) {
        const FT_GlyphSlot slot = face_->glyph;
        cached->spans =
            spans_of(slot->bitmap, metrics_.ascent - slot->bitmap_top, slot->bitmap_left);
    }
    return *cached;
}

std::int64_t SizedFont::text_width(const char* text, std::size_t count) const {
    std::int64_t width = 0;
    for (std::size_t i = 0; i < count; ++i) width += advances_[static_cast<unsigned char>(text[i])];
    return width;
}

}  // namespace win::text
