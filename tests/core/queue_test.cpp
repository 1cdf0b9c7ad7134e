// The message queue: order of the kinds, one message per peek, filters,
// timers on the virtual clock, blocking and waiting.
#include <gtest/gtest.h>

#include "kv390/harness.h"
#include "recorder.h"

namespace kv390::test {
namespace {

using namespace win;

class QueueTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        hwnd = make_window("Q", GRAPHICS_STYLE | WS_VISIBLE, 200, 100);
        ASSERT_NE(hwnd, nullptr);
        validate_rect(hwnd, nullptr);  // the first showing asked for a paint
        recorder().clear();
    }
    Msg take() {
        Msg msg;
        EXPECT_TRUE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
        return msg;
    }
    HWND hwnd = nullptr;
};

TEST_F(QueueTest, PostedThenQuitThenPaintThenTimer) {
    set_timer(hwnd, 7, 100);
    harness::advance(100);
    invalidate_rect(hwnd, nullptr, false);
    post_quit_message(3);
    post_message(hwnd, WM_USER + 1, 0, 0);
    post_message(hwnd, WM_USER + 2, 0, 0);

    EXPECT_EQ(take().message, WM_USER + 1);
    EXPECT_EQ(take().message, WM_USER + 2);
    Msg quit = take();
    EXPECT_EQ(quit.message, WM_QUIT);
    EXPECT_EQ(quit.wparam, 3u);
    EXPECT_EQ(take().message, WM_PAINT);
    validate_rect(hwnd, nullptr);
    Msg tick = take();
    EXPECT_EQ(tick.message, WM_TIMER);
    EXPECT_EQ(tick.wparam, 7u);
    Msg none;
    EXPECT_FALSE(peek_message(&none, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, PeekTakesOneMessageAndNoRemoveLeavesIt) {
    post_message(hwnd, WM_USER, 1, 0);
    post_message(hwnd, WM_USER, 2, 0);
    Msg msg;
    ASSERT_TRUE(peek_message(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wparam, 1u);
    EXPECT_EQ(take().wparam, 1u);
    EXPECT_TRUE(recorder().messages.empty());  // peeking never dispatches
    EXPECT_EQ(take().wparam, 2u);
    EXPECT_FALSE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, PaintRepeatsUntilValidatedAndOnlyForShownWindows) {
    invalidate_rect(hwnd, nullptr, false);
    EXPECT_EQ(take().message, WM_PAINT);
    EXPECT_EQ(take().message, WM_PAINT);
    show_window(hwnd, SW_HIDE);
    Msg msg;
    EXPECT_FALSE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
    show_window(hwnd, SW_SHOW);
    Msg paint = take();
    EXPECT_EQ(paint.message, WM_PAINT);
    dispatch_message(&paint);  // the default procedure validates
    EXPECT_FALSE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, FiltersByWindowAndRange) {
    HWND other = make_window("Other", GRAPHICS_STYLE, 100, 100);
    post_message(other, WM_USER, 1, 0);
    post_message(hwnd, WM_USER, 2, 0);
    post_message(hwnd, WM_USER + 5, 3, 0);
    Msg msg;
    ASSERT_TRUE(peek_message(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wparam, 2u);
    ASSERT_TRUE(peek_message(&msg, nullptr, WM_USER + 5, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(msg.wparam, 3u);
    EXPECT_FALSE(peek_message(&msg, nullptr, WM_USER + 5, WM_USER + 9, PM_REMOVE));
    EXPECT_FALSE(peek_message(&msg, hwnd, 0, 0, PM_REMOVE));
    ASSERT_TRUE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wparam, 1u);
    EXPECT_EQ(msg.hwnd, other);
}

TEST_F(QueueTest, TimerHasAtMostOnePendingTickAndIsPacedByTheClock) {
    set_timer(hwnd, 2, 100);
    Msg msg;
    EXPECT_FALSE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
    harness::advance(99);
    EXPECT_FALSE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
    harness::advance(1001);  // ten periods pass: still one tick
    EXPECT_EQ(take().message, WM_TIMER);
    EXPECT_FALSE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
    harness::advance(99);
    EXPECT_FALSE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
    harness::advance(1);  // due again one interval after delivery
    EXPECT_EQ(take().message, WM_TIMER);
}

TEST_F(QueueTest, SetTimerReplacesAndKillTimerEnds) {
    set_timer(hwnd, 2, 100);
    harness::advance(50);
    set_timer(hwnd, 2, 300);  // restarts with the new interval
    harness::advance(250);
    Msg msg;
    EXPECT_FALSE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
    harness::advance(50);
    EXPECT_EQ(take().message, WM_TIMER);
    EXPECT_TRUE(kill_timer(hwnd, 2));
    EXPECT_FALSE(kill_timer(hwnd, 2));
    harness::advance(1000);
    EXPECT_FALSE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, TimersAndPostedMessagesEndWithTheirWindow) {
    set_timer(hwnd, 2, 100);
    post_message(hwnd, WM_USER, 0, 0);
    destroy_window(hwnd);
    harness::advance(500);
    Msg msg;
    EXPECT_FALSE(peek_message(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(post_message(hwnd, WM_USER, 0, 0));
    recorder().clear();
    Msg stale{hwnd, WM_USER, 0, 0, 0};
    EXPECT_EQ(dispatch_message(&stale), 0);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(QueueTest, WaitForActivityAdvancesTheClockToTheNextTimer) {
    set_timer(hwnd, 2, 100);
    harness::advance(30);
    wait_for_activity(-1);
    EXPECT_EQ(get_tick_count(), 100u);
    EXPECT_EQ(take().message, WM_TIMER);
    wait_for_activity(40);  // the timeout comes first
    EXPECT_EQ(get_tick_count(), 140u);
}

TEST_F(QueueTest, WaitForActivityReturnsAtOnceWhenSomethingWaits) {
    set_timer(hwnd, 2, 100);
    post_message(hwnd, WM_USER, 0, 0);
    wait_for_activity(-1);
    EXPECT_EQ(get_tick_count(), 0u);
}

TEST_F(QueueTest, GetMessageDeliversThenReportsQuit) {
    set_timer(hwnd, 2, 100);
    Msg msg;
    ASSERT_TRUE(get_message(&msg, nullptr, 0, 0));  // sleeps until the tick
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(harness::now(), 100u);
    post_quit_message(0);
    EXPECT_FALSE(get_message(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
}

TEST_F(QueueTest, SendMessageCallsTheProcedureAtOnce) {
    send_message(hwnd, WM_USER + 3, 4, 5);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].message, WM_USER + 3);
    EXPECT_EQ(recorder().messages[0].wparam, 4u);
    EXPECT_EQ(recorder().messages[0].lparam, 5);
}

TEST_F(QueueTest, IdlePeeksPresentAtMostEvery15Milliseconds) {
    Msg msg;
    std::uint64_t before = harness::present_count();
    for (int i = 0; i < 10; ++i) peek_message(&msg, nullptr, 0, 0, PM_REMOVE);
    std::uint64_t after_burst = harness::present_count();
    EXPECT_LE(after_burst - before, 1u);
    harness::advance(15);
    peek_message(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(harness::present_count(), after_burst + 1);
}

}  // namespace
}  // namespace kv390::test
