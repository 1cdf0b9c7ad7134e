// The Run menu, its commands and the Ctrl-letter shortcuts.
#include "events_fixture.h"

namespace kv390::test {
namespace {

using kv390::harness::press_ctrl_key;

struct ExpectedItem {
    const char* text;
    unsigned id;
    win::UINT flags;
};

constexpr ExpectedItem RUN_MENU[] = {
    {"&Animate\tCtrl+A", IDM_ANIMATE, win::MF_STRING},
    {"&Halt animation\tCtrl+H", IDM_HALT, win::MF_STRING},
    {"Advance one &frame\tCtrl+F", IDM_ADVANCE, win::MF_STRING},
    {"", 0, win::MF_SEPARATOR},
    {"&Logging\tCtrl+L", IDM_LOGGING, win::MF_CHECKED},
    {"", 0, win::MF_SEPARATOR},
    {"&Record Script\tCtrl+R", IDM_RECORD, win::MF_STRING},
    {"&Playback Script\tCtrl+P", IDM_PLAYBACK, win::MF_STRING},
    {"Play &One Script\tCtrl+O", IDM_PLAY_ONE, win::MF_STRING},
    {"", 0, win::MF_SEPARATOR},
    {"&Quit\tCtrl+Q", IDM_QUIT, win::MF_STRING},
    {"", 0, win::MF_SEPARATOR},
    {"KV390 v2.2 July 1997", IDM_INFO, win::MF_GRAYED},
    {"MAC: mac@kv390.example", IDM_INFO, win::MF_GRAYED},
    {"WINDOWS: windows@kv390.example", IDM_INFO, win::MF_GRAYED},
    {"UPDATES: updates@kv390.example", IDM_INFO, win::MF_GRAYED},
};

TEST_F(EventsTest, MenuBarHoldsTheRunPopup) {
    win::HMENU bar = win::get_menu(graphics());
    ASSERT_NE(bar, nullptr);
    const std::vector<win::MenuItem>& items = win::menu_items(bar);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "&Run");
    EXPECT_TRUE(items[0].flags & win::MF_POPUP);
    EXPECT_EQ(items[0].popup, lib().run_menu);
}

TEST_F(EventsTest, RunPopupHasSixteenItemsInOrder) {
    const std::vector<win::MenuItem> items = kv390::harness::menu_popup(graphics(), "Run");
    ASSERT_EQ(items.size(), std::size(RUN_MENU));
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(items[i].id, RUN_MENU[i].id);
        EXPECT_EQ(items[i].flags, RUN_MENU[i].flags);
        if (RUN_MENU[i].flags != win::MF_SEPARATOR) {
            EXPECT_EQ(items[i].text, RUN_MENU[i].text);
        }
    }
}

TEST_F(EventsTest, InformationLinesCannotBeChosen) {
    EXPECT_FALSE(kv390::harness::choose_menu_command(graphics(), IDM_INFO));
}

TEST_F(EventsTest, CheckMarksFollowLoggingRecordingAndPlayback) {
    EXPECT_TRUE(is_checked(IDM_LOGGING));
    press_ctrl_key('L');
    press_ctrl_key('R');
    pump_queued_messages();
    EXPECT_EQ(lib().logging_on, 0);
    EXPECT_FALSE(is_checked(IDM_LOGGING));
    EXPECT_TRUE(is_checked(IDM_RECORD));
    press_ctrl_key('R');
    press_ctrl_key('L');
    pump_queued_messages();
    EXPECT_EQ(lib().logging_on, 1);
    EXPECT_TRUE(is_checked(IDM_LOGGING));
    EXPECT_FALSE(is_checked(IDM_RECORD));
    write_script("KV390_KBD(65);\n");
    press_ctrl_key('P');
    pump_queued_messages();
    EXPECT_TRUE(is_checked(IDM_PLAYBACK));
    press_ctrl_key('O');
    pump_queued_messages();
    EXPECT_FALSE(is_checked(IDM_PLAY_ONE));
    press_ctrl_key('P');
    pump_queued_messages();
    EXPECT_FALSE(is_checked(IDM_PLAYBACK));
}

TEST_F(EventsTest, LoggingShortcutLeavesAHiddenTextWindowHidden) {
    KV390_show_text(0);
    KV390_set_logging(0);
    press_ctrl_key('L');
    pump_queued_messages();
    EXPECT_EQ(lib().logging_on, 1);
    EXPECT_FALSE(win::is_window_visible(text()));
}

TEST_F(EventsTest, RunShortcutsSwitchAnimationAndSteps) {
    EventState& events = lib().events;
    press_ctrl_key('A');
    pump_queued_messages();
    EXPECT_TRUE(events.animate_on);
    press_ctrl_key('F');
    pump_queued_messages();
    EXPECT_FALSE(events.animate_on);
    EXPECT_TRUE(events.step_requested);
    press_ctrl_key('A');
    press_ctrl_key('H');
    pump_queued_messages();
    EXPECT_FALSE(events.animate_on);
    EXPECT_TRUE(events.step_requested) << "Halt leaves a step request in place";
    KV390_set_run_mode(KV390_RUN_HALT);
    EXPECT_FALSE(events.step_requested);
}

TEST_F(EventsTest, ShortcutsWorkWhileTheTextWindowHasTheFocus) {
    kv390::harness::focus(text());
    press_ctrl_key('A');
    pump_queued_messages();
    EXPECT_TRUE(lib().events.animate_on);
    press_ctrl_key('H');
    pump_queued_messages();
    EXPECT_FALSE(lib().events.animate_on);
    press_ctrl_key('R');
    pump_queued_messages();
    EXPECT_TRUE(lib().events.recording_on);
}

TEST_F(EventsTest, AdvanceOneFrameGivesOnePeriodicEventThenNone) {
    press_ctrl_key('F');
    EXPECT_EQ(wait_event().kind, KV390_PERIODIC);
    click_later(1000, 9, 9);
    EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, 9, 9, 0}));
}

TEST_F(EventsTest, MenuCommandsEqualTheirShortcuts) {
    ASSERT_TRUE(kv390::harness::choose_menu_command(graphics(), IDM_ANIMATE));
    pump_queued_messages();
    EXPECT_TRUE(lib().events.animate_on);
    ASSERT_TRUE(kv390::harness::choose_menu_command(graphics(), IDM_ADVANCE));
    pump_queued_messages();
    EXPECT_FALSE(lib().events.animate_on);
    EXPECT_TRUE(lib().events.step_requested);
}

TEST_F(EventsTest, QuitCommandAndShortcutEndTheWait) {
    ASSERT_TRUE(kv390::harness::choose_menu_command(graphics(), IDM_QUIT));
    EXPECT_EQ(wait_event().kind, KV390_QUIT);
    press_ctrl_key('Q');
    EXPECT_EQ(wait_event().kind, KV390_QUIT);
}

TEST_F(EventsTest, LettersWithoutCtrlAreNoShortcuts) {
    kv390::harness::type_text("a");
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 'a'}));
    EXPECT_FALSE(lib().events.animate_on);
}

TEST_F(EventsTest, LosingTheFocusForgetsAHeldCtrl) {
    kv390::harness::key_down(win::VK_CONTROL);
    pump_queued_messages();
    ASSERT_TRUE(lib().events.ctrl_held);
    kv390::harness::focus(nullptr);  // another application takes the focus
    pump_queued_messages();
    EXPECT_FALSE(lib().events.ctrl_held);
    kv390::harness::key_up(win::VK_CONTROL);  // released there: the library never hears it
    pump_queued_messages();
    kv390::harness::focus(graphics());
    kv390::harness::type_text("r");
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 'r'}));
    EXPECT_FALSE(lib().events.recording_on) << "a plain letter is no shortcut";
}

TEST_F(EventsTest, FocusMovingBetweenLibraryWindowsKeepsCtrl) {
    kv390::harness::key_down(win::VK_CONTROL);
    pump_queued_messages();
    kv390::harness::focus(text());
    pump_queued_messages();
    EXPECT_TRUE(lib().events.ctrl_held);
}

}  // namespace
}  // namespace kv390::test
