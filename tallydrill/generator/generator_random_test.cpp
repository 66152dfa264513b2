#include "tallydrill/generator/generator_random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every value of a small bound comes up about as often as the others, and never one outside.
TEST(GeneratorRandom, BelowStaysInRangeAndSpreadsEvenly) {
    GeneratorRandom random = question_random(42, 0);
    for (int bound : {1, 2, 3, 7, 34, 136}) {
        std::vector<int> counts(static_cast<std::size_t>(bound), 0);
        const int draws = 2000 * bound;
        for (int i = 0; i < draws; ++i) {
            const int value = random_below(random, bound);
            ASSERT_GE(value, 0);
            ASSERT_LT(value, bound);
            ++counts[static_cast<std::size_t>(value)];
        }
        for (int count : counts) {
            EXPECT_GT(count, 1700) << "bound " << bound;
            EXPECT_LT(count, 2300) << "bound " << bound;
        }
    }
}

TEST(GeneratorRandom, WeightedPicksFollowTheWeights) {
    GeneratorRandom random = question_random(1, 1);
    const int weights[] = {0, 3, 0, 1};
    int counts[4] = {};
    for (int i = 0; i < 8000; ++i) {
        ++counts[random_weighted(random, weights, 4)];
    }
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(counts[2], 0);
    EXPECT_GT(counts[1], 5700);
    EXPECT_LT(counts[1], 6300);
}

} // namespace
