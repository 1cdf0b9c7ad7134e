// Sized fonts built from the embedded faces with FreeType, and the cache that
// keeps them.  Glyphs are monochrome: a glyph is a list of pixel runs, so that
// drawing one costs about the pixels it covers.  Internal to the windowing layer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "raster/device_context.h"

struct FT_FaceRec_;
struct FT_SizeRec_;

namespace win::text {

// Largest pixel size (em or cell) a request resolves to; larger requests are
// clamped so that nothing allocates or loops by an absurd size.
constexpr std::int32_t MAX_PIXEL_SIZE = 1000;
// Cell height used for a request of height 0.
constexpr std::int32_t DEFAULT_CELL_HEIGHT = 16;

enum class Face { Sans = 0, Mono = 1 };

// One horizontal run of glyph pixels.  dy is the row below the top of the text
// cell, x the first column relative to the pen position.
struct GlyphSpan {
    std::int32_t dy = 0;
    std::int32_t x = 0;
    std::int32_t length = 0;
};

struct Glyph {
    std::vector<GlyphSpan> spans;  // in row order
};

struct FontMetrics {
    std::int32_t pixels_per_em = 0;
    std::int32_t height = 0;  // ascent + descent
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    std::int32_t internal_leading = 0;
    std::int32_t external_leading = 0;
    std::int32_t average_width = 0;
    std::int32_t max_width = 0;
    std::int32_t weight = 400;
    bool fixed_pitch = false;
};

// Bounds that hold the ink of every Latin-1 glyph of a font: columns relative
// to the pen position, rows relative to the top of the cell, right and bottom
// excluded.
struct InkBounds {
    std::int32_t left = 0, right = 0, top = 0, bottom = 0;
};

struct SizeKey {
    Face face = Face::Sans;
    std::int32_t pixels_per_em = 0;
    bool bold = false;
    auto operator<=>(const SizeKey&) const = default;
};

// A face at one pixel size and weight.  Advances and ink bounds of the 256
// Latin-1 code points are known from construction; glyph pixels are rendered
// on first use and kept.
class SizedFont {
  public:
    explicit SizedFont(const SizeKey& key);
    ~SizedFont();
    SizedFont(const SizedFont&) = delete;
    SizedFont& operator=(const SizedFont&) = delete;

    const FontMetrics& metrics() const { return metrics_; }
    const InkBounds& ink() const { return ink_; }
    std::int32_t advance(unsigned char code) const { return advances_[code]; }
    const Glyph& glyph(unsigned char code);
    // Sum of the advances of the bytes (64-bit: any length is safe).
    std::int64_t text_width(const char* text, std::size_t count) const;

  private:
    void measure_code_points();
    bool load_outline(unsigned char code);

    SizeKey key_;
    FT_FaceRec_* face_ = nullptr;
    FT_SizeRec_* size_ = nullptr;
    std::int32_t bold_strength_ = 0;  // pixels added to width and advance
    FontMetrics metrics_;
    InkBounds ink_;
    std::array<std::int32_t, 256> advances_{};
    std::array<std::optional<Glyph>, 256> glyphs_;
};

// Which face and size a font request resolves to.
SizeKey resolve(const FontRequest& request);
// The sized font for a request, built on first use.  The reference stays valid
// until the next call of font_for.
SizedFont& font_for(const FontRequest& request);
// Number of sized fonts currently cached (for tests).
std::size_t cached_font_count();

// The font request selected into a DC (the system font when none is).
FontRequest selected_font_request(const DeviceContext& dc);

}  // namespace win::text
