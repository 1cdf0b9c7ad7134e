// The state of the menu bar while the user works it with mouse and keyboard.
// Pure logic: the caller measures the menu, draws it and chooses the item.
#pragma once

#include <vector>

#include "kv390/win.h"

namespace win::menu_bar {

// A window's menu bar as data: the bar's items and, for each, the items of its
// drop-down (empty for a bar item without one).
struct MenuView {
    std::vector<MenuItem> bar;
    std::vector<std::vector<MenuItem>> popups;
};

// Where the menu sits in the window's content (bar strip on top, y = 0).
struct MenuGeometry {
    std::vector<int> bar_left, bar_right;  // per bar item, right excluded
    Rect popup;                            // the open drop-down
};

struct MenuState {
    int open = -1;           // bar item whose drop-down is shown, -1 when closed
    int hot = -1;            // highlighted item of the open drop-down
    bool alt_alone = false;  // Alt is down and no other key came since
    bool pressed = false;    // a button went down on the menu and is still down
};

struct MenuOutcome {
    bool consumed = false;  // the input belongs to the menu, not to the window
    bool redraw = false;    // the bar or the drop-down looks different now
    int chosen_bar = -1;    // bar item of the chosen item
    int chosen_item = -1;   // drop-down item chosen (-1 with chosen_bar: the bar item itself)
};

bool is_selectable(const MenuItem& item);
// The next item from `from` in direction step (+1/-1) that is not a
// separator, wrapping round; from = -1 starts at the edge.  -1 when none.
int next_item(const std::vector<MenuItem>& items, int from, int step);
// The first item whose mnemonic is letter (case-insensitive), or -1.
int mnemonic_item(const std::vector<MenuItem>& items, char letter);

MenuOutcome menu_key_down(MenuState& state, const MenuView& view, int vk);
MenuOutcome menu_key_up(MenuState& state, const MenuView& view, int vk);
// Mouse positions are in the window's content (bar strip included).
MenuOutcome menu_button_down(MenuState& state, const MenuView& view, const MenuGeometry& geometry,
                             int x, int y);
MenuOutcome menu_button_up(MenuState& state, const MenuView& view, const MenuGeometry& geometry,
                           int x, int y);
MenuOutcome menu_motion(MenuState& state, const MenuView& view, const MenuGeometry& geometry, int x,
                        int y);
// Closes the drop-down (focus left the window, the menu changed).
bool menu_close(MenuState& state);

}  // namespace win::menu_bar
