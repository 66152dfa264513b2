#include "tallydrill/scoring/hand_reading.h"

#include "tallydrill/scoring/score_payment.h"

namespace {

enum class Wait : std::uint8_t { ryanmen, kanchan, penchan, tanki, shanpon, none };

constexpr TileKind white_kind = 31;
constexpr TileKind green_kind = 32;

bool is_honour(int kind) {
    return kind >= first_honour_kind;
}
bool is_terminal(int kind) {
    return kind < first_honour_kind && (kind % 9 == 0 || kind % 9 == 8);
}
bool is_terminal_or_honour(int kind) {
    return is_honour(kind) || is_terminal(kind);
}
bool is_dragon(int kind) {
    return kind >= first_dragon_kind;
}
bool is_wind(int kind) {
    return is_honour(kind) && !is_dragon(kind);
}
bool is_green(int kind) {
    return kind == 19 || kind == 20 || kind == 21 || kind == 23 || kind == 25 || kind == green_kind;
}

// What the whole hand is made of, the same for every reading.
struct TileClasses {
    bool all_simple;
    bool all_terminal_or_honour;
    bool all_honour;
    bool all_terminal;
    bool all_green;
    int suits_used; // bit per suit
    bool honours;
};

TileClasses classify(const HandTiles& tiles) {
    TileClasses c{true, true, true, true, true, 0, false};
    for (int kind = 0; kind < tile_kind_count; ++kind) {
        if (tiles.all[kind] == 0) {
            continue;
        }
        c.all_simple = c.all_simple && !is_terminal_or_honour(kind);
        c.all_terminal_or_honour = c.all_terminal_or_honour && is_terminal_or_honour(kind);
        c.all_honour = c.all_honour && is_honour(kind);
        c.all_terminal = c.all_terminal && is_terminal(kind);
        c.all_green = c.all_green && is_green(kind);
        if (is_honour(kind)) {
            c.honours = true;
        } else {
            c.suits_used |= 1 << (kind / 9);
        }
    }
    return c;
}

bool single_suit(const TileClasses& c) {
    return c.suits_used == 1 || c.suits_used == 2 || c.suits_used == 4;
}

struct ScoreBuilder {
    ReadingScore score{};
    bool open;

    void add(Yaku yaku) {
        const int han = yaku_han(yaku, open);
        if (han == 0 || score.yaku_count == max_yaku_lines) {
            return;
        }
        score.yaku[score.yaku_count++] = YakuHan{yaku, han};
        if (yaku >= first_yakuman) {
            ++score.yakuman_count;
        } else {
            score.han += han;
        }
    }
    void fu(FuItem item, int fu, TileKind kind) {
        if (score.fu_step_count < max_fu_steps) {
            score.fu_steps[score.fu_step_count++] = FuStep{item, fu, kind};
        }
        score.fu_unrounded += fu;
    }
    // Keeps only the yakuman when there are any.
    void keep_yakuman_only() {
        if (score.yakuman_count == 0) {
            return;
        }
        int kept = 0;
        for (int i = 0; i < score.yaku_count; ++i) {
            if (score.yaku[i].yaku >= first_yakuman) {
                score.yaku[kept++] = score.yaku[i];
            }
        }
        score.yaku_count = kept;
        score.han = 0;
    }
};

void add_common_yaku(ScoreBuilder& b, const HandSituation& s, const TileClasses& c) {
    if (s.riichi) {
        b.add(Yaku::riichi);
    }
    if (!b.open && s.tsumo) {
        b.add(Yaku::menzen_tsumo);
    }
    if (c.all_simple) {
        b.add(Yaku::tanyao);
    }
}

void add_flush_yaku(ScoreBuilder& b, const TileClasses& c) {
    if (single_suit(c)) {
        b.add(c.honours ? Yaku::honitsu : Yaku::chinitsu);
    }
}

// A reading of four groups and a pair, the winning tile in group `won` (-1: in the pair).
struct StandardReading {
    Group groups[4];
    TileKind pair;
    Wait wait;
};

// Sorts the yaku by their order in the list, as explanations show them.
void sort_yaku(ReadingScore& score) {
    for (int i = 1; i < score.yaku_count; ++i) {
        for (int j = i; j > 0 && score.yaku[j].yaku < score.yaku[j - 1].yaku; --j) {
            const YakuHan t = score.yaku[j];
            score.yaku[j] = score.yaku[j - 1];
            score.yaku[j - 1] = t;
        }
    }
}

void round_fu(ReadingScore& score) {
    score.fu = (score.fu_unrounded + 9) / 10 * 10;
}

ReadingScore score_standard(const HandTiles& tiles, const HandSituation& s, const TileClasses& c,
                            const StandardReading& r) {
    ScoreBuilder b;
    b.open = tiles.open;
    const int seat = first_honour_kind + static_cast<int>(s.seat_wind);
    const int round = first_honour_kind + static_cast<int>(s.round_wind);

    int sequences = 0, concealed_triplets = 0, kans = 0;
    int dragon_triplets = 0, wind_triplets = 0;
    bool all_groups_outside = is_terminal_or_honour(r.pair);
    bool sequence_at[tile_kind_count] = {};
    bool triplet_at[tile_kind_count] = {};
    int same_sequences[tile_kind_count] = {};
    for (const Group& g : r.groups) {
        if (g.shape == GroupShape::sequence) {
            ++sequences;
            sequence_at[g.kind] = true;
            ++same_sequences[g.kind];
            all_groups_outside = all_groups_outside && (g.kind % 9 == 0 || g.kind % 9 == 6);
        } else {
            triplet_at[g.kind] = true;
            concealed_triplets += g.concealed ? 1 : 0;
            kans += g.shape == GroupShape::kan ? 1 : 0;
            dragon_triplets += is_dragon(g.kind) ? 1 : 0;
            wind_triplets += is_wind(g.kind) ? 1 : 0;
            all_groups_outside = all_groups_outside && is_terminal_or_honour(g.kind);
        }
    }

    // Yakuman first; when one holds the others do not matter.
    if (concealed_triplets == 4) {
        b.add(Yaku::suuankou);
    }
    if (dragon_triplets == 3) {
        b.add(Yaku::daisangen);
    }
    if (wind_triplets == 4) {
        b.add(Yaku::daisuushii);
    } else if (wind_triplets == 3 && is_wind(r.pair)) {
        b.add(Yaku::shousuushii);
    }
    if (c.all_honour) {
        b.add(Yaku::tsuuiisou);
    }
    if (c.all_terminal) {
        b.add(Yaku::chinroutou);
    }
    if (c.all_green) {
        b.add(Yaku::ryuuiisou);
    }
    if (kans == 4) {
        b.add(Yaku::suukantsu);
    }
    if (tiles.call_count == 0 && single_suit(c) && !c.honours) {
        const int base = (c.suits_used == 1 ? 0 : c.suits_used == 2 ? 9 : 18);
        bool nine_gates = tiles.concealed[base] >= 3 && tiles.concealed[base + 8] >= 3;
        for (int n = 1; n < 8; ++n) {
            nine_gates = nine_gates && tiles.concealed[base + n] >= 1;
        }
        if (nine_gates) {
            b.add(Yaku::chuuren_poutou);
        }
    }

    const bool yakuhai_pair = is_dragon(r.pair) || r.pair == seat || r.pair == round;
    const bool pinfu = !tiles.open && sequences == 4 && !yakuhai_pair && r.wait == Wait::ryanmen;
    if (b.score.yakuman_count == 0) {
        add_common_yaku(b, s, c);
        if (pinfu) {
            b.add(Yaku::pinfu);
        }
        int identical_pairs = 0;
        for (int kind = 0; kind < tile_kind_count; ++kind) {
            identical_pairs += same_sequences[kind] / 2;
        }
        if (identical_pairs == 2) {
            b.add(Yaku::ryanpeikou);
        } else if (identical_pairs == 1) {
            b.add(Yaku::iipeikou);
        }
        for (const Group& g : r.groups) {
            if (g.shape == GroupShape::sequence) {
                continue;
            }
            if (g.kind == seat) {
                b.add(Yaku::seat_wind);
            }
            if (g.kind == round) {
                b.add(Yaku::round_wind);
            }
            if (g.kind == white_kind) {
                b.add(Yaku::white_dragon);
            } else if (g.kind == green_kind) {
                b.add(Yaku::green_dragon);
            } else if (g.kind == white_kind + 2) {
                b.add(Yaku::red_dragon);
            }
        }
        bool sanshoku = false, ittsu = false, doukou = false;
        for (int n = 0; n < 9; ++n) {
            sanshoku =
                sanshoku || (n < 7 && sequence_at[n] && sequence_at[9 + n] && sequence_at[18 + n]);
            doukou = doukou || (triplet_at[n] && triplet_at[9 + n] && triplet_at[18 + n]);
        }
        for (int suit = 0; suit < 3; ++suit) {
            ittsu = ittsu || (sequence_at[suit * 9] && sequence_at[suit * 9 + 3] &&
                              sequence_at[suit * 9 + 6]);
        }
        if (sanshoku) {
            b.add(Yaku::sanshoku_doujun);
        }
        if (ittsu) {
            b.add(Yaku::ittsu);
        }
        if (all_groups_outside && sequences > 0) {
            b.add(c.honours ? Yaku::chanta : Yaku::junchan);
        }
        if (sequences == 0) {
            b.add(Yaku::toitoi);
        }
        if (concealed_triplets == 3) {
            b.add(Yaku::sanankou);
        }
        if (doukou) {
            b.add(Yaku::sanshoku_doukou);
        }
        if (kans == 3) {
            b.add(Yaku::sankantsu);
        }
        if (c.all_terminal_or_honour) {
            b.add(Yaku::honroutou);
        }
        if (dragon_triplets == 2 && is_dragon(r.pair)) {
            b.add(Yaku::shousangen);
        }
        add_flush_yaku(b, c);
    }
    b.keep_yakuman_only();

    // Fu, step by step.
    b.fu(FuItem::base, 20, 0);
    if (pinfu && s.tsumo) {
        b.score.fu = 20;
        sort_yaku(b.score);
        return b.score;
    }
    if (!tiles.open && !s.tsumo) {
        b.fu(FuItem::closed_ron, 10, 0);
    }
    if (s.tsumo) {
        b.fu(FuItem::tsumo, 2, 0);
    }
    const int pair_fu =
        (is_dragon(r.pair) ? 2 : 0) + (r.pair == seat ? 2 : 0) + (r.pair == round ? 2 : 0);
    if (pair_fu > 0) {
        b.fu(FuItem::pair, pair_fu, r.pair);
    }
    for (const Group& g : r.groups) {
        if (g.shape == GroupShape::sequence) {
            continue;
        }
        const int outside = is_terminal_or_honour(g.kind) ? 2 : 1;
        if (g.shape == GroupShape::kan) {
            b.fu(g.concealed ? FuItem::closed_kan : FuItem::open_kan,
                 (g.concealed ? 16 : 8) * outside, g.kind);
        } else {
            b.fu(g.concealed ? FuItem::closed_triplet : FuItem::open_triplet,
                 (g.concealed ? 4 : 2) * outside, g.kind);
        }
    }
    if (r.wait == Wait::kanchan) {
        b.fu(FuItem::kanchan_wait, 2, tiles.winning);
    } else if (r.wait == Wait::penchan) {
        b.fu(FuItem::penchan_wait, 2, tiles.winning);
    } else if (r.wait == Wait::tanki) {
        b.fu(FuItem::tanki_wait, 2, tiles.winning);
    }
    if (tiles.open && !s.tsumo && b.score.fu_unrounded == 20) {
        b.fu(FuItem::open_pinfu_form, 10, 0);
    }
    round_fu(b.score);
    sort_yaku(b.score);
    return b.score;
}

bool read_chiitoitsu(const HandTiles& tiles, const HandSituation& s, const TileClasses& c,
                     ReadingScore& out) {
    if (tiles.call_count != 0) {
        return false;
    }
    for (int kind = 0; kind < tile_kind_count; ++kind) {
        if (tiles.concealed[kind] != 0 && tiles.concealed[kind] != 2) {
            return false;
        }
    }
    ScoreBuilder b;
    b.open = false;
    if (c.all_honour) {
        b.add(Yaku::tsuuiisou);
    } else {
        add_common_yaku(b, s, c);
        b.add(Yaku::chiitoitsu);
        if (c.all_terminal_or_honour) {
            b.add(Yaku::honroutou);
        }
        add_flush_yaku(b, c);
    }
    b.keep_yakuman_only();
    b.fu(FuItem::chiitoitsu, 25, 0);
    b.score.fu = 25;
    sort_yaku(b.score);
    out = b.score;
    return true;
}

bool read_kokushi(const HandTiles& tiles, ReadingScore& out) {
    if (tiles.call_count != 0) {
        return false;
    }
    for (int kind = 0; kind < tile_kind_count; ++kind) {
        const bool orphan = is_terminal_or_honour(kind);
        if ((orphan && tiles.concealed[kind] == 0) || (!orphan && tiles.concealed[kind] != 0)) {
            return false;
        }
    }
    ScoreBuilder b;
    b.open = false;
    b.add(Yaku::kokushi_musou);
    out = b.score;
    return true;
}

// Remembers the reading that pays most.
struct BestKeeper {
    int bonus_han;
    bool found = false;
    std::int32_t best_value = -1;
    int best_han = -1;
    ReadingScore best{};

    void offer(const ReadingScore& r) {
        std::int32_t value;
        int han;
        if (r.yaku_count == 0) {
            value = 0;
            han = 0;
        } else if (r.yakuman_count > 0) {
            value = 8000 * r.yakuman_count;
            han = 1000 * r.yakuman_count; // a yakuman before a kazoe yakuman of equal points
        } else {
            han = r.han + bonus_han;
            value = basic_points(han, r.fu);
        }
        if (!found || value > best_value ||
            (value == best_value && (han > best_han || (han == best_han && r.fu > best.fu)))) {
            found = true;
            best_value = value;
            best_han = han;
            best = r;
        }
    }
};

struct Splitter {
    const HandTiles& tiles;
    const HandSituation& s;
    const TileClasses& c;
    BestKeeper& keeper;
    int counts[tile_kind_count];
    Group melds[4];
    int meld_count = 0;
    int needed;
    TileKind pair = 0;

    // Splits the remaining counts into groups from kind `from` on.
    void split(int from) {
        int kind = from;
        while (kind < tile_kind_count && counts[kind] == 0) {
            ++kind;
        }
        if (kind == tile_kind_count) {
            if (meld_count == needed) {
                place_winning_tile();
            }
            return;
        }
        if (meld_count == needed) {
            return;
        }
        if (counts[kind] >= 3) {
            counts[kind] -= 3;
            melds[meld_count++] =
                Group{GroupShape::triplet, static_cast<TileKind>(kind), false, true};
            split(kind);
            --meld_count;
            counts[kind] += 3;
        }
        if (kind < first_honour_kind && kind % 9 <= 6 && counts[kind + 1] > 0 &&
            counts[kind + 2] > 0) {
            --counts[kind];
            --counts[kind + 1];
            --counts[kind + 2];
            melds[meld_count++] =
                Group{GroupShape::sequence, static_cast<TileKind>(kind), false, true};
            split(kind);
            --meld_count;
            ++counts[kind];
            ++counts[kind + 1];
            ++counts[kind + 2];
        }
    }

    void place_winning_tile() {
        StandardReading r{};
        r.pair = pair;
        for (int i = 0; i < tiles.call_count; ++i) {
            r.groups[meld_count + i] = tiles.calls[i];
        }
        const int w = tiles.winning;
        auto evaluate = [&](int won, Wait wait) {
            for (int i = 0; i < meld_count; ++i) {
                r.groups[i] = melds[i];
            }
            // A triplet completed by a discard counts as an open one.
            if (won >= 0 && wait == Wait::shanpon && !s.tsumo) {
                r.groups[won].concealed = false;
            }
            r.wait = wait;
            keeper.offer(score_standard(tiles, s, c, r));
        };
        if (pair == w) {
            evaluate(-1, Wait::tanki);
        }
        for (int i = 0; i < meld_count; ++i) {
            const Group& g = melds[i];
            if (g.shape != GroupShape::sequence) {
                if (g.kind == w) {
                    evaluate(i, Wait::shanpon);
                }
                continue;
            }
            const int at = w - g.kind;
            if (at < 0 || at > 2) {
                continue;
            }
            Wait wait = Wait::ryanmen;
            if (at == 1) {
                wait = Wait::kanchan;
            } else if ((at == 2 && g.kind % 9 == 0) || (at == 0 && g.kind % 9 == 6)) {
                wait = Wait::penchan;
            }
            evaluate(i, wait);
        }
    }
};

} // namespace

bool best_reading(const HandTiles& tiles, const HandSituation& situation, int bonus_han,
                  ReadingScore& best) {
    const TileClasses classes = classify(tiles);
    BestKeeper keeper{bonus_han};
    ReadingScore special;
    if (read_kokushi(tiles, special)) {
        keeper.offer(special);
    }
    if (read_chiitoitsu(tiles, situation, classes, special)) {
        keeper.offer(special);
    }
    Splitter splitter{tiles, situation, classes, keeper, {}, {}, 0, 4 - tiles.call_count};
    for (int kind = 0; kind < tile_kind_count; ++kind) {
        splitter.counts[kind] = tiles.concealed[kind];
    }
    for (int kind = 0; kind < tile_kind_count; ++kind) {
        if (splitter.counts[kind] >= 2) {
            splitter.counts[kind] -= 2;
            splitter.pair = static_cast<TileKind>(kind);
            splitter.split(0);
            splitter.counts[kind] += 2;
        }
    }
    if (!keeper.found) {
        return false;
    }
    best = keeper.best;
    return true;
}
