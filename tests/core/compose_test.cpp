// A window's composed picture: child windows on any parent, clipped to their
// parents, framed ones with their border; the drawn menu bar strip and its
// drop-down, worked through the desktop input entry points.  Headless window
// images and what a desktop backend presents are both cut from this picture.
#include <gtest/gtest.h>

#include <cstring>

#include "core/backend.h"
#include "core/input.h"
#include "recorder.h"

namespace kv390::test {
namespace {

using namespace win;

constexpr std::uint32_t BLUE = 0x0000FF, RED = 0xFF0000, GREEN = 0x00FF00;
constexpr std::uint32_t FRAME = 0x404040, FACE = 0xC0C0C0, LIGHT = 0xFFFFFF;
constexpr UINT IDM_START = 101, IDM_QUIT = 102;

void fill_client(HWND hwnd, std::uint32_t pixel) {
    HDC dc = get_dc(hwnd);
    Rect r;
    get_client_rect(hwnd, &r);
    HGDIOBJ brush = create_solid_brush(colorref_of(pixel));
    fill_rect(dc, &r, brush);
    delete_object(brush);
    release_dc(hwnd, dc);
}

// A graphics window with client 200 x 117 under a menu bar "&Run" holding
// "&Start", a separator and "&Quit".
class ComposeTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        parent = make_window("P", GRAPHICS_STYLE | WS_VISIBLE, 206, 160);
        HMENU run = create_popup_menu();
        append_menu(run, MF_STRING, IDM_START, "&Start");
        append_menu(run, MF_SEPARATOR, 0, nullptr);
        append_menu(run, MF_STRING, IDM_QUIT, "&Quit");
        HMENU bar = create_menu();
        append_menu(bar, MF_POPUP, reinterpret_cast<std::uintptr_t>(run), "&Run");
        set_menu(parent, bar);
        pump_pending();
        fill_client(parent, BLUE);
    }

    std::vector<unsigned> commands() const {
        std::vector<unsigned> ids;
        for (const Received& m : recorder().of(WM_COMMAND)) ids.push_back(loword(m.wparam));
        return ids;
    }

    HWND parent = nullptr;
};

TEST_F(ComposeTest, ChildWindowsShowInTheWindowImageAndInThePresentedPicture) {
    // A child of a plain window, and a bordered grandchild that sticks out of
    // the child's right and bottom edges.
    HWND child = make_window("C", WS_CHILD | WS_VISIBLE, 40, 30, 10, 20, parent);
    HWND grandchild = make_window("G", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 20, 30, 15, child);
    pump_pending();
    fill_client(child, RED);
    fill_client(grandchild, GREEN);

    struct Expected {
        int x, y;
        std::uint32_t pixel;
        const char* what;
    };
    const Expected expected[] = {
        {5, 5, BLUE, "parent"},
        {15, 25, RED, "child"},
        {40, 40, FRAME, "grandchild's border, left"},
        {45, 35, FRAME, "grandchild's border, top"},
        {45, 36, GREEN, "grandchild"},
        {49, 49, GREEN, "grandchild at the child's corner"},
        {50, 40, BLUE, "grandchild cut at the child's right edge"},
        {45, 50, BLUE, "grandchild cut at the child's bottom edge"},
    };
    Image image = window_image(parent);
    ASSERT_EQ(image.width, 200);
    ASSERT_EQ(image.height, 117);
    for (const Expected& e : expected) EXPECT_EQ(image.at(e.x, e.y), e.pixel) << e.what;
    Image of_child = window_image(child);
    EXPECT_EQ(of_child.at(35, 25), GREEN) << "a child's image holds its own children";

    // The desktop shows the menu bar strip above exactly these client rows.
    const backend::Picture& picture = backend::compose(parent);
    ASSERT_EQ(picture.client_top, MENU_BAR_HEIGHT);
    ASSERT_EQ(picture.height, MENU_BAR_HEIGHT + image.height);
    ASSERT_EQ(picture.width, image.width);
    EXPECT_EQ(picture.rows[0][picture.width - 1], FACE);
    for (int y = 0; y < image.height; ++y) {
        ASSERT_EQ(std::memcmp(picture.rows[std::size_t(MENU_BAR_HEIGHT + y)],
                              image.pixels.data() + std::size_t(y) * std::size_t(image.width),
                              std::size_t(image.width) * sizeof(std::uint32_t)),
                  0)
            << "row " << y;
    }

    // Unchanged parts give the same picture (a backend uploads nothing);
    // drawing into a grandchild or hiding a child gives a new one.
    std::uint64_t version = picture.version;
    EXPECT_EQ(backend::compose(parent).version, version);
    fill_client(grandchild, RED);
    EXPECT_NE(backend::compose(parent).version, version);
    EXPECT_EQ(window_image(parent).at(45, 36), RED);
    show_window(child, SW_HIDE);
    image = window_image(parent);
    EXPECT_EQ(image.at(15, 25), BLUE);
    EXPECT_EQ(image.at(45, 36), BLUE);
}

TEST_F(ComposeTest, TheDrawnMenuBarOpensAndChoosesThroughDesktopInput) {
    constexpr int BAR = MENU_BAR_HEIGHT;
    // Open "Run" on the strip: its drop-down hangs over the client area in
    // both the window image and the picture.
    input::picture_button(parent, WM_LBUTTONDOWN, 10, 5);
    input::picture_button(parent, WM_LBUTTONUP, 10, 5);
    EXPECT_EQ(window_image(parent).at(1, 1), LIGHT) << "the drop-down's raised frame";
    // "&Quit" is the third item: below a text item and a separator.
    const int quit_y = BAR + 3 + 18 + 9 + 9;
    input::picture_button(parent, WM_LBUTTONDOWN, 20, quit_y);
    input::picture_button(parent, WM_LBUTTONUP, 20, quit_y);
    pump_pending();
    EXPECT_EQ(commands(), std::vector<unsigned>{IDM_QUIT});
    EXPECT_TRUE(recorder().of(WM_LBUTTONDOWN).empty()) << "the menu kept its clicks";
    EXPECT_EQ(window_image(parent).at(1, 1), BLUE) << "the drop-down closed";

    // Below the strip a click reaches the client area, moved up by the strip.
    input::picture_button(parent, WM_LBUTTONDOWN, 50, BAR + 30);
    pump_pending();
    auto downs = recorder().of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(hiword(WPARAM(downs[0].lparam)), 30u);

    // Alt alone opens the first drop-down with its first item highlighted;
    // the menu keeps the keys that work it, and Enter chooses.
    EXPECT_TRUE(input::keyboard_key(WM_SYSKEYDOWN, VK_MENU, 1));
    EXPECT_TRUE(input::keyboard_key(WM_SYSKEYUP, VK_MENU, 1));
    EXPECT_FALSE(input::keyboard_key(WM_KEYDOWN, VK_DOWN, 1));
    EXPECT_TRUE(input::keyboard_key(WM_KEYUP, VK_DOWN, 1));
    EXPECT_FALSE(input::keyboard_key(WM_KEYDOWN, VK_RETURN, 1));
    pump_pending();
    EXPECT_EQ(commands(), (std::vector<unsigned>{IDM_QUIT, IDM_QUIT}));
    EXPECT_TRUE(input::keyboard_key(WM_KEYDOWN, 'A', 1)) << "closed again: keys reach the window";
}

}  // namespace
}  // namespace kv390::test
