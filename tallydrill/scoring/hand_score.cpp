#include "tallydrill/scoring/hand_score.h"

#include <cstdio>

#include "tallydrill/scoring/hand_reading.h"
#include "tallydrill/scoring/score_payment.h"

namespace {

struct YakuInfo {
    const char* name;
    int closed_han;
    int open_han; // 0: closed hands only
};

// Indexed by Yaku.
constexpr YakuInfo yaku_table[yaku_count] = {
    {"Riichi", 1, 0},         {"Menzen tsumo", 1, 0},    {"Pinfu", 1, 0},
    {"Tanyao", 1, 1},         {"Iipeikou", 1, 0},        {"Seat wind", 1, 1},
    {"Round wind", 1, 1},     {"White dragon", 1, 1},    {"Green dragon", 1, 1},
    {"Red dragon", 1, 1},     {"Sanshoku doujun", 2, 1}, {"Ittsu", 2, 1},
    {"Chanta", 2, 1},         {"Junchan", 3, 2},         {"Toitoi", 2, 2},
    {"Sanankou", 2, 2},       {"Sanshoku doukou", 2, 2}, {"Sankantsu", 2, 2},
    {"Honroutou", 2, 2},      {"Shousangen", 2, 2},      {"Chiitoitsu", 2, 0},
    {"Honitsu", 3, 2},        {"Chinitsu", 6, 5},        {"Ryanpeikou", 3, 0},
    {"Kokushi musou", 13, 0}, {"Suuankou", 13, 0},       {"Daisangen", 13, 13},
    {"Shousuushii", 13, 13},  {"Daisuushii", 13, 13},    {"Tsuuiisou", 13, 13},
    {"Chinroutou", 13, 13},   {"Ryuuiisou", 13, 13},     {"Chuuren poutou", 13, 0},
    {"Suukantsu", 13, 13},
};

std::int32_t rounded_up_to_100(std::int32_t points) {
    return (points + 99) / 100 * 100;
}

bool is_kan(CallKind kind) {
    return kind == CallKind::open_kan || kind == CallKind::added_kan ||
           kind == CallKind::closed_kan;
}

bool valid_tile(Tile tile) {
    return tile.kind < tile_kind_count &&
           (!tile.red || (tile.kind < first_honour_kind && tile.kind % 9 == 4));
}

TileKind dora_of_indicator(TileKind indicator) {
    if (indicator < first_honour_kind) {
        return static_cast<TileKind>(indicator / 9 * 9 + (indicator % 9 + 1) % 9);
    }
    if (indicator < first_dragon_kind) {
        return static_cast<TileKind>(first_honour_kind + (indicator - first_honour_kind + 1) % 4);
    }
    return static_cast<TileKind>(first_dragon_kind + (indicator - first_dragon_kind + 1) % 3);
}

// Checks the input and gathers the tile counts; ScoreError::none when the hand can be read.
ScoreError check_hand(const HandInput& hand, HandTiles& tiles) {
    if (hand.call_count < 0 || hand.call_count > max_called_groups ||
        hand.concealed_count != max_concealed_tiles - 3 * hand.call_count) {
        return ScoreError::wrong_tile_count;
    }
    const HandSituation& s = hand.situation;
    if (static_cast<int>(s.round_wind) > 3 || static_cast<int>(s.seat_wind) > 3) {
        return ScoreError::bad_situation;
    }
    if (hand.dora_indicator_count < 0 || hand.dora_indicator_count > max_dora_indicators ||
        hand.back_dora_indicator_count < 0 ||
        hand.back_dora_indicator_count > max_dora_indicators) {
        return ScoreError::bad_indicator;
    }
    for (int i = 0; i < hand.dora_indicator_count; ++i) {
        if (hand.dora_indicators[i] >= tile_kind_count) {
            return ScoreError::bad_indicator;
        }
    }
    for (int i = 0; i < hand.back_dora_indicator_count; ++i) {
        if (hand.back_dora_indicators[i] >= tile_kind_count) {
            return ScoreError::bad_indicator;
        }
    }

    tiles = HandTiles{};
    int all[tile_kind_count] = {};
    int reds[3] = {};
    bool bad_tile = false;
    auto count = [&](Tile tile, int* concealed) {
        if (!valid_tile(tile)) {
            bad_tile = true;
            return;
        }
        ++all[tile.kind];
        if (concealed != nullptr) {
            ++concealed[tile.kind];
        }
        if (tile.red) {
            ++reds[tile.kind / 9];
            ++tiles.red_fives;
        }
    };
    for (int i = 0; i < hand.concealed_count; ++i) {
        count(hand.concealed[i], tiles.concealed);
    }
    count(hand.winning_tile, tiles.concealed);
    tiles.winning = hand.winning_tile.kind;
    for (int c = 0; c < hand.call_count; ++c) {
        const CalledGroup& call = hand.calls[c];
        if (static_cast<int>(call.kind) > static_cast<int>(CallKind::closed_kan)) {
            return ScoreError::bad_call;
        }
        const int size = is_kan(call.kind) ? 4 : 3;
        TileKind kinds[4];
        for (int i = 0; i < size; ++i) {
            count(call.tiles[i], nullptr);
            kinds[i] = call.tiles[i].kind;
        }
        if (bad_tile) {
            break;
        }
        Group group{};
        group.called = true;
        group.concealed = call.kind == CallKind::closed_kan;
        if (call.kind == CallKind::chi) {
            TileKind low = kinds[0] < kinds[1] ? kinds[0] : kinds[1];
            low = kinds[2] < low ? kinds[2] : low;
            bool has[3] = {};
            for (int i = 0; i < 3; ++i) {
                const int offset = kinds[i] - low;
                if (offset > 2 || has[offset]) {
                    return ScoreError::bad_call;
                }
                has[offset] = true;
            }
            if (low >= first_honour_kind || low % 9 > 6) {
                return ScoreError::bad_call;
            }
            group.shape = GroupShape::sequence;
            group.kind = low;
        } else {
            for (int i = 1; i < size; ++i) {
                if (kinds[i] != kinds[0]) {
                    return ScoreError::bad_call;
                }
            }
            group.shape = is_kan(call.kind) ? GroupShape::kan : GroupShape::triplet;
            group.kind = kinds[0];
        }
        tiles.calls[tiles.call_count++] = group;
        tiles.open = tiles.open || call.kind != CallKind::closed_kan;
    }
    if (bad_tile) {
        return ScoreError::too_many_of_a_kind;
    }
    for (int kind = 0; kind < tile_kind_count; ++kind) {
        if (all[kind] > 4) {
            return ScoreError::too_many_of_a_kind;
        }
        tiles.all[kind] = all[kind];
    }
    for (int suit = 0; suit < 3; ++suit) {
        if (reds[suit] > 1) {
            return ScoreError::too_many_of_a_kind;
        }
    }
    if (s.riichi && tiles.open) {
        return ScoreError::bad_situation;
    }
    return ScoreError::none;
}

void write_payment(HandScore& score, bool dealer, bool tsumo) {
    const std::int32_t basic = score.basic_points;
    if (!tsumo) {
        score.ron_payment = rounded_up_to_100(basic * (dealer ? 6 : 4));
        std::snprintf(score.payment, sizeof score.payment, "%ld",
                      static_cast<long>(score.ron_payment));
    } else if (dealer) {
        score.tsumo_from_non_dealer = rounded_up_to_100(basic * 2);
        std::snprintf(score.payment, sizeof score.payment, "%ld a",
                      static_cast<long>(score.tsumo_from_non_dealer));
    } else {
        score.tsumo_from_non_dealer = rounded_up_to_100(basic);
        score.tsumo_from_dealer = rounded_up_to_100(basic * 2);
        std::snprintf(score.payment, sizeof score.payment, "%ld %ld",
                      static_cast<long>(score.tsumo_from_non_dealer),
                      static_cast<long>(score.tsumo_from_dealer));
    }
}

LimitName limit_of(int han, std::int32_t basic) {
    if (han >= 13) {
        return LimitName::yakuman;
    }
    if (han >= 11) {
        return LimitName::sanbaiman;
    }
    if (han >= 8) {
        return LimitName::baiman;
    }
    if (han >= 6) {
        return LimitName::haneman;
    }
    return basic >= 2000 ? LimitName::mangan : LimitName::none;
}

} // namespace

const char* yaku_name(Yaku yaku) {
    const int index = static_cast<int>(yaku);
    return index < yaku_count ? yaku_table[index].name : "?";
}

int yaku_han(Yaku yaku, bool open_hand) {
    const int index = static_cast<int>(yaku);
    if (index >= yaku_count) {
        return 0;
    }
    return open_hand ? yaku_table[index].open_han : yaku_table[index].closed_han;
}

const char* score_error_text(ScoreError error) {
    switch (error) {
    case ScoreError::none:
        return "no error";
    case ScoreError::wrong_tile_count:
        return "a hand of the wrong size";
    case ScoreError::too_many_of_a_kind:
        return "five of a tile, or a red five that cannot be";
    case ScoreError::bad_call:
        return "a called group that is no group";
    case ScoreError::bad_indicator:
        return "an indicator that is no tile, or too many indicators";
    case ScoreError::not_complete:
        return "a hand that is not complete";
    case ScoreError::no_yaku:
        return "a complete hand without a yaku";
    case ScoreError::bad_situation:
        return "a situation that cannot be (a wind out of range, riichi with calls)";
    }
    return "unknown error";
}

ScoreError score_hand(const HandInput& hand, HandScore& score) {
    score = HandScore{};
    HandTiles tiles;
    score.error = check_hand(hand, tiles);
    if (score.error != ScoreError::none) {
        return score.error;
    }
    const HandSituation& s = hand.situation;

    // Dora do not depend on the reading.
    for (int i = 0; i < hand.dora_indicator_count; ++i) {
        score.dora += tiles.all[dora_of_indicator(hand.dora_indicators[i])];
    }
    if (s.riichi) {
        for (int i = 0; i < hand.back_dora_indicator_count; ++i) {
            score.back_dora += tiles.all[dora_of_indicator(hand.back_dora_indicators[i])];
        }
    }
    score.red_fives = tiles.red_fives;
    const int bonus_han = score.dora + score.back_dora + score.red_fives;

    ReadingScore best;
    if (!best_reading(tiles, s, bonus_han, best)) {
        score.error = ScoreError::not_complete;
        return score.error;
    }
    if (best.yaku_count == 0) {
        score.error = ScoreError::no_yaku;
        return score.error;
    }
    for (int i = 0; i < best.yaku_count && i < max_yaku_lines; ++i) {
        score.yaku[i] = best.yaku[i];
    }
    score.yaku_count = best.yaku_count < max_yaku_lines ? best.yaku_count : max_yaku_lines;
    for (int i = 0; i < best.fu_step_count && i < max_fu_steps; ++i) {
        score.fu_steps[i] = best.fu_steps[i];
    }
    score.fu_step_count = best.fu_step_count < max_fu_steps ? best.fu_step_count : max_fu_steps;
    score.fu_unrounded = best.fu_unrounded;
    score.fu = best.fu;
    const bool dealer = s.seat_wind == Wind::east;
    if (best.yakuman_count > 0) {
        score.yakuman_count = best.yakuman_count;
        score.han = 0;
        score.basic_points = 8000 * best.yakuman_count;
        score.limit = LimitName::yakuman;
    } else {
        score.han = best.han + bonus_han;
        score.yakuman_count = score.han >= 13 ? 1 : 0;
        score.basic_points = basic_points(score.han, score.fu);
        score.limit = limit_of(score.han, score.basic_points);
    }
    write_payment(score, dealer, s.tsumo);
    return ScoreError::none;
}
