// The sandbox on Linux: bubblewrap for the namespaces and the file system,
// prlimit (util-linux) inside it for the resource limits, so that the
// limits bind the program and not the sandbox's own set-up.
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "sandbox.h"

namespace kv390::tools {

namespace {

namespace fs = std::filesystem;

// The system's folders a program may need: programs, libraries, headers,
// configuration.  Merged-/usr systems have links in place of some.
constexpr const char* SYSTEM_FOLDERS[] = {"/usr", "/etc",   "/opt",   "/bin",   "/sbin",
                                          "/lib", "/lib32", "/lib64", "/libx32"};

std::string find_on_path(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    dirs += ":/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return "";
}

void add_system(std::vector<std::string>* args) {
    for (const char* folder : SYSTEM_FOLDERS) {
        std::error_code ec;
        const fs::file_status link = fs::symlink_status(folder, ec);
        if (fs::is_symlink(link)) {
            const fs::path target = fs::read_symlink(folder, ec);
            if (!ec) args->insert(args->end(), {"--symlink", target.string(), folder});
        } else if (fs::is_directory(link)) {
            args->insert(args->end(), {"--ro-bind", folder, folder});
        }
    }
}

std::string bytes(std::uint64_t mb) {
    return std::to_string(mb * 1024 * 1024);
}

}  // namespace

long long sandbox_id(unsigned slot) {
    if (geteuid() != 0) return -1;
    // Far above the ids of real users; the process id keeps processes
    // apart (at most 2^22 of them), the slot the sandboxes of one process.
    return 1000000000LL + (long long)(getpid() % 4194304) * 64 + (slot % 64);
}

bool sandbox_own(const Sandbox& sandbox, const std::string& folder, std::string* error) {
    if (sandbox.id < 0) return true;
    if (chown(folder.c_str(), uid_t(sandbox.id), gid_t(sandbox.id)) != 0 ||
        chmod(folder.c_str(), 0711) != 0) {
        *error = "cannot hand " + folder + " to the sandbox: " + strerror(errno);
        return false;
    }
    return true;
}

void sandbox_reclaim(const std::string& path) {
    if (geteuid() == 0 && chown(path.c_str(), getuid(), getgid()) != 0) {
        // The file stays readable; only its owner is the sandbox's.
    }
}

bool sandbox_wrap(const Sandbox& sandbox, SpawnRequest* request, std::string* error) {
    const std::string bwrap = find_on_path("bwrap");
    const std::string prlimit = find_on_path("prlimit");
    if (bwrap.empty() || prlimit.empty()) {
        *error = bwrap.empty() ? "bubblewrap (bwrap) is not installed"
                               : "prlimit (util-linux) is not installed";
        return false;
    }
    std::vector<std::string> args = {"--unshare-all", "--die-with-parent", "--new-session"};
    add_system(&args);
    args.insert(args.end(), {"--proc", "/proc", "--dev", "/dev", "--tmpfs", "/tmp"});
    for (const std::string& path : sandbox.readable) {
        const std::string full = fs::absolute(path).lexically_normal().string();
        args.insert(args.end(), {"--ro-bind", full, full});
    }
    for (const std::string& path : sandbox.writable) {
        const std::string full = fs::absolute(path).lexically_normal().string();
        args.insert(args.end(), {"--bind", full, full});
    }
    const std::string home = request->cwd.empty() ? "/tmp" : request->cwd;
    if (!request->cwd.empty()) args.insert(args.end(), {"--chdir", request->cwd});
    args.insert(args.end(), {"--setenv", "HOME", home, "--setenv", "TMPDIR", "/tmp"});
    const SandboxLimits& l = sandbox.limits;
    args.insert(args.end(),
                {"--", prlimit, "--as=" + bytes(l.memory_mb), "--cpu=" + std::to_string(l.cpu_s),
                 "--nproc=" + std::to_string(l.processes), "--fsize=" + bytes(l.file_mb),
                 "--nofile=" + std::to_string(l.open_files), "--core=0", "--", request->program});
    args.insert(args.end(), request->args.begin(), request->args.end());
    request->program = bwrap;
    request->args = args;
    return true;
}

bool sandbox_available(std::string* why) {
    static std::once_flag once;
    static bool available = false;
    static std::string reason;
    std::call_once(once, [] {
        Sandbox probe;
        probe.id = sandbox_id(63);
        SpawnRequest request;
        request.program = "/bin/true";
        if (!sandbox_wrap(probe, &request, &reason)) return;
        Process child;
        child.send_output_to("/dev/null");
        child.run_as(probe.id);
        ExitStatus status;
        if (!child.start(request, &reason)) return;
        child.wait_for(UINT64_MAX, &status);
        available = !status.signalled && status.code == 0;
        if (!available)
            reason = "bubblewrap cannot make a sandbox here (are user namespaces disabled?)";
    });
    if (!available) *why = reason;
    return available;
}

namespace {

// Whether any process runs under the id.  Zombies do not count: they run
// nothing and cannot be signalled, and the sandbox's own init, once its
// parent has ended, is reaped by the machine's init whenever that gets to
// it (a container's init may take seconds).
bool has_processes(long long id) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream status(entry.path() / "status");
        for (std::string line; std::getline(status, line);) {
            // "State:\tZ (zombie)" comes before "Uid:".
            if (line.rfind("State:\t", 0) == 0 && line.size() > 7 &&
                (line[7] == 'Z' || line[7] == 'X'))
                break;
            if (line.rfind("Uid:", 0) != 0) continue;
            if (std::stoll(line.substr(4)) == id) return true;
            break;
        }
    }
    return false;
}

}  // namespace

void sandbox_end(const Sandbox& sandbox) {
    if (sandbox.id < 0) return;
    std::chrono::milliseconds pause(1);
    while (has_processes(sandbox.id)) {
        // Only a process of the same id may signal them all at once.
        const pid_t killer = fork();
        if (killer == 0) {
            if (setgid(gid_t(sandbox.id)) == 0 && setuid(uid_t(sandbox.id)) == 0) kill(-1, SIGKILL);
            _exit(0);
        }
        if (killer > 0) waitpid(killer, nullptr, 0);
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

ExitStatus sandbox_status(const ExitStatus& raw) {
    if (raw.signalled || raw.code <= 128 || raw.code >= 128 + 65) return raw;
    ExitStatus status;
    status.signalled = true;
    status.code = raw.code - 128;
    const char* abbreviation = sigabbrev_np(status.code);
    status.signal_name = abbreviation != nullptr ? std::string("SIG") + abbreviation
                                                 : "signal " + std::to_string(status.code);
    return status;
}

}  // namespace kv390::tools
