// A long script for the weather picture's playback.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

// Panel picks, 500 clicks on the sky in every kind and item colour with a
// few ticks between them, then a long run of ticks: the contents of a
// KV390.SCR file.
std::string long_weather_script();

// Runs the weather picture headless with the script in the current
// directory played back from the start; returns the events it waited for.
std::uint64_t play_weather_script();

}  // namespace bench
