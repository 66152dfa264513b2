#include "tallydrill/cli/hand_layout.h"

#include <gtest/gtest.h>

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

} // namespace
