// Mouse and keyboard handling of the menu bar and its drop-downs.
#include "menu_bar/tracker.h"

#include <cctype>
#include <cstddef>

#include "menu_bar/layout.h"

namespace win::menu_bar {
namespace {

const std::vector<MenuItem>& open_items(const MenuState& state, const MenuView& view) {
    static const std::vector<MenuItem> none;
    if (state.open < 0 || std::size_t(state.open) >= view.popups.size()) return none;
    return view.popups[std::size_t(state.open)];
}

bool has_popup(const MenuView& view, int bar) {
    return bar >= 0 && std::size_t(bar) < view.popups.size() &&
           !view.popups[std::size_t(bar)].empty();
}

bool is_letter_or_digit(int vk) {
    return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
}

bool inside(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int bar_item_at(const MenuGeometry& geometry, int x) {
    for (std::size_t i = 0; i < geometry.bar_left.size() && i < geometry.bar_right.size(); ++i) {
        if (x >= geometry.bar_left[i] && x < geometry.bar_right[i]) return int(i);
    }
    return -1;
}

// Opens the drop-down of a bar item; from the keyboard its first item is
// highlighted at once.
void open_bar_item(MenuState& state, const MenuView& view, int bar, bool keyboard) {
    state.open = bar;
    state.hot = keyboard ? next_item(view.popups[std::size_t(bar)], -1, +1) : -1;
}

// A bar item chosen directly: one with a drop-down opens, one without is chosen.
MenuOutcome activate_bar_item(MenuState& state, const MenuView& view, int bar, bool keyboard) {
    MenuOutcome out{true, true, -1, -1};
    if (has_popup(view, bar)) {
        open_bar_item(state, view, bar, keyboard);
    } else {
        menu_close(state);
        out.chosen_bar = bar;
    }
    return out;
}

MenuOutcome choose(MenuState& state, const std::vector<MenuItem>& items, int position) {
    MenuOutcome out{true, false, -1, -1};
    if (position < 0 || std::size_t(position) >= items.size()) return out;
    if (!is_selectable(items[std::size_t(position)])) return out;
    out.chosen_bar = state.open;
    out.chosen_item = position;
    out.redraw = true;
    menu_close(state);
    return out;
}

// Left/Right move to the neighbouring bar item that has a drop-down.
MenuOutcome switch_bar_item(MenuState& state, const MenuView& view, int step) {
    MenuOutcome out{true, false, -1, -1};
    int count = int(view.bar.size());
    for (int i = 1; i < count; ++i) {
        int bar = ((state.open + step * i) % count + count) % count;
        if (has_popup(view, bar)) {
            open_bar_item(state, view, bar, true);
            out.redraw = true;
            break;
        }
    }
    return out;
}

MenuOutcome key_in_open_menu(MenuState& state, const MenuView& view, int vk) {
    const std::vector<MenuItem>& items = open_items(state, view);
    MenuOutcome out{true, false, -1, -1};
    switch (vk) {
        case VK_ESCAPE:
        case VK_MENU:
            out.redraw = menu_close(state);
            return out;
        case VK_UP:
        case VK_DOWN: {
            int hot = next_item(items, state.hot, vk == VK_UP ? -1 : +1);
            out.redraw = hot != state.hot;
            state.hot = hot;
            return out;
        }
        case VK_LEFT:
        case VK_RIGHT:
            return switch_bar_item(state, view, vk == VK_LEFT ? -1 : +1);
        case VK_RETURN:
            return choose(state, items, state.hot);
        default:
            break;
    }
    if (is_letter_or_digit(vk)) return choose(state, items, mnemonic_item(items, char(vk)));
    return out;
}

}  // namespace

bool is_selectable(const MenuItem& item) {
    return (item.flags & (MF_SEPARATOR | MF_POPUP | MF_GRAYED | MF_DISABLED)) == 0;
}

int next_item(const std::vector<MenuItem>& items, int from, int step) {
    int count = int(items.size());
    if (count == 0) return -1;
    int start = from;
    if (start < 0 || start >= count) start = step > 0 ? -1 : count;
    for (int i = 1; i <= count; ++i) {
        int position = ((start + step * i) % count + count) % count;
        if (!layout::is_separator(items[std::size_t(position)])) return position;
    }
    return -1;
}

int mnemonic_item(const std::vector<MenuItem>& items, char letter) {
    int wanted = std::tolower(static_cast<unsigned char>(letter));
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (layout::is_separator(items[i])) continue;
        char m = menu_mnemonic(items[i].text);
        if (m != 0 && std::tolower(static_cast<unsigned char>(m)) == wanted) return int(i);
    }
    return -1;
}

MenuOutcome menu_key_down(MenuState& state, const MenuView& view, int vk) {
    if (state.open >= 0) {
        state.alt_alone = false;
        return key_in_open_menu(state, view, vk);
    }
    if (vk == VK_MENU) {
        state.alt_alone = !view.bar.empty();
        return {};
    }
    bool alt_was_alone = state.alt_alone;
    state.alt_alone = false;
    if (!alt_was_alone || !is_letter_or_digit(vk)) return {};
    int bar = mnemonic_item(view.bar, char(vk));
    if (bar < 0) return {};
    return activate_bar_item(state, view, bar, true);
}

MenuOutcome menu_key_up(MenuState& state, const MenuView& view, int vk) {
    if (vk != VK_MENU || !state.alt_alone) return {};
    state.alt_alone = false;
    int bar = next_item(view.bar, -1, +1);
    if (state.open >= 0 || bar < 0) return {};
    MenuOutcome out = activate_bar_item(state, view, bar, true);
    out.consumed = false;  // the key-up still reaches the window's key state
    return out;
}

MenuOutcome menu_button_down(MenuState& state, const MenuView& view, const MenuGeometry& geometry,
                             int x, int y) {
    state.alt_alone = false;
    MenuOutcome out{true, false, -1, -1};
    if (y >= 0 && y < layout::BAR_HEIGHT && !view.bar.empty()) {
        state.pressed = true;
        int bar = bar_item_at(geometry, x);
        if (bar < 0 || bar == state.open) {
            out.redraw = menu_close(state);
            state.pressed = true;
            return out;
        }
        out = activate_bar_item(state, view, bar, false);
        state.pressed = true;
        return out;
    }
    if (state.open < 0) return {};
    state.pressed = true;
    if (inside(geometry.popup, x, y)) {
        int hot = layout::item_at(open_items(state, view), y - geometry.popup.top);
        out.redraw = hot != state.hot;
        state.hot = hot;
        return out;
    }
    out.redraw = menu_close(state);
    state.pressed = true;
    return out;
}

MenuOutcome menu_button_up(MenuState& state, const MenuView& view, const MenuGeometry& geometry,
                           int x, int y) {
    bool was_pressed = state.pressed;
    state.pressed = false;
    MenuOutcome out{was_pressed, false, -1, -1};
    if (state.open < 0) return out;
    out.consumed = true;
    if (inside(geometry.popup, x, y)) {
        const std::vector<MenuItem>& items = open_items(state, view);
        return choose(state, items, layout::item_at(items, y - geometry.popup.top));
    }
    bool on_open_bar_item =
        y >= 0 && y < layout::BAR_HEIGHT && bar_item_at(geometry, x) == state.open;
    if (!on_open_bar_item) out.redraw = menu_close(state);
    return out;
}

MenuOutcome menu_motion(MenuState& state, const MenuView& view, const MenuGeometry& geometry, int x,
                        int y) {
    MenuOutcome out{state.open >= 0, false, -1, -1};
    if (state.open < 0) return out;
    if (y >= 0 && y < layout::BAR_HEIGHT) {
        int bar = bar_item_at(geometry, x);
        if (bar >= 0 && bar != state.open && has_popup(view, bar)) {
            open_bar_item(state, view, bar, false);
            out.redraw = true;
        }
        return out;
    }
    int hot = -1;
    if (inside(geometry.popup, x, y)) {
        const std::vector<MenuItem>& items = open_items(state, view);
        hot = layout::item_at(items, y - geometry.popup.top);
        if (hot >= 0 && layout::is_separator(items[std::size_t(hot)])) hot = -1;
    }
    out.redraw = hot != state.hot;
    state.hot = hot;
    return out;
}

bool menu_close(MenuState& state) {
    bool was_open = state.open >= 0;
    state.open = -1;
    state.hot = -1;
    state.alt_alone = false;
    state.pressed = false;
    return was_open;
}

}  // namespace win::menu_bar
