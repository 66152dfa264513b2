#include "tallydrill/generator/wall.h"

namespace {

constexpr int copies_of_a_kind = 4;

// The suit of a five (0 man, 1 pin, 2 sou), or -1 for any other kind.
int red_suit(TileKind kind) {
    return kind < first_honour_kind && kind % 9 == 4 ? kind / 9 : -1;
}

} // namespace

void fill_wall(Wall& wall) {
    for (int kind = 0; kind < tile_kind_count; ++kind) {
        wall.left[kind] = copies_of_a_kind;
    }
    for (std::uint8_t& red : wall.red_left) {
        red = 1;
    }
}

bool take_tile(Wall& wall, TileKind kind, GeneratorRandom& random, Tile& tile) {
    if (kind >= tile_kind_count || wall.left[kind] == 0) {
        return false;
    }
    tile = Tile{kind, false};
    const int suit = red_suit(kind);
    if (suit >= 0 && wall.red_left[suit] > 0 && random_below(random, wall.left[kind]) == 0) {
        tile.red = true;
        wall.red_left[suit] = 0;
    }
    --wall.left[kind];
    return true;
}

bool take_indicator(Wall& wall, GeneratorRandom& random, TileKind& kind) {
    int total = 0;
    for (int k = 0; k < tile_kind_count; ++k) {
        total += wall.left[k];
    }
    if (total == 0) {
        return false;
    }
    int pick = random_below(random, total);
    int k = 0;
    while (pick >= wall.left[k]) {
        pick -= wall.left[k];
        ++k;
    }
    kind = static_cast<TileKind>(k);
    const int suit = red_suit(kind);
    if (suit >= 0 && wall.red_left[suit] == wall.left[k]) {
        wall.red_left[suit] = 0; // only the red one was left
    }
    --wall.left[k];
    return true;
}
