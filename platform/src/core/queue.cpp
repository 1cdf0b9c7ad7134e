// The message queue: posting, sending, peeking in the fixed order (posted,
// quit, paint, timer), dispatching and the default window procedure.
#include <algorithm>

#include "core/backend.h"
#include "core/window.h"

namespace win {

// How often an idle peek shows changed window pixels.
constexpr std::uint64_t PRESENT_INTERVAL_MS = 15;

bool matches_filter(HWND msg_hwnd, UINT message, HWND filter, UINT min, UINT max) {
    if (filter != nullptr && !is_self_or_descendant(msg_hwnd, filter)) return false;
    if (min == 0 && max == 0) return true;
    return message >= min && message <= max;
}

static bool enqueue(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, bool from_input) {
    if (hwnd != nullptr && live_window(hwnd) == nullptr) return false;
    Msg msg{hwnd, message, wparam, lparam, ensure_backend().now_ms()};
    core().posted.push_back(QueuedMessage{msg, from_input});
    return true;
}

bool post_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return enqueue(hwnd, message, wparam, lparam, false);
}

void post_input_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    enqueue(hwnd, message, wparam, lparam, true);
}

void drop_posted_messages(HWND hwnd) {
    auto& q = core().posted;
    q.erase(std::remove_if(q.begin(), q.end(),
                           [hwnd](const QueuedMessage& m) { return m.msg.hwnd == hwnd; }),
            q.end());
}

LRESULT send_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* w = live_window(hwnd);
    if (w == nullptr || w->proc == nullptr) return 0;
    return w->proc(hwnd, message, wparam, lparam);
}

void post_quit_message(int exit_code) {
    core().quit_pending = true;
    core().quit_code = exit_code;
}

static bool take_posted(Msg* msg, HWND filter, UINT min, UINT max, bool remove) {
    auto& q = core().posted;
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (!matches_filter(it->msg.hwnd, it->msg.message, filter, min, max)) continue;
        QueuedMessage taken = *it;
        *msg = taken.msg;
        if (remove) {
            q.erase(it);
            if (taken.from_input) apply_key_message(taken.msg.message, taken.msg.wparam);
        }
        return true;
    }
    return false;
}

// The quit message is taken whatever the filter says.
static bool take_quit(Msg* msg, bool remove) {
    Core& c = core();
    if (!c.quit_pending) return false;
    *msg = Msg{nullptr, WM_QUIT, WPARAM(c.quit_code), 0, ensure_backend().now_ms()};
    if (remove) c.quit_pending = false;
    return true;
}

static bool take_paint(Msg* msg, HWND filter, UINT min, UINT max) {
    for (const auto& w : core().windows) {
        if (w->destroyed || !w->has_invalid || !is_shown(w.get())) continue;
        if (!matches_filter(w.get(), WM_PAINT, filter, min, max)) continue;
        *msg = Msg{w.get(), WM_PAINT, 0, 0, ensure_backend().now_ms()};
        return true;
    }
    return false;
}

bool any_paint_pending() {
    Msg unused;
    return take_paint(&unused, nullptr, 0, 0);
}

static void present_now_and_then() {
    Core& c = core();
    std::uint64_t now = ensure_backend().now_ms();
    if (now >= c.last_present + PRESENT_INTERVAL_MS || now < c.last_present) {
        c.last_present = now;
        ensure_backend().present();
    }
}

bool peek_message(Msg* msg, HWND hwnd, UINT min, UINT max, UINT remove) {
    ensure_backend().poll_input();
    Msg found;
    bool removing = (remove & PM_REMOVE) != 0;
    bool got = take_posted(&found, hwnd, min, max, removing) || take_quit(&found, removing) ||
               take_paint(&found, hwnd, min, max) ||
               take_due_timer(&found, hwnd, min, max, removing);
    if (!got) {
        present_now_and_then();
        return false;
    }
    if (msg != nullptr) *msg = found;
    return true;
}

bool get_message(Msg* msg, HWND hwnd, UINT min, UINT max) {
    Msg found;
    while (!peek_message(&found, hwnd, min, max, PM_REMOVE)) wait_for_activity(-1);
    if (msg != nullptr) *msg = found;
    return found.message != WM_QUIT;
}

LRESULT dispatch_message(const Msg* msg) {
    if (msg == nullptr) return 0;
    Window* w = live_window(msg->hwnd);
    if (w == nullptr) return 0;
    LRESULT result =
        w->proc != nullptr ? w->proc(msg->hwnd, msg->message, msg->wparam, msg->lparam) : 0;
    Core& c = core();
    if (c.observer != nullptr) c.observer(*msg, c.observer_context);
    return result;
}

LRESULT def_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_CLOSE:
            destroy_window(hwnd);
            return 0;
        case WM_SYSCOMMAND:
            if ((wparam & 0xFFF0u) == SC_CLOSE) send_message(hwnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_PAINT: {
            PaintStruct ps;
            if (begin_paint(hwnd, &ps) != nullptr) end_paint(hwnd, &ps);
            return 0;
        }
        default:
            return 0;
    }
}

}  // namespace win
