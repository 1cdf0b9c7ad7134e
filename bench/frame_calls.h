// The drawing calls the weather picture makes, seen from outside the library.
//
// The benchmark programs are linked with the linker's symbol wrapping
// (--wrap) for the primitives the weather picture uses and for the event
// wait: every such call from the weather code lands in a shim here first.
// By default a shim forwards at once; while a recording runs it stores the
// call instead, so one frame can be replayed by the cairo peer and measured
// call by call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

enum class CallKind { Circle, Triangle, Rectangle, Oval, Line, Text };

// One primitive call in drawing coordinates, exactly as the weather code
// passed it (radius in x2 for a circle, point size in size for text).
struct DrawCall {
    CallKind kind = CallKind::Circle;
    int color = 0;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
    int width = 0;
    int size = 0;
    std::string text;
};

using CallList = std::vector<DrawCall>;

// Stores the calls instead of drawing them until stop_recording.
void start_recording(CallList* into);
void stop_recording();

// Draws one recorded call through the library's public primitives.
void replay(const DrawCall& call);

// Events handed out by KV390_wait_event since the last reset.
std::uint64_t events_waited();
void reset_events_waited();

}  // namespace bench
