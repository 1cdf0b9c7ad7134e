// One window's drawn menu bar: reading the menu, carrying out what the user
// chose, and repainting the strip and the drop-down only when they changed.
#include "menu_bar/menu_bar.h"

#include <cstddef>

#include "menu_bar/layout.h"
#include "menu_bar/painter.h"

namespace win::menu_bar {
namespace {

bool same_items(const std::vector<MenuItem>& a, const std::vector<MenuItem>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].flags != b[i].flags || a[i].id != b[i].id || a[i].text != b[i].text) return false;
    }
    return true;
}

bool same_view(const MenuView& a, const MenuView& b) {
    if (!same_items(a.bar, b.bar) || a.popups.size() != b.popups.size()) return false;
    for (std::size_t i = 0; i < a.popups.size(); ++i) {
        if (!same_items(a.popups[i], b.popups[i])) return false;
    }
    return true;
}

MenuView read_view(HWND hwnd) {
    MenuView view;
    view.bar = menu_items(get_menu(hwnd));
    for (const MenuItem& item : view.bar) {
        bool has_popup = (item.flags & MF_POPUP) != 0;
        view.popups.push_back(has_popup ? menu_items(item.popup) : std::vector<MenuItem>{});
    }
    return view;
}

}  // namespace

void MenuBar::refresh(HWND hwnd) {
    MenuView view = read_view(hwnd);
    if (same_view(view, view_)) return;
    view_ = std::move(view);
    measure_bar(view_, &geometry_);
    bool still_open = state_.open >= 0 && std::size_t(state_.open) < view_.popups.size() &&
                      !view_.popups[std::size_t(state_.open)].empty();
    if (!still_open) menu_close(state_);
    state_changed();
}

void MenuBar::state_changed() {
    if (state_.open >= 0) geometry_.popup = measure_popup(view_, geometry_, state_.open);
    bar_dirty_ = true;
    popup_dirty_ = true;
}

MenuOutcome MenuBar::carry_out(HWND hwnd, const MenuOutcome& outcome) {
    if (outcome.redraw) state_changed();
    if (outcome.chosen_bar < 0) return outcome;
    HMENU bar = get_menu(hwnd);
    if (outcome.chosen_item < 0) {
        choose_menu_item(hwnd, bar, outcome.chosen_bar);
        return outcome;
    }
    const std::vector<MenuItem>& items = menu_items(bar);
    if (std::size_t(outcome.chosen_bar) < items.size()) {
        choose_menu_item(hwnd, items[std::size_t(outcome.chosen_bar)].popup, outcome.chosen_item);
    }
    return outcome;
}

MenuOutcome MenuBar::key_down(HWND hwnd, int vk) {
    return carry_out(hwnd, menu_key_down(state_, view_, vk));
}

MenuOutcome MenuBar::key_up(HWND hwnd, int vk) {
    return carry_out(hwnd, menu_key_up(state_, view_, vk));
}

MenuOutcome MenuBar::button_down(HWND hwnd, int x, int y) {
    return carry_out(hwnd, menu_button_down(state_, view_, geometry_, x, y));
}

MenuOutcome MenuBar::button_up(HWND hwnd, int x, int y) {
    return carry_out(hwnd, menu_button_up(state_, view_, geometry_, x, y));
}

MenuOutcome MenuBar::other_button(bool down, int y) {
    MenuOutcome outcome;
    if (state_.open < 0 && y >= layout::BAR_HEIGHT) return outcome;
    outcome.consumed = true;
    if (down && menu_close(state_)) {
        outcome.redraw = true;
        state_changed();
    }
    return outcome;
}

MenuOutcome MenuBar::motion(HWND hwnd, int x, int y) {
    if (state_.open < 0) return {};
    return carry_out(hwnd, menu_motion(state_, view_, geometry_, x, y));
}

bool MenuBar::close() {
    if (!menu_close(state_)) return false;
    state_changed();
    return true;
}

const Surface& MenuBar::bar(int width) {
    if (bar_dirty_ || bar_pixels_.width != width) {
        paint_bar(bar_pixels_, width, view_, geometry_, state_);
        bar_dirty_ = false;
    }
    return bar_pixels_;
}

const Surface* MenuBar::popup(Rect* where) {
    if (state_.open < 0) return nullptr;
    const Rect& r = geometry_.popup;
    if (popup_dirty_) {
        paint_popup(popup_pixels_, view_.popups[std::size_t(state_.open)], r.right - r.left,
                    state_.hot);
        popup_dirty_ = false;
    }
    *where = r;
    return &popup_pixels_;
}

}  // namespace win::menu_bar
