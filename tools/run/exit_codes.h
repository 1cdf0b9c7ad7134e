// kv390-run's exit statuses, one for each way a run can end (docs/TEACHING.md).
#pragma once

namespace run_tool {

enum ExitCode {
    EXIT_DONE = 0,            // the run finished and every output is written
    EXIT_TOOL_FAILED = 1,     // an output could not be made (disk, GIF size limit, ...)
    EXIT_BAD_INPUT = 2,       // bad options, unreadable input files, no such program
    EXIT_TIMEOUT = 3,         // stopped at --timeout (program time or wall clock)
    EXIT_CRASH = 4,           // the program died of a signal
    EXIT_PROGRAM_FAILED = 5,  // the program exited with a non-zero status
    EXIT_BAD_SCRIPT = 6,      // a script line cannot be played
    EXIT_NOT_KV390 = 7,       // the program never opened KV390 or showed no picture
    EXIT_INTERRUPTED = 130,   // Ctrl+C, hang-up or termination of kv390-run itself
};

}  // namespace run_tool
