// Xvfb, child processes and shell commands for the desktop tests.
#include "desktop_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "kv390/harness.h"

extern char** environ;

namespace desktop {
namespace {

std::string name_of(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// The inherited environment with the given entries applied.
std::vector<std::string> environment_with(const std::vector<std::string>& changes) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        std::string entry = *e;
        bool replaced = false;
        for (const std::string& change : changes) replaced |= name_of(change) == name_of(entry);
        if (!replaced) env.push_back(entry);
    }
    for (const std::string& change : changes) {
        if (change.back() != '=') env.push_back(change);
    }
    return env;
}

// Ends a child we started: SIGTERM, then SIGKILL if it does not go.
void stop_child(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        pause_ms(20);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Reads fd up to its first newline, waiting at most timeout_ms in all; empty
// when nothing complete came.
std::string read_line(int fd, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, int(left.count())) <= 0) return "";
        char buffer[32];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return "";  // Xvfb ended
        text.append(buffer, std::size_t(n));
    }
    return text.substr(0, text.find('\n'));
}

}  // namespace

bool program_available(const std::string& name) {
    return run("command -v " + name + " >/dev/null 2>&1") == 0;
}

int run(const std::string& command, std::string* out) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[4096];
    std::string text;
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    int status = pclose(pipe);
    if (out != nullptr) *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void pause_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool wait_until(const std::function<bool()>& check, int timeout_s) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_s);
    while (!check()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        pause_ms(50);
    }
    return true;
}

VirtualDisplay::~VirtualDisplay() {
    stop_child(pid_);
    if (!log_path_.empty()) std::remove(log_path_.c_str());
}

std::string VirtualDisplay::describe() {
    std::string text = "Xvfb " + name();
    int status = 0;
    if (pid_ <= 0) return text + " was not started";
    if (waitpid(pid_, &status, WNOHANG) != pid_) {
        text += " still runs";
    } else {
        pid_ = -1;
        text += WIFSIGNALED(status)
                    ? " was ended by signal " + std::to_string(WTERMSIG(status))
                    : " ended with exit status " + std::to_string(WEXITSTATUS(status));
    }
    const std::string messages = read_file(log_path_);
    return text + (messages.empty() ? ", it wrote nothing" : ", it wrote:\n" + messages);
}

// Xvfb chooses a free display itself and writes its number to a pipe once it
// takes connections, so desktop tests started side by side never share one.
bool VirtualDisplay::start(int width, int height, std::string* why) {
    if (!program_available("Xvfb")) {
        *why = "Xvfb is not installed";
        return false;
    }
    int report[2];
    if (pipe(report) != 0) {
        *why = "no pipe for Xvfb";
        return false;
    }
    char log_path[] = "/tmp/kv390-xvfb-XXXXXX";
    const int log = mkstemp(log_path);
    if (log >= 0) log_path_ = log_path;
    const std::string fd = std::to_string(report[1]);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        // Its messages are kept: they tell why a display went away.
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(log >= 0 ? log : null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(report[1]);
    if (log >= 0) close(log);
    const std::string number = pid > 0 ? read_line(report[0], 10000) : std::string();
    close(report[0]);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        stop_child(pid);
        *why = "Xvfb did not report a display";
        return false;
    }
    pid_ = pid;
    number_ = std::stoi(number);
    return true;
}

Process::~Process() {
    stop_child(pid_);
}

bool Process::start(const std::string& path, const std::vector<std::string>& env,
                    const std::string& directory, const std::string& stderr_path,
                    const std::vector<std::string>& args) {
    std::vector<std::string> entries = environment_with(env);
    std::vector<char*> envp;
    for (std::string& e : entries) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> words = {path};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        if (!directory.empty() && chdir(directory.c_str()) != 0) _exit(126);
        if (!stderr_path.empty()) {
            int fd = open(stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd >= 0) dup2(fd, 2);
        }
        execve(path.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    pid_ = pid;
    return pid > 0;
}

int Process::wait(int timeout_ms) {
    if (pid_ <= 0) return -1;
    for (int waited = 0; waited <= timeout_ms; waited += 20) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        }
        pause_ms(20);
    }
    return -1;
}

std::string make_temp_dir() {
    char pattern[] = "/tmp/kv390-desktop-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir != nullptr ? dir : "/tmp";
}

std::string read_file(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace desktop

namespace desktop {

std::string on_display(const std::string& display, const std::string& command) {
    // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict
    // overlap for the chained operator+ form.
    std::string line = "DISPLAY=";
    line += display;
    line += ' ';
    line += command;
    return line;
}

namespace {

// The first line of xdotool's output that is a window id (its warnings
// share the output); empty when there is none.
std::string first_window_id(const std::string& out) {
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) {
            return line;
        }
    }
    return "";
}

}  // namespace

bool find_window(const std::string& display, const std::string& title, WindowPlace* place,
                 int timeout_s, std::string* why) {
    // One search at a time, not xdotool's own --sync: a search ends with
    // BadWindow when a window it lists is destroyed before it reads it, as
    // a starting program's short-lived windows are.  That means "not yet".
    std::string out;
    int status = -1;
    const bool found = wait_until(
        [&] {
            status = run(
                on_display(display, "xdotool search --onlyvisible --name '^" + title + "$' 2>&1"),
                &out);
            place->id = status == 0 ? first_window_id(out) : "";
            return !place->id.empty();
        },
        timeout_s);
    if (!found) {
        if (why != nullptr) {
            *why = "no window \"" + title + "\" on " + display + " within " +
                   std::to_string(timeout_s) + " s; the last xdotool search ended with status " +
                   std::to_string(status) + (out.empty() ? std::string() : ", saying: " + out);
        }
        return false;
    }
    if (run(on_display(display, "xdotool getwindowgeometry --shell " + place->id), &out) != 0) {
        if (why != nullptr) *why = "cannot read the place of \"" + title + "\": " + out;
        return false;
    }
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string name = line.substr(0, equals);
        const int value = std::atoi(line.c_str() + equals + 1);
        if (name == "X") place->x = value;
        if (name == "Y") place->y = value;
        if (name == "WIDTH") place->width = value;
        if (name == "HEIGHT") place->height = value;
    }
    return true;
}

bool VirtualDisplay::find_window(const std::string& title, WindowPlace* place, int timeout_s,
                                 std::string* why) {
    if (desktop::find_window(name(), title, place, timeout_s, why)) return true;
    *why += "; " + describe();
    return false;
}

void click_at(const std::string& display, int x, int y) {
    run(on_display(display, "xdotool mousemove --sync " + std::to_string(x) + " " +
                                std::to_string(y) + " click 1"));
}

win::Image screenshot(const std::string& display, const WindowPlace& place,
                      const std::string& path) {
    win::Image image;
    if (run(on_display(display, "import -window " + place.id + " png24:" + path)) != 0) {
        return image;
    }
    kv390::harness::load_png(path, &image);
    return image;
}

}  // namespace desktop

namespace desktop {

win::Image screenshot_showing(const std::string& display, const WindowPlace& place,
                              const std::string& path,
                              const std::function<bool(const win::Image&)>& shows, int timeout_s) {
    win::Image shot;
    wait_until(
        [&] {
            shot = screenshot(display, place, path);
            return !shot.pixels.empty() && shows(shot);
        },
        timeout_s);
    return shot;
}

}  // namespace desktop
