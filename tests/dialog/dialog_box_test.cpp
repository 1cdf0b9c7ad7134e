// Modal dialogs of the windowing layer run through the headless harness:
// creation and its refusals, the dialog keys, the default handling, button
// clicks, the owner, WM_QUIT and the dialog's pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "harness_test.h"
#include "kv390/harness.h"
#include "kv390/win.h"
#include "template_writer.h"

namespace {

using dialog_test::TemplateWriter;
using kv390::harness::TimedInput;

constexpr int EDIT_ID = 10;
constexpr int OTHER_ID = 3;  // a plain push button
constexpr int OK_ID = 1;     // the default push button
constexpr win::UINT CHILD = win::WS_CHILD | win::WS_VISIBLE;

// An edit box, a plain button and the default button (all tab stops), and a
// static text that is not one.
std::vector<std::uint8_t> test_template(std::uint16_t extra_atom = 0) {
    TemplateWriter w;
    w.header(win::WS_POPUP | win::WS_VISIBLE | win::WS_CAPTION | win::DS_MODALFRAME,
             extra_atom != 0 ? 5 : 4, 20, 10, 160, 80, "Test dialog");
    w.item(CHILD | win::WS_BORDER | win::WS_TABSTOP | win::ES_MULTILINE, 8, 20, 100, 30, EDIT_ID,
           win::ATOM_EDIT, "");
    w.item(CHILD | win::WS_TABSTOP, 8, 60, 40, 14, OTHER_ID, win::ATOM_BUTTON, "Other");
    w.item(CHILD | win::WS_TABSTOP | win::BS_DEFPUSHBUTTON, 60, 60, 40, 14, OK_ID, win::ATOM_BUTTON,
           "OK");
    w.item(CHILD, 8, 4, 140, 10, 20, win::ATOM_STATIC, "Label");
    if (extra_atom != 0) w.item(CHILD, 0, 0, 10, 10, 21, extra_atom, "");
    return w.bytes;
}

// What the dialog procedure saw.  It ends the dialog on the commands in
// ending_ids, with the id plus 100 as the result.
struct Observed {
    std::vector<int> ending_ids{OK_ID, OTHER_ID};
    win::LPARAM init_param = 0;
    std::vector<win::WPARAM> commands;
    std::vector<win::LPARAM> command_sources;
    std::vector<int> focus_at_command;  // control ids
    std::vector<std::string> edit_text_at_command;
    win::HWND owner = nullptr;
    bool owner_enabled_at_command = true;
    win::Image image_at_command;
    std::vector<win::Image> images;  // one per command
    win::Rect dialog_rect;
    bool quit_on_timer = false;
};
Observed* observed = nullptr;

std::intptr_t test_dialog_proc(win::HWND dialog, win::UINT message, win::WPARAM wparam,
                               win::LPARAM lparam) {
    switch (message) {
        case win::WM_INITDIALOG:
            observed->init_param = lparam;
            if (observed->quit_on_timer) win::set_timer(dialog, 7, 50);
            return 1;
        case win::WM_TIMER:
            if (observed->quit_on_timer) win::post_quit_message(33);
            return 1;
        case win::WM_COMMAND: {
            observed->commands.push_back(wparam);
            observed->command_sources.push_back(lparam);
            observed->focus_at_command.push_back(win::get_dlg_ctrl_id(win::get_focus()));
            char text[64];
            win::get_dlg_item_text(dialog, EDIT_ID, text, sizeof text);
            observed->edit_text_at_command.push_back(text);
            observed->owner_enabled_at_command = win::is_window_enabled(observed->owner);
            observed->image_at_command = win::window_image(dialog);
            observed->images.push_back(observed->image_at_command);
            win::get_window_rect(dialog, &observed->dialog_rect);
            const int id = int(win::loword(wparam));
            const auto& ids = observed->ending_ids;
            if (std::find(ids.begin(), ids.end(), id) != ids.end())
                win::end_dialog(dialog, id + 100);
            return 1;
        }
        default:
            return 0;
    }
}

class DialogBoxTest : public kv390::test::HarnessTest {
  protected:
    void SetUp() override {
        HarnessTest::SetUp();
        observed = &seen;
    }
    void TearDown() override {
        observed = nullptr;
        HarnessTest::TearDown();
    }

    std::intptr_t run(win::HWND owner = nullptr,
                      const std::vector<std::uint8_t>& bytes = test_template()) {
        seen.owner = owner;
        return win::dialog_box_indirect_param(nullptr, bytes.data(), bytes.size(), owner,
                                              test_dialog_proc, 4711);
    }

    static void at(std::uint64_t ms, TimedInput input) {
        input.at_ms = kv390::harness::now() + ms;
        kv390::harness::schedule(input);
    }
    static void key_at(std::uint64_t ms, int vk) {
        TimedInput input{};
        input.kind = TimedInput::Kind::Key;
        input.vk = vk;
        at(ms, input);
    }
    static void type_at(std::uint64_t ms, const std::string& text) {
        TimedInput input{};
        input.kind = TimedInput::Kind::Type;
        input.text = text;
        at(ms, input);
    }
    static void close_at(std::uint64_t ms, const std::string& title) {
        TimedInput input{};
        input.kind = TimedInput::Kind::Close;
        input.window = title;
        at(ms, input);
    }
    static void click_at(std::uint64_t ms, const std::string& title, int x, int y) {
        TimedInput input{};
        input.kind = TimedInput::Kind::Click;
        input.window = title;
        input.x = x;
        input.y = y;
        at(ms, input);
    }
    static win::HWND make_owner() {
        win::WindowClass wc;
        wc.proc = win::def_window_proc;
        wc.name = "OwnerClass";
        win::register_class(wc);
        win::HWND owner = win::create_window(0, "OwnerClass", "Owner", win::WS_CAPTION, 30, 40, 400,
                                             300, nullptr, nullptr, nullptr, nullptr);
        win::show_window(owner, win::SW_SHOW);
        return owner;
    }

    Observed seen;
};

int px(int units) {
    return units * win::dialog_base_units().cx / 4;
}
int py(int units) {
    return units * win::dialog_base_units().cy / 8;
}

TEST_F(DialogBoxTest, RefusedTemplatesCreateNothing) {
    const std::vector<std::uint8_t> garbage{1, 2, 3, 4, 5};
    EXPECT_EQ(run(nullptr, garbage), -1);
    EXPECT_EQ(run(nullptr, test_template(0x0083)), -1);  // a list box: not supported

    TemplateWriter named;
    named.header(win::WS_POPUP, 1, 0, 0, 50, 50, "Named");
    named.align4().u32(CHILD).u32(0).u16(0).u16(0).u16(10).u16(10).u16(5).text("ListBox");
    named.text("").u16(0);
    EXPECT_EQ(run(nullptr, named.bytes), -1);
    EXPECT_TRUE(win::top_level_windows().empty());
    EXPECT_TRUE(seen.commands.empty());
    EXPECT_EQ(seen.init_param, 0);
}

TEST_F(DialogBoxTest, ClassNamesAreAcceptedInAnyCase) {
    TemplateWriter named;
    named.header(win::WS_POPUP, 1, 0, 0, 50, 50, "Named");
    named.align4().u32(CHILD | win::BS_DEFPUSHBUTTON).u32(0).u16(0).u16(0).u16(10).u16(10);
    named.u16(OK_ID).text("BuTTon").text("Go").u16(0);
    key_at(10, win::VK_RETURN);
    EXPECT_EQ(run(nullptr, named.bytes), OK_ID + 100);
}

TEST_F(DialogBoxTest, OwnerThatIsGoneRefusesTheDialog) {
    win::HWND owner = make_owner();
    win::destroy_window(owner);
    EXPECT_EQ(run(owner), -1);
    EXPECT_TRUE(win::top_level_windows().empty());
}

TEST_F(DialogBoxTest, InitParamReachesTheProcedureAndFocusStartsOnTheFirstTabStop) {
    key_at(10, win::VK_RETURN);
    EXPECT_EQ(run(), OK_ID + 100);
    EXPECT_EQ(seen.init_param, 4711);
    ASSERT_EQ(seen.commands.size(), 1u);
    EXPECT_EQ(seen.commands[0], win::make_wparam(OK_ID, 0));
    EXPECT_EQ(seen.focus_at_command[0], EDIT_ID);
    EXPECT_TRUE(win::top_level_windows().empty()) << "the dialog is destroyed at the end";
}

struct KeyCase {
    const char* name;
    std::vector<int> keys;  // negative: with Shift
    int expected_id;
};

class DialogKeysTest : public DialogBoxTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DialogKeysTest, EnterPressesTheFocusedOrTheDefaultButton) {
    std::uint64_t t = 10;
    for (int key : GetParam().keys) {
        if (key < 0) {
            TimedInput down{};
            down.kind = TimedInput::Kind::KeyDown;
            down.vk = win::VK_SHIFT;
            at(t, down);
        }
        key_at(t, key < 0 ? -key : key);
        if (key < 0) {
            TimedInput up{};
            up.kind = TimedInput::Kind::KeyUp;
            up.vk = win::VK_SHIFT;
            at(t, up);
        }
        t += 10;
    }
    key_at(t, win::VK_RETURN);
    EXPECT_EQ(run(), GetParam().expected_id + 100);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DialogKeysTest,
    ::testing::Values(KeyCase{"EnterInEdit", {}, OK_ID},
                      KeyCase{"TabToPlainButton", {win::VK_TAB}, OTHER_ID},
                      KeyCase{"TabTwiceToDefault", {win::VK_TAB, win::VK_TAB}, OK_ID},
                      KeyCase{"TabWrapsToEdit", {win::VK_TAB, win::VK_TAB, win::VK_TAB}, OK_ID},
                      KeyCase{"ShiftTabBack", {-win::VK_TAB, -win::VK_TAB}, OTHER_ID}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogBoxTest, EscapeAndTheCloseBoxSendCancelAndTheDialogStays) {
    key_at(10, win::VK_ESCAPE);
    close_at(20, "Test dialog");
    type_at(30, "ab");
    key_at(40, win::VK_RETURN);
    EXPECT_EQ(run(), OK_ID + 100);
    ASSERT_EQ(seen.commands.size(), 3u);
    EXPECT_EQ(seen.commands[0], win::WPARAM(win::IDCANCEL));
    EXPECT_EQ(seen.commands[1], win::WPARAM(win::IDCANCEL));
    EXPECT_EQ(seen.commands[2], win::WPARAM(OK_ID));
    EXPECT_EQ(seen.edit_text_at_command[2], "ab");
}

TEST_F(DialogBoxTest, WithoutADefaultButtonEnterSendsIdok) {
    TemplateWriter w;
    w.header(win::WS_POPUP, 1, 0, 0, 80, 40, "No default");
    w.item(CHILD | win::WS_TABSTOP | win::WS_BORDER, 2, 2, 70, 12, EDIT_ID, win::ATOM_EDIT, "");
    seen.ending_ids = {win::IDOK};
    key_at(10, win::VK_RETURN);
    EXPECT_EQ(run(nullptr, w.bytes), win::IDOK + 100);
    EXPECT_EQ(seen.command_sources[0], 0);
}

TEST_F(DialogBoxTest, AClickOnAButtonSendsItsCommand) {
    click_at(10, "Test dialog", px(8) + 3, py(60) + 3);  // the plain button, by position
    EXPECT_EQ(run(), OTHER_ID + 100);
    ASSERT_EQ(seen.commands.size(), 1u);
    EXPECT_EQ(seen.commands[0], win::make_wparam(OTHER_ID, 0));
    EXPECT_NE(seen.command_sources[0], 0);
}

// Driven by the dialog's own timer: press on the OK button, let go beside it,
// then press Escape.
struct ReleaseOutside {
    static inline int step = 0;
    static void on_tick(win::HWND dialog, void*) {
        win::HWND ok = win::get_dlg_item(dialog, OK_ID);
        if (ok == nullptr) return;
        if (step == 0) kv390::harness::mouse_down(ok, 2, 2);
        if (step == 1) kv390::harness::mouse_up(ok, -20, 2);
        if (step == 2) kv390::harness::press_key(win::VK_ESCAPE);
        ++step;
    }
    static std::intptr_t proc(win::HWND d, win::UINT m, win::WPARAM w, win::LPARAM l) {
        if (m == win::WM_INITDIALOG) win::set_timer(d, 1, 20);
        if (m == win::WM_TIMER) return 1;
        return test_dialog_proc(d, m, w, l);
    }
};

TEST_F(DialogBoxTest, ReleasingOutsideTheButtonIsNoClick) {
    seen.ending_ids = {win::IDCANCEL};
    ReleaseOutside::step = 0;
    kv390::harness::on_timer_dispatched(ReleaseOutside::on_tick, nullptr);
    const auto bytes = test_template();
    EXPECT_EQ(win::dialog_box_indirect_param(nullptr, bytes.data(), bytes.size(), nullptr,
                                             ReleaseOutside::proc, 0),
              win::IDCANCEL + 100);
    kv390::harness::on_timer_dispatched(nullptr, nullptr);
    EXPECT_EQ(seen.commands, (std::vector<win::WPARAM>{win::IDCANCEL}));
}

TEST_F(DialogBoxTest, TheOwnerIsDisabledWhileItRunsAndActiveAfterwards) {
    win::HWND owner = make_owner();
    key_at(10, win::VK_RETURN);
    EXPECT_EQ(run(owner), OK_ID + 100);
    EXPECT_FALSE(seen.owner_enabled_at_command);
    EXPECT_TRUE(win::is_window_enabled(owner));
    EXPECT_EQ(win::get_active_window(), owner);

    // Placed relative to the owner's client area, the client area sized from the template.
    win::Rect owner_rect;
    win::get_window_rect(owner, &owner_rect);
    const int client_left = owner_rect.left + win::FIXED_FRAME;
    const int client_top = owner_rect.top + win::FIXED_FRAME + win::CAPTION_HEIGHT;
    EXPECT_EQ(seen.dialog_rect.left, client_left + px(20));
    EXPECT_EQ(seen.dialog_rect.top, client_top + py(10));
    EXPECT_EQ(seen.dialog_rect.right - seen.dialog_rect.left, px(160) + 2 * win::FIXED_FRAME);
    EXPECT_EQ(seen.dialog_rect.bottom - seen.dialog_rect.top,
              py(80) + 2 * win::FIXED_FRAME + win::CAPTION_HEIGHT);
}

TEST_F(DialogBoxTest, QuitEndsTheDialogAndIsPostedAgain) {
    seen.quit_on_timer = true;
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(win::top_level_windows().empty());
    win::Msg msg;
    ASSERT_TRUE(win::peek_message(&msg, nullptr, 0, 0, win::PM_REMOVE));
    EXPECT_EQ(msg.message, win::WM_QUIT);
    EXPECT_EQ(msg.wparam, 33u);
}

TEST_F(DialogBoxTest, TheDialogShowsItsControls) {
    type_at(10, "WWWW");
    key_at(20, win::VK_RETURN);
    EXPECT_EQ(run(), OK_ID + 100);
    const win::Image& image = seen.image_at_command;
    ASSERT_EQ(image.width, px(160));
    ASSERT_EQ(image.height, py(80));
    EXPECT_EQ(image.at(image.width - 2, image.height - 2), 0xC0C0C0u) << "dialog face";
    const int edit_left = px(8), edit_top = py(20);
    EXPECT_EQ(image.at(edit_left, edit_top), 0x404040u) << "edit border";
    EXPECT_EQ(image.at(edit_left + px(100) - 1, edit_top + 5), 0x404040u);
    EXPECT_EQ(image.at(edit_left + px(100) - 3, edit_top + py(30) - 3), 0xFFFFFFu) << "edit inside";
    int dark_in_edit = 0;
    for (int y = edit_top + 1; y < edit_top + py(30) - 1; ++y) {
        for (int x = edit_left + 1; x < edit_left + px(100) - 1; ++x) {
            dark_in_edit += image.at(x, y) == 0 ? 1 : 0;
        }
    }
    EXPECT_GT(dark_in_edit, 40) << "the typed text and the caret";
    int dark_in_label = 0;
    for (int y = py(4); y < py(14); ++y) {
        for (int x = px(8); x < px(148); ++x) dark_in_label += image.at(x, y) == 0 ? 1 : 0;
    }
    EXPECT_GT(dark_in_label, 20) << "the static text";
    // The default button's thick black border.
    EXPECT_EQ(image.at(px(60), py(60)), 0u);
    EXPECT_EQ(image.at(px(60) + 1, py(60) + 1), 0u);
}

TEST_F(DialogBoxTest, TextCanBeSetAndReadBack) {
    struct Local {
        static std::intptr_t proc(win::HWND d, win::UINT m, win::WPARAM w, win::LPARAM l) {
            if (m == win::WM_INITDIALOG) win::set_dlg_item_text(d, EDIT_ID, "preset");
            return test_dialog_proc(d, m, w, l);
        }
    };
    type_at(10, "X\b\bY");
    key_at(20, win::VK_RETURN);
    const auto bytes = test_template();
    EXPECT_EQ(win::dialog_box_indirect_param(nullptr, bytes.data(), bytes.size(), nullptr,
                                             Local::proc, 0),
              OK_ID + 100);
    EXPECT_EQ(seen.edit_text_at_command.back(), "preseY");
}

TEST(DialogItemText, CopiesAtMostTheBufferLessOne) {
    kv390::harness::reset();
    struct Local {
        static std::intptr_t proc(win::HWND d, win::UINT m, win::WPARAM, win::LPARAM) {
            if (m != win::WM_INITDIALOG) return 0;
            win::set_dlg_item_text(d, EDIT_ID, "abcdef");
            char small[4] = {'x', 'x', 'x', 'x'};
            EXPECT_EQ(win::get_dlg_item_text(d, EDIT_ID, small, 4), 3u);
            EXPECT_STREQ(small, "abc");
            char one[1] = {'x'};
            EXPECT_EQ(win::get_dlg_item_text(d, EDIT_ID, one, 1), 0u);
            EXPECT_EQ(one[0], '\0');
            char none[2] = {'x', 'x'};
            EXPECT_EQ(win::get_dlg_item_text(d, 999, none, 2), 0u);
            EXPECT_EQ(none[0], '\0');
            EXPECT_EQ(win::get_dlg_item_text(d, EDIT_ID, none, 0), 0u);
            EXPECT_EQ(none[1], 'x');
            win::end_dialog(d, 5);
            return 1;
        }
    };
    const auto bytes = test_template();
    EXPECT_EQ(win::dialog_box_indirect_param(nullptr, bytes.data(), bytes.size(), nullptr,
                                             Local::proc, 0),
              5);
    kv390::harness::reset();
}

}  // namespace

namespace {

int dark_in_rows(const win::Image& image, int left, int right, int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) count += image.at(x, y) == 0 ? 1 : 0;
    }
    return count;
}

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// Two lines of narrow words first, then far more wide words than the box can
// show: once it scrolls, its first visible line shows wide letters.
TEST_F(DialogBoxTest, TheEditBoxScrollsToKeepTheCaretLineVisible) {
    type_at(10, repeated("i ", 40));
    key_at(20, win::VK_ESCAPE);
    type_at(30, repeated("W ", 150));
    key_at(40, win::VK_RETURN);
    seen.ending_ids = {OK_ID};
    EXPECT_EQ(run(), OK_ID + 100);
    ASSERT_EQ(seen.commands.size(), 2u);
    ASSERT_EQ(seen.edit_text_at_command[1].size(), 63u) << "the 64-byte read buffer";
    const int left = px(8) + 1, right = px(8) + px(100) - 1;
    const int top = py(20) + 1, bottom = py(20) + py(30) - 1;
    const int band = win::dialog_base_units().cy;  // the first visible line
    int changed = 0;
    for (int y = top; y < top + band; ++y) {
        for (int x = left; x < right; ++x) {
            changed += seen.images[0].at(x, y) != seen.images[1].at(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(dark_in_rows(seen.images[0], left, right, top, top + band), 0);
    EXPECT_GT(changed, 100) << "the first visible line no longer shows the narrow words";
    EXPECT_GT(dark_in_rows(seen.images[1], left, right, bottom - band, bottom), 0)
        << "the last line, with the caret, is visible";
}

}  // namespace
