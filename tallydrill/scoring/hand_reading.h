// The readings of a complete hand: every way to split it into groups and a pair (or seven
// pairs, or thirteen orphans), every place the winning tile can take in it, and the yaku and
// fu of each. Internal to the scorer.
#pragma once

#include "tallydrill/scoring/hand_score.h"

enum class GroupShape : std::uint8_t { sequence, triplet, kan };

struct Group {
    GroupShape shape;
    TileKind kind;  // the lowest tile of a sequence
    bool called;    // one of the hand's called groups (a closed kan too)
    bool concealed; // counts as concealed: not called from a discard, not completed by ron
};

// The hand as counts, after its input has been checked.
struct HandTiles {
    int concealed[tile_kind_count]; // the concealed tiles with the winning tile
    int all[tile_kind_count];       // every tile, the kans' four included
    TileKind winning;
    Group calls[max_called_groups];
    int call_count;
    bool open; // a group called from a discard
    int red_fives;
};

struct ReadingScore {
    YakuHan yaku[max_yaku_lines];
    int yaku_count;
    int yakuman_count;
    int han; // yaku only
    FuStep fu_steps[max_fu_steps];
    int fu_step_count;
    int fu_unrounded;
    int fu;
};

// The reading that pays most with `bonus_han` dora added (ties: more han, then more fu);
// false when no reading makes the hand complete. A reading without yaku is chosen only when
// no reading has one; it then has yaku_count 0.
bool best_reading(const HandTiles& tiles, const HandSituation& situation, int bonus_han,
                  ReadingScore& best);
