// One event as KV390_wait_event hands it out, comparable and printable in
// test failures.
#pragma once

#include <ostream>

namespace kv390::test {

struct Event {
    int kind = 0;
    int x = 0;
    int y = 0;
    char key = 0;
    bool operator==(const Event&) const = default;
};

inline void PrintTo(const Event& event, std::ostream* out) {
    *out << "{kind " << event.kind << ", (" << event.x << ", " << event.y << "), key "
         << int(static_cast<unsigned char>(event.key)) << "}";
}

}  // namespace kv390::test
