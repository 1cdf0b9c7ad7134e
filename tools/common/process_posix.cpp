// Child processes on POSIX: fork and execve, a close-on-exec pipe that
// brings an exec failure back to the parent, and waitpid polled with short
// sleeps for the wall-clock timeout.  The child leads a process group of its
// own, so that a kill also ends whatever it started and the terminal's
// Ctrl+C reaches only the tool, which then ends the child itself.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include "process.h"

extern char** environ;

namespace kv390::tools {

struct Process::Native {
    pid_t pid = -1;
};

namespace {

volatile std::sig_atomic_t interrupt_flag = 0;

void on_interrupt(int) {
    interrupt_flag = 1;
}

std::string signal_name(int number) {
    struct Name {
        int number;
        const char* name;
    };
    static const Name names[] = {
        {SIGSEGV, "SIGSEGV"}, {SIGABRT, "SIGABRT"}, {SIGBUS, "SIGBUS"},   {SIGFPE, "SIGFPE"},
        {SIGILL, "SIGILL"},   {SIGKILL, "SIGKILL"}, {SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"},
        {SIGHUP, "SIGHUP"},   {SIGPIPE, "SIGPIPE"}, {SIGQUIT, "SIGQUIT"}, {SIGTRAP, "SIGTRAP"},
        {SIGXCPU, "SIGXCPU"}, {SIGXFSZ, "SIGXFSZ"}, {SIGSYS, "SIGSYS"},   {SIGALRM, "SIGALRM"},
    };
    for (const Name& n : names) {
        if (n.number == number) return n.name;
    }
    return "signal " + std::to_string(number);
}

// The child's environment: this process's, with the request's variables
// replacing variables of the same name.
std::vector<std::string> child_environment(const SpawnRequest& request) {
    std::vector<std::string> env;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        std::string item = *entry;
        std::string name = item.substr(0, item.find('='));
        bool replaced = std::any_of(request.env.begin(), request.env.end(),
                                    [&](const auto& var) { return var.first == name; });
        if (!replaced) env.push_back(item);
    }
    for (const auto& [name, value] : request.env) env.push_back(name + "=" + value);
    return env;
}

std::vector<char*> pointers_to(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// In the child after fork: only async-signal-safe calls.  An error number is
// written to the pipe when the program cannot be started.
[[noreturn]] void exec_child(const char* program, char* const* argv, char* const* envp,
                             const char* cwd, int output, long long id, int error_pipe) {
    setpgid(0, 0);
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    signal(SIGHUP, SIG_DFL);
    int error = 0;
    if (output >= 0 && (dup2(output, 1) < 0 || dup2(output, 2) < 0)) {
        error = errno;
    } else if (id >= 0 &&
               (setgroups(0, nullptr) != 0 || setgid(gid_t(id)) != 0 || setuid(uid_t(id)) != 0)) {
        error = errno;
    } else if (*cwd != '\0' && chdir(cwd) != 0) {
        error = errno;
    } else {
        execve(program, argv, envp);
        error = errno;
    }
    ssize_t written = write(error_pipe, &error, sizeof error);
    static_cast<void>(written);
    _exit(127);
}

ExitStatus status_of(int raw) {
    ExitStatus status;
    if (WIFSIGNALED(raw)) {
        status.signalled = true;
        status.code = WTERMSIG(raw);
        status.signal_name = signal_name(status.code);
    } else {
        status.code = WEXITSTATUS(raw);
    }
    return status;
}

}  // namespace

Process::Process() : native_(std::make_unique<Native>()) {}

Process::~Process() {
    if (!running()) return;
    kill();
    ExitStatus ignored;
    wait_for(UINT64_MAX, &ignored);
}

bool Process::start(const SpawnRequest& request, std::string* error) {
    if (running()) {
        *error = "a child is already running";
        return false;
    }
    std::vector<std::string> arg_strings{request.program};
    arg_strings.insert(arg_strings.end(), request.args.begin(), request.args.end());
    std::vector<std::string> env_strings = child_environment(request);
    std::vector<char*> argv = pointers_to(arg_strings);
    std::vector<char*> envp = pointers_to(env_strings);

    int output = -1;
    if (!output_file_.empty()) {
        output = open(output_file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (output < 0) {
            *error = "cannot write " + output_file_ + ": " + std::strerror(errno);
            return false;
        }
    }
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0) {
        *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        if (output >= 0) close(output);
        return false;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        *error = std::string("cannot start a process: ") + std::strerror(errno);
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        if (output >= 0) close(output);
        return false;
    }
    if (pid == 0) {
        exec_child(request.program.c_str(), argv.data(), envp.data(), request.cwd.c_str(), output,
                   run_as_id_, pipe_ends[1]);
    }
    if (output >= 0) close(output);
    setpgid(pid, pid);  // also here, so that a kill right after start reaches the group
    close(pipe_ends[1]);
    int child_error = 0;
    ssize_t got;
    do {
        got = read(pipe_ends[0], &child_error, sizeof child_error);
    } while (got < 0 && errno == EINTR);
    close(pipe_ends[0]);
    if (got == ssize_t(sizeof child_error)) {
        int raw = 0;
        while (waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
        }
        *error = "cannot run " + request.program + ": " + std::strerror(child_error);
        return false;
    }
    native_->pid = pid;
    return true;
}

bool Process::wait_for(std::uint64_t timeout_ms, ExitStatus* status) {
    if (!running()) return true;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    std::chrono::milliseconds pause(1);
    for (;;) {
        int raw = 0;
        pid_t done = waitpid(native_->pid, &raw, WNOHANG);
        if (done == native_->pid) {
            *status = status_of(raw);
            native_->pid = -1;
            return true;
        }
        if (done < 0 && errno != EINTR) {
            *status = ExitStatus{true, 0, "lost"};
            native_->pid = -1;
            return true;
        }
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        if (std::uint64_t(waited.count()) >= timeout_ms) return false;
        const auto left = std::chrono::milliseconds(timeout_ms - std::uint64_t(waited.count()));
        std::this_thread::sleep_for(std::min(pause, left));
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
}

void Process::kill() {
    if (!running()) return;
    ::kill(-native_->pid, SIGKILL);
    ::kill(native_->pid, SIGKILL);
}

bool Process::running() const {
    return native_->pid > 0;
}

bool processes_available() {
    return true;
}

std::string this_executable() {
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    return length > 0 ? std::string(path.data(), std::size_t(length)) : std::string();
}

void catch_interrupts() {
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);
}

bool interrupted() {
    return interrupt_flag != 0;
}

}  // namespace kv390::tools
