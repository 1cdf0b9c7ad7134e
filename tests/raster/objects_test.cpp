// GDI objects, selection bookkeeping and device-context defaults.
#include <gtest/gtest.h>

#include "canvas.h"

using namespace win;
using namespace raster_test;

TEST(StockObjects, HaveTheirKindsAndValues) {
    EXPECT_EQ(get_stock_object(WHITE_BRUSH)->kind, GdiObject::Kind::Brush);
    EXPECT_EQ(get_stock_object(WHITE_BRUSH)->color, WHITE);
    EXPECT_EQ(get_stock_object(BLACK_BRUSH)->color, BLACK);
    EXPECT_TRUE(get_stock_object(NULL_BRUSH)->is_null);
    EXPECT_FALSE(get_stock_object(GRAY_BRUSH)->is_null);
    EXPECT_EQ(get_stock_object(NULL_PEN)->pen_style, PS_NULL);
    EXPECT_EQ(get_stock_object(WHITE_PEN)->color, WHITE);
    for (int font :
         {SYSTEM_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, DEFAULT_GUI_FONT, OEM_FIXED_FONT}) {
        ASSERT_NE(get_stock_object(font), nullptr) << font;
        EXPECT_EQ(get_stock_object(font)->kind, GdiObject::Kind::Font) << font;
    }
    EXPECT_EQ(get_stock_object(SYSTEM_FONT)->font.height, SYSTEM_FONT_REQUEST.height);
    EXPECT_TRUE(get_stock_object(ANSI_FIXED_FONT)->font.fixed_pitch);
    EXPECT_FALSE(get_stock_object(ANSI_VAR_FONT)->font.fixed_pitch);
    EXPECT_EQ(get_stock_object(DEFAULT_GUI_FONT)->font.height, DEFAULT_GUI_FONT_REQUEST.height);
    EXPECT_EQ(get_stock_object(9), nullptr);
    EXPECT_EQ(get_stock_object(-1), nullptr);
    EXPECT_EQ(get_stock_object(1000), nullptr);
    EXPECT_EQ(get_stock_object(BLACK_PEN), get_stock_object(BLACK_PEN));
}

TEST(StockObjects, CannotBeDeleted) {
    for (int i : {WHITE_BRUSH, NULL_BRUSH, BLACK_PEN, NULL_PEN, SYSTEM_FONT}) {
        EXPECT_FALSE(delete_object(get_stock_object(i))) << i;
    }
    EXPECT_FALSE(delete_object(nullptr));
}

TEST(Selection, ReturnsPreviousObjectOfSameKindAndCounts) {
    Canvas c;
    HGDIOBJ pen = create_pen(PS_SOLID, 3, RED);
    HGDIOBJ brush = create_solid_brush(BLUE);
    EXPECT_EQ(select_object(c.dc, pen), get_stock_object(BLACK_PEN));
    EXPECT_EQ(select_object(c.dc, brush), get_stock_object(WHITE_BRUSH));
    EXPECT_EQ(pen->selected, 1);
    EXPECT_FALSE(delete_object(pen));
    EXPECT_FALSE(delete_object(brush));
    EXPECT_EQ(select_object(c.dc, get_stock_object(NULL_PEN)), pen);
    EXPECT_EQ(pen->selected, 0);
    EXPECT_TRUE(delete_object(pen));
    EXPECT_EQ(select_object(c.dc, get_stock_object(WHITE_BRUSH)), brush);
    EXPECT_TRUE(delete_object(brush));
    EXPECT_EQ(select_object(nullptr, get_stock_object(NULL_PEN)), nullptr);
    EXPECT_EQ(select_object(c.dc, nullptr), nullptr);
}

TEST(Selection, ObjectInTwoDcsStaysUntilBothLetGo) {
    Canvas a, b;
    HGDIOBJ brush = create_solid_brush(RED);
    select_object(a.dc, brush);
    select_object(b.dc, brush);
    select_object(a.dc, get_stock_object(WHITE_BRUSH));
    EXPECT_FALSE(delete_object(brush));
    select_object(b.dc, get_stock_object(WHITE_BRUSH));
    EXPECT_TRUE(delete_object(brush));
}

TEST(Pens, WidthZeroAndNegativeDrawOnePixel) {
    for (int width : {0, 1, -7}) {
        Canvas c;
        c.outlined(width, RED);
        move_to(c.dc, 5, 5, nullptr);
        line_to(c.dc, 15, 5);
        EXPECT_EQ(c.count(RED), 10) << width;
    }
}

TEST(DeviceContext, StartsWithDefaults) {
    Canvas c;
    EXPECT_EQ(c.dc->pen, get_stock_object(BLACK_PEN));
    EXPECT_EQ(c.dc->brush, get_stock_object(WHITE_BRUSH));
    EXPECT_EQ(c.dc->font, get_stock_object(SYSTEM_FONT));
    EXPECT_EQ(get_text_color(c.dc), BLACK);
    EXPECT_EQ(get_bk_color(c.dc), WHITE);
    EXPECT_EQ(get_bk_mode(c.dc), OPAQUE);
}

TEST(DeviceContext, KeepsColoursAndModes) {
    Canvas c;
    EXPECT_EQ(set_text_color(c.dc, RED), BLACK);
    EXPECT_EQ(get_text_color(c.dc), RED);
    EXPECT_EQ(set_bk_color(c.dc, BLUE), WHITE);
    EXPECT_EQ(get_bk_color(c.dc), BLUE);
    EXPECT_EQ(set_bk_mode(c.dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(set_bk_mode(c.dc, 99), 0);
    EXPECT_EQ(get_bk_mode(c.dc), TRANSPARENT);
}

TEST(DeviceContext, BoundsAreSurfaceCutByClip) {
    Canvas c(40, 30);
    Rect b = dc_bounds(*c.dc);
    EXPECT_EQ(b.right, 40);
    EXPECT_EQ(b.bottom, 30);
    c.dc->has_clip = true;
    c.dc->clip = {-5, 10, 20, 100};
    b = dc_bounds(*c.dc);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 10);
    EXPECT_EQ(b.right, 20);
    EXPECT_EQ(b.bottom, 30);
    // Drawing honours the clip.
    c.filled(0, RED, RED);
    rectangle(c.dc, 0, 0, 40, 30);
    EXPECT_EQ(c.count(RED), 20 * 20);
    EXPECT_EQ(set_pixel(c.dc, 30, 15, RED), 0xFFFFFFFFu);
    EXPECT_EQ(get_pixel(c.dc, 5, 5), 0xFFFFFFFFu);
}

TEST(MemoryDc, StartsWithOnePixelBitmapAndDrawsIntoSelectedBitmap) {
    HDC mem = create_compatible_dc(nullptr);
    ASSERT_NE(mem, nullptr);
    ASSERT_NE(mem->surface, nullptr);
    EXPECT_EQ(mem->surface->width, 1);
    EXPECT_EQ(mem->surface->height, 1);
    HGDIOBJ bitmap = create_compatible_bitmap(mem, 8, 6);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->surface.pixels, std::vector<std::uint32_t>(48, 0u));
    HGDIOBJ old = select_object(mem, bitmap);
    EXPECT_TRUE(old->stock);
    EXPECT_EQ(mem->surface, &bitmap->surface);
    EXPECT_EQ(set_pixel(mem, 7, 5, RED), RED);
    const Image image = dc_image(mem);
    EXPECT_EQ(image.width, 8);
    EXPECT_EQ(image.height, 6);
    EXPECT_EQ(image.at(7, 5), pixel_of(RED));
    EXPECT_FALSE(delete_object(bitmap));
    // A bitmap draws through one DC at a time.
    HDC other = create_compatible_dc(nullptr);
    EXPECT_EQ(select_object(other, bitmap), nullptr);
    EXPECT_TRUE(delete_dc(other));
    select_object(mem, old);
    EXPECT_TRUE(delete_object(bitmap));
    EXPECT_TRUE(delete_dc(mem));
}

TEST(MemoryDc, RefusesUnusableBitmapsAndWindowDcs) {
    EXPECT_EQ(create_compatible_bitmap(nullptr, -1, 5), nullptr);
    EXPECT_EQ(create_compatible_bitmap(nullptr, 1 << 20, 1 << 20), nullptr);
    Canvas c;
    HGDIOBJ bitmap = create_compatible_bitmap(nullptr, 4, 4);
    EXPECT_EQ(select_object(c.dc, bitmap), nullptr);
    EXPECT_EQ(c.dc->surface, &c.surface);
    EXPECT_FALSE(delete_dc(c.dc));
    EXPECT_TRUE(delete_object(bitmap));
}
