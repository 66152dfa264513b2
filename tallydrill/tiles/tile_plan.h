// What draw_tiles paints, worked out without a device context: the two background bands and
// every cell copy, in drawing order. The window code only performs the plan.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tallydrill/questions/question_record.h"
#include "tallydrill/tiles/tile_cells.h"

// Both bands are filled with this colour before any tile is copied.
constexpr std::uint8_t tile_band_red = 0;
constexpr std::uint8_t tile_band_green = 100;
constexpr std::uint8_t tile_band_blue = 0;

// One stretching block transfer from the bitmap to the client area.
struct TileCopy {
    TileCode code;
    TileRect source;      // the code's cell in the bitmap
    TileRect destination; // in client pixels; the size differs from the cell only in dora rows
};

// Every copy comes from one list entry (a stacked pair gives two copies for its two entries),
// plus the winning tile: 7 + 7 + 32 + 1 at most.
constexpr std::size_t max_tile_copies = 2 * dora_list_capacity + hand_capacity + 1;

struct TilePlan {
    TileRect dora_band; // (150, 100) to (W, 205)
    TileRect hand_band; // (0, 200) to (W, 280)
    TileCopy copies[max_tile_copies];
    std::size_t copy_count;
};

// The plan for the record on a client area `client_width` pixels wide. Codes that name no cell
// are not drawn but keep an upright tile's width; lists without their 255 end with their field.
TilePlan plan_tiles(const QuestionRecord& record, const TileCellTable& cells,
                    std::int32_t client_width);
