// Menus as data: items, check marks, choosing, labels.
#include <gtest/gtest.h>

#include "kv390/harness.h"
#include "recorder.h"

namespace kv390::test {
namespace {

using namespace win;

class MenuTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        hwnd = make_window("M", GRAPHICS_STYLE | WS_VISIBLE, 601, 540);
        bar = create_menu();
        popup = create_popup_menu();
        sub = create_popup_menu();
        append_menu(popup, MF_STRING, 1, "&Animate\tCtrl+A");
        append_menu(popup, MF_SEPARATOR, 0, nullptr);
        append_menu(popup, MF_CHECKED, 4, "&Logging\tCtrl+L");
        append_menu(popup, MF_GRAYED, 9, "KV390 v2.2 July 1997");
        append_menu(sub, MF_STRING, 12, "&Deep");
        append_menu(popup, MF_POPUP, reinterpret_cast<std::uintptr_t>(sub), "&More");
        append_menu(bar, MF_POPUP, reinterpret_cast<std::uintptr_t>(popup), "&Run");
        set_menu(hwnd, bar);
        pump_pending();
        recorder().clear();
    }
    std::vector<WPARAM> commands() {
        pump_pending();
        std::vector<WPARAM> ids;
        for (const Received& m : recorder().of(WM_COMMAND)) ids.push_back(m.wparam);
        recorder().clear();
        return ids;
    }
    HWND hwnd = nullptr;
    HMENU bar = nullptr, popup = nullptr, sub = nullptr;
};

TEST_F(MenuTest, ItemsKeepTextFlagsAndOrder) {
    const auto& items = menu_items(popup);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].text, "&Animate\tCtrl+A");
    EXPECT_EQ(items[0].id, 1u);
    EXPECT_TRUE(items[1].flags & MF_SEPARATOR);
    EXPECT_EQ(items[1].id, 0u);
    EXPECT_TRUE(items[2].flags & MF_CHECKED);
    EXPECT_EQ(items[4].popup, sub);
    EXPECT_EQ(get_menu(hwnd), bar);
    EXPECT_TRUE(menu_items(nullptr).empty());
}

TEST_F(MenuTest, CheckByCommandReturnsThePreviousState) {
    EXPECT_EQ(check_menu_item(popup, 4, MF_BYCOMMAND | MF_UNCHECKED), UINT(MF_CHECKED));
    EXPECT_EQ(check_menu_item(popup, 4, MF_BYCOMMAND | MF_UNCHECKED), UINT(MF_UNCHECKED));
    EXPECT_EQ(get_menu_state(popup, 4, MF_BYCOMMAND) & MF_CHECKED, 0u);
    // From the bar, by command, the popups are searched.
    EXPECT_EQ(check_menu_item(bar, 12, MF_CHECKED), UINT(MF_UNCHECKED));
    EXPECT_TRUE(menu_items(sub)[0].flags & MF_CHECKED);
    EXPECT_EQ(check_menu_item(popup, 0, MF_BYPOSITION | MF_CHECKED), UINT(MF_UNCHECKED));
    EXPECT_TRUE(menu_items(popup)[0].flags & MF_CHECKED);
    EXPECT_EQ(check_menu_item(popup, 77, MF_CHECKED), MENU_ITEM_NOT_FOUND);
    EXPECT_EQ(check_menu_item(popup, 5, MF_BYPOSITION | MF_CHECKED), MENU_ITEM_NOT_FOUND);
}

TEST_F(MenuTest, ChoosingPostsCommandsForSelectableItemsOnly) {
    EXPECT_TRUE(choose_menu_item(hwnd, popup, 0));
    EXPECT_FALSE(choose_menu_item(hwnd, popup, 1));  // separator
    EXPECT_FALSE(choose_menu_item(hwnd, popup, 3));  // greyed
    EXPECT_FALSE(choose_menu_item(hwnd, popup, 4));  // popup
    EXPECT_FALSE(choose_menu_item(hwnd, popup, 9));
    EXPECT_EQ(commands(), std::vector<WPARAM>{1});
    EXPECT_TRUE(harness::choose_menu_command(hwnd, 12));
    EXPECT_FALSE(harness::choose_menu_command(hwnd, 9));
    EXPECT_EQ(commands(), std::vector<WPARAM>{12});
}

TEST_F(MenuTest, HarnessReadsAPopupByItsLabel) {
    auto items = harness::menu_popup(hwnd, "Run");
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[2].text, "&Logging\tCtrl+L");
    EXPECT_TRUE(harness::menu_popup(hwnd, "File").empty());
}

TEST(MenuText, LabelShortcutAndMnemonic) {
    EXPECT_EQ(menu_label("Advance one &frame\tCtrl+F"), "Advance one frame");
    EXPECT_EQ(menu_shortcut("Advance one &frame\tCtrl+F"), "Ctrl+F");
    EXPECT_EQ(menu_mnemonic("Advance one &frame\tCtrl+F"), 'f');
    EXPECT_EQ(menu_label("Salt && &Pepper"), "Salt & Pepper");
    EXPECT_EQ(menu_mnemonic("Salt && &Pepper"), 'P');
    EXPECT_EQ(menu_mnemonic("KV390 v2.2"), '\0');
    EXPECT_EQ(menu_shortcut("Plain"), "");
}

}  // namespace
}  // namespace kv390::test
