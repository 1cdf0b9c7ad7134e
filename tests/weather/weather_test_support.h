// Helpers shared by the weather picture's tests.
#pragma once

#include <cstdint>
#include <vector>

#include "kv390.h"
#include "random.h"
#include "weather.h"

// The next n raw draws for a seed, without disturbing a run that reseeds
// with the same seed afterwards.
inline std::vector<int> peek_draws(std::uint32_t seed, int n) {
    random_seed(seed);
    std::vector<int> values;
    for (int i = 0; i < n; ++i) values.push_back(random_next());
    random_seed(seed);
    return values;
}

// The first seed from start whose first draw reduced modulo 1000 is not 0
// (no clone, no chance hunter) and whose further draws satisfy ok.
template <typename Predicate>
std::uint32_t find_seed(std::uint32_t start, int draws, Predicate ok) {
    for (std::uint32_t seed = start;; ++seed) {
        if (ok(peek_draws(seed, draws))) return seed;
    }
}

inline SceneObject make_item(int x, int y, int kind, int color) {
    SceneObject item{};
    item.x = x;
    item.y = y;
    item.kind = kind;
    item.color = color;
    return item;
}

inline SceneObject make_walker(int x, int y, int kind, int steps, int heading) {
    SceneObject walker{};
    walker.x = x;
    walker.y = y;
    walker.kind = kind;
    walker.steps = steps;
    walker.heading = heading;
    return walker;
}

// Puts walkers into the store as live, counted records.
inline void place_walkers(WalkerStore& walkers, SceneCounts& counts,
                          const std::vector<SceneObject>& records) {
    for (std::size_t i = 0; i < records.size(); ++i) walkers[i] = records[i];
    counts.walker_count = static_cast<int>(records.size());
    counts.walker_next = static_cast<int>(records.size());
}
