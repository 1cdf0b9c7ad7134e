// Menus as data: bars and popups of items with check marks, chosen by id.
#include <cctype>

#include "core/backend.h"
#include "core/window.h"

namespace win {

static HMENU new_menu(bool bar) {
    auto menu = std::make_unique<Menu>();
    menu->bar = bar;
    HMENU handle = menu.get();
    core().menus.push_back(std::move(menu));
    return handle;
}

HMENU create_menu() {
    return new_menu(true);
}
HMENU create_popup_menu() {
    return new_menu(false);
}

bool append_menu(HMENU menu, UINT flags, std::uintptr_t id_or_popup, const char* text) {
    Menu* m = live_menu(menu);
    if (m == nullptr) return false;
    MenuItem item;
    item.flags = flags;
    if (flags & MF_POPUP) {
        item.popup = live_menu(reinterpret_cast<HMENU>(id_or_popup));
        if (item.popup == nullptr || item.popup == menu) return false;
    } else if (!(flags & MF_SEPARATOR)) {
        item.id = id_or_popup;
    }
    if (!(flags & MF_SEPARATOR) && text != nullptr) item.text = text;
    m->items.push_back(std::move(item));
    return true;
}

bool set_menu(HWND hwnd, HMENU menu) {
    Window* w = live_window(hwnd);
    if (w == nullptr || (w->style & WS_CHILD)) return false;
    if (menu != nullptr && live_menu(menu) == nullptr) return false;
    w->menu = menu;
    ensure_backend().window_event(hwnd, backend::WindowEvent::MenuChanged);
    update_client_size(hwnd);
    return true;
}

HMENU get_menu(HWND hwnd) {
    Window* w = live_window(hwnd);
    return w != nullptr ? live_menu(w->menu) : nullptr;
}

bool draw_menu_bar(HWND hwnd) {
    if (live_window(hwnd) == nullptr) return false;
    ensure_backend().window_event(hwnd, backend::WindowEvent::MenuChanged);
    return true;
}

static bool is_command(const MenuItem& item) {
    return !(item.flags & (MF_POPUP | MF_SEPARATOR));
}

// The first item with this command id, searching popups depth-first.
static MenuItem* find_by_command(Menu* menu, std::uintptr_t id, int depth = 0) {
    if (menu == nullptr || depth > 16) return nullptr;
    for (MenuItem& item : menu->items) {
        if (is_command(item) && item.id == id) return &item;
        if (item.flags & MF_POPUP) {
            if (MenuItem* found = find_by_command(live_menu(item.popup), id, depth + 1)) {
                return found;
            }
        }
    }
    return nullptr;
}

static MenuItem* find_item(HMENU menu, UINT id_or_position, UINT flags) {
    Menu* m = live_menu(menu);
    if (m == nullptr) return nullptr;
    if (flags & MF_BYPOSITION) {
        return id_or_position < m->items.size() ? &m->items[id_or_position] : nullptr;
    }
    return find_by_command(m, id_or_position);
}

UINT check_menu_item(HMENU menu, UINT id_or_position, UINT flags) {
    MenuItem* item = find_item(menu, id_or_position, flags);
    if (item == nullptr) return MENU_ITEM_NOT_FOUND;
    UINT previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~UINT(MF_CHECKED)) | (flags & MF_CHECKED);
    return previous;
}

UINT get_menu_state(HMENU menu, UINT id_or_position, UINT flags) {
    MenuItem* item = find_item(menu, id_or_position, flags);
    return item != nullptr ? item->flags : MENU_ITEM_NOT_FOUND;
}

const std::vector<MenuItem>& menu_items(HMENU menu) {
    static const std::vector<MenuItem> none;
    Menu* m = live_menu(menu);
    return m != nullptr ? m->items : none;
}

bool choose_menu_item(HWND hwnd, HMENU menu, int position) {
    Menu* m = live_menu(menu);
    if (m == nullptr || !accepts_input(hwnd) || position < 0 ||
        std::size_t(position) >= m->items.size()) {
        return false;
    }
    const MenuItem& item = m->items[std::size_t(position)];
    if (!is_command(item) || (item.flags & (MF_GRAYED | MF_DISABLED))) return false;
    return post_message(hwnd, WM_COMMAND, make_wparam(unsigned(item.id), 0), 0);
}

// "&&" stands for a literal "&"; the text after a tab is the shortcut.
std::string menu_label(const std::string& text) {
    std::string label;
    for (std::size_t i = 0; i < text.size() && text[i] != '\t'; ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                label += '&';
                ++i;
            }
            continue;
        }
        label += text[i];
    }
    return label;
}

std::string menu_shortcut(const std::string& text) {
    std::size_t tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

char menu_mnemonic(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size() && text[i] != '\t'; ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return text[i + 1] == '\t' ? '\0' : text[i + 1];
    }
    return '\0';
}

}  // namespace win
