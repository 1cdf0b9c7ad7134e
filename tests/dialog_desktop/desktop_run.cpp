#include "desktop_run.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace dialog_desktop {
namespace {

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

// Xvfb picks a free display itself and writes its number to a pipe once it
// takes connections, so tests started side by side never share one.
bool Display::start(std::string* why) {
    if (shell("command -v Xvfb >/dev/null 2>&1") != 0) {
        *why = "Xvfb is not installed";
        return false;
    }
    int report[2];
    if (::pipe(report) != 0) {
        *why = "no pipe for Xvfb";
        return false;
    }
    const std::string fd = std::to_string(report[1]);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(report[0]);
        std::freopen("/dev/null", "w", stderr);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                 "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(report[1]);
    std::string number;
    // Bounds only a failure: the number comes as soon as Xvfb is ready.
    pollfd ready{report[0], POLLIN, 0};
    char c = 0;
    while (pid > 0 && number.find('\n') == std::string::npos && ::poll(&ready, 1, 60000) > 0 &&
           ::read(report[0], &c, 1) == 1) {
        number += c;
    }
    ::close(report[0]);
    if (!number.empty() && number.back() == '\n') number.pop_back();
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        stop(pid);
        *why = "Xvfb did not report a display";
        return false;
    }
    pid_ = pid;
    number_ = std::stoi(number);
    return true;
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
