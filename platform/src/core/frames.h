// Who is told about animation frames (win::note_frame).  Internal to the
// windowing layer; the headless backend's render request is the listener.
#pragma once

#include "kv390/win.h"

namespace win {

using FrameObserver = void (*)(HWND hwnd, void* context);
// One observer; null removes it.
void set_frame_observer(FrameObserver observer, void* context);

}  // namespace win
