// A compact hand notation for the scorer's tests and tools:
//   "123m456p789s11z 1z ron E/S riichi chi:345p pon:555z kan:9999p added:6666p ankan:1111m
//    dora:1m ura:2p"
// Tiles are digits then their suit (m, p, s; z for honours 1-7: East South West North white
// green red), 0 the red five; concealed tiles, winning tile, win, round/seat wind, then options.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tallydrill/scoring/hand_score.h"

namespace hand_notation {

// The option word of each CallKind, in the order of the enum.
inline const char* const call_words[] = {"chi", "pon", "kan", "added", "ankan"};

inline bool parse_tiles(const std::string& text, Tile* out, int capacity, int& count) {
    count = 0;
    std::string digits;
    for (char ch : text) {
        const std::size_t s = std::string("mpsz").find(ch);
        if (ch >= '0' && ch <= '9') {
            digits += ch;
            continue;
        }
        if (s == std::string::npos || digits.empty()) {
            return false;
        }
        for (char d : digits) {
            const bool red = d == '0';
            const int n = red ? 5 : d - '0';
            if (count == capacity || (s == 3 && (red || n > 7))) {
                return false;
            }
            out[count++] = Tile{static_cast<TileKind>(s * 9 + n - 1), red};
        }
        digits.clear();
    }
    return digits.empty();
}

inline bool parse_wind(char ch, Wind& wind) {
    const std::size_t at = std::string("ESWN").find(ch);
    wind = static_cast<Wind>(at == std::string::npos ? 0 : at);
    return at != std::string::npos;
}

// Fills `hand` from the notation; false when it cannot be read.
inline bool parse_hand(const std::string& notation, HandInput& hand) {
    hand = HandInput{};
    std::istringstream words(notation);
    std::string concealed, winning, win, winds, word;
    Tile win_tile[1];
    int n = 0;
    if (!(words >> concealed >> winning >> win >> winds) ||
        !parse_tiles(concealed, hand.concealed, max_concealed_tiles, hand.concealed_count) ||
        !parse_tiles(winning, win_tile, 1, n) || n != 1 || (win != "ron" && win != "tsumo") ||
        winds.size() != 3 || winds[1] != '/' || !parse_wind(winds[0], hand.situation.round_wind) ||
        !parse_wind(winds[2], hand.situation.seat_wind)) {
        return false;
    }
    hand.winning_tile = win_tile[0];
    hand.situation.tsumo = win == "tsumo";
    while (words >> word) {
        const std::size_t colon = word.find(':');
        const std::string key = word.substr(0, colon);
        const std::string value = colon == std::string::npos ? "" : word.substr(colon + 1);
        if (key == "riichi") {
            hand.situation.riichi = true;
        } else if (key == "dora" || key == "ura") {
            Tile tiles[max_dora_indicators];
            if (!parse_tiles(value, tiles, max_dora_indicators, n)) {
                return false;
            }
            TileKind* kinds = key == "dora" ? hand.dora_indicators : hand.back_dora_indicators;
            for (int i = 0; i < n; ++i) {
                kinds[i] = tiles[i].kind;
            }
            (key == "dora" ? hand.dora_indicator_count : hand.back_dora_indicator_count) = n;
        } else {
            const int kind =
                static_cast<int>(std::find(call_words, call_words + 5, key) - call_words);
            if (kind == 5 || hand.call_count == max_called_groups) {
                return false;
            }
            CalledGroup& group = hand.calls[hand.call_count++];
            group.kind = static_cast<CallKind>(kind);
            if (!parse_tiles(value, group.tiles, 4, n) || n != (kind < 2 ? 3 : 4)) {
                return false;
            }
            if (group.kind != CallKind::chi && group.kind != CallKind::closed_kan) {
                group.source = CallSource::across;
            }
        }
    }
    return true;
}

inline std::string format_tiles(const Tile* tiles, int count, bool sort) {
    std::vector<Tile> sorted(tiles, tiles + count);
    if (sort) {
        std::sort(sorted.begin(), sorted.end(), [](Tile a, Tile b) {
            return a.kind != b.kind ? a.kind < b.kind : !a.red && b.red;
        });
    }
    std::string text;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        text += sorted[i].red ? '0' : static_cast<char>('1' + sorted[i].kind % 9);
        if (i + 1 == sorted.size() || sorted[i + 1].kind / 9 != sorted[i].kind / 9) {
            text += "mpsz"[sorted[i].kind / 9 % 4];
        }
    }
    return text;
}

// The notation of a hand, concealed tiles and each call's sorted (a red five after plain ones);
// parse_hand reads it back.
inline std::string format_hand(const HandInput& hand) {
    const char* winds = "ESWN";
    std::string text = format_tiles(hand.concealed, hand.concealed_count, true) + " " +
                       format_tiles(&hand.winning_tile, 1, false) +
                       (hand.situation.tsumo ? " tsumo " : " ron ") +
                       winds[static_cast<int>(hand.situation.round_wind) & 3] + "/" +
                       winds[static_cast<int>(hand.situation.seat_wind) & 3];
    if (hand.situation.riichi) {
        text += " riichi";
    }
    for (int c = 0; c < hand.call_count && c < max_called_groups; ++c) {
        const CalledGroup& g = hand.calls[c];
        const int size = g.kind == CallKind::chi || g.kind == CallKind::pon ? 3 : 4;
        text += std::string(" ") + call_words[static_cast<int>(g.kind) % 5] + ":" +
                format_tiles(g.tiles, size, true);
    }
    const TileKind* kinds[] = {hand.dora_indicators, hand.back_dora_indicators};
    const int counts[] = {hand.dora_indicator_count, hand.back_dora_indicator_count};
    for (int list = 0; list < 2; ++list) {
        Tile tiles[max_dora_indicators];
        const int n = counts[list] < max_dora_indicators ? counts[list] : max_dora_indicators;
        for (int i = 0; i < n; ++i) {
            tiles[i] = Tile{kinds[list][i], false};
        }
        if (n > 0) {
            text += std::string(list == 0 ? " dora:" : " ura:") + format_tiles(tiles, n, false);
        }
    }
    return text;
}

// The scorer's answer as oracle_answers.txt records it: "han fu payment", "Y<count> - payment"
// for a yakuman, "none" for a hand without a yaku, else "error: " and the reason.
inline std::string answer_of(const HandScore& score, ScoreError error) {
    if (error == ScoreError::no_yaku) {
        return "none";
    }
    if (error != ScoreError::none) {
        return std::string("error: ") + score_error_text(error);
    }
    if (score.han == 0 && score.yakuman_count > 0) {
        return "Y" + std::to_string(score.yakuman_count) + " - " + score.payment;
    }
    return std::to_string(score.han) + " " + std::to_string(score.fu) + " " + score.payment;
}

} // namespace hand_notation
