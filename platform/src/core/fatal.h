// The end of a program whose windowing layer met a failure it cannot go on
// from: an embedded font that does not load, a figure larger than memory.
// The layer is built without exceptions (the browser's compiler has none),
// so such a failure says what it was in one line and ends the program as an
// uncaught error would.
#pragma once

namespace win {

[[noreturn]] void fatal_error(const char* what);

}  // namespace win
