// The generator's dice and the wall it deals from.
#include "tallydrill/generator/wall.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every value of a small bound comes up about as often as the others, and never one outside;
// weighted picks follow their weights.
TEST(GeneratorRandom, DrawsSpreadEvenlyOrByTheirWeights) {
    GeneratorRandom random = question_random(42, 0);
    for (int bound : {1, 2, 3, 7, 34, 136}) {
        std::vector<int> counts(static_cast<std::size_t>(bound), 0);
        for (int i = 0; i < 2000 * bound; ++i) {
            const int value = random_below(random, bound);
            ASSERT_TRUE(value >= 0 && value < bound) << value;
            ++counts[static_cast<std::size_t>(value)];
        }
        for (int count : counts) {
            EXPECT_TRUE(count > 1700 && count < 2300) << "bound " << bound << ": " << count;
        }
    }
    const int weights[] = {0, 3, 0, 1};
    int counts[4] = {};
    for (int i = 0; i < 8000; ++i) {
        ++counts[random_weighted(random, weights, 4)];
    }
    EXPECT_EQ(counts[0] + counts[2], 0);
    EXPECT_TRUE(counts[1] > 5700 && counts[1] < 6300) << counts[1];
}

// The wall gives each kind four times and each red five once, whatever is asked in what order.
TEST(Wall, HoldsTheSetOf136WithThreeRedFives) {
    GeneratorRandom random = question_random(5, 5);
    int reds_first = 0;
    for (int round = 0; round < 400; ++round) {
        Wall wall;
        fill_wall(wall);
        Tile tile;
        ASSERT_TRUE(take_tile(wall, 4, random, tile));
        reds_first += tile.red ? 1 : 0;
        int taken[tile_kind_count] = {};
        ++taken[4];
        int reds = tile.red ? 1 : 0;
        TileKind kind;
        for (int i = 1; i < 136; ++i) {
            if (i % 2 == 0 &&
                take_tile(wall, static_cast<TileKind>(i % tile_kind_count), random, tile)) {
                ++taken[tile.kind];
                reds += tile.red ? 1 : 0;
                continue;
            }
            ASSERT_TRUE(take_indicator(wall, random, kind));
            ++taken[kind];
        }
        EXPECT_FALSE(take_indicator(wall, random, kind));
        EXPECT_FALSE(take_tile(wall, 0, random, tile));
        for (int k = 0; k < tile_kind_count; ++k) {
            ASSERT_EQ(taken[k], 4) << "kind " << k;
        }
        EXPECT_LE(reds, 3);
    }
    // The first 5-man taken is the red one about one time in four.
    EXPECT_TRUE(reds_first > 70 && reds_first < 130) << reds_first;
}

} // namespace
