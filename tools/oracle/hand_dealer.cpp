#include "tools/oracle/hand_dealer.h"

namespace {

// splitmix64: the same numbers on every host.
struct Random {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 1 ? 0 : static_cast<int>(next() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return below(100) < percent; }
};

// The 136 tiles with the three red fives.
struct Wall {
    int left[tile_kind_count];
    int red_left[3];

    Wall() {
        for (int& n : left) {
            n = 4;
        }
        for (int& n : red_left) {
            n = 1;
        }
    }
    Tile take(TileKind kind, Random& random) {
        Tile tile{kind, false};
        if (kind < first_honour_kind && kind % 9 == 4 && red_left[kind / 9] > 0 &&
            random.below(left[kind]) == 0) {
            tile.red = true;
            red_left[kind / 9] = 0;
        }
        --left[kind];
        return tile;
    }
    TileKind any(Random& random) const {
        int total = 0;
        for (int n : left) {
            total += n;
        }
        int pick = random.below(total);
        for (int kind = 0; kind < tile_kind_count; ++kind) {
            if (pick < left[kind]) {
                return static_cast<TileKind>(kind);
            }
            pick -= left[kind];
        }
        return 0;
    }
};

enum Profile {
    mixed,
    half_flush,
    full_flush,
    all_triplets,
    outside,
    simples,
    seven_pairs,
    orphans,
    honours_only,
    terminals_only,
    green_only,
    nine_gates,
    four_kans,
    big_winds,
    big_dragons,
    concealed_triplets,
    profile_count
};
constexpr int profile_weights[profile_count] = {40, 10, 8, 8, 6, 8, 6, 2, 1, 1, 1, 1, 1, 2, 2, 3};

bool is_outside(int kind) {
    return kind >= first_honour_kind || kind % 9 == 0 || kind % 9 == 8;
}
bool is_green(int kind) {
    return kind == 19 || kind == 20 || kind == 21 || kind == 23 || kind == 25 || kind == 32;
}

struct PlannedGroup {
    bool sequence;
    TileKind kind;
};

struct Plan {
    Profile profile;
    int suit; // for the flushes and nine gates
    bool allowed(int kind) const {
        switch (profile) {
        case half_flush:
            return kind >= first_honour_kind || kind / 9 == suit;
        case full_flush:
        case nine_gates:
            return kind < first_honour_kind && kind / 9 == suit;
        case outside:
        case seven_pairs:
            return true;
        case simples:
            return !is_outside(kind);
        case honours_only:
            return kind >= first_honour_kind;
        case terminals_only:
            return kind < first_honour_kind && is_outside(kind);
        case green_only:
            return is_green(kind);
        default:
            return true;
        }
    }
    int sequence_percent() const {
        switch (profile) {
        case all_triplets:
        case honours_only:
        case terminals_only:
        case four_kans:
        case concealed_triplets:
            return 0;
        case green_only:
            return 30;
        default:
            return 65;
        }
    }
};

bool plan_group(const Plan& plan, const Wall& wall, Random& random, PlannedGroup& group) {
    for (int attempt = 0; attempt < 60; ++attempt) {
        const bool sequence = random.chance(plan.sequence_percent());
        const int kind = random.below(tile_kind_count);
        if (sequence) {
            if (kind >= first_honour_kind || kind % 9 > 6 || !plan.allowed(kind) ||
                !plan.allowed(kind + 1) || !plan.allowed(kind + 2) || wall.left[kind] == 0 ||
                wall.left[kind + 1] == 0 || wall.left[kind + 2] == 0) {
                continue;
            }
            if (plan.profile == outside && kind % 9 != 0 && kind % 9 != 6) {
                continue;
            }
        } else if (!plan.allowed(kind) || wall.left[kind] < 3 ||
                   (plan.profile == outside && !is_outside(kind))) {
            continue;
        }
        group = PlannedGroup{sequence, static_cast<TileKind>(kind)};
        return true;
    }
    return false;
}

bool take_pair(const Plan& plan, Wall& wall, Random& random, TileKind& pair) {
    for (int attempt = 0; attempt < 60; ++attempt) {
        const int kind = random.below(tile_kind_count);
        if (plan.allowed(kind) && wall.left[kind] >= 2 &&
            (plan.profile != outside || is_outside(kind))) {
            pair = static_cast<TileKind>(kind);
            return true;
        }
    }
    return false;
}

// A standard hand: four groups and a pair, some of them called.
bool deal_standard(const Plan& plan, Random& random, HandInput& hand) {
    Wall wall;
    PlannedGroup groups[4];
    int forced = 0;
    if (plan.profile == big_dragons || plan.profile == big_winds) {
        const int first = plan.profile == big_dragons ? first_dragon_kind : first_honour_kind;
        const int span = plan.profile == big_dragons ? 3 : 4;
        const int count = plan.profile == big_dragons ? 2 + random.below(2) : 3 + random.below(2);
        const int start = random.below(span);
        for (int i = 0; i < count; ++i) {
            groups[forced++] =
                PlannedGroup{false, static_cast<TileKind>(first + (start + i) % span)};
        }
    }
    for (int i = 0; i < forced; ++i) {
        wall.left[groups[i].kind] -= 3;
    }
    for (int i = forced; i < 4; ++i) {
        if (!plan_group(plan, wall, random, groups[i])) {
            return false;
        }
        for (int t = 0; t < 3; ++t) {
            --wall.left[groups[i].kind + (groups[i].sequence ? t : 0)];
        }
    }
    TileKind pair;
    if (!take_pair(plan, wall, random, pair)) {
        return false;
    }
    // Put the planned tiles back and take them as tiles, so red fives are drawn fairly.
    Wall real;
    hand = HandInput{};
    Tile concealed_tiles[14];
    int concealed_count = 0;
    const bool may_open = plan.profile != nine_gates && plan.profile != concealed_triplets;
    const bool open_hand = may_open && random.chance(plan.profile == four_kans ? 60 : 35);
    bool opened = false;
    int kans = 0;
    for (int i = 0; i < 4; ++i) {
        const PlannedGroup& g = groups[i];
        Tile tiles[4] = {};
        for (int t = 0; t < 3; ++t) {
            tiles[t] = real.take(static_cast<TileKind>(g.kind + (g.sequence ? t : 0)), random);
        }
        const bool last_chance = i == 3 && open_hand && !opened;
        const bool call = open_hand && (last_chance || random.chance(50));
        // The planned wall knows the tiles still to come; the fourth tile must be spare.
        const bool can_kan = !g.sequence && wall.left[g.kind] > 0;
        const bool kan = can_kan && (plan.profile == four_kans || random.chance(12));
        if (kan) {
            --wall.left[g.kind];
        }
        CalledGroup group{};
        if (kan) {
            tiles[3] = real.take(g.kind, random);
            ++kans;
            group.kind = !call ? CallKind::closed_kan
                               : (random.chance(50) ? CallKind::open_kan : CallKind::added_kan);
        } else if (call) {
            group.kind = g.sequence ? CallKind::chi : CallKind::pon;
        } else {
            for (int t = 0; t < 3; ++t) {
                concealed_tiles[concealed_count++] = tiles[t];
            }
            continue;
        }
        opened = opened || group.kind != CallKind::closed_kan;
        for (int t = 0; t < 4; ++t) {
            group.tiles[t] = tiles[t];
        }
        group.source = g.sequence ? CallSource::left : static_cast<CallSource>(random.below(3));
        group.called = static_cast<std::uint8_t>(random.below(3));
        hand.calls[hand.call_count++] = group;
    }
    concealed_tiles[concealed_count++] = real.take(pair, random);
    concealed_tiles[concealed_count++] = real.take(pair, random);
    const int winning = random.below(concealed_count);
    hand.winning_tile = concealed_tiles[winning];
    for (int i = 0; i < concealed_count; ++i) {
        if (i != winning) {
            hand.concealed[hand.concealed_count++] = concealed_tiles[i];
        }
    }
    hand.situation.tsumo = random.chance(plan.profile == concealed_triplets ? 60 : 40);
    hand.situation.riichi = !opened && random.chance(50);
    hand.dora_indicator_count = 1 + kans;
    for (int i = 0; i < hand.dora_indicator_count; ++i) {
        hand.dora_indicators[i] = real.any(random);
        --real.left[hand.dora_indicators[i]];
    }
    if (hand.situation.riichi) {
        hand.back_dora_indicator_count = 1 + kans;
        for (int i = 0; i < hand.back_dora_indicator_count; ++i) {
            hand.back_dora_indicators[i] = real.any(random);
            --real.left[hand.back_dora_indicators[i]];
        }
    }
    return true;
}

bool deal_seven_pairs(Random& random, HandInput& hand) {
    Wall wall;
    bool used[tile_kind_count] = {};
    Tile tiles[14];
    // Sometimes confined to one suit and honours, or to outside tiles, for the flushes.
    const int mode = random.below(4);
    const int suit = random.below(3);
    for (int p = 0; p < 7; ++p) {
        int kind = 0;
        int attempt = 0;
        do {
            kind = random.below(tile_kind_count);
        } while (++attempt < 200 &&
                 (used[kind] || (mode == 1 && kind < first_honour_kind && kind / 9 != suit) ||
                  (mode == 2 && !is_outside(kind)) || (mode == 3 && is_outside(kind))));
        if (used[kind]) {
            return false;
        }
        used[kind] = true;
        tiles[2 * p] = wall.take(static_cast<TileKind>(kind), random);
        tiles[2 * p + 1] = wall.take(static_cast<TileKind>(kind), random);
    }
    hand = HandInput{};
    const int winning = random.below(14);
    hand.winning_tile = tiles[winning];
    for (int i = 0; i < 14; ++i) {
        if (i != winning) {
            hand.concealed[hand.concealed_count++] = tiles[i];
        }
    }
    hand.situation.tsumo = random.chance(40);
    hand.situation.riichi = random.chance(50);
    hand.dora_indicator_count = 1;
    hand.dora_indicators[0] = wall.any(random);
    --wall.left[hand.dora_indicators[0]];
    if (hand.situation.riichi) {
        hand.back_dora_indicator_count = 1;
        hand.back_dora_indicators[0] = wall.any(random);
    }
    return true;
}

bool deal_orphans(Random& random, HandInput& hand) {
    Wall wall;
    Tile tiles[14];
    int n = 0;
    for (int kind = 0; kind < tile_kind_count; ++kind) {
        if (is_outside(kind)) {
            tiles[n++] = wall.take(static_cast<TileKind>(kind), random);
        }
    }
    int extra;
    do {
        extra = random.below(tile_kind_count);
    } while (!is_outside(extra));
    tiles[n++] = wall.take(static_cast<TileKind>(extra), random);
    hand = HandInput{};
    const int winning = random.below(14);
    hand.winning_tile = tiles[winning];
    for (int i = 0; i < 14; ++i) {
        if (i != winning) {
            hand.concealed[hand.concealed_count++] = tiles[i];
        }
    }
    hand.situation.tsumo = random.chance(40);
    hand.situation.riichi = random.chance(50);
    hand.dora_indicator_count = 1;
    hand.dora_indicators[0] = wall.any(random);
    return true;
}

bool deal_nine_gates(Random& random, HandInput& hand) {
    Wall wall;
    const int base = 9 * random.below(3);
    const int shape[9] = {3, 1, 1, 1, 1, 1, 1, 1, 3};
    Tile tiles[14];
    int n = 0;
    for (int i = 0; i < 9; ++i) {
        for (int t = 0; t < shape[i]; ++t) {
            tiles[n++] = wall.take(static_cast<TileKind>(base + i), random);
        }
    }
    tiles[n++] = wall.take(static_cast<TileKind>(base + random.below(9)), random);
    hand = HandInput{};
    const int winning = random.below(14);
    hand.winning_tile = tiles[winning];
    for (int i = 0; i < 14; ++i) {
        if (i != winning) {
            hand.concealed[hand.concealed_count++] = tiles[i];
        }
    }
    hand.situation.tsumo = random.chance(40);
    hand.dora_indicator_count = 1;
    hand.dora_indicators[0] = wall.any(random);
    return true;
}

} // namespace

HandDealer::HandDealer(std::uint64_t seed) : state_(seed) {}

HandInput HandDealer::next() {
    Random random{state_};
    HandInput hand{};
    for (;;) {
        int pick = random.below(100);
        int profile = 0;
        while (pick >= profile_weights[profile]) {
            pick -= profile_weights[profile];
            ++profile;
        }
        const Plan plan{static_cast<Profile>(profile), random.below(3)};
        bool dealt = false;
        if (plan.profile == seven_pairs) {
            dealt = deal_seven_pairs(random, hand);
        } else if (plan.profile == orphans) {
            dealt = deal_orphans(random, hand);
        } else if (plan.profile == nine_gates) {
            dealt = deal_nine_gates(random, hand);
        } else {
            dealt = deal_standard(plan, random, hand);
        }
        if (dealt) {
            break;
        }
    }
    hand.situation.round_wind = static_cast<Wind>(random.below(2));
    hand.situation.seat_wind = static_cast<Wind>(random.below(4));
    state_ = random.state;
    return hand;
}
