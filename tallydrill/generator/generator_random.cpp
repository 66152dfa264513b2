#include "tallydrill/generator/generator_random.h"

namespace {

constexpr std::uint64_t golden_gamma = 0x9E3779B97F4A7C15ULL;

std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

GeneratorRandom question_random(std::uint64_t seed, std::uint32_t index) {
    // Two rounds of mixing keep neighbouring seeds and indices far apart.
    return GeneratorRandom{mix(mix(seed) + golden_gamma * (static_cast<std::uint64_t>(index) + 1))};
}

std::uint64_t next_random(GeneratorRandom& random) {
    random.state += golden_gamma;
    return mix(random.state);
}

int random_below(GeneratorRandom& random, int bound) {
    if (bound <= 1) {
        return 0;
    }
    const std::uint64_t high = next_random(random) >> 32;
    return static_cast<int>((high * static_cast<std::uint64_t>(bound)) >> 32);
}

int random_weighted(GeneratorRandom& random, const int* weights, int count) {
    int total = 0;
    for (int i = 0; i < count; ++i) {
        total += weights[i] > 0 ? weights[i] : 0;
    }
    int pick = random_below(random, total);
    for (int i = 0; i < count; ++i) {
        const int weight = weights[i] > 0 ? weights[i] : 0;
        if (pick < weight) {
            return i;
        }
        pick -= weight;
    }
    return count - 1;
}
