#include "recorder.h"

namespace kv390::test {

Recorder& recorder() {
    static Recorder r;
    return r;
}

std::vector<win::UINT> Recorder::kinds() const {
    std::vector<win::UINT> out;
    for (const Received& m : messages) out.push_back(m.message);
    return out;
}

std::vector<Received> Recorder::of(win::UINT message) const {
    std::vector<Received> out;
    for (const Received& m : messages) {
        if (m.message == message) out.push_back(m);
    }
    return out;
}

static win::LRESULT recording_proc(win::HWND hwnd, win::UINT message, win::WPARAM wparam,
                                   win::LPARAM lparam) {
    recorder().messages.push_back(Received{hwnd, message, wparam, lparam});
    if (message == win::WM_CREATE) return recorder().create_result;
    return win::def_window_proc(hwnd, message, wparam, lparam);
}

win::HWND make_window(const char* title, win::UINT style, int width, int height, int x, int y,
                      win::HWND parent) {
    if (!win::is_class_registered(RECORDED_CLASS)) {
        win::WindowClass wc;
        wc.style = win::CS_HREDRAW | win::CS_VREDRAW;
        wc.proc = recording_proc;
        wc.background = win::get_stock_object(win::WHITE_BRUSH);
        wc.name = RECORDED_CLASS;
        win::register_class(wc);
    }
    return win::create_window(0, RECORDED_CLASS, title, style, x, y, width, height, parent, nullptr,
                              nullptr, nullptr);
}

}  // namespace kv390::test
