// No sandbox on this platform (Windows, the browser): callers refuse to run
// untrusted programs unless told to run them unconfined.
#include "sandbox.h"

namespace kv390::tools {

bool sandbox_available(std::string* why) {
    *why = "no sandbox on this system (bubblewrap needs Linux)";
    return false;
}

long long sandbox_id(unsigned) {
    return -1;
}

bool sandbox_own(const Sandbox&, const std::string&, std::string* error) {
    *error = "no sandbox on this system";
    return false;
}

void sandbox_reclaim(const std::string&) {}

bool sandbox_wrap(const Sandbox&, SpawnRequest*, std::string* error) {
    *error = "no sandbox on this system (bubblewrap needs Linux)";
    return false;
}

void sandbox_end(const Sandbox&) {}

ExitStatus sandbox_status(const ExitStatus& raw) {
    return raw;
}

}  // namespace kv390::tools
