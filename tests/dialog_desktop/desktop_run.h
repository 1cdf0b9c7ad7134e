// A private Xvfb display and a program started on it, both stopped at
// destruction.
#pragma once

#include <sys/types.h>

#include <string>

namespace dialog_desktop {

// Runs a shell command; its standard output into out.  The exit status, or -1.
int shell(const std::string& command, std::string* out = nullptr);

class Display {
  public:
    Display() = default;
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;
    // Xvfb on a free display it picks itself; false with a reason.
    bool start(std::string* why);
    std::string name() const { return std::string(":").append(std::to_string(number_)); }

  private:
    pid_t pid_ = -1;
    int number_ = -1;
};

class Program {
  public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    bool start(const std::string& path, const std::string& display, const std::string& directory);

  private:
    pid_t pid_ = -1;
};

}  // namespace dialog_desktop
