// Every non-stock GDI object and every DC is on a live list from creation to
// deletion; a layer reset frees whatever is still live, and handles deleted
// before are refused instead of being freed again.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "harness_test.h"
#include "raster/objects.h"

namespace kv390::test {
namespace {

using namespace win;

struct Live {
    std::size_t dcs = 0, objects = 0;
    bool operator==(const Live&) const = default;
};

Live live_now() {
    return {raster::live_dc_count(), raster::live_object_count()};
}

void PrintTo(const Live& live, std::ostream* out) {
    *out << "{" << live.dcs << " DCs, " << live.objects << " objects}";
}

HGDIOBJ make_font() {
    return create_font(-20, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, "Sans");
}

HWND make_plain_window() {
    if (!is_class_registered("HygienePlain")) {
        WindowClass wc;
        wc.name = "HygienePlain";
        wc.proc = def_window_proc;
        wc.background = create_solid_brush(rgb(1, 2, 3));  // owned by no one: reset frees it
        register_class(wc);
    }
    return create_window(0, "HygienePlain", "w", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 150,
                         nullptr, nullptr, nullptr, nullptr);
}

using LiveObjectsTest = HarnessTest;

TEST_F(LiveObjectsTest, CreationAndDeletionKeepTheCounts) {
    ASSERT_EQ(live_now(), (Live{0, 0})) << "a reset leaves nothing";
    HGDIOBJ pen = create_pen(PS_SOLID, 3, rgb(1, 2, 3));
    HGDIOBJ brush = create_solid_brush(rgb(4, 5, 6));
    HGDIOBJ font = make_font();
    HDC dc = create_compatible_dc(nullptr);
    HGDIOBJ bitmap = create_compatible_bitmap(dc, 10, 10);
    EXPECT_EQ(live_now(), (Live{1, 4}));
    // Stock objects are not counted and not freed.
    EXPECT_NE(get_stock_object(BLACK_PEN), nullptr);
    EXPECT_EQ(live_now(), (Live{1, 4}));

    // Out of creation order: middle, newest, oldest.
    EXPECT_TRUE(delete_object(brush));
    EXPECT_TRUE(delete_object(bitmap));
    EXPECT_TRUE(delete_object(pen));
    EXPECT_EQ(live_now(), (Live{1, 1}));
    EXPECT_TRUE(delete_dc(dc));
    EXPECT_TRUE(delete_object(font));
    EXPECT_EQ(live_now(), (Live{0, 0}));
}

TEST_F(LiveObjectsTest, ResetFreesDcsAndObjectsStillLiveAndSelected) {
    HWND hwnd = make_plain_window();
    ASSERT_NE(hwnd, nullptr);
    HDC window_dc = get_dc(hwnd);
    HDC memory_dc = create_compatible_dc(window_dc);
    HGDIOBJ bitmap = create_compatible_bitmap(window_dc, 64, 64);
    HGDIOBJ pen = create_pen(PS_SOLID, 5, rgb(9, 9, 9));
    HGDIOBJ font = make_font();
    select_object(memory_dc, bitmap);
    select_object(memory_dc, pen);
    select_object(window_dc, font);
    EXPECT_TRUE(rectangle(memory_dc, 1, 1, 30, 30));
    PaintStruct ps{};
    invalidate_rect(hwnd, nullptr, true);
    ASSERT_NE(begin_paint(hwnd, &ps), nullptr);                      // never ended
    for (int i = 0; i < 200; ++i) create_solid_brush(rgb(i, 0, 0));  // a program forgot these
    EXPECT_EQ(live_now(), (Live{3, 204}));                           // the class brush counts

    harness::reset();
    EXPECT_EQ(live_now(), (Live{0, 0}));
    // The layer works as fresh after the reset.
    HDC again = create_compatible_dc(nullptr);
    EXPECT_EQ(live_now(), (Live{1, 0}));
    EXPECT_TRUE(delete_dc(again));
}

TEST_F(LiveObjectsTest, HandlesDeletedTwiceAreRefused) {
    HGDIOBJ brush = create_solid_brush(rgb(10, 20, 30));
    ASSERT_TRUE(delete_object(brush));
    EXPECT_FALSE(delete_object(brush));

    HDC dc = create_compatible_dc(nullptr);
    ASSERT_TRUE(delete_dc(dc));
    EXPECT_FALSE(delete_dc(dc));
    EXPECT_EQ(live_now(), (Live{0, 0}));

    HWND hwnd = make_plain_window();
    HDC window_dc = get_dc(hwnd);
    EXPECT_EQ(release_dc(hwnd, window_dc), 1);
    release_dc(hwnd, window_dc);  // the second release frees nothing
    EXPECT_EQ(live_now(), (Live{0, 1}));
}

TEST_F(LiveObjectsTest, DeletedHandlesCannotBeSelected) {
    HDC dc = create_compatible_dc(nullptr);
    HGDIOBJ pen = create_pen(PS_SOLID, 1, rgb(1, 1, 1));
    ASSERT_TRUE(delete_object(pen));
    EXPECT_EQ(select_object(dc, pen), nullptr);

    HDC gone = create_compatible_dc(nullptr);
    ASSERT_TRUE(delete_dc(gone));
    HGDIOBJ brush = create_solid_brush(rgb(2, 2, 2));
    EXPECT_EQ(select_object(gone, brush), nullptr);
    EXPECT_TRUE(delete_object(brush)) << "not held by the deleted DC";
    EXPECT_TRUE(delete_dc(dc));
}

TEST_F(LiveObjectsTest, SelectedObjectsStayUntilTheirDcGoes) {
    HDC dc = create_compatible_dc(nullptr);
    HGDIOBJ brush = create_solid_brush(rgb(3, 3, 3));
    select_object(dc, brush);
    EXPECT_FALSE(delete_object(brush));
    EXPECT_TRUE(delete_dc(dc));
    EXPECT_TRUE(delete_object(brush));
}

TEST_F(LiveObjectsTest, ReusedRecordsStartFromTheDefaults) {
    HDC dc = create_compatible_dc(nullptr);
    set_text_color(dc, rgb(200, 100, 50));
    set_bk_mode(dc, TRANSPARENT);
    HGDIOBJ bitmap = create_compatible_bitmap(dc, 8, 8);
    select_object(dc, bitmap);
    select_object(dc, create_pen(PS_NULL, 7, rgb(1, 1, 1)));
    delete_dc(dc);  // the pen stays live, unselected
    delete_object(bitmap);

    HDC fresh = create_compatible_dc(nullptr);
    EXPECT_EQ(get_text_color(fresh), rgb(0, 0, 0));
    EXPECT_EQ(get_bk_mode(fresh), OPAQUE);
    // A fresh memory DC draws into its 1x1 stock bitmap, not the deleted one.
    EXPECT_EQ(get_pixel(fresh, 5, 5), 0xFFFFFFFFu);
    HGDIOBJ small = create_compatible_bitmap(fresh, 2, 2);
    select_object(fresh, small);
    EXPECT_EQ(get_pixel(fresh, 1, 1), rgb(0, 0, 0));
    EXPECT_EQ(get_pixel(fresh, 5, 5), 0xFFFFFFFFu) << "no pixels left from the 8x8 bitmap";
    // A fresh solid brush paints, whatever record it was made in.
    HGDIOBJ brush = create_solid_brush(rgb(0, 255, 0));
    Rect all{0, 0, 2, 2};
    EXPECT_TRUE(fill_rect(fresh, &all, brush));
    EXPECT_EQ(get_pixel(fresh, 1, 1), rgb(0, 255, 0));
}

TEST_F(LiveObjectsTest, ADcMadeAfterAPaintIsNotClippedToThePaintArea) {
    HWND hwnd = make_plain_window();
    pump_pending();
    Rect corner{0, 0, 1, 1};
    invalidate_rect(hwnd, &corner, false);
    PaintStruct ps{};
    ASSERT_NE(begin_paint(hwnd, &ps), nullptr);
    end_paint(hwnd, &ps);

    HDC dc = create_compatible_dc(nullptr);
    select_object(dc, create_compatible_bitmap(dc, 8, 8));
    Rect all{0, 0, 8, 8};
    EXPECT_TRUE(fill_rect(dc, &all, get_stock_object(WHITE_BRUSH)));
    EXPECT_EQ(get_pixel(dc, 5, 5), rgb(255, 255, 255));
}

TEST_F(LiveObjectsTest, ARecordDestroyedDirectlyLeavesTheList) {
    HGDIOBJ kept = create_pen(PS_SOLID, 1, rgb(1, 1, 1));
    {
        // Code that owns a record itself, as the text tests do with fonts.
        std::unique_ptr<GdiObject> font(make_font());
        EXPECT_EQ(live_now(), (Live{0, 2}));
    }
    EXPECT_EQ(live_now(), (Live{0, 1}));
    HGDIOBJ next = create_solid_brush(rgb(2, 2, 2));
    EXPECT_EQ(live_now(), (Live{0, 2}));
    harness::reset();  // walks the list: must not meet the destroyed record
    EXPECT_EQ(live_now(), (Live{0, 0}));
    EXPECT_FALSE(delete_object(kept));
    EXPECT_FALSE(delete_object(next));
}

TEST_F(LiveObjectsTest, ManyObjectsBeyondTheSpareRecords) {
    std::vector<HGDIOBJ> objects;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 500; ++i) objects.push_back(create_pen(PS_SOLID, i % 4, rgb(i, 0, 0)));
        for (std::size_t i = 0; i < objects.size(); i += 2) EXPECT_TRUE(delete_object(objects[i]));
        for (std::size_t i = 1; i < objects.size(); i += 2) EXPECT_TRUE(delete_object(objects[i]));
        objects.clear();
        EXPECT_EQ(live_now(), (Live{0, 0}));
    }
}

}  // namespace
}  // namespace kv390::test
