// Working the menu bar with keys and the mouse.
#include <gtest/gtest.h>

#include "menu_bar/layout.h"
#include "menu_bar/tracker.h"

namespace {

using namespace win;
using namespace win::menu_bar;

MenuItem text_item(const char* text, std::uintptr_t id, UINT flags = MF_STRING) {
    return MenuItem{flags, id, text, nullptr};
}
MenuItem separator() {
    return MenuItem{MF_SEPARATOR, 0, "", nullptr};
}

// A bar with "&Run" (a drop-down like the library's) and "&Help".
MenuView run_menu_view() {
    MenuView view;
    view.bar = {MenuItem{MF_POPUP, 0, "&Run", nullptr}, MenuItem{MF_POPUP, 0, "&Help", nullptr}};
    view.popups.push_back({
        text_item("&Animate\tCtrl+A", 1),              // 0
        text_item("&Halt animation\tCtrl+H", 2),       // 1
        separator(),                                   // 2
        text_item("&Logging\tCtrl+L", 4, MF_CHECKED),  // 3
        separator(),                                   // 4
        text_item("&Quit\tCtrl+Q", 8),                 // 5
        text_item("KV390 v2.2", 9, MF_GRAYED),         // 6
    });
    view.popups.push_back({text_item("&About", 20)});
    return view;
}

MenuGeometry run_geometry() {
    MenuGeometry g;
    g.bar_left = {0, 40};
    g.bar_right = {40, 80};
    g.popup = Rect{0, layout::BAR_HEIGHT, 150,
                   layout::BAR_HEIGHT + layout::popup_height(run_menu_view().popups[0])};
    return g;
}

// Content y of the middle of drop-down item `position`.
int item_y(int position) {
    return layout::BAR_HEIGHT + layout::item_top(run_menu_view().popups[0], position) +
           layout::item_height(run_menu_view().popups[0][std::size_t(position)]) / 2;
}

TEST(MenuItems, NavigationSkipsSeparatorsAndWraps) {
    auto items = run_menu_view().popups[0];
    EXPECT_EQ(next_item(items, -1, +1), 0);
    EXPECT_EQ(next_item(items, 1, +1), 3);
    EXPECT_EQ(next_item(items, 3, -1), 1);
    EXPECT_EQ(next_item(items, 6, +1), 0);
    EXPECT_EQ(next_item(items, 0, -1), 6);
    EXPECT_EQ(next_item({}, -1, +1), -1);
    EXPECT_EQ(next_item({separator()}, -1, +1), -1);
}

TEST(MenuItems, MnemonicsAreCaseInsensitive) {
    auto items = run_menu_view().popups[0];
    EXPECT_EQ(mnemonic_item(items, 'Q'), 5);
    EXPECT_EQ(mnemonic_item(items, 'q'), 5);
    EXPECT_EQ(mnemonic_item(items, 'L'), 3);
    EXPECT_EQ(mnemonic_item(items, 'Z'), -1);
    EXPECT_TRUE(is_selectable(items[0]));
    EXPECT_FALSE(is_selectable(items[2]));
    EXPECT_FALSE(is_selectable(items[6]));
}

TEST(MenuKeys, AltAloneOpensTheFirstDropDownWithItsFirstItemHighlighted) {
    MenuView view = run_menu_view();
    MenuState s;
    EXPECT_FALSE(menu_key_down(s, view, VK_MENU).consumed);  // Alt still reaches the window
    MenuOutcome up = menu_key_up(s, view, VK_MENU);
    EXPECT_TRUE(up.redraw);
    EXPECT_EQ(s.open, 0);
    EXPECT_EQ(s.hot, 0);
}

TEST(MenuKeys, AltWithAnotherKeyInBetweenDoesNotOpen) {
    MenuView view = run_menu_view();
    MenuState s;
    menu_key_down(s, view, VK_MENU);
    EXPECT_FALSE(menu_key_down(s, view, VK_F1).consumed);
    menu_key_up(s, view, VK_MENU);
    EXPECT_EQ(s.open, -1);
}

TEST(MenuKeys, AltMnemonicOpensThatDropDown) {
    MenuView view = run_menu_view();
    MenuState s;
    menu_key_down(s, view, VK_MENU);
    MenuOutcome out = menu_key_down(s, view, 'H');
    EXPECT_TRUE(out.consumed);
    EXPECT_EQ(s.open, 1);
    menu_key_up(s, view, VK_MENU);  // releasing Alt afterwards keeps it open
    EXPECT_EQ(s.open, 1);
}

TEST(MenuKeys, PlainLetterWithoutAltIsNotForTheMenu) {
    MenuView view = run_menu_view();
    MenuState s;
    EXPECT_FALSE(menu_key_down(s, view, 'R').consumed);
    EXPECT_EQ(s.open, -1);
}

TEST(MenuKeys, ArrowsMoveEnterChooses) {
    MenuView view = run_menu_view();
    MenuState s;
    menu_key_down(s, view, VK_MENU);
    menu_key_up(s, view, VK_MENU);
    menu_key_down(s, view, VK_DOWN);
    EXPECT_EQ(s.hot, 1);
    menu_key_down(s, view, VK_DOWN);
    EXPECT_EQ(s.hot, 3);  // the separator is skipped
    menu_key_down(s, view, VK_UP);
    menu_key_down(s, view, VK_UP);
    menu_key_down(s, view, VK_UP);
    EXPECT_EQ(s.hot, 6);  // wrapped to the bottom
    MenuOutcome grey = menu_key_down(s, view, VK_RETURN);
    EXPECT_EQ(grey.chosen_bar, -1);  // a greyed item cannot be chosen
    EXPECT_EQ(s.open, 0);
    menu_key_down(s, view, VK_UP);
    MenuOutcome out = menu_key_down(s, view, VK_RETURN);
    EXPECT_EQ(out.chosen_bar, 0);
    EXPECT_EQ(out.chosen_item, 5);
    EXPECT_EQ(s.open, -1);
}

TEST(MenuKeys, MnemonicChoosesEscapeCloses) {
    MenuView view = run_menu_view();
    MenuState s;
    menu_key_down(s, view, VK_MENU);
    menu_key_down(s, view, 'R');
    MenuOutcome out = menu_key_down(s, view, 'Q');
    EXPECT_TRUE(out.consumed);
    EXPECT_EQ(out.chosen_item, 5);
    EXPECT_EQ(s.open, -1);

    menu_key_down(s, view, VK_MENU);
    menu_key_down(s, view, 'R');
    MenuOutcome other = menu_key_down(s, view, 'X');  // no such mnemonic: swallowed, stays open
    EXPECT_TRUE(other.consumed);
    EXPECT_EQ(s.open, 0);
    MenuOutcome esc = menu_key_down(s, view, VK_ESCAPE);
    EXPECT_TRUE(esc.consumed);
    EXPECT_EQ(esc.chosen_bar, -1);
    EXPECT_EQ(s.open, -1);
}

TEST(MenuKeys, LeftAndRightSwitchBarItems) {
    MenuView view = run_menu_view();
    MenuState s;
    menu_key_down(s, view, VK_MENU);
    menu_key_up(s, view, VK_MENU);
    menu_key_down(s, view, VK_RIGHT);
    EXPECT_EQ(s.open, 1);
    menu_key_down(s, view, VK_RIGHT);
    EXPECT_EQ(s.open, 0);
    menu_key_down(s, view, VK_LEFT);
    EXPECT_EQ(s.open, 1);
}

TEST(MenuMouse, ClickOnBarOpensClickOnItemChooses) {
    MenuView view = run_menu_view();
    MenuGeometry g = run_geometry();
    MenuState s;
    EXPECT_TRUE(menu_button_down(s, view, g, 10, 9).consumed);
    EXPECT_EQ(s.open, 0);
    EXPECT_EQ(s.hot, -1);
    EXPECT_TRUE(menu_button_up(s, view, g, 10, 9).consumed);
    EXPECT_EQ(s.open, 0);  // stays open after the click

    menu_motion(s, view, g, 20, item_y(3));
    EXPECT_EQ(s.hot, 3);  // hover highlight
    menu_motion(s, view, g, 20, item_y(2));
    EXPECT_EQ(s.hot, -1);  // a separator is never highlighted

    menu_button_down(s, view, g, 20, item_y(5));
    MenuOutcome out = menu_button_up(s, view, g, 20, item_y(5));
    EXPECT_EQ(out.chosen_bar, 0);
    EXPECT_EQ(out.chosen_item, 5);
    EXPECT_EQ(s.open, -1);
}

TEST(MenuMouse, GreyedItemsAndSeparatorsKeepTheMenuOpen) {
    MenuView view = run_menu_view();
    MenuGeometry g = run_geometry();
    MenuState s;
    menu_button_down(s, view, g, 10, 9);
    menu_button_up(s, view, g, 10, 9);
    for (int position : {2, 6}) {
        menu_button_down(s, view, g, 20, item_y(position));
        MenuOutcome out = menu_button_up(s, view, g, 20, item_y(position));
        EXPECT_EQ(out.chosen_bar, -1);
        EXPECT_EQ(s.open, 0);
    }
}

TEST(MenuMouse, ClickOutsideClosesAndIsSwallowed) {
    MenuView view = run_menu_view();
    MenuGeometry g = run_geometry();
    MenuState s;
    menu_button_down(s, view, g, 10, 9);
    menu_button_up(s, view, g, 10, 9);
    MenuOutcome down = menu_button_down(s, view, g, 400, 300);
    EXPECT_TRUE(down.consumed);
    EXPECT_TRUE(down.redraw);
    EXPECT_EQ(s.open, -1);
    EXPECT_TRUE(menu_button_up(s, view, g, 400, 300).consumed);
    // The next click is the window's again.
    EXPECT_FALSE(menu_button_down(s, view, g, 400, 300).consumed);
    EXPECT_FALSE(menu_button_up(s, view, g, 400, 300).consumed);
}

TEST(MenuMouse, SecondClickOnOpenBarItemCloses) {
    MenuView view = run_menu_view();
    MenuGeometry g = run_geometry();
    MenuState s;
    menu_button_down(s, view, g, 10, 9);
    menu_button_up(s, view, g, 10, 9);
    menu_button_down(s, view, g, 10, 9);
    menu_button_up(s, view, g, 10, 9);
    EXPECT_EQ(s.open, -1);
}

TEST(MenuMouse, DragFromBarToItemChooses) {
    MenuView view = run_menu_view();
    MenuGeometry g = run_geometry();
    MenuState s;
    menu_button_down(s, view, g, 10, 9);
    menu_motion(s, view, g, 20, item_y(1));
    MenuOutcome out = menu_button_up(s, view, g, 20, item_y(1));
    EXPECT_EQ(out.chosen_item, 1);
}

TEST(MenuLayout, ItemPositionsFollowHeights) {
    auto items = run_menu_view().popups[0];
    using namespace layout;
    EXPECT_EQ(item_top(items, 0), POPUP_EDGE);
    EXPECT_EQ(item_top(items, 3), POPUP_EDGE + 2 * ITEM_HEIGHT + SEPARATOR_HEIGHT);
    EXPECT_EQ(item_at(items, item_top(items, 3)), 3);
    EXPECT_EQ(item_at(items, item_top(items, 3) - 1), 2);
    EXPECT_EQ(item_at(items, 0), -1);
    EXPECT_EQ(item_at(items, popup_height(items) - 1), -1);
}

}  // namespace
