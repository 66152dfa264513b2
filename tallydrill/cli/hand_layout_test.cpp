// Reading the called groups of a hand: the shape of one group's codes, and the layout of a
// whole hand list.
#include "tallydrill/cli/hand_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tallydrill/cli/tile_names.h"

namespace {

TEST(GroupShape, Table) {
    struct Row {
        std::vector<TileCode> codes;
        GroupShape shape;
        int kind; // as tile_kind gives it; -1 for malformed groups
    };
    const int pin_3 = tile_kind(23);
    const Row rows[] = {
        {{64, 23, 25}, GroupShape::chi, pin_3},         // the called 4-pin on the left
        {{65, 23, 24}, GroupShape::chi, pin_3},         // or anywhere, in any order
        {{70, 36, 34}, GroupShape::chi, tile_kind(34)}, // a red five in a run
        {{23, 24, 25}, GroupShape::malformed, -1},      // nothing called
        {{63, 64, 25}, GroupShape::malformed, -1},      // two called tiles
        {{69, 31, 32}, GroupShape::malformed, -1},      // 9-pin 1-sou 2-sou: no run across suits
        {{77, 38, 31}, GroupShape::malformed, -1},      // 7-8-1 sou
        {{42, 3, 4}, GroupShape::malformed, -1},        // winds make no run
        {{48, 8, 8}, GroupShape::pon, tile_kind(8)},
        {{15, 10, 55}, GroupShape::pon, tile_kind(15)}, // a red five counts as a five
        {{48, 8, 7}, GroupShape::malformed, -1},
        {{40, 0, 0}, GroupShape::malformed, -1}, // blank faces are no tiles
        {{41, 1, 1}, GroupShape::malformed, -1}, // nor are backs
        {{29, 69, 29, 29}, GroupShape::open_kan, tile_kind(29)},
        {{26, 66, 66, 26}, GroupShape::added_kan, tile_kind(26)},
        {{66, 66, 26, 26}, GroupShape::added_kan, tile_kind(26)},
        {{26, 26, 66, 66}, GroupShape::added_kan, tile_kind(26)},
        {{66, 26, 66, 26}, GroupShape::malformed, -1}, // the sideways pair is apart
        {{66, 66, 66, 26}, GroupShape::malformed, -1},
        {{55, 50, 15, 15}, GroupShape::malformed, -1}, // unequal codes are not drawn stacked
        {{1, 11, 11, 1}, GroupShape::closed_kan, tile_kind(11)},
        {{11, 11, 11, 11}, GroupShape::closed_kan, tile_kind(11)},
        {{1, 15, 10, 1}, GroupShape::closed_kan, tile_kind(15)},
        {{1, 1, 1, 1}, GroupShape::malformed, -1},
        {{1, 11, 12, 1}, GroupShape::malformed, -1},
        {{41, 11, 11, 1}, GroupShape::malformed, -1}, // a sideways back
        {{1, 51, 11, 11}, GroupShape::malformed, -1}, // backs only in a closed kan
        {{11, 11, 11}, GroupShape::malformed, -1},    // a closed triplet is not called
        {{51, 11}, GroupShape::malformed, -1},
        {{51, 11, 11, 11, 11}, GroupShape::malformed, -1},
        {{}, GroupShape::malformed, -1},
    };
    for (const Row& row : rows) {
        int kind = 99;
        EXPECT_EQ(group_shape(row.codes.data(), row.codes.size(), &kind), row.shape)
            << testing::PrintToString(row.codes);
        EXPECT_EQ(kind, row.kind) << testing::PrintToString(row.codes);
    }
}

TEST(ReadHandLayout, Table) {
    struct Row {
        std::vector<TileCode> hand; // padded with 255
        size_t length;
        bool terminated;
        size_t concealed;
        std::vector<size_t> group_counts;
    };
    const Row rows[] = {
        {{}, 0, true, 0, {}},
        {{90, 64, 23, 25}, 4, true, 0, {3}},            // no concealed tiles at all
        {{11, 90, 91, 64, 23, 25}, 6, true, 1, {0, 3}}, // separators in a row
        {{11, 90, 64, 23, 25, 90}, 6, true, 1, {3, 0}}, // a separator before the 255
        {std::vector<TileCode>(32, 11), 32, false, 32, {}},
        {{11, 254, 48, 8, 8, 80, 2, 2, 42}, 9, true, 1, {3, 3}}, // any separator value
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.hand));
        QuestionRecord record = {};
        std::memset(record.hand, 255, sizeof record.hand);
        std::copy(row.hand.begin(), row.hand.end(), record.hand);
        const HandLayout layout = read_hand_layout(record);
        EXPECT_EQ(layout.length, row.length);
        EXPECT_EQ(layout.terminated, row.terminated);
        EXPECT_EQ(layout.concealed_count, row.concealed);
        ASSERT_EQ(layout.group_count, row.group_counts.size());
        for (size_t g = 0; g < layout.group_count; ++g) {
            EXPECT_EQ(layout.groups[g].count, row.group_counts[g]) << "group " << g;
        }
    }
    QuestionRecord sample; // one concealed tile and four added kans
    set_initial_question(sample);
    const HandLayout layout = read_hand_layout(sample);
    ASSERT_EQ(layout.group_count, 4u);
    EXPECT_EQ(layout.groups[3].separator, 16u);
    EXPECT_EQ(layout.groups[3].first, 17u);
    EXPECT_EQ(layout.groups[3].shape, GroupShape::added_kan);
    EXPECT_EQ(layout.groups[3].kind, tile_kind(17));
}

} // namespace
