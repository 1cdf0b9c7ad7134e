// Windows: creation messages, client areas from the frame metrics, showing,
// focus, closing and destruction.
#include <gtest/gtest.h>

#include "kv390/harness.h"
#include "recorder.h"

namespace kv390::test {
namespace {

using namespace win;

using WindowTest = CoreTest;

Size client_size(HWND hwnd) {
    Rect r;
    EXPECT_TRUE(get_client_rect(hwnd, &r));
    return Size{r.right - r.left, r.bottom - r.top};
}

TEST_F(WindowTest, CreationSendsCreateThenSize) {
    HWND hwnd = make_window("G", GRAPHICS_STYLE, 601, 540);
    ASSERT_NE(hwnd, nullptr);
    std::vector<UINT> expected{WM_CREATE, WM_SIZE};
    EXPECT_EQ(recorder().kinds(), expected);
    const Received& size = recorder().messages[1];
    EXPECT_EQ(size.wparam, SIZE_RESTORED);
    EXPECT_EQ(loword(WPARAM(size.lparam)), 595u);
    EXPECT_EQ(hiword(WPARAM(size.lparam)), 516u);  // 540 - 2 * 3 - 18
    auto* cs = reinterpret_cast<const CreateStruct*>(recorder().messages[0].lparam);
    EXPECT_NE(cs, nullptr);
}

TEST_F(WindowTest, CreateReturningMinusOneDestroysTheWindow) {
    recorder().create_result = -1;
    EXPECT_EQ(make_window("G", GRAPHICS_STYLE, 601, 540), nullptr);
    std::vector<UINT> expected{WM_CREATE, WM_DESTROY};
    EXPECT_EQ(recorder().kinds(), expected);
    EXPECT_TRUE(top_level_windows().empty());
}

TEST_F(WindowTest, UnknownClassGivesNoWindow) {
    EXPECT_EQ(create_window(0, "Nope", "x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

TEST_F(WindowTest, ClassNamesAreRegisteredOnce) {
    WindowClass wc;
    wc.name = "Once";
    EXPECT_TRUE(register_class(wc));
    EXPECT_FALSE(register_class(wc));
    EXPECT_FALSE(register_class(WindowClass{}));
    EXPECT_TRUE(is_class_registered("Once"));
    reset_layer();
    EXPECT_FALSE(is_class_registered("Once"));
}

TEST_F(WindowTest, ClientAreaFollowsCaptionFrameAndMenuBar) {
    HWND graphics = make_window("G", GRAPHICS_STYLE, 601, 540);
    EXPECT_EQ(client_size(graphics).cx, 595);
    EXPECT_EQ(client_size(graphics).cy, 516);
    HMENU bar = create_menu();
    HMENU popup = create_popup_menu();
    append_menu(popup, MF_STRING, 1, "&Go");
    append_menu(bar, MF_POPUP, reinterpret_cast<std::uintptr_t>(popup), "&Run");
    recorder().clear();
    ASSERT_TRUE(set_menu(graphics, bar));
    EXPECT_EQ(client_size(graphics).cx, 595);
    EXPECT_EQ(client_size(graphics).cy, 497);
    ASSERT_EQ(recorder().of(WM_SIZE).size(), 1u);
    EXPECT_EQ(hiword(WPARAM(recorder().of(WM_SIZE)[0].lparam)), 497u);
    EXPECT_EQ(window_image(graphics).height, 497);

    HWND sizable = make_window("T", WS_OVERLAPPEDWINDOW, 1024, 256);
    EXPECT_EQ(client_size(sizable).cx, 1016);
    EXPECT_EQ(client_size(sizable).cy, 256 - 8 - 18);
    Rect outer;
    get_window_rect(sizable, &outer);
    EXPECT_EQ(outer.right - outer.left, 1024);
}

TEST_F(WindowTest, SystemMetricsAreTheClassicOnes) {
    harness::set_screen_size(800, 600);
    EXPECT_EQ(get_system_metrics(SM_CXSCREEN), 800);
    EXPECT_EQ(get_system_metrics(SM_CYSCREEN), 600);
    EXPECT_EQ(get_system_metrics(SM_CYCAPTION), 18);
    EXPECT_EQ(get_system_metrics(SM_CXFIXEDFRAME), 3);
    EXPECT_EQ(get_system_metrics(SM_CXFRAME), 4);
    EXPECT_EQ(get_system_metrics(SM_CYMENU), 19);
}

TEST_F(WindowTest, ResizingKeepsPixelsAndWhitensNewOnes) {
    HWND hwnd = make_window("T", WS_OVERLAPPEDWINDOW, 108, 56);  // client 100 x 30
    HDC dc = get_dc(hwnd);
    set_pixel(dc, 2, 3, rgb(255, 0, 0));
    release_dc(hwnd, dc);
    ASSERT_TRUE(move_window(hwnd, 0, 0, 128, 66, false));
    Image image = window_image(hwnd);
    ASSERT_EQ(image.width, 120);
    ASSERT_EQ(image.height, 40);
    EXPECT_EQ(image.at(2, 3), 0xFF0000u);
    EXPECT_EQ(image.at(110, 35), 0xFFFFFFu);
    Rect update;
    EXPECT_TRUE(get_update_rect(hwnd, &update));  // the class redraws on size changes
}

TEST_F(WindowTest, ShowWindowReturnsEarlierVisibilityAndTakesFocus) {
    HWND a = make_window("A", GRAPHICS_STYLE, 100, 100);
    HWND b = make_window("B", GRAPHICS_STYLE, 100, 100);
    EXPECT_FALSE(show_window(a, SW_SHOW));
    EXPECT_TRUE(show_window(a, SW_SHOW));
    EXPECT_EQ(get_focus(), a);
    EXPECT_EQ(get_active_window(), a);
    EXPECT_TRUE(get_update_rect(a, nullptr));  // the first showing paints

    recorder().clear();
    EXPECT_FALSE(show_window(b, SW_SHOWNORMAL));
    EXPECT_EQ(get_focus(), b);
    auto kill = recorder().of(WM_KILLFOCUS);
    auto set = recorder().of(WM_SETFOCUS);
    ASSERT_EQ(kill.size(), 1u);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(kill[0].hwnd, a);
    EXPECT_EQ(kill[0].wparam, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(set[0].hwnd, b);
    EXPECT_EQ(set[0].wparam, reinterpret_cast<WPARAM>(a));

    EXPECT_TRUE(show_window(b, SW_HIDE));
    EXPECT_FALSE(show_window(b, SW_HIDE));
    EXPECT_FALSE(is_window_visible(b));
    EXPECT_EQ(get_focus(), a);  // back to the window that was active before
}

TEST_F(WindowTest, ShowWithoutActivationLeavesTheFocus) {
    HWND a = make_window("A", GRAPHICS_STYLE | WS_VISIBLE, 100, 100);
    HWND b = make_window("B", GRAPHICS_STYLE, 100, 100);
    show_window(b, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(is_window_visible(b));
    EXPECT_EQ(get_focus(), a);
}

TEST_F(WindowTest, FocusLeavingTheLayerSendsKillFocusWithNoSuccessor) {
    HWND a = make_window("A", GRAPHICS_STYLE | WS_VISIBLE, 100, 100);
    recorder().clear();
    harness::focus(nullptr);
    EXPECT_EQ(get_focus(), nullptr);
    auto kill = recorder().of(WM_KILLFOCUS);
    ASSERT_EQ(kill.size(), 1u);
    EXPECT_EQ(kill[0].hwnd, a);
    EXPECT_EQ(kill[0].wparam, 0u);
    harness::focus(a);
    EXPECT_EQ(get_focus(), a);
}

TEST_F(WindowTest, CloseBoxGoesThroughDefaultProcessingToDestroy) {
    HWND hwnd = make_window("A", GRAPHICS_STYLE | WS_VISIBLE, 100, 100);
    recorder().clear();
    harness::close_window(hwnd);
    pump_pending();
    std::vector<UINT> kinds;
    for (UINT m : recorder().kinds()) {
        if (m == WM_SYSCOMMAND || m == WM_CLOSE || m == WM_DESTROY) kinds.push_back(m);
    }
    std::vector<UINT> expected{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY};
    EXPECT_EQ(kinds, expected);
    EXPECT_FALSE(is_window(hwnd));
    EXPECT_EQ(get_focus(), nullptr);
    EXPECT_EQ(get_window_text(hwnd), "");  // a stale handle is safe to use
    EXPECT_FALSE(show_window(hwnd, SW_SHOW));
}

TEST_F(WindowTest, DestroyingAParentDestroysItsChildrenFirst) {
    HWND parent = make_window("P", GRAPHICS_STYLE | WS_VISIBLE, 200, 200, 10, 20);
    HWND child = make_window("C", WS_CHILD | WS_VISIBLE, 50, 40, 5, 6, parent);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(get_parent(child), parent);
    EXPECT_EQ(child_windows(parent), std::vector<HWND>{child});
    Rect r;
    get_window_rect(child, &r);
    EXPECT_EQ(r.left, 10 + 3 + 5);
    EXPECT_EQ(r.top, 20 + 3 + 18 + 6);
    recorder().clear();
    destroy_window(parent);
    auto destroyed = recorder().of(WM_DESTROY);
    ASSERT_EQ(destroyed.size(), 2u);
    EXPECT_EQ(destroyed[0].hwnd, child);
    EXPECT_EQ(destroyed[1].hwnd, parent);
    EXPECT_FALSE(is_window(child));
}

TEST_F(WindowTest, DisabledWindowsGetNoInput) {
    HWND hwnd = make_window("A", GRAPHICS_STYLE | WS_VISIBLE, 100, 100);
    pump_pending();
    EXPECT_FALSE(enable_window(hwnd, false));  // it was enabled
    EXPECT_FALSE(is_window_enabled(hwnd));
    recorder().clear();
    harness::click(hwnd, 5, 5);
    harness::press_key('A');
    harness::close_window(hwnd);
    pump_pending();
    EXPECT_TRUE(recorder().of(WM_LBUTTONDOWN).empty());
    EXPECT_TRUE(recorder().of(WM_KEYDOWN).empty());
    EXPECT_TRUE(is_window(hwnd));
}

TEST_F(WindowTest, ClickActivatesAndReachesTheChildUnderThePointer) {
    HWND a = make_window("A", GRAPHICS_STYLE | WS_VISIBLE, 200, 200);
    HWND child = make_window("C", WS_CHILD | WS_VISIBLE, 50, 40, 10, 10, a);
    HWND b = make_window("B", GRAPHICS_STYLE | WS_VISIBLE, 100, 100);
    EXPECT_EQ(get_active_window(), b);
    pump_pending();
    recorder().clear();
    harness::click(a, 15, 12);
    EXPECT_EQ(get_active_window(), a);
    pump_pending();
    auto downs = recorder().of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, child);
    EXPECT_EQ(loword(WPARAM(downs[0].lparam)), 5u);
    EXPECT_EQ(hiword(WPARAM(downs[0].lparam)), 2u);
    harness::click(a, 100, 150);
    pump_pending();
    downs = recorder().of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[1].hwnd, a);
}

TEST_F(WindowTest, FindWindowAndTitles) {
    HWND a = make_window("KV390 Graphics", GRAPHICS_STYLE, 100, 100);
    HWND b = make_window("KV390 Text", WS_OVERLAPPEDWINDOW, 100, 100);
    EXPECT_EQ(find_window(nullptr, "KV390 Text"), b);
    EXPECT_EQ(find_window(RECORDED_CLASS, nullptr), a);
    EXPECT_EQ(harness::window_by_title(""), a);
    set_window_text(a, "New");
    EXPECT_EQ(get_window_text(a), "New");
    EXPECT_EQ(top_level_windows(), (std::vector<HWND>{a, b}));
}

}  // namespace
}  // namespace kv390::test
