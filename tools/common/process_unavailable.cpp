// Platforms without child processes (a browser, node): every start fails
// with a reason, and the tools run what they can in their own process.
#include "process.h"

namespace kv390::tools {

struct Process::Native {};

Process::Process() : native_(std::make_unique<Native>()) {}
Process::~Process() = default;

bool Process::start(const SpawnRequest& request, std::string* error) {
    *error = "cannot run " + request.program + ": this platform cannot start programs";
    return false;
}

bool Process::wait_for(std::uint64_t, ExitStatus*) {
    return true;
}

void Process::kill() {}

bool Process::running() const {
    return false;
}

bool processes_available() {
    return false;
}

std::string this_executable() {
    return {};
}

void catch_interrupts() {}

bool interrupted() {
    return false;
}

}  // namespace kv390::tools
