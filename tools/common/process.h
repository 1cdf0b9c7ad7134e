// Child processes and temporary directories for the command-line tools.
//
// The interface holds no native types; process_posix.cpp and
// process_windows.cpp implement it, and the build picks the one for the
// platform.  Temporary directories are plain std::filesystem work
// (temp_dir.cpp) and shared by every platform.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kv390::tools {

// ---- temporary directories
// A fresh, private directory under the system's temporary directory whose
// name starts with prefix; removed with everything in it when the object goes.
class TempDir {
  public:
    TempDir() = default;
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    bool create(const std::string& prefix, std::string* error);
    const std::string& path() const { return path_; }
    // path() joined with a file name.
    std::string file(const std::string& name) const;
    // Removes the directory now (the destructor then has nothing to do).
    void remove();

  private:
    std::string path_;
};

// ---- child processes
struct SpawnRequest {
    std::string program;            // path of the executable (not searched on PATH)
    std::vector<std::string> args;  // arguments after the program's own name
    // Variables set (or replaced) in the child on top of this process's.
    std::vector<std::pair<std::string, std::string>> env;
    std::string cwd;  // working directory; empty: this process's
};

// How a child ended.
struct ExitStatus {
    bool signalled = false;   // killed by a signal (POSIX) or an exception (Windows)
    int code = 0;             // the exit code, or the signal's number
    std::string signal_name;  // "SIGSEGV", ...; empty for a normal exit
};

class Process {
  public:
    Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // A child still running is killed and reaped.
    ~Process();

    // Starts the child.  False with a one-line reason when it cannot run,
    // the program missing or not executable included ("cannot run P: No such
    // file or directory"); nothing is left running then.
    bool start(const SpawnRequest& request, std::string* error);
    // Before start(): the child's standard output and error go to this file
    // (created or emptied) instead of this process's.
    void send_output_to(const std::string& file) { output_file_ = file; }
    // Before start(), POSIX only: the child runs as this user and group id,
    // without supplementary groups (a root parent drops its rights).
    void run_as(long long id) { run_as_id_ = id; }
    // Waits at most timeout_ms of wall-clock time; true once the child has
    // ended (status filled in), false while it still runs.
    bool wait_for(std::uint64_t timeout_ms, ExitStatus* status);
    // Ends the child at once (it cannot catch or ignore this).
    void kill();
    bool running() const;

    struct Native;  // the platform's handle

  private:
    std::unique_ptr<Native> native_;
    std::string output_file_;   // empty: this process's own outputs
    long long run_as_id_ = -1;  // negative: this process's ids
};

// Whether this platform can start child processes at all (not in a browser
// or under node).
bool processes_available();

// The path of this process's own executable (empty when it cannot be told).
std::string this_executable();

// ---- interruption of the tool itself
// From the call on, Ctrl+C, a hang-up or a termination request only sets a
// flag that interrupted() reports, so the tool can clean up and leave.
void catch_interrupts();
bool interrupted();

}  // namespace kv390::tools
