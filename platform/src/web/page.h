// The page side of the web backend, as the C++ side calls it: web_page.js in
// an emscripten page, the program worker's imports in the playground
// (module "kv390_page", where kv390_page_wait suspends the program).
#pragma once

#include <cstdint>

namespace win::web {

// Kinds of the input records the page queues.
enum PageInput : int {
    INPUT_NONE = 0,
    INPUT_BUTTON_DOWN = 1,
    INPUT_BUTTON_UP = 2,
    INPUT_MOTION = 3,
    INPUT_KEY_DOWN = 4,
    INPUT_KEY_UP = 5,
    INPUT_FOCUS = 6,
    INPUT_BLUR = 7,
};

// Modifier bits of an input record (the page also sets 1 Ctrl, 2 Shift and
// 16 Meta; the core keeps its own key state for those).
constexpr int MOD_ALT = 4, MOD_REPEAT = 8;

// One input record: a button (0 left, 1 middle, 2 right) or a key code (the
// DOM's keyCode, which is the virtual-key code), the character the key types
// (0 for none) and the modifiers.  Positions are canvas pixels.
struct InputRecord {
    std::int32_t kind, window, x, y, code, character, modifiers;
};

}  // namespace win::web

#if defined(__wasi__)
#define KV390_PAGE_IMPORT(name) __attribute__((import_module("kv390_page"), import_name(#name)))
#else
#define KV390_PAGE_IMPORT(name)
#endif

extern "C" {
KV390_PAGE_IMPORT(open) int kv390_page_open();
KV390_PAGE_IMPORT(window)
void kv390_page_window(int id, int visible, int floating, int x, int y, const char* title);
KV390_PAGE_IMPORT(present)
void kv390_page_present(int id, const std::uint32_t* pixels, int width, int height);
KV390_PAGE_IMPORT(set_title) void kv390_page_set_title(const char* title);
KV390_PAGE_IMPORT(take_input) int kv390_page_take_input(win::web::InputRecord* record);
KV390_PAGE_IMPORT(has_input) int kv390_page_has_input();
KV390_PAGE_IMPORT(since_yield) double kv390_page_since_yield();
KV390_PAGE_IMPORT(wait) void kv390_page_wait(double timeout_ms);
// The browser's monotonic clock, in milliseconds.
KV390_PAGE_IMPORT(now) double kv390_page_now();
}
