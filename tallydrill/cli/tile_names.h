// Which tile each picture code of data/bp.bmp shows (the scheme of tallydrill/data/TILES.md),
// and the little mahjong knowledge the question tools need: tile identities and dora.
// The practice program itself gives codes no meaning; only the question tools use this.
#pragma once

#include "tallydrill/questions/question_record.h"

// The 34 kinds of tile: 0-8 man 1-9, 9-17 pin 1-9, 18-26 sou 1-9, 27-30 East South West North,
// 31-33 white green red dragon. A red five is of the kind of its suit's five.
constexpr int tile_kind_count = 34;
constexpr int no_tile_kind = -1;

// The name TILES.md gives the picture of a code ("red 5-man", "East wind", "tile back",
// "blank face"); a sideways code has the name of its upright code. nullptr for codes of 80 and
// more, which name no picture.
const char* tile_name(TileCode code);

// The kind of tile a picture code shows, or no_tile_kind for a tile back, a blank face or a
// code that names no picture.
int tile_kind(TileCode code);

inline bool is_tile_back(TileCode code) {
    return is_picture_code(code) && code % first_sideways_code == 1;
}
inline bool is_red_five(TileCode code) {
    return is_picture_code(code) && code % first_sideways_code % 10 == 0 &&
           code % first_sideways_code >= 10;
}

// "5-man", "East wind", ...; nullptr outside 0 to 33.
const char* tile_kind_name(int kind);

// The kind that is dora when a tile of `indicator_kind` is the indicator: the next number of
// the suit (9 gives 1), the next wind (North gives East), the next dragon (red gives white).
// no_tile_kind for no_tile_kind.
int dora_kind_for_indicator(int indicator_kind);
