// The weather picture on the headless backend and in the web page.  A tool
// that renders the run (kv390-render) or a test of the page fixes the random
// seed through KV390_SEED so that the same input always gives the same
// pictures.
#include <cerrno>
#include <cstdlib>

#include "random.h"
#include "weather.h"

namespace {

void fix_seed_from_environment() {
    const char* text = std::getenv("KV390_SEED");
    if (text == nullptr || *text == '\0') return;
    char* end = nullptr;
    errno = 0;
    const unsigned long long seed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || seed > 0xFFFFFFFFull) return;
    random_fix_seed(static_cast<std::uint32_t>(seed));
}

}  // namespace

int main() {
    fix_seed_from_environment();
    return weather_main(nullptr, nullptr, "", 5 /* SW_SHOW */);
}
