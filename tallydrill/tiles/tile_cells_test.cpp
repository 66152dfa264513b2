#include "tallydrill/tiles/tile_cells.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(TileCellTable, Cells) {
    struct Row {
        int code;
        TileRect cell;
    };
    const Row rows[] = {{0, {0, 0, 33, 48}},        {9, {297, 0, 330, 48}},
                        {11, {33, 48, 66, 96}},     {39, {297, 144, 330, 192}},
                        {40, {0, 192, 39, 235}},    {49, {351, 192, 390, 235}},
                        {57, {273, 235, 312, 278}}, {79, {351, 321, 390, 364}}};
    const TileCellTable table = make_tile_cell_table();
    for (const Row& row : rows) {
        EXPECT_EQ(table.cells[row.code], row.cell) << "code " << row.code;
    }
}

// The upright cells tile 330 x 192 at the top left, the sideways ones 390 x 172 below: each
// pixel of a block lies in exactly one cell of it.
TEST(TileCellTable, BlocksAreCoveredOnce) {
    const TileCellTable table = make_tile_cell_table();
    for (const TileRect block : {TileRect{0, 0, 330, 192}, TileRect{0, 192, 390, 364}}) {
        std::vector<int> cover(block.width() * block.height(), 0);
        for (int code = block.top == 0 ? 0 : 40, last = code + 40; code < last; ++code) {
            const TileRect& c = table.cells[code];
            ASSERT_TRUE(c.left >= 0 && c.top >= block.top && c.right <= block.right &&
                        c.bottom <= block.bottom);
            for (int y = c.top; y < c.bottom; ++y) {
                for (int x = c.left; x < c.right; ++x) {
                    ++cover[(y - block.top) * block.width() + x];
                }
            }
        }
        EXPECT_EQ(std::count(cover.begin(), cover.end(), 1), block.width() * block.height());
    }
}

} // namespace
