#include "tallydrill/tiles/tile_plan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// A copy as the tests state it: the code and the destination's top left; the size follows
// from the code (33 x 49 in the dora rows, the cell's own size elsewhere).
struct Placed {
    int code;
    int x;
    int y;
};

bool operator==(const Placed& a, const Placed& b) {
    return a.code == b.code && a.x == b.x && a.y == b.y;
}

void PrintTo(const Placed& p, std::ostream* os) {
    *os << "{" << p.code << " at " << p.x << "," << p.y << "}";
}

QuestionRecord record_of(const std::vector<int>& dora, const std::vector<int>& back,
                         const std::vector<int>& hand, int winning_tile) {
    QuestionRecord record;
    std::memset(&record, 0, sizeof record);
    std::memset(record.dora_indicators, 255, sizeof record.dora_indicators);
    std::memset(record.back_dora, 255, sizeof record.back_dora);
    std::memset(record.hand, 255, sizeof record.hand);
    for (std::size_t i = 0; i < dora.size(); ++i) {
        record.dora_indicators[i] = static_cast<TileCode>(dora[i]);
    }
    for (std::size_t i = 0; i < back.size(); ++i) {
        record.back_dora[i] = static_cast<TileCode>(back[i]);
    }
    for (std::size_t i = 0; i < hand.size(); ++i) {
        record.hand[i] = static_cast<TileCode>(hand[i]);
    }
    record.winning_tile = static_cast<TileCode>(winning_tile);
    return record;
}

std::vector<Placed> placed_of(const TilePlan& plan) {
    std::vector<Placed> placed;
    for (std::size_t i = 0; i < plan.copy_count; ++i) {
        const TileCopy& copy = plan.copies[i];
        placed.push_back({copy.code, copy.destination.left, copy.destination.top});
    }
    return placed;
}

TEST(PlanTiles, WorkedExampleOfTheSampleQuestion) {
    QuestionRecord record;
    set_initial_question(record);
    const TileCellTable cells = make_tile_cell_table();
    const TilePlan plan = plan_tiles(record, cells, 630);

    const std::vector<Placed> expected = {
        // dora display row and back dora row
        {0, 150, 100},
        {1, 183, 100},
        {1, 216, 100},
        {1, 249, 100},
        {1, 282, 100},
        {30, 150, 149},
        {35, 183, 149},
        // concealed tile and winning tile
        {11, 2, 219},
        {0, 39, 219},
        // last group, bottom right: the pair of 57, then 17 and 17
        {57, 579, 190},
        {57, 579, 224},
        {17, 546, 219},
        {17, 513, 219},
        // top right: 27, 27, the pair of 67
        {27, 585, 139},
        {27, 552, 139},
        {67, 513, 110},
        {67, 513, 144},
        // bottom left: 22, the pair of 62, 22
        {22, 443, 219},
        {62, 404, 190},
        {62, 404, 224},
        {22, 371, 219},
        // top left: 12, the pair of 52, 12
        {12, 443, 139},
        {52, 404, 110},
        {52, 404, 144},
        {12, 371, 139},
    };
    EXPECT_EQ(placed_of(plan), expected);

    EXPECT_EQ(plan.dora_band, (TileRect{150, 100, 630, 205}));
    EXPECT_EQ(plan.hand_band, (TileRect{0, 200, 630, 280}));
    for (std::size_t i = 0; i < plan.copy_count; ++i) {
        SCOPED_TRACE("copy " + std::to_string(i));
        const TileCopy& copy = plan.copies[i];
        const TileRect& cell = cells.cells[copy.code];
        EXPECT_EQ(copy.source, cell);
        if (i < 7) {
            EXPECT_EQ(copy.destination.width(), 33);
            EXPECT_EQ(copy.destination.height(), 49);
        } else {
            EXPECT_EQ(copy.destination.width(), cell.width());
            EXPECT_EQ(copy.destination.height(), cell.height());
        }
    }
}

TEST(PlanTiles, EdgeCases) {
    struct Row {
        const char* name;
        std::vector<int> dora;
        std::vector<int> back;
        std::vector<int> hand; // 255 is appended by record_of's fill unless the hand is full
        int winning_tile;
        std::vector<Placed> expected;
    };
    const std::vector<Row> rows = {
        {"no separators: left to right from 2, winning tile 4 after the last",
         {},
         {},
         {1, 2, 3},
         4,
         {{1, 2, 219}, {2, 35, 219}, {3, 68, 219}, {4, 105, 219}}},
        {"sideways codes in the concealed row keep their own width",
         {},
         {},
         {41, 2},
         5,
         {{41, 2, 219}, {2, 41, 219}, {5, 78, 219}}},
        {"empty hand draws only the winning tile, at 6", {}, {}, {}, 9, {{9, 6, 219}}},
        {"empty dora lists draw nothing in their rows",
         {},
         {},
         {7},
         7,
         {{7, 2, 219}, {7, 39, 219}}},
        {"one called group is right-aligned to 618 on the lower row",
         {},
         {},
         {5, 90, 6, 6, 6},
         5,
         {{5, 2, 219}, {5, 39, 219}, {6, 585, 219}, {6, 552, 219}, {6, 519, 219}}},
        {"a called sideways tile drops 5 and keeps its width",
         {},
         {},
         {90, 44, 4, 4},
         7,
         {{7, 6, 219}, {4, 585, 219}, {4, 552, 219}, {44, 513, 224}}},
        {"three equal sideways codes: a stacked pair right, a single left of it",
         {},
         {},
         {90, 52, 52, 52},
         1,
         {{1, 6, 219}, {52, 579, 190}, {52, 579, 224}, {52, 540, 224}}},
        {"a sideways code after a separator is single",
         {},
         {},
         {3, 90, 43},
         3,
         {{3, 2, 219}, {3, 39, 219}, {43, 579, 224}}},
        {"only the code to the left counts, not one beyond the separator",
         {},
         {},
         {43, 90, 43},
         3,
         {{43, 2, 219}, {3, 45, 219}, {43, 579, 224}}},
        {"a stacked pair that opens its group",
         {},
         {},
         {90, 52, 52},
         1,
         {{1, 6, 219}, {52, 579, 190}, {52, 579, 224}}},
        {"five groups: the fifth goes into the right column 80 above the upper row",
         {},
         {},
         {1, 90, 2, 2, 2, 90, 3, 3, 3, 90, 4, 4, 4, 90, 5, 5, 5, 90, 6, 6, 6},
         1,
         {{1, 2, 219},
          {1, 39, 219},
          {6, 585, 219},
          {6, 552, 219},
          {6, 519, 219},
          {5, 585, 139},
          {5, 552, 139},
          {5, 519, 139},
          {4, 443, 219},
          {4, 410, 219},
          {4, 377, 219},
          {3, 443, 139},
          {3, 410, 139},
          {3, 377, 139},
          {2, 585, 59},
          {2, 552, 59},
          {2, 519, 59}}},
        {"a sixth group goes 80 higher again",
         {},
         {},
         {90, 1, 90, 2, 90, 3, 90, 4, 90, 5, 90, 46},
         7,
         {{7, 6, 219},
          {46, 579, 224},
          {5, 585, 139},
          {4, 443, 219},
          {3, 443, 139},
          {2, 585, 59},
          {1, 585, -21}}},
        {"any separator value counts",
         {},
         {},
         {8, 80, 9, 254, 10},
         8,
         {{8, 2, 219}, {8, 39, 219}, {10, 585, 219}, {9, 585, 139}}},
        {"dora rows stretch every code to 33 x 49 at a step of 33",
         {0, 45, 79, 39, 10, 11},
         {40},
         {},
         0,
         {{0, 150, 100},
          {45, 183, 100},
          {79, 216, 100},
          {39, 249, 100},
          {10, 282, 100},
          {11, 315, 100},
          {40, 150, 149},
          {0, 6, 219}}},
        {"dora codes without a cell are skipped but keep their step",
         {0, 200, 2, 80},
         {90, 3},
         {},
         0,
         {{0, 150, 100}, {2, 216, 100}, {3, 183, 149}, {0, 6, 219}}},
        {"dora lists without their 255 end with their field",
         {1, 2, 3, 4, 5, 6, 7},
         {8, 9, 10, 11, 12, 13, 14},
         {},
         0,
         {{1, 150, 100},
          {2, 183, 100},
          {3, 216, 100},
          {4, 249, 100},
          {5, 282, 100},
          {6, 315, 100},
          {7, 348, 100},
          {8, 150, 149},
          {9, 183, 149},
          {10, 216, 149},
          {11, 249, 149},
          {12, 282, 149},
          {13, 315, 149},
          {14, 348, 149},
          {0, 6, 219}}},
        {"a winning tile without a cell is not drawn", {}, {}, {1}, 80, {{1, 2, 219}}},
        {"a winning tile of 255 is not drawn either", {}, {}, {1}, 255, {{1, 2, 219}}},
        {"two separators in a row: the group to their right moves on, nothing is drawn",
         {},
         {},
         {1, 90, 90, 2},
         1,
         {{1, 2, 219}, {1, 39, 219}, {2, 585, 219}}},
        {"a separator right before the end draws nothing of its own",
         {},
         {},
         {1, 90},
         1,
         {{1, 2, 219}, {1, 39, 219}}},
        {"a separator before the end opens the next place for the group left of it",
         {},
         {},
         {1, 90, 2, 90},
         1,
         {{1, 2, 219}, {1, 39, 219}, {2, 585, 139}}},
    };
    const TileCellTable cells = make_tile_cell_table();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QuestionRecord record = record_of(row.dora, row.back, row.hand, row.winning_tile);
        EXPECT_EQ(placed_of(plan_tiles(record, cells, 630)), row.expected);
    }
}

// Hands that fill the field without a 255 end at hand[31]; the walk reads nothing past it.
TEST(PlanTiles, HandsWithoutEndMark) {
    const TileCellTable cells = make_tile_cell_table();
    struct Row {
        const char* name;
        std::vector<int> hand;    // all 32 entries
        std::vector<Placed> tail; // the last copies of the plan
        std::size_t copy_count;
    };
    std::vector<int> all_concealed(32, 3);
    std::vector<int> separator_last(32, 3);
    separator_last[31] = 90;
    std::vector<int> group_to_the_end(32, 3);
    group_to_the_end[29] = 90;
    group_to_the_end[31] = 50;
    const std::vector<Row> rows = {
        {"32 concealed tiles",
         all_concealed,
         {{3, 2 + 31 * 33, 219}, {1, 2 + 32 * 33 + 4, 219}},
         33},
        {"a separator in the last entry", separator_last, {{1, 2 + 31 * 33 + 4, 219}}, 32},
        {"a group running to the end of the field",
         group_to_the_end,
         {{1, 2 + 29 * 33 + 4, 219}, {50, 579, 224}, {3, 546, 219}},
         32},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QuestionRecord record = record_of({}, {}, row.hand, 1);
        // Bytes beyond the hand look like more tiles: they must not be taken for the hand.
        record.winning_tile = 1;
        record.time_limit[0] = 4;
        const TilePlan plan = plan_tiles(record, cells, 630);
        ASSERT_EQ(plan.copy_count, row.copy_count);
        const std::vector<Placed> placed = placed_of(plan);
        const std::vector<Placed> tail(placed.end() - row.tail.size(), placed.end());
        EXPECT_EQ(tail, row.tail);
    }
}

TEST(PlanTiles, BandsFollowTheClientWidth) {
    const TileCellTable cells = make_tile_cell_table();
    QuestionRecord record;
    set_initial_question(record);
    for (std::int32_t width : {0, 150, 630, 1920}) {
        SCOPED_TRACE(width);
        const TilePlan plan = plan_tiles(record, cells, width);
        EXPECT_EQ(plan.dora_band, (TileRect{150, 100, width, 205}));
        EXPECT_EQ(plan.hand_band, (TileRect{0, 200, width, 280}));
        // Tiles do not move with the width: drawing is clipped, not rearranged.
        EXPECT_EQ(placed_of(plan), placed_of(plan_tiles(record, cells, 630)));
    }
}

// Any 820 bytes: the plan stays within its array, copies only cells that exist, and every
// copy has the size its row gives.
TEST(PlanTiles, AnyRecordGivesAWellFormedPlan) {
    const TileCellTable cells = make_tile_cell_table();
    std::mt19937 random(99);
    const int code_pool[] = {0, 5, 39, 40, 52, 52, 79, 80, 90, 90, 200, 254, 255, 255};
    for (int round = 0; round < 3000; ++round) {
        std::uint8_t bytes[820];
        for (std::uint8_t& byte : bytes) {
            byte = static_cast<std::uint8_t>(round % 2 == 0 ? random() % 256
                                                            : code_pool[random() % 14]);
        }
        QuestionRecord record;
        read_question_bytes(record, bytes, sizeof bytes);
        const TilePlan plan = plan_tiles(record, cells, 630);
        ASSERT_LE(plan.copy_count, max_tile_copies);
        std::size_t dora_copies = 0;
        for (const TileCode* list : {record.dora_indicators, record.back_dora}) {
            for (std::size_t i = 0; i < 7 && list[i] != 255; ++i) {
                dora_copies += list[i] < 80 ? 1 : 0;
            }
        }
        ASSERT_LE(dora_copies, plan.copy_count);
        for (std::size_t i = 0; i < plan.copy_count; ++i) {
            const TileCopy& copy = plan.copies[i];
            ASSERT_LT(copy.code, 80);
            EXPECT_EQ(copy.source, cells.cells[copy.code]);
            if (i < dora_copies) {
                EXPECT_EQ(copy.destination.width(), 33);
                EXPECT_EQ(copy.destination.height(), 49);
                continue;
            }
            EXPECT_EQ(copy.destination.width(), copy.source.width());
            EXPECT_EQ(copy.destination.height(), copy.source.height());
        }
    }
}

bool intersect(const TileRect& a, const TileRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside_bands(const TileRect& r, const TilePlan& plan) {
    const auto inside = [&r](const TileRect& band) {
        return r.left >= band.left && r.right <= band.right && r.top >= band.top &&
               r.bottom <= band.bottom;
    };
    // The bands overlap in 200..205, so a rectangle inside their union is inside one of them
    // or inside the dora band's columns stretched down to the hand band's bottom.
    const TileRect joined{plan.dora_band.left, plan.dora_band.top, plan.dora_band.right,
                          plan.hand_band.bottom};
    return inside(plan.dora_band) || inside(plan.hand_band) || inside(joined);
}

// A called group as real hands have it, left to right.
std::vector<int> random_group(std::mt19937& random) {
    const int tile = static_cast<int>(random() % 40);
    const int turned = tile + 40;
    switch (random() % 5) {
    case 0: { // a called three with one tile turned
        std::vector<int> group(3, tile);
        group[random() % 3] = turned;
        return group;
    }
    case 1: // a concealed four
        return {tile, tile, tile, tile};
    case 2: { // a called four: one turned among four
        std::vector<int> group(4, tile);
        group[random() % 4] = turned;
        return group;
    }
    case 3: // an added four: the turned tile with the fourth on top
        return random() % 2 ? std::vector<int>{tile, turned, turned, tile}
                            : std::vector<int>{turned, turned, tile, tile};
    default:
        return {tile, tile, turned, turned};
    }
}

// Thirteen tiles in up to four groups: every tile lies inside the two bands, so the next
// drawing covers it, and no two places overlap.
TEST(PlanTiles, RealHandsStayInsideTheBandsWithoutOverlap) {
    const TileCellTable cells = make_tile_cell_table();
    std::mt19937 random(4242);
    for (int round = 0; round < 2000; ++round) {
        const int groups = static_cast<int>(random() % 5);
        std::vector<int> hand;
        for (int i = 0; i < 13 - 3 * groups; ++i) {
            hand.push_back(static_cast<int>(random() % 40));
        }
        for (int g = 0; g < groups; ++g) {
            hand.push_back(80 + static_cast<int>(random() % 175));
            for (int code : random_group(random)) {
                hand.push_back(code);
            }
        }
        SCOPED_TRACE(::testing::PrintToString(hand));
        const QuestionRecord record = record_of({1, 2, 3}, {4}, hand, 5);
        const std::int32_t width = 630 + static_cast<std::int32_t>(random() % 400);
        const TilePlan plan = plan_tiles(record, cells, width);
        std::vector<TileRect> hand_copies;
        for (std::size_t i = 4; i < plan.copy_count; ++i) {
            const TileRect& r = plan.copies[i].destination;
            EXPECT_TRUE(inside_bands(r, plan))
                << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
            const bool upper_of_pair = i + 1 < plan.copy_count &&
                                       plan.copies[i + 1].destination.left == r.left &&
                                       plan.copies[i + 1].destination.top == r.top + 34;
            if (upper_of_pair) {
                continue; // the lower tile of a stacked pair covers its lower edge on purpose
            }
            for (const TileRect& other : hand_copies) {
                EXPECT_FALSE(intersect(r, other)) << "copy " << i << " overlaps";
            }
            hand_copies.push_back(r);
        }
    }
}

} // namespace
