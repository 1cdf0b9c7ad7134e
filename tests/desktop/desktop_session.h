// A private X display (Xvfb) and the processes a desktop test runs on it.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "kv390/win.h"

namespace desktop {

bool program_available(const std::string& name);
// Runs a shell command; its standard output goes to out (when given).  The
// command's exit status, or -1 when it could not run.
int run(const std::string& command, std::string* out = nullptr);
void pause_ms(int ms);
// Asks check() again and again until it is true; false when it still is not
// after timeout_s.  The timeout only bounds a failure: a passing test ends
// as soon as the state it waits for is there, however slow the machine.
bool wait_until(const std::function<bool()>& check, int timeout_s);

struct WindowPlace;

// Xvfb on the first free display number from :90 upward.
class VirtualDisplay {
  public:
    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    // Starts the server and waits for its socket; false (with a reason) when it cannot.
    bool start(int width, int height, std::string* why);
    std::string name() const { return std::string(":").append(std::to_string(number_)); }
    // Whether the server still runs (or how it ended) and what it wrote.
    std::string describe();
    // find_window (below) on this display; a failure's why ends with describe().
    bool find_window(const std::string& title, WindowPlace* place, int timeout_s, std::string* why);

  private:
    pid_t pid_ = -1;
    int number_ = -1;
    std::string log_path_;  // the server's standard error
};

// A program started with a chosen environment and working directory; killed
// at destruction if it is still running.
class Process {
  public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // env entries "NAME=value" replace or add to the inherited environment;
    // "NAME=" alone removes NAME.  stderr goes to stderr_path when given;
    // args follow the program's name.
    bool start(const std::string& path, const std::vector<std::string>& env,
               const std::string& directory, const std::string& stderr_path = "",
               const std::vector<std::string>& args = {});
    // The exit status once the process ended within timeout_ms, or -1 (still
    // running) / -2 (ended by a signal).
    int wait(int timeout_ms);

  private:
    pid_t pid_ = -1;
};

std::string make_temp_dir();
std::string read_file(const std::string& path);

// ---- windows on a display, through xdotool and ImageMagick's import
// The command with DISPLAY set to that display.
std::string on_display(const std::string& display, const std::string& command);

struct WindowPlace {
    std::string id;
    int x = 0, y = 0;           // screen position of the SDL window's content
    int width = 0, height = 0;  // its size
};
// Waits (up to timeout_s) for the visible window with that exact title and
// reads its place; why (when given) gets what went wrong.
bool find_window(const std::string& display, const std::string& title, WindowPlace* place,
                 int timeout_s = 15, std::string* why = nullptr);
// Moves the pointer to a screen position and clicks the left button; the
// program takes the click later, in the order of the input it was given.
void click_at(const std::string& display, int x, int y);
// The window's content as a picture, saved to path on the way; empty on failure.
win::Image screenshot(const std::string& display, const WindowPlace& place,
                      const std::string& path);
// Takes screenshots until shows(picture) holds, and returns the last one
// (the one that showed it, or the last when timeout_s passed first).
win::Image screenshot_showing(const std::string& display, const WindowPlace& place,
                              const std::string& path,
                              const std::function<bool(const win::Image&)>& shows,
                              int timeout_s = 60);

}  // namespace desktop
