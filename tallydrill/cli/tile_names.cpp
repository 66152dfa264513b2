#include "tallydrill/cli/tile_names.h"

namespace {

// The upright pictures 0 to 39; code c + 40 shows the same tile sideways.
const char* const upright_names[first_sideways_code] = {
    "blank face",   "tile back",    "East wind",  "South wind", "West wind", "North wind",
    "white dragon", "green dragon", "red dragon", "blank face", "red 5-man", "1-man",
    "2-man",        "3-man",        "4-man",      "5-man",      "6-man",     "7-man",
    "8-man",        "9-man",        "red 5-pin",  "1-pin",      "2-pin",     "3-pin",
    "4-pin",        "5-pin",        "6-pin",      "7-pin",      "8-pin",     "9-pin",
    "red 5-sou",    "1-sou",        "2-sou",      "3-sou",      "4-sou",     "5-sou",
    "6-sou",        "7-sou",        "8-sou",      "9-sou",
};

const char* const kind_names[tile_kind_count] = {
    "1-man",      "2-man",        "3-man",        "4-man",      "5-man",      "6-man",
    "7-man",      "8-man",        "9-man",        "1-pin",      "2-pin",      "3-pin",
    "4-pin",      "5-pin",        "6-pin",        "7-pin",      "8-pin",      "9-pin",
    "1-sou",      "2-sou",        "3-sou",        "4-sou",      "5-sou",      "6-sou",
    "7-sou",      "8-sou",        "9-sou",        "East wind",  "South wind", "West wind",
    "North wind", "white dragon", "green dragon", "red dragon",
};

constexpr int first_wind_kind = 27;
constexpr int first_dragon_kind = 31;

} // namespace

const char* tile_name(TileCode code) {
    if (!is_picture_code(code)) {
        return nullptr;
    }
    return upright_names[code % first_sideways_code];
}

int tile_kind(TileCode code) {
    if (!is_picture_code(code)) {
        return no_tile_kind;
    }
    const int upright = code % first_sideways_code;
    if (upright >= 2 && upright <= 8) {
        return first_wind_kind + (upright - 2); // East to North, then the three dragons
    }
    if (upright < 10) {
        return no_tile_kind; // blank faces and the tile back
    }
    const int suit = upright / 10 - 1;
    const int number = upright % 10 == 0 ? 5 : upright % 10;
    return suit * 9 + number - 1;
}

const char* tile_kind_name(int kind) {
    if (kind < 0 || kind >= tile_kind_count) {
        return nullptr;
    }
    return kind_names[kind];
}

int dora_kind_for_indicator(int indicator_kind) {
    if (indicator_kind < 0 || indicator_kind >= tile_kind_count) {
        return no_tile_kind;
    }
    if (indicator_kind < first_wind_kind) {
        const int suit_start = indicator_kind / 9 * 9;
        return suit_start + (indicator_kind - suit_start + 1) % 9;
    }
    if (indicator_kind < first_dragon_kind) {
        return first_wind_kind + (indicator_kind - first_wind_kind + 1) % 4;
    }
    return first_dragon_kind + (indicator_kind - first_dragon_kind + 1) % 3;
}
