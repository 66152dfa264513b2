#include "tallydrill/tiles/tile_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TileCellTable, CellsOfBothBlocks) {
    struct Row {
        int code;
        TileRect cell;
    };
    const Row rows[] = {
        {0, {0, 0, 33, 48}},        {1, {33, 0, 66, 48}},       {9, {297, 0, 330, 48}},
        {10, {0, 48, 33, 96}},      {11, {33, 48, 66, 96}},     {27, {231, 96, 264, 144}},
        {39, {297, 144, 330, 192}}, {40, {0, 192, 39, 235}},    {49, {351, 192, 390, 235}},
        {50, {0, 235, 39, 278}},    {57, {273, 235, 312, 278}}, {67, {273, 278, 312, 321}},
        {79, {351, 321, 390, 364}},
    };
    const TileCellTable table = make_tile_cell_table();
    for (const Row& row : rows) {
        SCOPED_TRACE("code " + std::to_string(row.code));
        const TileRect& cell = table.cells[row.code];
        EXPECT_EQ(cell.left, row.cell.left);
        EXPECT_EQ(cell.top, row.cell.top);
        EXPECT_EQ(cell.right, row.cell.right);
        EXPECT_EQ(cell.bottom, row.cell.bottom);
    }
}

// The upright cells exactly tile 330 x 192 at the top left and the sideways cells 390 x 172
// below it: every pixel of each block belongs to exactly one cell of the block.
TEST(TileCellTable, BlocksAreCoveredOnceWithoutGaps) {
    struct Block {
        const char* name;
        int first_code;
        int left, top, right, bottom;
    };
    const Block blocks[] = {{"upright", 0, 0, 0, 330, 192}, {"sideways", 40, 0, 192, 390, 364}};
    const TileCellTable table = make_tile_cell_table();
    for (const Block& block : blocks) {
        SCOPED_TRACE(block.name);
        const int width = block.right - block.left;
        std::vector<int> cover(width * (block.bottom - block.top), 0);
        for (int code = block.first_code; code < block.first_code + 40; ++code) {
            const TileRect& cell = table.cells[code];
            ASSERT_GE(cell.left, block.left);
            ASSERT_GE(cell.top, block.top);
            ASSERT_LE(cell.right, block.right);
            ASSERT_LE(cell.bottom, block.bottom);
            for (int y = cell.top; y < cell.bottom; ++y) {
                for (int x = cell.left; x < cell.right; ++x) {
                    ++cover[(y - block.top) * width + (x - block.left)];
                }
            }
        }
        for (int count : cover) {
            ASSERT_EQ(count, 1);
        }
    }
}

} // namespace
