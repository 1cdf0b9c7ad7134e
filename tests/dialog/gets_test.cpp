// KV390_gets through the headless harness: input arrives on the virtual
// clock while the call is blocked in its modal dialog.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kv390.h"
#include "kv390/harness.h"
#include "state.h"

namespace {

using kv390::harness::TimedInput;

constexpr const char* TITLE = "KV390_gets";

void schedule_at(std::uint64_t ms, TimedInput input) {
    input.at_ms = kv390::harness::now() + ms;
    kv390::harness::schedule(input);
}
void key_at(std::uint64_t ms, int vk) {
    TimedInput input{};
    input.kind = TimedInput::Kind::Key;
    input.vk = vk;
    schedule_at(ms, input);
}
void type_at(std::uint64_t ms, const std::string& text) {
    TimedInput input{};
    input.kind = TimedInput::Kind::Type;
    input.text = text;
    schedule_at(ms, input);
}
void close_at(std::uint64_t ms) {
    TimedInput input{};
    input.kind = TimedInput::Kind::Close;
    input.window = TITLE;
    schedule_at(ms, input);
}

class GetsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        kv390::harness::reset();
        kv390::reset_library_state();
        std::memset(buffer, '#', sizeof buffer);
        buffer[sizeof buffer - 1] = '\0';
    }
    void TearDown() override {
        kv390::harness::on_timer_dispatched(nullptr, nullptr);
        if (lib().graphics_window != nullptr) KV390_end();
        kv390::reset_library_state();
        kv390::harness::reset();
    }
    static void open_library() { ASSERT_EQ(KV390_begin(nullptr, nullptr, "", 1), 1); }
    static kv390::LibraryState& lib() { return kv390::lib(); }
    bool buffer_untouched() const {
        for (std::size_t i = 0; i + 1 < sizeof buffer; ++i) {
            if (buffer[i] != '#') return false;
        }
        return true;
    }

    char buffer[300];
};

TEST_F(GetsTest, EmptyEntryGivesAnEmptyString) {
    open_library();
    key_at(100, win::VK_RETURN);
    EXPECT_EQ(KV390_gets("Anything?", buffer), 1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(lib().gets_buffer, buffer) << "kept after the call";
}

TEST_F(GetsTest, TypedLineIsReturned) {
    open_library();
    type_at(100, "Hello World, 42!\n");
    EXPECT_EQ(KV390_gets("Say something", buffer), 1);
    EXPECT_STREQ(buffer, "Hello World, 42!");
    EXPECT_EQ(kv390::harness::window_by_title(TITLE), nullptr) << "the dialog is gone";
}

TEST_F(GetsTest, ALongLineIsCutTo255Characters) {
    open_library();
    std::string typed;
    for (int i = 0; i < 300; ++i) typed.push_back(char('a' + i % 26));
    type_at(100, typed);
    key_at(200, win::VK_RETURN);
    EXPECT_EQ(KV390_gets("Long", buffer), 1);
    EXPECT_EQ(std::strlen(buffer), 255u);
    EXPECT_EQ(std::string(buffer), typed.substr(0, 255));
    EXPECT_EQ(buffer[256], '#') << "nothing written past the terminator";
}

TEST_F(GetsTest, TheSizedFormNeverWritesPastItsSize) {
    open_library();
    std::string typed;
    for (int i = 0; i < 300; ++i) typed.push_back(char('A' + i % 26));
    // (buffer size, characters kept): 0 writes nothing at all.
    const struct {
        std::size_t size;
        std::size_t kept;
    } cases[] = {{16, 15}, {1, 0}, {0, 0}, {300, 299}};
    for (const auto& c : cases) {
        std::memset(buffer, '#', sizeof buffer);
        type_at(100, typed);
        key_at(200, win::VK_RETURN);
        const std::size_t size = c.size;
        EXPECT_EQ(KV390_gets_n("Sixteen bytes", buffer, size), 1) << size;
        if (size == 0) {
            EXPECT_EQ(buffer[0], '#') << "size 0";
            continue;
        }
        EXPECT_EQ(std::string(buffer), typed.substr(0, c.kept)) << size;
        for (std::size_t i = size; i < sizeof buffer; ++i) {
            ASSERT_EQ(buffer[i], '#') << "size " << size << " wrote byte " << i;
        }
    }
}

TEST_F(GetsTest, ClickingOkayEndsTheDialog) {
    open_library();
    type_at(100, "clicked");
    const win::Size base = win::dialog_base_units();
    TimedInput click{};
    click.kind = TimedInput::Kind::Click;
    click.window = TITLE;
    click.x = (67 + 25) * base.cx / 4;  // the middle of the button
    click.y = (74 + 7) * base.cy / 8;
    schedule_at(200, click);
    EXPECT_EQ(KV390_gets("Click", buffer), 1);
    EXPECT_STREQ(buffer, "clicked");
}

// Seen at every graphics-window tick while the dialog is open.
struct OpenDialogWatch {
    char* buffer = nullptr;
    int ticks = 0;
    bool dialog_was_open_after_cancel = false;
    bool buffer_untouched_after_cancel = true;
    bool owner_disabled = true;
    bool invalidate_once = false;
    win::HWND graphics = nullptr;

    static void on_tick(win::HWND hwnd, void* context) {
        auto* w = static_cast<OpenDialogWatch*>(context);
        if (hwnd != w->graphics) return;
        ++w->ticks;
        win::HWND dialog = kv390::harness::window_by_title("KV390_gets");
        if (dialog == nullptr) return;
        w->owner_disabled = w->owner_disabled && !win::is_window_enabled(w->graphics);
        if (kv390::harness::now() > 350 && kv390::harness::now() < 500) {
            w->dialog_was_open_after_cancel = true;
            for (int i = 0; i < 10; ++i) {
                if (w->buffer[i] != '#') w->buffer_untouched_after_cancel = false;
            }
        }
        if (w->invalidate_once) {
            win::invalidate_rect(w->graphics, nullptr, false);
            w->invalidate_once = false;
        }
    }
};

TEST_F(GetsTest, EscapeAndTheCloseBoxLeaveTheDialogOpen) {
    open_library();
    OpenDialogWatch watch;
    watch.buffer = buffer;
    watch.graphics = lib().graphics_window;
    kv390::harness::on_timer_dispatched(OpenDialogWatch::on_tick, &watch);
    type_at(100, "kept");
    key_at(200, win::VK_ESCAPE);
    close_at(300);
    key_at(600, win::VK_RETURN);
    EXPECT_EQ(KV390_gets("Try to escape", buffer), 1);
    EXPECT_TRUE(watch.dialog_was_open_after_cancel);
    EXPECT_TRUE(watch.buffer_untouched_after_cancel);
    EXPECT_STREQ(buffer, "kept");
}

TEST_F(GetsTest, TheGraphicsWindowKeepsTickingAndRepaintingMeanwhile) {
    open_library();
    KV390_clear();
    while (kv390::pump_one_message()) {
    }
    ASSERT_EQ(lib().canvas_changed, 0u);
    const win::Image before = kv390::harness::window_pixels(lib().graphics_window);
    // Drawn without a wait afterwards: only a repaint can show it.
    KV390_rectangle(BLACK, -50, 50, 50, -50, 0);
    OpenDialogWatch watch;
    watch.buffer = buffer;
    watch.graphics = lib().graphics_window;
    watch.invalidate_once = true;
    kv390::harness::on_timer_dispatched(OpenDialogWatch::on_tick, &watch);
    key_at(1000, win::VK_RETURN);
    EXPECT_EQ(KV390_gets("Wait", buffer), 1);
    EXPECT_GE(watch.ticks, 9) << "about one tick per 100 ms";
    EXPECT_TRUE(watch.owner_disabled);
    EXPECT_TRUE(win::is_window_enabled(lib().graphics_window));
    EXPECT_EQ(win::get_active_window(), lib().graphics_window);
    const win::Image after = kv390::harness::window_pixels(lib().graphics_window);
    EXPECT_NE(before.at(lib().origin_x, lib().origin_y), 0u);
    EXPECT_EQ(after.at(lib().origin_x, lib().origin_y), 0u) << "repainted from the canvas";
}

TEST_F(GetsTest, WithoutARepaintTheWindowIsNotRedrawn) {
    open_library();
    KV390_clear();
    while (kv390::pump_one_message()) {
    }
    KV390_rectangle(BLACK, -50, 50, 50, -50, 0);
    key_at(500, win::VK_RETURN);
    EXPECT_EQ(KV390_gets("Wait", buffer), 1);
    const win::Image after = kv390::harness::window_pixels(lib().graphics_window);
    EXPECT_NE(after.at(lib().origin_x, lib().origin_y), 0u);
}

TEST_F(GetsTest, WorksBeforeTheLibraryIsOpen) {
    type_at(100, "early\n");
    EXPECT_EQ(KV390_gets("No library yet", buffer), 1);
    EXPECT_STREQ(buffer, "early");
}

TEST_F(GetsTest, ADialogThatCannotBeCreatedGivesZeroAndLeavesTheBuffer) {
    open_library();
    win::destroy_window(lib().graphics_window);  // the owner handle is now stale
    key_at(100, win::VK_RETURN);
    EXPECT_EQ(KV390_gets("Nobody", buffer), 0);
    EXPECT_TRUE(buffer_untouched());
    EXPECT_EQ(kv390::harness::window_by_title(TITLE), nullptr);
}

TEST_F(GetsTest, QuittingWhileTheDialogIsOpenEndsItAndTheWaitSeesQuit) {
    open_library();
    // The idle limit passes with no input: the run ends and quits.
    kv390::harness::set_idle_limit(300);
    EXPECT_EQ(KV390_gets("Never answered", buffer), 1);
    EXPECT_TRUE(buffer_untouched());
    int x = 0, y = 0;
    char key = 0;
    EXPECT_EQ(KV390_wait_event(&x, &y, &key), KV390_QUIT);
}

}  // namespace
