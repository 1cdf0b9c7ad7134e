// Calls the drawing primitives with arbitrary 32-bit arguments and arbitrary
// text: each input is a sequence of calls, every call choosing a primitive,
// its integer or point form, and the logging switch.  The library stays open
// across inputs, as in a program that draws for a long time.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "library_session.h"

namespace {

constexpr int MAX_CALLS = 24;
// Primitive numbers 0-7 draw (pixel ... textf); these two take no arguments.
constexpr int CLEAR = 8;
constexpr int UNDO = 9;
constexpr std::size_t MAX_TEXT = 1500;

struct Arguments {
    int color, x1, y1, x2, y2, x3, y3, size;
    std::string text;
};

Arguments take_arguments(FuzzedDataProvider& in) {
    Arguments a{};
    a.color = in.ConsumeIntegral<int>();
    a.x1 = in.ConsumeIntegral<int>();
    a.y1 = in.ConsumeIntegral<int>();
    a.x2 = in.ConsumeIntegral<int>();
    a.y2 = in.ConsumeIntegral<int>();
    a.x3 = in.ConsumeIntegral<int>();
    a.y3 = in.ConsumeIntegral<int>();
    a.size = in.ConsumeIntegral<int>();
    a.text = in.ConsumeRandomLengthString(MAX_TEXT);
    return a;
}

void call_integer_form(int primitive, const Arguments& a) {
    switch (primitive) {
        case 0:
            KV390_pixel(a.color, a.x1, a.y1);
            break;
        case 1:
            KV390_circle(a.color, a.x1, a.y1, a.size);
            break;
        case 2:
            KV390_triangle(a.color, a.x1, a.y1, a.x2, a.y2, a.x3, a.y3, a.size);
            break;
        case 3:
            KV390_rectangle(a.color, a.x1, a.y1, a.x2, a.y2, a.size);
            break;
        case 4:
            KV390_oval(a.color, a.x1, a.y1, a.x2, a.y2, a.size);
            break;
        case 5:
            KV390_line(a.color, a.x1, a.y1, a.x2, a.y2, a.size);
            break;
        case 6:
            KV390_text(a.color, a.x1, a.y1, a.size, a.text.c_str());
            break;
        default:
            KV390_textf(a.color, a.x1, a.y1, a.size, "%s", a.text.c_str());
            break;
    }
}

void call_point_form(int primitive, const Arguments& a) {
    const KV390_point p1{a.x1, a.y1}, p2{a.x2, a.y2}, p3{a.x3, a.y3};
    switch (primitive) {
        case 0:
            KV390_pixel_pt(a.color, p1);
            break;
        case 1:
            KV390_circle_pt(a.color, p1, a.size);
            break;
        case 2:
            KV390_triangle_pt(a.color, p1, p2, p3, a.size);
            break;
        case 3:
            KV390_rectangle_pt(a.color, p1, p2, a.size);
            break;
        case 4:
            KV390_oval_pt(a.color, p1, p2, a.size);
            break;
        case 5:
            KV390_line_pt(a.color, p1, p2, a.size);
            break;
        case 6:
            KV390_text_pt(a.color, p1, a.size, a.text.c_str());
            break;
        default:
            KV390_textf_pt(a.color, p1, a.size, "%s|%d", a.text.c_str(), a.x2);
            break;
    }
}

void open_once() {
    static const bool opened = [] {
        kv390::fuzz::open_library();
        return true;
    }();
    static_cast<void>(opened);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    open_once();
    FuzzedDataProvider in(data, size);
    for (int call = 0; call < MAX_CALLS && in.remaining_bytes() > 0; ++call) {
        const int primitive = in.ConsumeIntegralInRange(0, UNDO);
        const bool point_form = in.ConsumeBool();
        KV390_set_logging(in.ConsumeBool() ? 1 : 0);
        const Arguments arguments = take_arguments(in);
        if (primitive == CLEAR) {
            KV390_clear();
        } else if (primitive == UNDO) {
            KV390_undo();
        } else if (point_form) {
            call_point_form(primitive, arguments);
        } else {
            call_integer_form(primitive, arguments);
        }
    }
    // Shows the canvas and the log lines, as the next wait would.
    kv390::flush_canvas();
    static_cast<void>(kv390::harness::window_pixels(kv390::lib().text_window));
    return 0;
}
