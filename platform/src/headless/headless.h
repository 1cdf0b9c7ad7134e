// State shared by the headless backend and the harness: the virtual screen
// and clock, the timed input list and the end of the run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/backend.h"
#include "kv390/harness.h"

namespace win::headless {

namespace harness = kv390::harness;

constexpr std::uint64_t DEFAULT_IDLE_LIMIT_MS = 60000;

struct State {
    Size screen{1024, 768};
    std::uint64_t clock = 0;
    bool real_time = false;
    std::uint64_t presents = 0;

    std::vector<harness::TimedInput> entries;  // ordered by time
    std::size_t next_entry = 0;
    bool has_end_entry = false;
    std::uint64_t idle_limit = DEFAULT_IDLE_LIMIT_MS;

    bool run_ended = false;
    std::uint64_t ended_at = 0;
    bool quit_given = false;  // a wait with nothing left to happen was given WM_QUIT
    bool alt_held = false;    // the harness's own view, for system keys

    // The program's log lines, one after another, and where each one ends.
    std::string log_text;
    std::vector<std::size_t> log_line_ends;

    harness::TickObserver tick_observer = nullptr;
    void* tick_context = nullptr;
};

State& state();

// Moves the virtual clock to t (never backwards), queueing the timed input
// that falls due on the way, then checks for the end of the run.
void move_clock_to(std::uint64_t t);
// Queues the timed input that is due at the current time.
void deliver_due_input();
// Ends the run when the list is used up and its end time has passed; after
// the end, posts WM_QUIT if the program keeps running for another idle limit.
void check_end_of_run();
// Ends the run now (once): the close box of the first top-level window.
void end_run();
// Keeps a line the program logged (win::note_log_line).
void keep_log_line(const char* line, std::size_t length, void* context);
// The next virtual time at which timed input or the end of the run is due.
bool next_wake(std::uint64_t* t);

}  // namespace win::headless
