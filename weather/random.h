// The weather picture's pseudo-random generator: the classic linear
// congruential generator (seed = seed * 214013 + 2531011 mod 2^32, result
// bits 16..30).  Like a runtime's rand/srand it is process-wide state; it is
// the application's only such state.
#pragma once

#include <cstdint>

// Sets the generator's seed (srand).
void random_seed(std::uint32_t seed);
// The next value, 0..32767 (rand).
int random_next();
// One draw reduced modulo n: 0 .. n - 1.
int r(int n);

// Start-up seeding: the wall-clock time in seconds, unless a fixed seed was
// given with random_fix_seed (for tests and tools that need repeatable runs).
void random_seed_at_startup();
void random_fix_seed(std::uint32_t seed);
// random_fix_seed with the number in the environment variable KV390_SEED
// (0 to 4294967295), which tools set for repeatable runs; nothing otherwise.
void random_fix_seed_from_environment();
