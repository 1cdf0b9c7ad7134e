// Pens, brushes, stock objects, bitmaps and their selection into DCs.
#include <array>

#include "raster/live_list.h"
#include "raster/objects.h"

namespace win::raster {

namespace {

constexpr int STOCK_COUNT = DEFAULT_GUI_FONT + 1;
// Bitmaps beyond this many pixels (1 GiB of memory) are refused.
constexpr std::int64_t MAX_BITMAP_PIXELS = std::int64_t(1) << 28;
// Spare records kept for reuse: enough for the pens, brushes and fonts a
// drawing call creates and deletes, and for a burst of them.
constexpr std::size_t SPARE_OBJECTS = 64;

constinit LiveList<GdiObject, SPARE_OBJECTS> live_objects;

GdiObject stock_brush(COLORREF color, bool is_null) {
    GdiObject o;
    o.kind = GdiObject::Kind::Brush;
    o.stock = true;
    o.alive = true;
    o.color = color;
    o.is_null = is_null;
    return o;
}

GdiObject stock_pen(int style, COLORREF color) {
    GdiObject o;
    o.kind = GdiObject::Kind::Pen;
    o.stock = true;
    o.alive = true;
    o.pen_style = style;
    o.pen_width = 1;
    o.color = color;
    return o;
}

GdiObject stock_font(FontRequest request) {
    GdiObject o;
    o.kind = GdiObject::Kind::Font;
    o.stock = true;
    o.alive = true;
    o.font = request;
    return o;
}

struct StockObjects {
    std::array<GdiObject, STOCK_COUNT> table;
    std::array<bool, STOCK_COUNT> present{};
    GdiObject bitmap;

    void put(int index, GdiObject object) {
        table[std::size_t(index)] = std::move(object);
        present[std::size_t(index)] = true;
    }

    StockObjects() {
        put(WHITE_BRUSH, stock_brush(rgb(255, 255, 255), false));
        put(LTGRAY_BRUSH, stock_brush(rgb(192, 192, 192), false));
        put(GRAY_BRUSH, stock_brush(rgb(128, 128, 128), false));
        put(DKGRAY_BRUSH, stock_brush(rgb(64, 64, 64), false));
        put(BLACK_BRUSH, stock_brush(rgb(0, 0, 0), false));
        put(NULL_BRUSH, stock_brush(0, true));
        put(WHITE_PEN, stock_pen(PS_SOLID, rgb(255, 255, 255)));
        put(BLACK_PEN, stock_pen(PS_SOLID, rgb(0, 0, 0)));
        put(NULL_PEN, stock_pen(PS_NULL, 0));
        put(OEM_FIXED_FONT, stock_font(ANSI_FIXED_FONT_REQUEST));
        put(ANSI_FIXED_FONT, stock_font(ANSI_FIXED_FONT_REQUEST));
        put(ANSI_VAR_FONT, stock_font(ANSI_VAR_FONT_REQUEST));
        put(SYSTEM_FONT, stock_font(SYSTEM_FONT_REQUEST));
        put(DEFAULT_GUI_FONT, stock_font(DEFAULT_GUI_FONT_REQUEST));
        bitmap.kind = GdiObject::Kind::Bitmap;
        bitmap.stock = true;
        bitmap.alive = true;
        bitmap.surface.resize(1, 1, 0);
    }
};

StockObjects& stock_objects() {
    static StockObjects objects;
    return objects;
}

HGDIOBJ* slot_for(DeviceContext& dc, GdiObject::Kind kind) {
    switch (kind) {
        case GdiObject::Kind::Pen:
            return &dc.pen;
        case GdiObject::Kind::Brush:
            return &dc.brush;
        case GdiObject::Kind::Font:
            return &dc.font;
        case GdiObject::Kind::Bitmap:
            return &dc.bitmap;
    }
    return nullptr;
}

}  // namespace

GdiObject* default_bitmap() {
    return &stock_objects().bitmap;
}

HGDIOBJ swap_selection(DeviceContext& dc, GdiObject* object) {
    if (object->kind == GdiObject::Kind::Bitmap) {
        if (!dc.memory) return nullptr;
        // A bitmap draws through one DC at a time.
        if (!object->stock && object->selected > 0 && dc.bitmap != object) return nullptr;
    }
    HGDIOBJ* slot = slot_for(dc, object->kind);
    HGDIOBJ previous = *slot;
    if (previous) --previous->selected;
    ++object->selected;
    *slot = object;
    if (object->kind == GdiObject::Kind::Bitmap) dc.surface = &object->surface;
    return previous;
}

GdiObject* new_object(GdiObject::Kind kind) {
    GdiObject* object = live_objects.acquire();
    object->kind = kind;
    return object;
}

void free_all_objects() {
    while (GdiObject* object = live_objects.first()) live_objects.release(object);
}

std::size_t live_object_count() {
    return live_objects.live_count();
}

void release_selections(DeviceContext& dc) {
    for (HGDIOBJ* slot : {&dc.pen, &dc.brush, &dc.font, &dc.bitmap}) {
        if (*slot) --(*slot)->selected;
        *slot = nullptr;
    }
}

}  // namespace win::raster

namespace win {

HGDIOBJ create_pen(int style, int width, COLORREF color) {
    GdiObject* pen = raster::new_object(GdiObject::Kind::Pen);
    // Styles other than the empty pen draw solid; a negative width is the thinnest pen.
    pen->pen_style = style == PS_NULL ? PS_NULL : PS_SOLID;
    pen->pen_width = width < 0 ? 0 : width;
    pen->color = color & 0xFFFFFFu;
    return pen;
}

HGDIOBJ create_solid_brush(COLORREF color) {
    GdiObject* brush = raster::new_object(GdiObject::Kind::Brush);
    brush->color = color & 0xFFFFFFu;
    return brush;
}

HGDIOBJ get_stock_object(int index) {
    auto& stock = raster::stock_objects();
    if (index < 0 || index >= raster::STOCK_COUNT || !stock.present[std::size_t(index)]) {
        return nullptr;
    }
    return &stock.table[std::size_t(index)];
}

HGDIOBJ create_compatible_bitmap(HDC /*hdc*/, int width, int height) {
    if (width < 0 || height < 0) return nullptr;
    if (std::int64_t(width) * height > raster::MAX_BITMAP_PIXELS) return nullptr;
    GdiObject* bitmap = raster::new_object(GdiObject::Kind::Bitmap);
    bitmap->surface.resize(width, height, 0);
    return bitmap;
}

HGDIOBJ select_object(HDC hdc, HGDIOBJ object) {
    // Deleted DCs and objects are refused (their records are marked not alive).
    if (!hdc || !hdc->alive || !object || !object->alive) return nullptr;
    return raster::swap_selection(*hdc, object);
}

bool delete_object(HGDIOBJ object) {
    if (!object || !object->alive || object->stock || object->selected > 0) return false;
    raster::live_objects.release(object);
    return true;
}

}  // namespace win
