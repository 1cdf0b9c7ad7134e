// Text through device contexts: create_font, metrics, extents and text_out.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "raster/device_context.h"
#include "text/font_cache.h"

namespace {

using namespace win;

constexpr std::uint32_t BACKGROUND = 0x123456;
constexpr COLORREF INK = rgb(200, 10, 20);
constexpr COLORREF PAPER = rgb(250, 240, 230);

std::unique_ptr<GdiObject> make_font(int height, int weight = 400, int pitch = 0,
                                     const char* face = "KV390-font") {
    return std::unique_ptr<GdiObject>(
        create_font(height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, pitch, face));
}

// A surface with a DC drawing into it; the font is selected directly.
struct Canvas {
    Surface surface;
    DeviceContext dc;
    std::unique_ptr<GdiObject> font;

    Canvas(int width, int height, std::unique_ptr<GdiObject> f = make_font(-12))
        : font(std::move(f)) {
        surface.resize(width, height, BACKGROUND);
        dc.surface = &surface;
        dc.font = font.get();
        dc.text_color = INK;
        dc.bk_color = PAPER;
        dc.bk_mode = TRANSPARENT;
    }
    std::uint32_t at(int x, int y) const { return surface.row(y)[x]; }
    bool draw(int x, int y, const std::string& text) {
        return text_out(&dc, x, y, text.data(), int(text.size()));
    }
    Size extent(const std::string& text) {
        Size size;
        EXPECT_TRUE(get_text_extent_point(&dc, text.data(), int(text.size()), &size));
        return size;
    }
    TextMetrics metrics() {
        TextMetrics m;
        EXPECT_TRUE(get_text_metrics(&dc, &m));
        return m;
    }
    int count(std::uint32_t pixel) const {
        int n = 0;
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x) n += at(x, y) == pixel;
        return n;
    }
};

TEST(CreateFont, FaceWeightAndHeightAreKept) {
    EXPECT_FALSE(make_font(-12)->font.fixed_pitch);
    EXPECT_FALSE(make_font(-12, 400, 0, nullptr)->font.fixed_pitch);
    EXPECT_TRUE(make_font(-12, 400, 1, "KV390-font")->font.fixed_pitch);
    EXPECT_FALSE(make_font(-12, 400, 2, "KV390-font")->font.fixed_pitch);
    EXPECT_TRUE(make_font(-12, 400, 0, "Courier New")->font.fixed_pitch);
    EXPECT_TRUE(make_font(-12, 400, 0, "DejaVu Sans Mono")->font.fixed_pitch);
    EXPECT_TRUE(make_font(-12, 400, 0, "Fixedsys")->font.fixed_pitch);
    auto font = make_font(-17, 700);
    EXPECT_EQ(font->kind, GdiObject::Kind::Font);
    EXPECT_EQ(font->font.height, -17);
    EXPECT_EQ(font->font.weight, 700);
    EXPECT_EQ(make_font(-12, 0)->font.weight, 400);
}

TEST(TextMetricsThroughDc, MatchTheSelectedFont) {
    Canvas sans(10, 10, make_font(-12));
    const TextMetrics m = sans.metrics();
    EXPECT_EQ(m.tmHeight, m.tmAscent + m.tmDescent);
    EXPECT_EQ(m.tmInternalLeading, m.tmHeight - 12);
    EXPECT_FALSE(m.fixed_pitch);
    EXPECT_GT(m.tmMaxCharWidth, m.tmAveCharWidth);

    Canvas fixed(10, 10, make_font(-12, 400, 1));
    const TextMetrics f = fixed.metrics();
    EXPECT_TRUE(f.fixed_pitch);
    EXPECT_EQ(f.tmAveCharWidth, f.tmMaxCharWidth);
    EXPECT_EQ(fixed.extent("iiii").cx, fixed.extent("WWWW").cx);

    Canvas none(10, 10, nullptr);  // no font selected: the system font
    none.dc.font = nullptr;
    EXPECT_EQ(none.metrics().tmHeight, text::font_for(SYSTEM_FONT_REQUEST).metrics().height);
}

TEST(TextExtent, IsTheSumOfAdvancesAndTheCellHeight) {
    Canvas c(10, 10, make_font(-14));
    const Size hello = c.extent("Hello");
    const Size he = c.extent("He");
    const Size llo = c.extent("llo");
    EXPECT_EQ(hello.cx, he.cx + llo.cx);
    EXPECT_EQ(hello.cy, c.metrics().tmHeight);
    EXPECT_EQ(c.extent("").cx, 0);
    EXPECT_EQ(c.extent("").cy, c.metrics().tmHeight);
    EXPECT_EQ(c.extent("a\nb").cx, c.extent("a").cx + c.extent("\n").cx + c.extent("b").cx);
    EXPECT_GT(c.extent("\n").cx, 0);

    Size size;
    EXPECT_FALSE(get_text_extent_point(&c.dc, "x", -1, &size));
    EXPECT_FALSE(get_text_extent_point(nullptr, "x", 1, &size));
    EXPECT_FALSE(get_text_extent_point(&c.dc, nullptr, 1, &size));
}

TEST(TextExtent, AHugeStringSaturatesInsteadOfOverflowing) {
    Canvas c(10, 10, make_font(-1000));
    const std::string text(5'000'000, 'W');
    EXPECT_EQ(c.extent(text).cx, INT32_MAX);
}

TEST(DialogBaseUnits, ComeFromTheSystemFont) {
    const Size units = dialog_base_units();
    EXPECT_EQ(units.cy, text::font_for(SYSTEM_FONT_REQUEST).metrics().height);
    EXPECT_GE(units.cx, 5);
    EXPECT_LE(units.cx, 12);
    EXPECT_EQ(dialog_base_units().cx, units.cx);
}

TEST(TextOut, TwelvePointHelloHasInkInsideItsCellOnly) {
    Canvas c(120, 40);
    ASSERT_TRUE(c.draw(10, 5, "Hello"));
    const Size cell = c.extent("Hello");
    int inside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const bool in_cell = x >= 10 && x < 10 + cell.cx && y >= 5 && y < 5 + cell.cy;
            if (in_cell)
                inside += c.at(x, y) == pixel_of(INK);
            else
                EXPECT_EQ(c.at(x, y), BACKGROUND) << x << "," << y;
        }
    EXPECT_GT(inside, 20);
}

TEST(TextOut, TransparentWritesOnlyTheTextColour) {
    Canvas c(300, 60, make_font(-20, 700));
    c.draw(3, 3, "Quick brown fox, jumps! \xe9\xe0\n\t");
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 300; ++x)
            ASSERT_TRUE(c.at(x, y) == BACKGROUND || c.at(x, y) == pixel_of(INK)) << x << "," << y;
    EXPECT_GT(c.count(pixel_of(INK)), 100);
}

TEST(TextOut, OpaqueFillsTheCellWithTheBackgroundColour) {
    Canvas c(120, 40);
    c.dc.bk_mode = OPAQUE;
    ASSERT_TRUE(c.draw(10, 5, "Hello"));
    const Size cell = c.extent("Hello");
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const bool in_cell = x >= 10 && x < 10 + cell.cx && y >= 5 && y < 5 + cell.cy;
            if (in_cell) {
                ASSERT_TRUE(c.at(x, y) == pixel_of(PAPER) || c.at(x, y) == pixel_of(INK));
                ink += c.at(x, y) == pixel_of(INK);
            } else {
                ASSERT_EQ(c.at(x, y), BACKGROUND) << x << "," << y;
            }
        }
    EXPECT_GT(ink, 20);
    EXPECT_GT(c.count(pixel_of(PAPER)), ink);
}

TEST(TextOut, OpaqueSpaceOnlyFillsItsCell) {
    Canvas c(40, 40);
    c.dc.bk_mode = OPAQUE;
    c.draw(0, 0, " ");
    EXPECT_EQ(c.count(pixel_of(PAPER)), c.extent(" ").cx * c.extent(" ").cy);
}

TEST(TextOut, SameTextTwiceGivesIdenticalPixels) {
    Canvas a(200, 40), b(200, 40);
    a.draw(7, 9, "Hello, weather 123");
    b.draw(7, 9, "Hello, weather 123");
    b.draw(7, 9, "Hello, weather 123");
    EXPECT_EQ(a.surface.pixels, b.surface.pixels);
}

TEST(TextOut, WritesThroughTheRowRing) {
    Canvas plain(100, 30), ringed(100, 30);
    ringed.surface.first_row = 11;
    plain.draw(4, 6, "Ring");
    ringed.draw(4, 6, "Ring");
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(plain.at(x, y), ringed.at(x, y));
}

// A text partly off the surface shows exactly the visible part of the same
// text drawn in full.
TEST(TextClipping, PartlyOffSurfaceMatchesTheFullDrawing) {
    Canvas full(200, 60, make_font(-24));
    full.draw(20, 20, "Wajgy|");
    for (auto [dx, dy] : {std::pair{-30, -25}, {-5, 0}, {0, -12}, {90, 30}, {-40, 35}}) {
        Canvas part(60, 30, make_font(-24));
        part.draw(20 + dx, 20 + dy, "Wajgy|");
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x) {
                const int fx = x - dx, fy = y - dy;
                const bool inside = fx >= 0 && fx < 200 && fy >= 0 && fy < 60;
                ASSERT_EQ(part.at(x, y), inside ? full.at(fx, fy) : BACKGROUND)
                    << dx << "," << dy << " at " << x << "," << y;
            }
    }
}

TEST(TextClipping, ExtremeCoordinatesDrawNothingAndAreSafe) {
    for (int mode : {TRANSPARENT, OPAQUE}) {
        Canvas c(50, 50, make_font(-40));
        c.dc.bk_mode = mode;
        const std::uint64_t version = c.surface.version;
        for (int x : {INT_MIN, INT_MIN + 1, -100000, INT_MAX - 1, INT_MAX})
            for (int y : {INT_MIN, INT_MAX, 10}) EXPECT_TRUE(c.draw(x, y, "Hello World"));
        for (int y : {INT_MIN, INT_MAX - 5, -1000}) EXPECT_TRUE(c.draw(5, y, "Hello"));
        EXPECT_EQ(c.count(BACKGROUND), 50 * 50);
        EXPECT_EQ(c.surface.version, version);
    }
}

TEST(TextClipping, TextEndingBeyondIntMaxIsSafe) {
    Canvas c(50, 50, make_font(-1000));
    c.dc.bk_mode = OPAQUE;
    EXPECT_TRUE(c.draw(INT_MAX - 500, 0, std::string(100, 'W')));
    EXPECT_EQ(c.count(BACKGROUND), 50 * 50);
}

TEST(TextClipping, DcClipRectangleLimitsDrawing) {
    Canvas full(120, 40), clipped(120, 40);
    clipped.dc.has_clip = true;
    clipped.dc.clip = Rect{15, 8, 40, 16};
    full.draw(10, 5, "Hello");
    clipped.draw(10, 5, "Hello");
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const bool in_clip = x >= 15 && x < 40 && y >= 8 && y < 16;
            ASSERT_EQ(clipped.at(x, y), in_clip ? full.at(x, y) : BACKGROUND) << x << "," << y;
        }
}

TEST(TextOut, AVeryLongLineDrawsItsVisiblePartAndBumpsTheVersionOnce) {
    Canvas c(200, 30);
    const std::string text(2'000'000, 'A');
    const std::uint64_t version = c.surface.version;
    EXPECT_TRUE(c.draw(-1'000'000, 5, text));
    EXPECT_EQ(c.surface.version, version + 1);
    EXPECT_GT(c.count(pixel_of(INK)), 100);
}

TEST(TextOut, ControlCharactersAreDrawnNotInterpreted) {
    Canvas c(100, 30);
    c.draw(2, 2, "\n");
    EXPECT_GT(c.count(pixel_of(INK)), 0);
    Canvas d(100, 30);
    d.draw(2, 2, std::string("a\0b", 3));
    Canvas e(100, 30);
    e.draw(2, 2, "a");
    EXPECT_GT(d.count(pixel_of(INK)), e.count(pixel_of(INK)));
}

TEST(TextOut, RejectsBadArguments) {
    Canvas c(20, 20);
    EXPECT_FALSE(text_out(nullptr, 0, 0, "a", 1));
    EXPECT_FALSE(text_out(&c.dc, 0, 0, "a", -1));
    EXPECT_FALSE(text_out(&c.dc, 0, 0, nullptr, 1));
    EXPECT_TRUE(text_out(&c.dc, 0, 0, nullptr, 0));
    EXPECT_EQ(c.count(BACKGROUND), 400);
}

}  // namespace

namespace {

// The same text through the public DC calls: a memory DC with a bitmap and
// the stock fixed font selected, as the text window uses it.
TEST(TextThroughPublicDcCalls, StockFixedFontOnAMemoryBitmap) {
    HDC dc = create_compatible_dc(nullptr);
    ASSERT_NE(dc, nullptr);
    HGDIOBJ bitmap = create_compatible_bitmap(dc, 200, 30);
    HGDIOBJ old_bitmap = select_object(dc, bitmap);
    HGDIOBJ old_font = select_object(dc, get_stock_object(ANSI_FIXED_FONT));
    TextMetrics m;
    ASSERT_TRUE(get_text_metrics(dc, &m));
    EXPECT_TRUE(m.fixed_pitch);
    set_text_color(dc, INK);
    set_bk_color(dc, PAPER);
    set_bk_mode(dc, OPAQUE);
    ASSERT_TRUE(text_out(dc, 5, 3, "log line\n", 9));
    Size extent;
    ASSERT_TRUE(get_text_extent_point(dc, "log line\n", 9, &extent));
    EXPECT_EQ(extent.cx, 9 * m.tmAveCharWidth);
    const Image image = dc_image(dc);
    int ink = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const bool in_cell = x >= 5 && x < 5 + extent.cx && y >= 3 && y < 3 + m.tmHeight;
            if (in_cell) {
                EXPECT_TRUE(image.at(x, y) == pixel_of(PAPER) || image.at(x, y) == pixel_of(INK));
                ink += image.at(x, y) == pixel_of(INK);
            } else {
                EXPECT_NE(image.at(x, y), pixel_of(INK));
            }
        }
    EXPECT_GT(ink, 30);
    select_object(dc, old_font);
    select_object(dc, old_bitmap);
    EXPECT_TRUE(delete_object(bitmap));
    EXPECT_TRUE(delete_dc(dc));
}

TEST(TextThroughPublicDcCalls, CreatedFontCanBeSelectedAndDeleted) {
    HDC dc = create_compatible_dc(nullptr);
    HGDIOBJ font = create_font(-20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "KV390-font");
    HGDIOBJ old = select_object(dc, font);
    TextMetrics m;
    ASSERT_TRUE(get_text_metrics(dc, &m));
    EXPECT_EQ(m.tmHeight - m.tmInternalLeading, 20);
    select_object(dc, old);
    EXPECT_TRUE(delete_object(font));
    EXPECT_TRUE(delete_dc(dc));
}

}  // namespace
