// The 136 tiles a hand is dealt from: four of each kind, one of the four fives of each suit red.
#pragma once

#include <cstdint>

#include "tallydrill/generator/generator_random.h"
#include "tallydrill/scoring/hand_score.h"

struct Wall {
    std::uint8_t left[tile_kind_count];
    std::uint8_t red_left[3]; // the red five of man, pin, sou still in the wall
};

void fill_wall(Wall& wall);

// Takes one tile of the kind; a five is the red one as often as the copies left say.
// False, with the wall unchanged, when no tile of the kind is left.
bool take_tile(Wall& wall, TileKind kind, GeneratorRandom& random, Tile& tile);

// Takes a tile at random from all that are left, as an indicator is turned from the dead wall;
// an indicator five is a plain one while plain ones are left. False when the wall is empty.
bool take_indicator(Wall& wall, GeneratorRandom& random, TileKind& kind);
