#include "random.h"

#include <cerrno>
#include <cstdlib>

#include <ctime>
#include <optional>

namespace {

struct RandomState {
    std::uint32_t seed = 1;
    std::optional<std::uint32_t> startup_seed;
};

RandomState& random_state() {
    static RandomState state;
    return state;
}

}  // namespace

void random_seed(std::uint32_t seed) {
    random_state().seed = seed;
}

int random_next() {
    std::uint32_t& seed = random_state().seed;
    seed = seed * 214013u + 2531011u;
    return static_cast<int>((seed >> 16) & 0x7fffu);
}

int r(int n) {
    return random_next() % n;
}

void random_seed_at_startup() {
    const RandomState& state = random_state();
    if (state.startup_seed) {
        random_seed(*state.startup_seed);
    } else {
        random_seed(static_cast<std::uint32_t>(std::time(nullptr)));
    }
}

void random_fix_seed(std::uint32_t seed) {
    random_state().startup_seed = seed;
}

void random_fix_seed_from_environment() {
    const char* text = std::getenv("KV390_SEED");
    if (text == nullptr || *text == '\0') return;
    char* end = nullptr;
    errno = 0;
    const unsigned long long seed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || seed > 0xFFFFFFFFull) return;
    random_fix_seed(static_cast<std::uint32_t>(seed));
}
