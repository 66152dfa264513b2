// The generator's own random numbers: SplitMix64 written out, so a seed gives the same questions
// with every compiler and standard library. Integer arithmetic only.
#pragma once

#include <cstdint>

struct GeneratorRandom {
    std::uint64_t state;
};

// The stream of one question: question `index` of a seed does not depend on how many come
// before it, so a bank of 10 is the start of a bank of 100.
GeneratorRandom question_random(std::uint64_t seed, std::uint32_t index);

std::uint64_t next_random(GeneratorRandom& random);

// 0 to bound - 1 (bound from 1 to 2^31), from the high bits by multiplication.
int random_below(GeneratorRandom& random, int bound);

// True in `percent` of 100 cases.
inline bool random_percent(GeneratorRandom& random, int percent) {
    return random_below(random, 100) < percent;
}

// One of the entries, each as likely as its weight (weights not negative, sum positive).
int random_weighted(GeneratorRandom& random, const int* weights, int count);
