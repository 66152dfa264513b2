#include "tallydrill/generator/hand_themes.h"

namespace {

enum class Part : std::uint8_t { sequence, triplet, kan, pair, single };

struct PlannedPart {
    Part part;
    TileKind kind; // the lowest tile of a sequence
    bool called;
};

constexpr int max_parts = 14;
constexpr int riichi_percent = 60;
constexpr int suit_count = 3;
constexpr int wind_count = 4;
constexpr int dragon_count = 3;
constexpr int honour_count = 7;

struct Plan {
    PlannedPart parts[max_parts];
    int count = 0;
    int open_percent = 0; // how often the hand is played open
    int kan_percent = 0;  // how often a triplet becomes a kan

    void add(Part part, TileKind kind) {
        if (count < max_parts) {
            parts[count++] = PlannedPart{part, kind, false};
        }
    }
};

TileKind suited(int suit, int number) {
    return static_cast<TileKind>(suit * 9 + number - 1);
}
TileKind honour(int index) {
    return static_cast<TileKind>(first_honour_kind + index);
}
TileKind wind_kind(Wind wind) {
    return honour(static_cast<int>(wind));
}

TileKind random_suited(GeneratorRandom& r) {
    return suited(random_below(r, suit_count), 1 + random_below(r, 9));
}
TileKind random_simple(GeneratorRandom& r) {
    return suited(random_below(r, suit_count), 2 + random_below(r, 7));
}
TileKind random_honour(GeneratorRandom& r) {
    return honour(random_below(r, honour_count));
}
TileKind random_terminal_or_honour(GeneratorRandom& r) {
    const int pick = random_below(r, 13);
    return pick < honour_count
               ? honour(pick)
               : suited((pick - honour_count) / 2, (pick - honour_count) % 2 == 0 ? 1 : 9);
}
// A dragon, the seat wind or the round wind: a triplet of it is a yaku.
TileKind random_value_honour(GeneratorRandom& r, const HandSituation& situation) {
    const int pick = random_below(r, dragon_count + 2);
    if (pick < dragon_count) {
        return static_cast<TileKind>(first_dragon_kind + pick);
    }
    return wind_kind(pick == dragon_count ? situation.seat_wind : situation.round_wind);
}
// A pair that adds no fu and spoils no pinfu: a number tile or a guest wind.
TileKind random_plain_pair(GeneratorRandom& r, const HandSituation& situation) {
    if (random_percent(r, 85)) {
        return random_suited(r);
    }
    for (int w = 0; w < wind_count; ++w) {
        const Wind wind = static_cast<Wind>((w + random_below(r, wind_count)) % wind_count);
        if (wind != situation.seat_wind && wind != situation.round_wind) {
            return wind_kind(wind);
        }
    }
    return random_suited(r);
}

// `count` distinct entries of `pool` in random order, written to the front of `pool`.
void pick_distinct(GeneratorRandom& r, TileKind* pool, int pool_count, int count) {
    for (int i = 0; i < count && i < pool_count; ++i) {
        const int j = i + random_below(r, pool_count - i);
        const TileKind kept = pool[i];
        pool[i] = pool[j];
        pool[j] = kept;
    }
}

// Sequences and triplets of anything, as most hands hold them.
void add_mixed_group(Plan& plan, GeneratorRandom& r) {
    if (random_percent(r, 70)) {
        plan.add(Part::sequence, suited(random_below(r, suit_count), 1 + random_below(r, 7)));
    } else {
        plan.add(Part::triplet, random_percent(r, 25) ? random_honour(r) : random_suited(r));
    }
}
TileKind random_mixed_pair(GeneratorRandom& r) {
    return random_percent(r, 80) ? random_suited(r) : random_honour(r);
}

void plan_standard(HandTheme theme, const HandSituation& s, GeneratorRandom& r, Plan& plan) {
    const int suit = random_below(r, suit_count);
    switch (theme) {
    case HandTheme::mixed:
        for (int g = 0; g < 4; ++g) {
            add_mixed_group(plan, r);
        }
        plan.add(Part::pair, random_mixed_pair(r));
        plan.open_percent = 35;
        plan.kan_percent = 5;
        break;
    case HandTheme::tanyao:
        for (int g = 0; g < 4; ++g) {
            if (random_percent(r, 75)) {
                plan.add(Part::sequence,
                         suited(random_below(r, suit_count), 2 + random_below(r, 5)));
            } else {
                plan.add(Part::triplet, random_simple(r));
            }
        }
        plan.add(Part::pair, random_simple(r));
        plan.open_percent = 40;
        plan.kan_percent = 5;
        break;
    case HandTheme::pinfu:
    case HandTheme::iipeikou:
    case HandTheme::ryanpeikou: {
        TileKind starts[4];
        for (TileKind& start : starts) {
            start = suited(random_below(r, suit_count), 1 + random_below(r, 7));
        }
        if (theme != HandTheme::pinfu) {
            starts[1] = starts[0];
        }
        if (theme == HandTheme::ryanpeikou) {
            starts[3] = starts[2];
        }
        for (TileKind start : starts) {
            plan.add(Part::sequence, start);
        }
        plan.add(Part::pair, random_plain_pair(r, s));
        break;
    }
    case HandTheme::yakuhai:
        plan.add(Part::triplet, random_value_honour(r, s));
        for (int g = 0; g < 3; ++g) {
            add_mixed_group(plan, r);
        }
        plan.add(Part::pair, random_mixed_pair(r));
        plan.open_percent = 60;
        plan.kan_percent = 10;
        break;
    case HandTheme::triplets: {
        const int triplet_count = 2 + random_below(r, 2);
        for (int g = 0; g < 4; ++g) {
            if (g < triplet_count) {
                plan.add(Part::triplet,
                         random_percent(r, 50) ? random_terminal_or_honour(r) : random_simple(r));
            } else {
                plan.add(Part::sequence,
                         suited(random_below(r, suit_count), 1 + random_below(r, 7)));
            }
        }
        plan.add(Part::pair, random_percent(r, 40) ? random_value_honour(r, s) : random_suited(r));
        plan.open_percent = 35;
        plan.kan_percent = 30;
        break;
    }
    case HandTheme::honitsu:
    case HandTheme::chinitsu:
        for (int g = 0; g < 4; ++g) {
            if (theme == HandTheme::honitsu && random_percent(r, 30)) {
                plan.add(Part::triplet, random_honour(r));
            } else if (random_percent(r, 70)) {
                plan.add(Part::sequence, suited(suit, 1 + random_below(r, 7)));
            } else {
                plan.add(Part::triplet, suited(suit, 1 + random_below(r, 9)));
            }
        }
        plan.add(Part::pair, theme == HandTheme::honitsu && random_percent(r, 40)
                                 ? random_honour(r)
                                 : suited(suit, 1 + random_below(r, 9)));
        plan.open_percent = theme == HandTheme::honitsu ? 50 : 35;
        plan.kan_percent = 5;
        break;
    case HandTheme::toitoi:
    case HandTheme::sanankou:
    case HandTheme::suuankou:
    case HandTheme::suukantsu:
        for (int g = 0; g < 4; ++g) {
            if (theme == HandTheme::sanankou && g == 3) {
                plan.add(Part::sequence,
                         suited(random_below(r, suit_count), 1 + random_below(r, 7)));
            } else {
                plan.add(Part::triplet,
                         random_percent(r, 30) ? random_honour(r) : random_suited(r));
            }
        }
        plan.add(Part::pair, random_mixed_pair(r));
        plan.open_percent = theme == HandTheme::toitoi ? 75 : theme == HandTheme::suuankou ? 0 : 40;
        plan.kan_percent = theme == HandTheme::suukantsu ? 100 : 10;
        break;
    case HandTheme::sankantsu:
        for (int g = 0; g < 3; ++g) {
            plan.add(Part::kan, random_percent(r, 30) ? random_honour(r) : random_suited(r));
        }
        add_mixed_group(plan, r);
        plan.add(Part::pair, random_mixed_pair(r));
        plan.open_percent = 50;
        break;
    case HandTheme::doukou: {
        const int number = 1 + random_below(r, 9);
        for (int each = 0; each < suit_count; ++each) {
            plan.add(Part::triplet, suited(each, number));
        }
        add_mixed_group(plan, r);
        plan.add(Part::pair, random_mixed_pair(r));
        plan.open_percent = 40;
        plan.kan_percent = 10;
        break;
    }
    case HandTheme::ittsu:
        for (int n = 1; n <= 7; n += 3) {
            plan.add(Part::sequence, suited(suit, n));
        }
        add_mixed_group(plan, r);
        plan.add(Part::pair, random_mixed_pair(r));
        plan.open_percent = 30;
        break;
    case HandTheme::sanshoku: {
        const int number = 1 + random_below(r, 7);
        for (int each = 0; each < suit_count; ++each) {
            plan.add(Part::sequence, suited(each, number));
        }
        add_mixed_group(plan, r);
        plan.add(Part::pair, random_mixed_pair(r));
        plan.open_percent = 30;
        break;
    }
    case HandTheme::chanta: {
        // Half of them without honours, for junchan.
        const bool honours = random_percent(r, 50);
        const auto outside = [&r, honours]() {
            return honours ? random_terminal_or_honour(r)
                           : suited(random_below(r, suit_count), random_below(r, 2) == 0 ? 1 : 9);
        };
        for (int g = 0; g < 4; ++g) {
            if (random_percent(r, 60)) {
                plan.add(Part::sequence,
                         suited(random_below(r, suit_count), random_below(r, 2) == 0 ? 1 : 7));
            } else {
                plan.add(Part::triplet, outside());
            }
        }
        plan.add(Part::pair, outside());
        plan.open_percent = 30;
        break;
    }
    default:
        break;
    }
}

// The hands built of honours and terminals: shousangen and the yakuman.
void plan_special(HandTheme theme, const HandSituation& s, GeneratorRandom& r, Plan& plan) {
    TileKind dragons[dragon_count] = {31, 32, 33};
    TileKind winds[wind_count] = {27, 28, 29, 30};
    TileKind honours[honour_count] = {27, 28, 29, 30, 31, 32, 33};
    TileKind terminals[6] = {0, 8, 9, 17, 18, 26};
    TileKind orphans[13] = {0, 8, 9, 17, 18, 26, 27, 28, 29, 30, 31, 32, 33};
    TileKind greens[6] = {19, 20, 21, 23, 25, 32}; // 2 3 4 6 8 sou, green dragon
    const int suit = random_below(r, suit_count);
    (void)s;
    switch (theme) {
    case HandTheme::shousangen:
    case HandTheme::daisangen:
        pick_distinct(r, dragons, dragon_count, dragon_count);
        plan.add(Part::triplet, dragons[0]);
        plan.add(Part::triplet, dragons[1]);
        if (theme == HandTheme::daisangen) {
            plan.add(Part::triplet, dragons[2]);
            add_mixed_group(plan, r);
            plan.add(Part::pair, random_mixed_pair(r));
        } else {
            add_mixed_group(plan, r);
            add_mixed_group(plan, r);
            plan.add(Part::pair, dragons[2]);
        }
        plan.open_percent = 50;
        plan.kan_percent = 10;
        break;
    case HandTheme::honroutou:
    case HandTheme::chinroutou:
        if (theme == HandTheme::chinroutou) {
            pick_distinct(r, terminals, 6, 5);
            for (int g = 0; g < 4; ++g) {
                plan.add(Part::triplet, terminals[g]);
            }
            plan.add(Part::pair, terminals[4]);
        } else {
            pick_distinct(r, orphans, 13, 5);
            for (int g = 0; g < 4; ++g) {
                plan.add(Part::triplet, orphans[g]);
            }
            plan.add(Part::pair, orphans[4]);
        }
        plan.open_percent = 45;
        plan.kan_percent = 5;
        break;
    case HandTheme::kokushi: {
        const int doubled = random_below(r, 13);
        for (int i = 0; i < 13; ++i) {
            plan.add(i == doubled ? Part::pair : Part::single, orphans[i]);
        }
        break;
    }
    case HandTheme::shousuushii:
    case HandTheme::daisuushii:
        pick_distinct(r, winds, wind_count, wind_count);
        for (int w = 0; w < 3; ++w) {
            plan.add(Part::triplet, winds[w]);
        }
        if (theme == HandTheme::daisuushii) {
            plan.add(Part::triplet, winds[3]);
            plan.add(Part::pair, random_mixed_pair(r));
        } else {
            add_mixed_group(plan, r);
            plan.add(Part::pair, winds[3]);
        }
        plan.open_percent = 40;
        plan.kan_percent = 5;
        break;
    case HandTheme::tsuuiisou:
        pick_distinct(r, honours, honour_count, honour_count);
        if (random_percent(r, 20)) {
            for (TileKind kind : honours) {
                plan.add(Part::pair, kind);
            }
            break;
        }
        for (int g = 0; g < 4; ++g) {
            plan.add(Part::triplet, honours[g]);
        }
        plan.add(Part::pair, honours[4]);
        plan.open_percent = 40;
        plan.kan_percent = 5;
        break;
    case HandTheme::ryuuiisou: {
        // 2-3-4 sou runs take those tiles, so the triplets then come from the other greens.
        const int runs = random_below(r, 3);
        TileKind other_greens[3] = {23, 25, 32};
        TileKind* pool = runs > 0 ? other_greens : greens;
        const int pool_count = runs > 0 ? 3 : 6;
        pick_distinct(r, pool, pool_count, pool_count);
        for (int g = 0; g < 4; ++g) {
            if (g < runs) {
                plan.add(Part::sequence, greens[0]);
            } else {
                plan.add(Part::triplet, pool[g - runs]);
            }
        }
        plan.add(Part::pair, 4 - runs < pool_count
                                 ? pool[4 - runs]
                                 : static_cast<TileKind>(19 + random_below(r, 3)));
        plan.open_percent = 40;
        break;
    }
    case HandTheme::chuuren:
        plan.add(Part::triplet, suited(suit, 1));
        for (int n = 2; n <= 8; ++n) {
            plan.add(Part::single, suited(suit, n));
        }
        plan.add(Part::triplet, suited(suit, 9));
        plan.add(Part::single, suited(suit, 1 + random_below(r, 9)));
        break;
    default:
        break;
    }
}

void plan_hand(HandTheme theme, const HandSituation& s, GeneratorRandom& r, Plan& plan) {
    if (theme == HandTheme::chiitoitsu) {
        TileKind kinds[tile_kind_count];
        for (int k = 0; k < tile_kind_count; ++k) {
            kinds[k] = static_cast<TileKind>(k);
        }
        pick_distinct(r, kinds, tile_kind_count, 7);
        for (int i = 0; i < 7; ++i) {
            plan.add(Part::pair, kinds[i]);
        }
        return;
    }
    if (theme >= HandTheme::shousangen && theme != HandTheme::suuankou &&
        theme != HandTheme::suukantsu) {
        plan_special(theme, s, r, plan);
    } else {
        plan_standard(theme, s, r, plan);
    }
}

// Which groups are called, and which triplets are kans.
void choose_calls(Plan& plan, GeneratorRandom& r) {
    for (int i = 0; i < plan.count; ++i) {
        if (plan.parts[i].part == Part::triplet && plan.kan_percent > 0 &&
            random_percent(r, plan.kan_percent)) {
            plan.parts[i].part = Part::kan;
        }
    }
    if (!random_percent(r, plan.open_percent)) {
        return;
    }
    int first_callable = -1;
    bool any_called = false;
    for (int i = 0; i < plan.count; ++i) {
        const Part part = plan.parts[i].part;
        if (part == Part::pair || part == Part::single) {
            continue;
        }
        if (first_callable < 0) {
            first_callable = i;
        }
        if (random_percent(r, 50)) {
            plan.parts[i].called = true;
            any_called = true;
        }
    }
    if (!any_called && first_callable >= 0) {
        plan.parts[first_callable].called = true;
    }
}

bool take_tiles(Wall& wall, GeneratorRandom& r, TileKind kind, int count, int step, Tile* out) {
    for (int i = 0; i < count; ++i) {
        if (!take_tile(wall, static_cast<TileKind>(kind + i * step), r, out[i])) {
            return false;
        }
    }
    return true;
}

int tiles_of(Part part) {
    switch (part) {
    case Part::sequence:
    case Part::triplet:
        return 3;
    case Part::kan:
        return 4;
    case Part::pair:
        return 2;
    case Part::single:
        break;
    }
    return 1;
}

// The plan's tiles from the wall, as concealed tiles and called groups; the winning tile is
// one of the concealed tiles.
bool realize(const Plan& plan, Wall& wall, GeneratorRandom& r, HandInput& hand) {
    Tile concealed[max_concealed_tiles + 1];
    int concealed_count = 0;
    hand.call_count = 0;
    for (int i = 0; i < plan.count; ++i) {
        const PlannedPart& part = plan.parts[i];
        if (part.part == Part::sequence && (part.kind >= first_honour_kind || part.kind % 9 > 6)) {
            return false;
        }
        Tile tiles[4];
        const int count = tiles_of(part.part);
        if (!take_tiles(wall, r, part.kind, count, part.part == Part::sequence ? 1 : 0, tiles)) {
            return false;
        }
        if (part.part == Part::kan || part.called) {
            if (hand.call_count >= max_called_groups) {
                return false;
            }
            CalledGroup& group = hand.calls[hand.call_count++];
            group.kind = part.part == Part::sequence  ? CallKind::chi
                         : part.part == Part::triplet ? CallKind::pon
                         : !part.called               ? CallKind::closed_kan
                         : random_percent(r, 50)      ? CallKind::open_kan
                                                      : CallKind::added_kan;
            for (int t = 0; t < 4; ++t) {
                group.tiles[t] = t < count ? tiles[t] : tiles[0];
            }
            // A chi is called from the player on the left; a pon or kan from anyone.
            group.source = group.kind == CallKind::chi
                               ? CallSource::left
                               : static_cast<CallSource>(random_below(r, 3));
            group.called = static_cast<std::uint8_t>(random_below(r, count));
            continue;
        }
        for (int t = 0; t < count; ++t) {
            if (concealed_count > max_concealed_tiles) {
                return false;
            }
            concealed[concealed_count++] = tiles[t];
        }
    }
    if (concealed_count != max_concealed_tiles + 1 - 3 * hand.call_count) {
        return false;
    }
    const int winning = random_below(r, concealed_count);
    hand.winning_tile = concealed[winning];
    hand.concealed_count = 0;
    for (int i = 0; i < concealed_count; ++i) {
        if (i != winning) {
            hand.concealed[hand.concealed_count++] = concealed[i];
        }
    }
    return true;
}

int kan_count(const HandInput& hand) {
    int kans = 0;
    for (int i = 0; i < hand.call_count; ++i) {
        kans += hand.calls[i].kind == CallKind::open_kan ||
                        hand.calls[i].kind == CallKind::added_kan ||
                        hand.calls[i].kind == CallKind::closed_kan
                    ? 1
                    : 0;
    }
    return kans;
}

bool is_closed(const HandInput& hand) {
    for (int i = 0; i < hand.call_count; ++i) {
        if (hand.calls[i].kind != CallKind::closed_kan) {
            return false;
        }
    }
    return true;
}

} // namespace

bool deal_themed_hand(HandTheme theme, HandSituation situation, Wall& wall, GeneratorRandom& random,
                      HandInput& hand) {
    Plan plan;
    plan_hand(theme, situation, random, plan);
    choose_calls(plan, random);
    if (!realize(plan, wall, random, hand)) {
        return false;
    }
    situation.riichi = is_closed(hand) && random_percent(random, riichi_percent);
    hand.situation = situation;
    hand.dora_indicator_count = 0;
    hand.back_dora_indicator_count = 0;
    const int indicators = 1 + kan_count(hand);
    for (int i = 0; i < indicators; ++i) {
        if (!take_indicator(wall, random, hand.dora_indicators[hand.dora_indicator_count++])) {
            return false;
        }
    }
    for (int i = 0; situation.riichi && i < indicators; ++i) {
        if (!take_indicator(wall, random,
                            hand.back_dora_indicators[hand.back_dora_indicator_count++])) {
            return false;
        }
    }
    return true;
}
