// Drawing the bar strip and drop-downs into surfaces.
#include <gtest/gtest.h>

#include <cstdint>

#include "menu_bar/layout.h"
#include "menu_bar/painter.h"

namespace {

using namespace win;
using namespace win::menu_bar;

constexpr std::uint32_t FACE = 0xC0C0C0, WHITE = 0xFFFFFF, BLACK = 0x000000, GREY = 0x808080,
                        NAVY = 0x000080;

MenuItem item(const char* text, UINT flags = MF_STRING) {
    return MenuItem{flags, 1, text, nullptr};
}

std::vector<MenuItem> sample_items() {
    return {item("&Animate\tCtrl+A"), item("", MF_SEPARATOR), item("&Logging\tCtrl+L", MF_CHECKED),
            item("&Quit\tCtrl+Q"), item("KV390 v2.2 July 1997", MF_GRAYED)};
}

int count_in_rows(const Surface& s, int top, int bottom, int left, int right, std::uint32_t px) {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) n += s.row(y)[x] == px ? 1 : 0;
    }
    return n;
}

int item_top(int position) {
    return layout::item_top(sample_items(), position);
}

TEST(MenuText, SplitsLabelMnemonicAndShortcut) {
    MenuText t = split_menu_text("Advance one &frame\tCtrl+F");
    EXPECT_EQ(t.label, "Advance one frame");
    EXPECT_EQ(t.underline, 12);
    EXPECT_EQ(t.shortcut, "Ctrl+F");
    MenuText amp = split_menu_text("Salt && &Pepper");
    EXPECT_EQ(amp.label, "Salt & Pepper");
    EXPECT_EQ(amp.underline, 7);
    EXPECT_EQ(amp.shortcut, "");
    MenuText plain = split_menu_text("KV390 v2.2 July 1997");
    EXPECT_EQ(plain.underline, -1);
    EXPECT_EQ(split_menu_text("Trailing&").label, "Trailing&");
}

class PopupPicture : public ::testing::Test {
  protected:
    void SetUp() override {
        MenuView view;
        view.bar = {MenuItem{MF_POPUP, 0, "&Run", nullptr}};
        view.popups = {sample_items()};
        measure_bar(view, &geometry);
        popup = measure_popup(view, geometry, 0);
        width = popup.right - popup.left;
        paint_popup(surface, sample_items(), width, 0);
    }
    MenuGeometry geometry;
    Rect popup;
    int width = 0;
    Surface surface;
};

TEST_F(PopupPicture, SizedToItemsAndHangsBelowTheBar) {
    EXPECT_EQ(popup.top, layout::BAR_HEIGHT);
    EXPECT_EQ(popup.left, 0);
    EXPECT_EQ(surface.height, layout::popup_height(sample_items()));
    EXPECT_EQ(surface.width, width);
    EXPECT_GT(width, 100);
}

TEST_F(PopupPicture, RaisedFrame) {
    EXPECT_EQ(surface.row(0)[0], FACE);
    EXPECT_EQ(surface.row(1)[1], WHITE);
    EXPECT_EQ(surface.row(surface.height - 1)[width - 1], BLACK);
    EXPECT_EQ(surface.row(surface.height - 2)[width - 2], GREY);
}

TEST_F(PopupPicture, HotItemIsNavyWithWhiteText) {
    int top = item_top(0);
    int bottom = top + layout::ITEM_HEIGHT;
    EXPECT_EQ(surface.row(top)[layout::POPUP_EDGE], NAVY);
    EXPECT_GT(count_in_rows(surface, top, bottom, 0, width, WHITE), 20);
    EXPECT_EQ(count_in_rows(surface, top, bottom, 3, width - 3, BLACK), 0);
}

TEST_F(PopupPicture, SeparatorIsAGroovedLine) {
    int y = item_top(1) + layout::SEPARATOR_HEIGHT / 2 - 1;
    EXPECT_EQ(count_in_rows(surface, y, y + 1, 2, width - 2, GREY), width - 4);
    EXPECT_EQ(count_in_rows(surface, y + 1, y + 2, 2, width - 2, WHITE), width - 4);
}

TEST_F(PopupPicture, CheckMarkInTheLeftColumn) {
    int top = item_top(2);
    int bottom = top + layout::ITEM_HEIGHT;
    int column = layout::POPUP_EDGE + layout::CHECK_COLUMN;
    EXPECT_EQ(count_in_rows(surface, top, bottom, layout::POPUP_EDGE, column, BLACK), 21);
    int unchecked = item_top(3);
    EXPECT_EQ(count_in_rows(surface, unchecked, unchecked + layout::ITEM_HEIGHT, layout::POPUP_EDGE,
                            column, BLACK),
              0);
}

TEST_F(PopupPicture, ShortcutIsRightAligned) {
    int top = item_top(3);
    int rightmost = -1;
    for (int y = top; y < top + layout::ITEM_HEIGHT; ++y) {
        for (int x = 0; x < width - layout::POPUP_EDGE; ++x) {
            if (surface.row(y)[x] == BLACK && x > rightmost) rightmost = x;
        }
    }
    int edge = width - layout::POPUP_EDGE - layout::RIGHT_MARGIN;
    EXPECT_LT(rightmost, edge);
    EXPECT_GE(rightmost, edge - 3);
}

TEST_F(PopupPicture, GreyedItemIsEmbossedGrey) {
    int top = item_top(4);
    int bottom = top + layout::ITEM_HEIGHT;
    EXPECT_GT(count_in_rows(surface, top, bottom, 3, width - 3, GREY), 20);
    EXPECT_GT(count_in_rows(surface, top, bottom, 3, width - 3, WHITE), 20);
    EXPECT_EQ(count_in_rows(surface, top, bottom, 3, width - 3, BLACK), 0);
}

TEST(MenuPicture, MnemonicUnderlineIsOneRowUnderTheLetter) {
    std::vector<MenuItem> with{item("&Quit")}, without{item("Quit")};
    Surface a, b;
    paint_popup(a, with, 120, -1);
    paint_popup(b, without, 120, -1);
    int rows = 0, first_x = -1, last_x = -1;
    for (int y = 0; y < a.height; ++y) {
        bool row_differs = false;
        for (int x = 0; x < a.width; ++x) {
            if (a.row(y)[x] == b.row(y)[x]) continue;
            EXPECT_EQ(a.row(y)[x], BLACK);
            row_differs = true;
            if (first_x < 0) first_x = x;
            last_x = x;
        }
        rows += row_differs ? 1 : 0;
    }
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(first_x, layout::POPUP_EDGE + layout::CHECK_COLUMN);
    EXPECT_GE(last_x - first_x, 4);  // as wide as a Q
}

TEST(MenuPicture, OpenBarItemIsPushedIn) {
    MenuView view;
    view.bar = {MenuItem{MF_POPUP, 0, "&Run", nullptr}};
    view.popups = {sample_items()};
    MenuGeometry geometry;
    measure_bar(view, &geometry);
    EXPECT_EQ(geometry.bar_left[0], 0);
    EXPECT_GT(geometry.bar_right[0], 2 * layout::BAR_ITEM_PADDING + 10);
    Surface closed, open;
    MenuState state;
    paint_bar(closed, 300, view, geometry, state);
    state.open = 0;
    paint_bar(open, 300, view, geometry, state);
    EXPECT_EQ(closed.width, 300);
    EXPECT_EQ(closed.height, layout::BAR_HEIGHT);
    EXPECT_EQ(closed.row(1)[0], FACE);
    EXPECT_EQ(open.row(1)[0], GREY);
    EXPECT_EQ(open.row(layout::BAR_HEIGHT - 2)[geometry.bar_right[0] - 1], WHITE);
    EXPECT_GT(count_in_rows(closed, 0, closed.height, 0, geometry.bar_right[0], BLACK), 20);
    EXPECT_EQ(count_in_rows(closed, 0, closed.height, geometry.bar_right[0], 300, BLACK), 0);
}

}  // namespace
