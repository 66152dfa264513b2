// A compact hand notation for the scorer's tests and tools:
//   "123m456p789s11z 1z ron E/S riichi chi:345p pon:555z kan:9999p added:6666p ankan:1111m
//    dora:1m ura:2p"
// Tiles are digits then their suit (m, p, s; z for honours 1-7: East South West North white
// green red); 0 is the red five. The first word is the concealed tiles, the second the winning
// tile, then ron or tsumo, the round and seat wind, and the options in any order.
#pragma once

#include <cstring>
#include <string>

#include "tallydrill/scoring/hand_score.h"

namespace hand_notation {

inline bool parse_tiles(const std::string& text, Tile* out, int capacity, int& count) {
    count = 0;
    std::string digits;
    for (char ch : text) {
        if (ch >= '0' && ch <= '9') {
            digits += ch;
            continue;
        }
        const char* suits = "mpsz";
        const char* at = std::strchr(suits, ch);
        if (at == nullptr || ch == 0 || digits.empty()) {
            return false;
        }
        const int suit = static_cast<int>(at - suits);
        for (char d : digits) {
            int n = d - '0';
            const bool red = n == 0;
            if (red) {
                n = 5;
            }
            if (count == capacity || (suit == 3 && (n < 1 || n > 7)) || (suit == 3 && red)) {
                return false;
            }
            out[count++] = Tile{static_cast<TileKind>(suit * 9 + n - 1), red};
        }
        digits.clear();
    }
    return digits.empty();
}

inline bool parse_wind(char ch, Wind& wind) {
    const char* winds = "ESWN";
    const char* at = ch == 0 ? nullptr : std::strchr(winds, ch);
    if (at == nullptr) {
        return false;
    }
    wind = static_cast<Wind>(at - winds);
    return true;
}

// Fills `hand` from the notation; false when it cannot be read.
inline bool parse_hand(const std::string& notation, HandInput& hand) {
    hand = HandInput{};
    std::string words[16];
    int word_count = 0;
    std::size_t at = 0;
    while (at < notation.size() && word_count < 16) {
        const std::size_t space = notation.find(' ', at);
        const std::size_t end = space == std::string::npos ? notation.size() : space;
        if (end > at) {
            words[word_count++] = notation.substr(at, end - at);
        }
        at = end + 1;
    }
    if (word_count < 4) {
        return false;
    }
    Tile win[1];
    int n = 0;
    if (!parse_tiles(words[0], hand.concealed, max_concealed_tiles, hand.concealed_count) ||
        !parse_tiles(words[1], win, 1, n) || n != 1) {
        return false;
    }
    hand.winning_tile = win[0];
    if (words[2] != "ron" && words[2] != "tsumo") {
        return false;
    }
    hand.situation.tsumo = words[2] == "tsumo";
    if (words[3].size() != 3 || words[3][1] != '/' ||
        !parse_wind(words[3][0], hand.situation.round_wind) ||
        !parse_wind(words[3][2], hand.situation.seat_wind)) {
        return false;
    }
    for (int w = 4; w < word_count; ++w) {
        const std::string& word = words[w];
        const std::size_t colon = word.find(':');
        const std::string key = word.substr(0, colon);
        const std::string value = colon == std::string::npos ? "" : word.substr(colon + 1);
        if (key == "riichi") {
            hand.situation.riichi = true;
            continue;
        }
        if (key == "dora" || key == "ura") {
            Tile tiles[max_dora_indicators];
            if (!parse_tiles(value, tiles, max_dora_indicators, n)) {
                return false;
            }
            TileKind* kinds = key == "dora" ? hand.dora_indicators : hand.back_dora_indicators;
            for (int i = 0; i < n; ++i) {
                kinds[i] = tiles[i].kind;
            }
            (key == "dora" ? hand.dora_indicator_count : hand.back_dora_indicator_count) = n;
            continue;
        }
        CallKind kind;
        if (key == "chi") {
            kind = CallKind::chi;
        } else if (key == "pon") {
            kind = CallKind::pon;
        } else if (key == "kan") {
            kind = CallKind::open_kan;
        } else if (key == "added") {
            kind = CallKind::added_kan;
        } else if (key == "ankan") {
            kind = CallKind::closed_kan;
        } else {
            return false;
        }
        if (hand.call_count == max_called_groups) {
            return false;
        }
        CalledGroup& group = hand.calls[hand.call_count++];
        group.kind = kind;
        if (!parse_tiles(value, group.tiles, 4, n) ||
            n != (kind == CallKind::chi || kind == CallKind::pon ? 3 : 4)) {
            return false;
        }
        if (kind != CallKind::chi && kind != CallKind::closed_kan) {
            group.source = CallSource::across;
        }
    }
    return true;
}

} // namespace hand_notation

namespace hand_notation {

inline std::string format_tiles(const Tile* tiles, int count, bool sort) {
    Tile sorted[16];
    const int n = count < 16 ? count : 16;
    for (int i = 0; i < n; ++i) {
        sorted[i] = tiles[i];
    }
    for (int i = 1; sort && i < n; ++i) {
        for (int j = i; j > 0 && sorted[j].kind < sorted[j - 1].kind; --j) {
            const Tile t = sorted[j];
            sorted[j] = sorted[j - 1];
            sorted[j - 1] = t;
        }
    }
    std::string text;
    int suit = -1;
    for (int i = 0; i < n; ++i) {
        const int s = sorted[i].kind / 9;
        if (suit >= 0 && s != suit) {
            text += "mpsz"[suit];
        }
        suit = s;
        text += sorted[i].red ? '0' : static_cast<char>('1' + sorted[i].kind % 9);
    }
    if (suit >= 0) {
        text += "mpsz"[suit];
    }
    return text;
}

// The notation of a hand, concealed tiles sorted; parse_hand reads it back.
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
    const char* keys[] = {"chi", "pon", "kan", "added", "ankan"};
    for (int c = 0; c < hand.call_count && c < max_called_groups; ++c) {
        const CalledGroup& g = hand.calls[c];
        const int size = g.kind == CallKind::chi || g.kind == CallKind::pon ? 3 : 4;
        text += std::string(" ") + keys[static_cast<int>(g.kind) % 5] + ":" +
                format_tiles(g.tiles, size, true);
    }
    auto indicators = [&](const char* key, const TileKind* kinds, int count) {
        Tile tiles[max_dora_indicators];
        const int n = count < max_dora_indicators ? count : max_dora_indicators;
        for (int i = 0; i < n; ++i) {
            tiles[i] = Tile{kinds[i], false};
        }
        if (n > 0) {
            text += std::string(" ") + key + ":" + format_tiles(tiles, n, false);
        }
    };
    indicators("dora", hand.dora_indicators, hand.dora_indicator_count);
    indicators("ura", hand.back_dora_indicators, hand.back_dora_indicator_count);
    return text;
}

} // namespace hand_notation
