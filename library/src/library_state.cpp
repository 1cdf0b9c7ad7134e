// The one library-wide state of the process.
#include <cstdio>

#include "state.h"

namespace kv390 {

LibraryState library_state;

void reset_library_state() {
    LibraryState& state = lib();
    if (state.events.script_file != nullptr) std::fclose(state.events.script_file);
    state = LibraryState{};
}

}  // namespace kv390
