// Where each tile code's picture lies in the tile bitmap "data/bp.bmp".
#pragma once

#include <cstdint>

#include "tallydrill/questions/question_record.h"

// right and bottom are exclusive.
struct TileRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
};

inline bool operator==(const TileRect& a, const TileRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const TileRect& a, const TileRect& b) {
    return !(a == b);
}

// Ten cells to a row: upright 33 x 48 pictures from the top, sideways 39 x 43 ones below them.
constexpr std::int32_t upright_tile_width = 33;
constexpr std::int32_t upright_tile_height = 48;
constexpr std::int32_t sideways_tile_width = 39;
constexpr std::int32_t sideways_tile_height = 43;
constexpr std::int32_t tile_cells_per_row = 10;
constexpr std::int32_t sideways_block_top = 4 * upright_tile_height; // 192

struct TileCellTable {
    TileRect cells[tile_cell_count];
};

TileCellTable make_tile_cell_table();
