// Animation frame notifications: passed to the one observer, if any.
#include "core/frames.h"

namespace win {
namespace {

struct FrameListener {
    FrameObserver observer = nullptr;
    void* context = nullptr;
};

FrameListener& listener() {
    static FrameListener instance;
    return instance;
}

}  // namespace

void set_frame_observer(FrameObserver observer, void* context) {
    listener() = FrameListener{observer, context};
}

void note_frame(HWND hwnd) {
    const FrameListener& l = listener();
    if (l.observer != nullptr) l.observer(hwnd, l.context);
}

}  // namespace win
