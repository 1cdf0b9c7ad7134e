// Temporary stand-ins for the event, menu and script functions until their
// real definitions are in the library.  Weak, so the real ones win.
#include "state.h"

namespace kv390 {

__attribute__((weak)) void build_run_menu(win::HWND hwnd) {
    lib().run_menu = win::create_popup_menu();
    win::append_menu(lib().run_menu, win::MF_STRING | win::MF_CHECKED, IDM_LOGGING,
                     "&Logging\tCtrl+L");
    win::HMENU bar = win::create_menu();
    win::append_menu(bar, win::MF_POPUP, reinterpret_cast<std::uintptr_t>(lib().run_menu), "&Run");
    win::set_menu(hwnd, bar);
}
__attribute__((weak)) void run_command(unsigned) {}
__attribute__((weak)) void on_key(win::UINT, win::WPARAM) {}
__attribute__((weak)) void on_focus_lost() {}
__attribute__((weak)) void on_left_button_down(win::LPARAM) {}
__attribute__((weak)) void on_char(win::WPARAM) {}
__attribute__((weak)) void on_timer() {}
__attribute__((weak)) void on_destroy() {
    win::post_quit_message(0);
}
__attribute__((weak)) void close_script_file() {}

}  // namespace kv390
