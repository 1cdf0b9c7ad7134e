// Draws a blue disc through the C half, clicks on it with the harness and
// checks the click's position and the pixel there.  Prints "pixel ok".
#include <cstdint>
#include <cstdio>

#include "kv390.h"
#include "kv390/harness.h"

extern "C" int draw_picture(void);

int main() {
    namespace harness = kv390::harness;
    harness::set_screen_size(1024, 768);
    KV390_begin(nullptr, nullptr, "", 5);
    if (draw_picture() != 1) return 1;

    win::HWND window = harness::window_by_title("KV390 Graphics");
    harness::click(window, 297 + 10, 248 - 20);
    int x = 0, y = 0;
    char key = 0;
    const int kind = KV390_wait_event(&x, &y, &key);
    const std::uint32_t pixel = harness::window_pixels(window).at(297 + 10, 248 - 20) & 0xffffffu;
    KV390_end();
    if (kind != KV390_MOUSE || x != 10 || y != 20) {
        std::printf("event %d at (%d, %d)\n", kind, x, y);
        return 1;
    }
    if (pixel != 0x0000ffu) {
        std::printf("pixel %06x\n", unsigned(pixel));
        return 1;
    }
    std::printf("pixel ok\n");
    return 0;
}
