// The drawn menu bar of one top-level window: what it shows (read from the
// window's menu), where its items sit, the user's place in it, and its
// pixels.  The windowing core keeps one per window, composes its pixels into
// the window's picture and routes desktop input through it, so every backend
// shows and works the menu bar the same way.
#pragma once

#include "menu_bar/tracker.h"
#include "raster/device_context.h"

namespace win::menu_bar {

class MenuBar {
  public:
    // Re-reads the window's menu; a drop-down whose bar item went away closes.
    void refresh(HWND hwnd);
    bool empty() const { return view_.bar.empty(); }
    bool is_open() const { return state_.open >= 0; }

    // Input in the window's content coordinates (bar strip on top, y = 0).
    // A chosen item is chosen on hwnd's menu before these return.
    MenuOutcome key_down(HWND hwnd, int vk);
    MenuOutcome key_up(HWND hwnd, int vk);
    MenuOutcome button_down(HWND hwnd, int x, int y);
    MenuOutcome button_up(HWND hwnd, int x, int y);
    // Any other button: taken while the drop-down is open or on the strip.
    MenuOutcome other_button(bool down, int y);
    MenuOutcome motion(HWND hwnd, int x, int y);
    // Closes the drop-down; true when it was open.
    bool close();

    // The bar strip, width pixels wide, repainted when it looks different.
    const Surface& bar(int width);
    // The open drop-down, repainted when it looks different; null when closed.
    const Surface* popup(Rect* where);

  private:
    MenuOutcome carry_out(HWND hwnd, const MenuOutcome& outcome);
    void state_changed();

    MenuView view_;
    MenuState state_;
    MenuGeometry geometry_;
    bool bar_dirty_ = true, popup_dirty_ = true;
    Surface bar_pixels_, popup_pixels_;
};

}  // namespace win::menu_bar
