// The core record, its lookups and reset_layer.
#include <algorithm>

#include "core/backend.h"
#include "core/window.h"
#include "raster/objects.h"

namespace win {

Core& core() {
    static Core instance;
    return instance;
}

namespace {

struct BackendChoice {
    backend::Backend* chosen = nullptr;
    bool initialised = false;
};

BackendChoice& backend_choice() {
    static BackendChoice instance;
    return instance;
}

}  // namespace

// Marked initialised before init runs, so that core calls made from init
// reach the backend instead of initialising it again.
backend::Backend& ensure_backend() {
    BackendChoice& choice = backend_choice();
    if (choice.chosen == nullptr) choice.chosen = &backend::built_in();
    if (!choice.initialised) {
        choice.initialised = true;
        choice.chosen->init();
    }
    return *choice.chosen;
}

bool backend::install(Backend& backend) {
    BackendChoice& choice = backend_choice();
    if (choice.initialised) return choice.chosen == &backend;
    choice.chosen = &backend;
    return true;
}

void backend::keep_records_for_exit() {
    static_cast<void>(core());
}

Window* live_window(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    for (const auto& w : core().windows) {
        if (w.get() == hwnd) return w->destroyed ? nullptr : w.get();
    }
    return nullptr;
}

const WindowClass* find_class(const std::string& name) {
    for (const auto& wc : core().classes) {
        if (wc.name == name) return &wc;
    }
    return nullptr;
}

Menu* live_menu(HMENU menu) {
    if (menu == nullptr) return nullptr;
    for (const auto& m : core().menus) {
        if (m.get() == menu) return m.get();
    }
    return nullptr;
}

HWND top_level_of(HWND hwnd) {
    Window* w = live_window(hwnd);
    while (w != nullptr && w->parent != nullptr) {
        Window* p = live_window(w->parent);
        if (p == nullptr) break;
        w = p;
    }
    return w;
}

bool is_self_or_descendant(HWND hwnd, HWND ancestor) {
    for (Window* w = live_window(hwnd); w != nullptr; w = live_window(w->parent)) {
        if (w == ancestor) return true;
    }
    return false;
}

bool is_shown(HWND hwnd) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    for (; w != nullptr; w = live_window(w->parent)) {
        if (!w->visible) return false;
    }
    return true;
}

bool accepts_input(HWND hwnd) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    for (; w != nullptr; w = live_window(w->parent)) {
        if (!w->enabled) return false;
    }
    return true;
}

void backend::set_dispatch_observer(DispatchObserver observer, void* context) {
    core().observer = observer;
    core().observer_context = context;
}

void reset_layer() {
    for (const auto& w : core().windows) {
        if (!w->destroyed) ensure_backend().window_event(w.get(), backend::WindowEvent::Destroyed);
    }
    // DCs first: freeing one gives back its selections, so every object is
    // unselected when the objects go; the windows whose surfaces the DCs drew
    // into go last.
    raster::free_all_dcs();
    raster::free_all_objects();
    core() = Core{};
}

}  // namespace win
