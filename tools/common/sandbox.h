// Running untrusted programs (students' submissions and their builds) inside
// a sandbox.
//
// On Linux the sandbox is bubblewrap: fresh namespaces (no network, its own
// PID space), an empty root holding only the system's folders read-only, the
// run's own folders writable, and resource limits set inside by prlimit.  A
// root caller also gives up its rights (the child runs under an unused id),
// because process-count limits do not bind root.  Where bubblewrap cannot
// run (Windows, no user namespaces), sandbox_available() says why.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "process.h"

namespace kv390::tools {

// Limits on each sandboxed process (processes: for the whole sandbox).
struct SandboxLimits {
    std::uint64_t memory_mb = 1024;  // address space
    std::uint64_t cpu_s = 60;        // CPU time
    std::uint64_t processes = 64;    // processes and threads
    std::uint64_t file_mb = 256;     // largest file it may write
    std::uint64_t open_files = 256;  // open file descriptors
};

struct Sandbox {
    std::vector<std::string> writable;  // folders bound read-write at their own paths
    std::vector<std::string> readable;  // files or folders bound read-only
    SandboxLimits limits;
    // The user and group id the child runs as when this process is root;
    // sandbox_id() gives one no other sandbox of this machine uses at once.
    long long id = -1;
};

// Whether sandboxed children can be started here; false with a one-line
// reason.  The answer is found once by starting a sandbox.
bool sandbox_available(std::string* why);

// An id for a sandbox of this process, distinct for every slot (up to 64
// at once) and from those of other processes alive now; -1 when this
// process is not root (its children then keep its id).
long long sandbox_id(unsigned slot);

// Makes a folder of the caller's usable by the sandbox's id (as its owner);
// others may still reach the files in it by name (a program built there).
bool sandbox_own(const Sandbox& sandbox, const std::string& folder, std::string* error);

// Gives a file a sandboxed child made back to this process's user.
void sandbox_reclaim(const std::string& path);

// Turns *request into the same request run inside the sandbox, for a child
// started with run_as(sandbox.id).  The working directory must be one of
// the writable folders.
bool sandbox_wrap(const Sandbox& sandbox, SpawnRequest* request, std::string* error);

// Ends every process the sandbox still holds (children the program left
// behind, a namespace still being torn down) and returns once they are
// gone.  Needs the sandbox's own id (a root caller); otherwise the end of
// the sandbox's namespace ends them.
void sandbox_end(const Sandbox& sandbox);

// How a sandboxed child ended: the sandbox reports a child killed by signal
// N as exit status 128 + N, which becomes the signal again.
ExitStatus sandbox_status(const ExitStatus& raw);

}  // namespace kv390::tools
