#include "tallydrill/tiles/tile_cells.h"

TileCellTable make_tile_cell_table() {
    TileCellTable table{};
    for (std::int32_t code = 0; code < tile_cell_count; ++code) {
        TileRect& cell = table.cells[code];
        if (code < first_sideways_code) {
            cell.left = code % tile_cells_per_row * upright_tile_width;
            cell.top = code / tile_cells_per_row * upright_tile_height;
            cell.right = cell.left + upright_tile_width;
            cell.bottom = cell.top + upright_tile_height;
        } else {
            const std::int32_t j = code - first_sideways_code;
            cell.left = j % tile_cells_per_row * sideways_tile_width;
            cell.top = sideways_block_top + j / tile_cells_per_row * sideways_tile_height;
            cell.right = cell.left + sideways_tile_width;
            cell.bottom = cell.top + sideways_tile_height;
        }
    }
    return table;
}
