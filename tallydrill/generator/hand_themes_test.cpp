// Every theme deals what a table could hold: a complete hand (the scorer finds no fault but,
// at worst, no yaku), four of a tile at most counting the indicators, riichi only when closed,
// one more dora indicator per kan, back dora only for riichi.
#include "tallydrill/generator/hand_themes.h"

#include <gtest/gtest.h>

namespace {

bool is_kan(CallKind kind) {
    return kind == CallKind::open_kan || kind == CallKind::added_kan ||
           kind == CallKind::closed_kan;
}

TEST(HandThemes, EveryThemeDealsCompleteHandsATableCouldHold) {
    for (int t = 0; t < hand_theme_count; ++t) {
        const HandTheme theme = static_cast<HandTheme>(t);
        int dealt = 0;
        int with_yaku = 0;
        for (std::uint32_t i = 0; i < 300; ++i) {
            SCOPED_TRACE(testing::Message() << "theme " << t << " deal " << i);
            GeneratorRandom random = question_random(t, i);
            Wall wall;
            fill_wall(wall);
            const HandSituation situation{static_cast<Wind>(i % 2), static_cast<Wind>(i % 4), false,
                                          i % 3 == 0};
            HandInput hand{};
            if (!deal_themed_hand(theme, situation, wall, random, hand)) {
                continue;
            }
            ++dealt;
            int counts[tile_kind_count] = {};
            int reds = 0;
            const auto count = [&](Tile tile) {
                ++counts[tile.kind];
                reds += tile.red ? 1 : 0;
            };
            for (int c = 0; c < hand.concealed_count; ++c) {
                count(hand.concealed[c]);
            }
            count(hand.winning_tile);
            int kans = 0;
            bool open = false;
            for (int g = 0; g < hand.call_count; ++g) {
                const CalledGroup& group = hand.calls[g];
                kans += is_kan(group.kind) ? 1 : 0;
                open = open || group.kind != CallKind::closed_kan;
                for (int k = 0; k < (is_kan(group.kind) ? 4 : 3); ++k) {
                    count(group.tiles[k]);
                }
            }
            for (int d = 0; d < hand.dora_indicator_count; ++d) {
                ++counts[hand.dora_indicators[d]];
            }
            for (int d = 0; d < hand.back_dora_indicator_count; ++d) {
                ++counts[hand.back_dora_indicators[d]];
            }
            for (int k = 0; k < tile_kind_count; ++k) {
                ASSERT_LE(counts[k], 4) << "kind " << k;
            }
            EXPECT_LE(reds, 3);
            EXPECT_EQ(hand.concealed_count, 13 - 3 * hand.call_count);
            EXPECT_EQ(hand.dora_indicator_count, 1 + kans);
            EXPECT_FALSE(open && hand.situation.riichi);
            EXPECT_EQ(hand.back_dora_indicator_count,
                      hand.situation.riichi ? hand.dora_indicator_count : 0);

            HandScore score;
            const ScoreError error = score_hand(hand, score);
            EXPECT_TRUE(error == ScoreError::none || error == ScoreError::no_yaku)
                << score_error_text(error);
            with_yaku += error == ScoreError::none ? 1 : 0;
        }
        // A theme may ask the wall for what it lacks, and may miss its yaku, but not mostly.
        EXPECT_GT(dealt, 150) << "theme " << t;
        EXPECT_GT(with_yaku, 50) << "theme " << t;
    }
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
    EXPECT_GT(reds_first, 70);
    EXPECT_LT(reds_first, 130);
}

} // namespace
