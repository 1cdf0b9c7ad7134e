// Deferred drawing: a window's owner draws late, and the layer makes it catch
// up before anyone else sees or touches the window's pixels.
#include <vector>

#include "core/window.h"

namespace win {

void set_deferred_drawing(HWND hwnd, DeferredFlush flush, void* context) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return;
    w->deferred_flush = flush;
    w->deferred_context = context;
    if (flush == nullptr) w->deferred_marked = false;
}

void mark_deferred(HWND hwnd) {
    Window* w = live_window(hwnd);
    if (w != nullptr && w->deferred_flush != nullptr) w->deferred_marked = true;
}

// The mark is cleared before the call, so the flush may use get_dc and
// friends on its own window without coming back here.
void flush_deferred(HWND hwnd) {
    Window* w = live_window(hwnd);
    if (w == nullptr || !w->deferred_marked) return;
    w->deferred_marked = false;
    w->deferred_flush(hwnd, w->deferred_context);
}

// A flush may create or destroy windows, so the marked ones are listed first.
void backend::flush_all_deferred() {
    std::vector<HWND> marked;
    for (const auto& w : core().windows) {
        if (!w->destroyed && w->deferred_marked) marked.push_back(w.get());
    }
    for (HWND hwnd : marked) flush_deferred(hwnd);
}

}  // namespace win
