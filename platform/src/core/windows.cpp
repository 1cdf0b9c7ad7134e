// Window creation, destruction and the window record's properties.
#include <algorithm>
#include <cstring>

#include "core/backend.h"
#include "core/window.h"

namespace win {

static std::unique_ptr<Window> new_record(const WindowClass& wc, const char* title, UINT style,
                                          UINT ex_style, HWND parent_or_owner) {
    auto w = std::make_unique<Window>();
    w->class_name = wc.name;
    w->class_style = wc.style;
    w->proc = wc.proc;
    w->background = wc.background;
    w->instance = wc.instance;
    w->title = title != nullptr ? title : "";
    w->style = style & ~(WS_VISIBLE | WS_DISABLED);
    w->ex_style = ex_style;
    if (style & WS_CHILD) {
        w->parent = parent_or_owner;
    } else {
        w->owner = parent_or_owner;
    }
    w->enabled = !(style & WS_DISABLED);
    if (!w->enabled) w->style |= WS_DISABLED;
    return w;
}

// Child positions are relative to the parent's client area.
static Rect outer_rect(HWND parent, int x, int y, int width, int height) {
    Point base{0, 0};
    if (Window* p = live_window(parent)) base = client_origin(*p);
    return Rect{base.x + x, base.y + y, base.x + x + std::max(width, 0),
                base.y + y + std::max(height, 0)};
}

HWND create_window(UINT ex_style, const char* class_name, const char* title, UINT style, int x,
                   int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                   void* create_param) {
    ensure_backend();
    const WindowClass* wc = find_class(class_name != nullptr ? class_name : "");
    if (wc == nullptr) return nullptr;
    if (parent != nullptr && live_window(parent) == nullptr) return nullptr;
    if ((style & WS_CHILD) && parent == nullptr) return nullptr;

    auto record = new_record(*wc, title, style, ex_style, parent);
    HWND hwnd = record.get();
    if (style & WS_CHILD) {
        hwnd->id = int(reinterpret_cast<std::uintptr_t>(menu));
    } else if (live_menu(menu) != nullptr) {
        hwnd->menu = menu;
    }
    hwnd->outer = outer_rect(hwnd->parent, x, y, width, height);
    core().windows.push_back(std::move(record));
    if (Window* p = live_window(hwnd->parent)) p->children.push_back(hwnd);
    update_client_size(hwnd, false);
    ensure_backend().window_event(hwnd, backend::WindowEvent::Created);

    CreateStruct cs{create_param, instance, menu,       parent,  height, width, y, x,
                    style,        title,    class_name, ex_style};
    if (send_message(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        destroy_window(hwnd);
        return nullptr;
    }
    if (live_window(hwnd) == nullptr) return nullptr;
    send_message(hwnd, WM_SIZE, SIZE_RESTORED,
                 make_lparam(unsigned(hwnd->client_width), unsigned(hwnd->client_height)));
    if ((style & WS_VISIBLE) && live_window(hwnd) != nullptr) show_window(hwnd, SW_SHOW);
    return live_window(hwnd);
}

bool destroy_window(HWND hwnd) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    if (w->destroying) return true;
    flush_deferred(hwnd);
    if (live_window(hwnd) == nullptr) return true;
    w->destroying = true;
    std::vector<HWND> dependents = w->children;
    for (const auto& other : core().windows) {
        if (other->owner == hwnd) dependents.push_back(other.get());
    }
    for (HWND dependent : dependents) destroy_window(dependent);
    send_message(hwnd, WM_DESTROY, 0, 0);
    w->destroyed = true;
    w->visible = false;
    kill_window_timers(hwnd);
    drop_posted_messages(hwnd);
    release_activation(hwnd);
    ensure_backend().window_event(hwnd, backend::WindowEvent::Destroyed);
    return true;
}

bool is_window(HWND hwnd) {
    return live_window(hwnd) != nullptr;
}

bool get_client_rect(HWND hwnd, Rect* rect) {
    Window* w = live_window(hwnd);
    if (w == nullptr || rect == nullptr) return false;
    *rect = Rect{0, 0, w->client_width, w->client_height};
    return true;
}

bool get_window_rect(HWND hwnd, Rect* rect) {
    Window* w = live_window(hwnd);
    if (w == nullptr || rect == nullptr) return false;
    *rect = w->outer;
    return true;
}

// Children keep their place relative to the parent's client area.
static void shift_children(Window& w, int dx, int dy) {
    for (HWND child : w.children) {
        Window* c = live_window(child);
        if (c == nullptr) continue;
        c->outer.left += dx;
        c->outer.right += dx;
        c->outer.top += dy;
        c->outer.bottom += dy;
        shift_children(*c, dx, dy);
    }
}

bool move_window(HWND hwnd, int x, int y, int width, int height, bool repaint) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    Rect before = w->outer;
    w->outer = outer_rect(w->parent, x, y, width, height);
    shift_children(*w, w->outer.left - before.left, w->outer.top - before.top);
    if (w->outer.left != before.left || w->outer.top != before.top) {
        send_message(hwnd, WM_MOVE, 0, 0);
    }
    update_client_size(hwnd);
    if (repaint && live_window(hwnd) != nullptr) invalidate_rect(hwnd, nullptr, true);
    ensure_backend().window_event(hwnd, backend::WindowEvent::Moved);
    return true;
}

std::string get_window_text(HWND hwnd) {
    Window* w = live_window(hwnd);
    return w != nullptr ? w->title : std::string();
}

bool set_window_text(HWND hwnd, const char* text) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    w->title = text != nullptr ? text : "";
    ensure_backend().window_event(hwnd, backend::WindowEvent::Retitled);
    return true;
}

// The parent of a child window, the owner of an owned top-level window.
HWND get_parent(HWND hwnd) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return nullptr;
    return live_window(w->parent != nullptr ? w->parent : w->owner);
}

HWND find_window(const char* class_name, const char* title) {
    for (const auto& w : core().windows) {
        if (w->destroyed || w->parent != nullptr) continue;
        if (class_name != nullptr && w->class_name != class_name) continue;
        if (title != nullptr && w->title != title) continue;
        return w.get();
    }
    return nullptr;
}

UINT get_window_style(HWND hwnd) {
    Window* w = live_window(hwnd);
    return w != nullptr ? w->style : 0;
}

int get_dlg_ctrl_id(HWND hwnd) {
    Window* w = live_window(hwnd);
    return w != nullptr ? w->id : 0;
}

std::vector<HWND> top_level_windows() {
    std::vector<HWND> result;
    for (const auto& w : core().windows) {
        if (!w->destroyed && w->parent == nullptr) result.push_back(w.get());
    }
    return result;
}

std::vector<HWND> child_windows(HWND parent) {
    std::vector<HWND> result;
    Window* p = live_window(parent);
    if (p == nullptr) return result;
    for (HWND child : p->children) {
        if (live_window(child) != nullptr) result.push_back(child);
    }
    return result;
}

std::vector<backend::TopLevel> backend::top_levels() {
    std::vector<TopLevel> out;
    for (const auto& record : core().windows) {
        const Window& w = *record;
        if (w.destroyed || w.parent != nullptr) continue;
        TopLevel t;
        t.hwnd = record.get();
        t.title = w.title;
        t.outer = w.outer;
        t.content = Size{w.client_width, w.client_height + menu_strip_height(w)};
        t.visible = w.visible;
        t.resizable = (w.style & WS_THICKFRAME) != 0;
        t.captioned = (w.style & WS_CAPTION) == WS_CAPTION;
        out.push_back(std::move(t));
    }
    return out;
}

}  // namespace win
