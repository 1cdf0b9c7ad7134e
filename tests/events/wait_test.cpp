// The event wait and run control.
#include "events_fixture.h"

namespace kv390::test {
namespace {

using kv390::harness::now;

constexpr Event MOUSE_AT_CENTRE{KV390_MOUSE, 0, 0, 0};

TEST_F(EventsTest, HaltedWaitReturnsClicksInDrawingCoordinates) {
    click_at(0, 0);
    EXPECT_EQ(wait_event(), MOUSE_AT_CENTRE);
    kv390::harness::click(graphics(), lib().origin_x + 7, lib().origin_y - 30);
    EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, 7, 30, 0}));
    kv390::harness::click(graphics(), 0, 0);
    EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, -lib().origin_x, lib().origin_y, 0}));
}

TEST_F(EventsTest, HaltedWaitWithoutInputLastsUntilTheRunEnds) {
    kv390::harness::set_idle_limit(2000);
    EXPECT_EQ(wait_event().kind, KV390_QUIT);
    EXPECT_GE(now(), 2000u);
    EXPECT_TRUE(kv390::harness::run_ended());
}

TEST_F(EventsTest, AnimationGivesAtMostOnePeriodicEventPerTick) {
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    std::uint64_t previous = now();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(wait_event(), (Event{KV390_PERIODIC, 0, 0, 0}));
        EXPECT_GE(now(), previous + TIMER_PERIOD_MS) << "event " << i;
        previous = now();
    }
}

TEST_F(EventsTest, StepRequestGivesExactlyOnePeriodicEvent) {
    KV390_set_run_mode(KV390_RUN_STEP);
    EXPECT_EQ(wait_event().kind, KV390_PERIODIC);
    click_later(1000, 3, 4);
    const std::uint64_t before = now();
    EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, 3, 4, 0}));
    EXPECT_GE(now(), before + 1000);
}

TEST_F(EventsTest, ClickReplacesAPeriodicEventWaitingForItsTick) {
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    wait_event();  // past the start-up messages
    const std::uint64_t before = now();
    click_later(40, 0, 0);
    EXPECT_EQ(wait_event(), MOUSE_AT_CENTRE);
    EXPECT_LT(now(), before + TIMER_PERIOD_MS);
}

TEST_F(EventsTest, ClickUsesUpAStepRequestTakenInTheSameWait) {
    KV390_set_run_mode(KV390_RUN_STEP);
    click_later(40, 0, 0);
    EXPECT_EQ(wait_event(), MOUSE_AT_CENTRE);
    EXPECT_FALSE(lib().events.step_requested);
    click_later(1000, 1, 1);
    EXPECT_EQ(wait_event().kind, KV390_MOUSE);
}

TEST_F(EventsTest, TypedCharactersBecomeKeyboardEvents) {
    kv390::harness::type_text("a");
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 'a'}));
    kv390::harness::type_text("\n");
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 13}));
    kv390::harness::type_text("\b");
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 8}));
}

TEST_F(EventsTest, KeysTypedInTheTextWindowReachTheProgram) {
    kv390::harness::focus(text());
    kv390::harness::type_text("z");
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 'z'}));
}

TEST_F(EventsTest, TypingWithCtrlHeldGivesNoEvent) {
    kv390::harness::key_down(win::VK_CONTROL);
    kv390::harness::type_text("b");
    click_later(500, 2, 2);
    EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, 2, 2, 0}));
}

TEST_F(EventsTest, QuitModeTurnsEveryLaterEventIntoQuit) {
    EXPECT_EQ(KV390_set_run_mode(KV390_RUN_QUIT), 1);
    click_at(10, 20);
    EXPECT_EQ(wait_event(), (Event{KV390_QUIT, 10, 20, 0}));
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    const std::uint64_t before = now();
    EXPECT_EQ(wait_event(), (Event{KV390_QUIT, 0, 0, 0}));
    EXPECT_GE(now(), before + 1) << "the wait still waits for an event of its own";
}

TEST_F(EventsTest, RunModesSwitchOnlyTheirOwnFlags) {
    EventState& events = lib().events;
    EXPECT_EQ(KV390_set_run_mode(KV390_RUN_STEP), 1);
    EXPECT_TRUE(events.step_requested);
    EXPECT_FALSE(events.animate_on);
    EXPECT_EQ(KV390_set_run_mode(KV390_RUN_ANIMATE), 1);
    EXPECT_TRUE(events.animate_on);
    EXPECT_TRUE(events.step_requested);
    for (int other : {3, 4, -1, 6, 1000}) {
        EXPECT_EQ(KV390_set_run_mode(other), 1) << other;
    }
    EXPECT_TRUE(events.animate_on);
    EXPECT_TRUE(events.step_requested);
    EXPECT_FALSE(events.quit_requested);
    EXPECT_EQ(KV390_set_run_mode(KV390_RUN_HALT), 1);
    EXPECT_FALSE(events.animate_on);
    EXPECT_FALSE(events.step_requested);
}

TEST_F(EventsTest, ClosingTheGraphicsWindowGivesQuit) {
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    wait_event();
    kv390::harness::close_window(graphics());
    EXPECT_EQ(wait_event(), (Event{KV390_QUIT, 0, 0, 0}));
}

TEST_F(EventsTest, QuitPassDoesNotFlushTheCanvas) {
    pump_queued_messages();
    win::post_quit_message(0);
    lib().canvas_changed = 1;
    EXPECT_EQ(wait_event().kind, KV390_QUIT);
    EXPECT_EQ(lib().canvas_changed, 1u);
}

TEST_F(ClosedLibraryTest, WaitBeforeOpeningReturnsQuitAtOnce) {
    int x = 5, y = 6;
    char key = 7;
    EXPECT_EQ(KV390_wait_event(&x, &y, &key), KV390_QUIT);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(key, 0);
}

TEST_F(ClosedLibraryTest, RunModeBeforeOpeningChangesNothing) {
    for (int mode : {KV390_RUN_HALT, KV390_RUN_STEP, KV390_RUN_ANIMATE, KV390_RUN_QUIT, 3}) {
        EXPECT_EQ(KV390_set_run_mode(mode), 0) << mode;
    }
    EXPECT_FALSE(lib().events.step_requested);
    EXPECT_FALSE(lib().events.animate_on);
    EXPECT_FALSE(lib().events.quit_requested);
}

}  // namespace
}  // namespace kv390::test
