// The sized-font cache on its own: metrics, size resolution, glyph runs.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "text/font_cache.h"

namespace {

using win::FontRequest;
using win::text::font_for;
using win::text::MAX_PIXEL_SIZE;
using win::text::resolve;
using win::text::SizedFont;

FontRequest sans(int height, int weight = 400) {
    return FontRequest{height, weight, false};
}
FontRequest mono(int height, int weight = 400) {
    return FontRequest{height, weight, true};
}

TEST(FontMetrics, CellIsAscentPlusDescentAndHoldsTheEm) {
    for (const FontRequest& request :
         {sans(-8), sans(-12), sans(-13, 700), sans(-40), mono(-12), mono(-30, 700)}) {
        const auto& m = font_for(request).metrics();
        SCOPED_TRACE(request.height);
        EXPECT_EQ(m.pixels_per_em, -request.height);
        EXPECT_GT(m.ascent, 0);
        EXPECT_GT(m.descent, 0);
        EXPECT_EQ(m.height, m.ascent + m.descent);
        EXPECT_GE(m.height, m.pixels_per_em);
        EXPECT_EQ(m.internal_leading, m.height - m.pixels_per_em);
        EXPECT_GE(m.external_leading, 0);
        EXPECT_GT(m.average_width, 0);
        EXPECT_GE(m.max_width, m.average_width);
    }
}

TEST(FontMetrics, StableAcrossRequestsAndFreshFonts) {
    const auto first = font_for(sans(-12)).metrics();
    font_for(sans(-17));
    const auto again = font_for(sans(-12)).metrics();
    SizedFont fresh(resolve(sans(-12)));
    for (const auto* m : {&again, &fresh.metrics()}) {
        EXPECT_EQ(m->height, first.height);
        EXPECT_EQ(m->ascent, first.ascent);
        EXPECT_EQ(m->average_width, first.average_width);
        EXPECT_EQ(m->max_width, first.max_width);
    }
}

TEST(SizeResolution, PositiveHeightIsTheLargestCellThatFits) {
    for (int cell = 4; cell <= 80; ++cell) {
        SCOPED_TRACE(cell);
        const auto key = resolve(sans(cell));
        EXPECT_LE(font_for(sans(cell)).metrics().height, cell);
        EXPECT_GT(font_for(sans(-(key.pixels_per_em + 1))).metrics().height, cell);
    }
}

TEST(SizeResolution, ZeroHeightGivesSixteenPixelCells) {
    EXPECT_EQ(resolve(sans(0)), resolve(sans(16)));
    EXPECT_EQ(resolve(mono(0)), resolve(mono(16)));
    EXPECT_GE(font_for(sans(0)).metrics().height, 14);
}

TEST(SizeResolution, AbsurdHeightsAreClamped) {
    EXPECT_EQ(resolve(sans(INT_MIN)).pixels_per_em, MAX_PIXEL_SIZE);
    EXPECT_EQ(resolve(sans(-INT_MAX)).pixels_per_em, MAX_PIXEL_SIZE);
    EXPECT_LE(resolve(sans(INT_MAX)).pixels_per_em, MAX_PIXEL_SIZE);
    EXPECT_EQ(resolve(sans(-1)).pixels_per_em, 1);
    EXPECT_EQ(resolve(sans(1)).pixels_per_em, 1);
    const auto& huge = font_for(sans(INT_MIN)).metrics();
    EXPECT_GT(huge.height, 900);
    EXPECT_LT(huge.height, 2000);
    EXPECT_GT(font_for(sans(1)).metrics().height, 0);
}

TEST(SizeResolution, WeightAndPitchPickTheFace) {
    EXPECT_FALSE(resolve(sans(-12, 400)).bold);
    EXPECT_FALSE(resolve(sans(-12, 599)).bold);
    EXPECT_TRUE(resolve(sans(-12, 600)).bold);
    EXPECT_EQ(resolve(mono(-12)).face, win::text::Face::Mono);
    EXPECT_EQ(resolve(sans(-12)).face, win::text::Face::Sans);
}

TEST(Advances, MonoFaceIsFixedPitchSansIsNot) {
    SizedFont& m = font_for(mono(-12));
    EXPECT_TRUE(m.metrics().fixed_pitch);
    for (int c = 32; c < 127; ++c) EXPECT_EQ(m.advance(c), m.advance('M')) << char(c);
    EXPECT_EQ(m.metrics().average_width, m.advance('M'));

    SizedFont& s = font_for(sans(-12));
    EXPECT_FALSE(s.metrics().fixed_pitch);
    EXPECT_LT(s.advance('i'), s.advance('W'));
}

TEST(Advances, TextWidthIsTheSumOfAdvances) {
    SizedFont& font = font_for(sans(-15));
    const char text[] = "Hello, world\n\x01\xe9";
    std::int64_t sum = 0;
    for (unsigned char c : std::string(text, sizeof text - 1)) sum += font.advance(c);
    EXPECT_EQ(font.text_width(text, sizeof text - 1), sum);
    EXPECT_EQ(font.text_width(text, 0), 0);
}

TEST(Advances, BoldIsWiderAndInkier) {
    SizedFont& regular = font_for(sans(-20));
    const auto regular_spans = regular.glyph('H').spans;
    SizedFont& bold = font_for(sans(-20, 700));
    EXPECT_GT(bold.advance('H'), regular.advance('H'));
    auto ink = [](const std::vector<win::text::GlyphSpan>& spans) {
        int n = 0;
        for (const auto& s : spans) n += s.length;
        return n;
    };
    EXPECT_GT(ink(bold.glyph('H').spans), ink(regular_spans));
}

// Clipping skips glyphs by the font's ink bounds, so every run must lie inside.
TEST(Glyphs, EveryRunLiesInsideTheInkBounds) {
    for (const FontRequest& request :
         {sans(-7), sans(-12), sans(-13, 700), mono(-12), sans(-64, 900)}) {
        SizedFont& font = font_for(request);
        const auto ink = font.ink();
        for (int c = 0; c < 256; ++c) {
            for (const auto& span : font.glyph(static_cast<unsigned char>(c)).spans) {
                SCOPED_TRACE(testing::Message() << "height " << request.height << " code " << c);
                ASSERT_GT(span.length, 0);
                EXPECT_GE(span.x, ink.left);
                EXPECT_LE(span.x + span.length, ink.right);
                EXPECT_GE(span.dy, ink.top);
                EXPECT_LT(span.dy, ink.bottom);
            }
        }
    }
}

TEST(Glyphs, LettersHaveInkInsideTheirCell) {
    SizedFont& font = font_for(sans(-12));
    const auto& m = font.metrics();
    for (char c : std::string("Hello")) {
        const auto& spans = font.glyph(c).spans;
        ASSERT_FALSE(spans.empty()) << c;
        for (const auto& s : spans) {
            EXPECT_GE(s.dy, 0);
            EXPECT_LT(s.dy, m.height);
            EXPECT_GE(s.x, 0);
            EXPECT_LE(s.x + s.length, font.advance(c) + 1);
        }
    }
    EXPECT_TRUE(font.glyph(' ').spans.empty());
}

TEST(Glyphs, ControlAndMissingCharactersDrawTheMissingGlyphBox) {
    SizedFont& font = font_for(sans(-12));
    const auto& newline = font.glyph('\n').spans;
    ASSERT_FALSE(newline.empty());
    EXPECT_GT(font.advance('\n'), 0);
    const auto& other = font.glyph(0x01).spans;
    ASSERT_EQ(newline.size(), other.size());
    for (std::size_t i = 0; i < other.size(); ++i) {
        EXPECT_EQ(newline[i].dy, other[i].dy);
        EXPECT_EQ(newline[i].x, other[i].x);
        EXPECT_EQ(newline[i].length, other[i].length);
    }
}

TEST(Glyphs, RenderingIsDeterministic) {
    SizedFont& cached = font_for(sans(-13, 700));
    SizedFont fresh(resolve(sans(-13, 700)));
    for (int c = 0; c < 256; ++c) {
        const auto& a = cached.glyph(static_cast<unsigned char>(c)).spans;
        const auto& b = fresh.glyph(static_cast<unsigned char>(c)).spans;
        ASSERT_EQ(a.size(), b.size()) << c;
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].dy, b[i].dy);
            EXPECT_EQ(a[i].x, b[i].x);
            EXPECT_EQ(a[i].length, b[i].length);
        }
    }
}

TEST(Cache, SameRequestSameFontAndBoundedSize) {
    SizedFont* first = &font_for(sans(-12));
    EXPECT_EQ(first, &font_for(sans(-12)));
    EXPECT_EQ(&font_for(mono(-14)), &font_for(mono(-14)));
    for (int em = 1; em <= 150; ++em) font_for(sans(-em));
    EXPECT_LE(win::text::cached_font_count(), 64u);
    // The most recent sizes survive eviction.
    SizedFont* recent = &font_for(sans(-150));
    EXPECT_EQ(recent, &font_for(sans(-150)));
}

}  // namespace
