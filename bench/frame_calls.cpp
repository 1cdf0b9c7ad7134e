// The --wrap shims: forward to the library, or record while a recording runs.
#include "frame_calls.h"

#include <cstdarg>
#include <cstdio>

#include "kv390.h"

namespace bench {
namespace {

CallList* recording = nullptr;
std::uint64_t waited = 0;

}  // namespace

void start_recording(CallList* into) {
    recording = into;
}

void stop_recording() {
    recording = nullptr;
}

std::uint64_t events_waited() {
    return waited;
}

void reset_events_waited() {
    waited = 0;
}

}  // namespace bench

using bench::CallKind;
using bench::DrawCall;

// The real entry points, as the linker names them under --wrap.
extern "C" {
int __real_KV390_circle(int color, int x, int y, int radius);
int __real_KV390_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
int __real_KV390_rectangle(int color, int x1, int y1, int x2, int y2, int width);
int __real_KV390_oval(int color, int x1, int y1, int x2, int y2, int width);
int __real_KV390_line(int color, int x1, int y1, int x2, int y2, int width);
int __real_KV390_wait_event(int* x, int* y, char* key);

int __wrap_KV390_circle(int color, int x, int y, int radius) {
    if (!bench::recording) return __real_KV390_circle(color, x, y, radius);
    bench::recording->push_back({CallKind::Circle, color, x, y, radius, 0, 0, 0, 0, 0, {}});
    return 1;
}

int __wrap_KV390_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
    if (!bench::recording) return __real_KV390_triangle(color, x1, y1, x2, y2, x3, y3, width);
    bench::recording->push_back({CallKind::Triangle, color, x1, y1, x2, y2, x3, y3, width, 0, {}});
    return 1;
}

int __wrap_KV390_rectangle(int color, int x1, int y1, int x2, int y2, int width) {
    if (!bench::recording) return __real_KV390_rectangle(color, x1, y1, x2, y2, width);
    bench::recording->push_back({CallKind::Rectangle, color, x1, y1, x2, y2, 0, 0, width, 0, {}});
    return 1;
}

int __wrap_KV390_oval(int color, int x1, int y1, int x2, int y2, int width) {
    if (!bench::recording) return __real_KV390_oval(color, x1, y1, x2, y2, width);
    bench::recording->push_back({CallKind::Oval, color, x1, y1, x2, y2, 0, 0, width, 0, {}});
    return 1;
}

int __wrap_KV390_line(int color, int x1, int y1, int x2, int y2, int width) {
    if (!bench::recording) return __real_KV390_line(color, x1, y1, x2, y2, width);
    bench::recording->push_back({CallKind::Line, color, x1, y1, x2, y2, 0, 0, width, 0, {}});
    return 1;
}

// Formats as the library's own KV390_textf does, then draws the result with
// KV390_text: the same work, once.
int __wrap_KV390_textf(int color, int x, int y, int point_size, const char* format, ...) {
    char area[1024];
    std::va_list values;
    va_start(values, format);
    const int length = std::vsnprintf(area, sizeof area, format, values);
    va_end(values);
    if (length < 0) area[0] = '\0';
    if (!bench::recording) {
        KV390_text(color, x, y, point_size, area);
    } else {
        bench::recording->push_back({CallKind::Text, color, x, y, 0, 0, 0, 0, 0, point_size, area});
    }
    return length;
}

int __wrap_KV390_wait_event(int* x, int* y, char* key) {
    ++bench::waited;
    return __real_KV390_wait_event(x, y, key);
}
}

namespace bench {

void replay(const DrawCall& c) {
    switch (c.kind) {
        case CallKind::Circle:
            KV390_circle(c.color, c.x1, c.y1, c.x2);
            break;
        case CallKind::Triangle:
            KV390_triangle(c.color, c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.width);
            break;
        case CallKind::Rectangle:
            KV390_rectangle(c.color, c.x1, c.y1, c.x2, c.y2, c.width);
            break;
        case CallKind::Oval:
            KV390_oval(c.color, c.x1, c.y1, c.x2, c.y2, c.width);
            break;
        case CallKind::Line:
            KV390_line(c.color, c.x1, c.y1, c.x2, c.y2, c.width);
            break;
        case CallKind::Text:
            KV390_text(c.color, c.x1, c.y1, c.size, c.text.c_str());
            break;
    }
}

}  // namespace bench
