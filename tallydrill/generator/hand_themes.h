// The kinds of hand the generator deals: each theme shapes four groups and a pair (or seven
// pairs, or thirteen orphans) towards some yaku, from tiles left in the wall, with the calls a
// player going for that yaku would make. Whether the hand really has the yaku is the scorer's
// word; a theme only makes it likely.
#pragma once

#include "tallydrill/generator/generator_random.h"
#include "tallydrill/generator/wall.h"
#include "tallydrill/scoring/hand_score.h"

enum class HandTheme {
    mixed,      // sequences and some triplets of anything
    tanyao,     // simples only
    pinfu,      // four sequences and a pair of no value, closed
    yakuhai,    // a triplet of a dragon, the seat wind or the round wind
    chiitoitsu, // seven pairs
    iipeikou,   // two equal sequences, closed
    triplets,   // triplets and kans, many of terminals and honours: fu to count
    honitsu,    // one suit and honours
    chinitsu,   // one suit
    toitoi,     // four triplets
    ittsu,      // 1-9 straight in one suit
    sanshoku,   // the same sequence in the three suits
    chanta,     // a terminal or honour in every group
    ryanpeikou, // two pairs of equal sequences
    sanankou,   // three closed triplets
    sankantsu,  // three kans
    doukou,     // triplets of one number in the three suits
    shousangen, // two dragon triplets and a dragon pair
    honroutou,  // terminals and honours only
    kokushi,    // the yakuman from here on
    suuankou,
    daisangen,
    shousuushii,
    daisuushii,
    tsuuiisou,
    chinroutou,
    ryuuiisou,
    chuuren,
    suukantsu,
};
constexpr int hand_theme_count = 29;

// Deals a hand of the theme for the situation (whose riichi is set here: only for a closed
// hand, and not always). Tiles come out of `wall`; the dora indicators (one more per kan) and,
// for riichi, as many back dora indicators are turned from what is left. False when the wall
// cannot give the tiles the theme asked for; the caller then deals again.
bool deal_themed_hand(HandTheme theme, HandSituation situation, Wall& wall, GeneratorRandom& random,
                      HandInput& hand);
