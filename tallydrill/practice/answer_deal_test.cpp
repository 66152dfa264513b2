#include "tallydrill/practice/answer_deal.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The classic generator's well-known first draws (seed 0: 21238 finds its slot taken, and 30612
// comes after six taken ones).
TEST(DealAnswers, FollowTheClassicDraws) {
    struct Row {
        std::uint32_t seed;
        std::vector<std::int32_t> draws;
        std::vector<int> slot_of_entry;
    };
    const Row rows[] = {
        {0, {38, 7719, 21238, 2437, 8855, 11797, 8365, 32285, 10450, 30612}, {2, 3, 1, 0}},
        {1, {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}, {1, 3, 2, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seed);
        DealRandom random = seeded_random(row.seed);
        for (std::int32_t expected : row.draws) {
            EXPECT_EQ(next_draw(random), expected);
        }
        const AnswerDeal deal = deal_answers(row.seed);
        EXPECT_EQ(std::vector<int>(deal.slot_of_entry, deal.slot_of_entry + 4), row.slot_of_entry);
    }
}

// The right answer lands on every button about equally often.
TEST(DealAnswers, EveryEntryOnceForManySeeds) {
    int right_on[4] = {};
    const int seeds = 40000;
    for (int i = 0; i < seeds; ++i) {
        const std::uint32_t seed = static_cast<std::uint32_t>(i) * 2654435761u;
        const AnswerDeal deal = deal_answers(seed);
        for (int slot = 0; slot < 4; ++slot) { // both lists are one permutation, each way
            const int entry = deal.entry_on_slot[slot];
            ASSERT_TRUE(entry >= 0 && entry < 4 && deal.slot_of_entry[entry] == slot) << seed;
        }
        ASSERT_EQ(deal.right_slot, deal.slot_of_entry[0]);
        ++right_on[deal.right_slot];
    }
    for (int count : right_on) {
        EXPECT_GT(count, seeds / 5);
    }
}

} // namespace
