// Geometry of the drawn menu bar strip and its drop-down menus.  Header-only
// so that end-to-end tests can find items on screen.
#pragma once

#include <cstddef>
#include <vector>

#include "kv390/win.h"

namespace win::menu_bar::layout {

constexpr int BAR_HEIGHT = MENU_BAR_HEIGHT;
constexpr int BAR_ITEM_PADDING = 7;  // left and right of a bar item's label
constexpr int POPUP_EDGE = 3;        // raised frame and inner margin of a drop-down
constexpr int ITEM_HEIGHT = 18;      // a text item of a drop-down
constexpr int SEPARATOR_HEIGHT = 9;  // a separator line
constexpr int CHECK_COLUMN = 18;     // left column holding the check mark
constexpr int SHORTCUT_GAP = 24;     // between the longest label and the shortcuts
constexpr int RIGHT_MARGIN = 14;     // right of the longest shortcut

inline bool is_separator(const MenuItem& item) {
    return (item.flags & MF_SEPARATOR) != 0;
}

inline int item_height(const MenuItem& item) {
    return is_separator(item) ? SEPARATOR_HEIGHT : ITEM_HEIGHT;
}

// Top of an item, relative to the top of its drop-down.
inline int item_top(const std::vector<MenuItem>& items, int position) {
    int y = POPUP_EDGE;
    for (int i = 0; i < position && std::size_t(i) < items.size(); ++i) {
        y += item_height(items[std::size_t(i)]);
    }
    return y;
}

inline int popup_height(const std::vector<MenuItem>& items) {
    return item_top(items, int(items.size())) + POPUP_EDGE;
}

// The item at a height inside the drop-down, or -1 on the frame.
inline int item_at(const std::vector<MenuItem>& items, int y) {
    int top = POPUP_EDGE;
    for (std::size_t i = 0; i < items.size(); ++i) {
        int bottom = top + item_height(items[i]);
        if (y >= top && y < bottom) return int(i);
        top = bottom;
    }
    return -1;
}

}  // namespace win::menu_bar::layout
