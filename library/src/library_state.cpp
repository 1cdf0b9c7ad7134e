// The one library-wide state of the process.
#include <cstdio>

#include "state.h"

namespace kv390 {
namespace {

// What the library opened and a process end would reclaim: the script file,
// the held window DC, the canvas and its DC, the class background brush.
void release_library_resources(LibraryState& state) {
    if (state.events.script_file != nullptr) std::fclose(state.events.script_file);
    if (state.window_dc != nullptr) win::release_dc(state.graphics_window, state.window_dc);
    if (state.canvas_dc != nullptr) win::delete_dc(state.canvas_dc);
    if (state.canvas_bitmap != nullptr) win::delete_object(state.canvas_bitmap);
    if (state.background_brush != nullptr) win::delete_object(state.background_brush);
}

}  // namespace

LibraryState& lib() {
    static LibraryState state;
    return state;
}

void reset_library_state() {
    LibraryState& state = lib();
    release_library_resources(state);
    state = LibraryState{};
}

}  // namespace kv390
