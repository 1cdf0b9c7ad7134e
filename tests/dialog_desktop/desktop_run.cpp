#include "desktop_run.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace dialog_desktop {
namespace {

bool exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

void pause_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// SIGTERM, then SIGKILL if it has not ended within a second.
void stop(pid_t pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 20; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
        pause_ms(50);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

bool ended(pid_t pid) {
    return ::waitpid(pid, nullptr, WNOHANG) == pid;
}

}  // namespace

int shell(const std::string& command, std::string* out) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char chunk[256];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) {
        if (out != nullptr) out->append(chunk, n);
    }
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Display::~Display() {
    stop(pid_);
}

bool Display::start(std::string* why) {
    if (shell("command -v Xvfb >/dev/null 2>&1") != 0) {
        *why = "Xvfb is not installed";
        return false;
    }
    for (int number = 95; number < 130; ++number) {
        const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        if (exists(lock) || exists(socket)) continue;
        const pid_t pid = ::fork();
        if (pid < 0) break;
        if (pid == 0) {
            const std::string display = std::string(":").append(std::to_string(number));
            std::freopen("/dev/null", "w", stderr);
            ::execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
                     "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 100 && !exists(socket) && !ended(pid); ++i) pause_ms(50);
        if (exists(socket)) {
            pid_ = pid;
            number_ = number;
            return true;
        }
        stop(pid);
    }
    *why = "Xvfb could not start on any display from :95";
    return false;
}

Program::~Program() {
    stop(pid_);
}

bool Program::start(const std::string& path, const std::string& display,
                    const std::string& directory) {
    pid_ = ::fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
        ::setenv("DISPLAY", display.c_str(), 1);
        ::unsetenv("WAYLAND_DISPLAY");
        ::setenv("SDL_VIDEODRIVER", "x11", 1);
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (::chdir(directory.c_str()) != 0) ::_exit(126);
        ::execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return true;
}

}  // namespace dialog_desktop
