#include "tallydrill/scoring/question_hand.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const wind_words[] = {"East", "South", "West", "North"};

constexpr const char* riichi_phrase = "You declared riichi and win by ";
constexpr const char* open_phrase = "Open hand; you win by ";
constexpr const char* closed_phrase = "Closed hand, no riichi; you win by ";
constexpr const char* ron_phrase = "ron on a discard.";
constexpr const char* tsumo_phrase = "tsumo (self-draw).";

// Walks a text field that need not be terminated inside its capacity.
struct TextCursor {
    const char* text;
    std::size_t length;
    std::size_t at;

    bool take(const char* word) {
        const std::size_t n = std::strlen(word);
        if (length - at < n || std::memcmp(text + at, word, n) != 0) {
            return false;
        }
        at += n;
        return true;
    }
    bool take_wind(Wind& wind) {
        for (int w = 0; w < 4; ++w) {
            if (take(wind_words[w])) {
                wind = static_cast<Wind>(w);
                return true;
            }
        }
        return false;
    }
};

// The tile of an upright or sideways picture code; false for backs, blanks and separators.
bool tile_of_code(TileCode code, Tile& tile) {
    if (is_sideways_code(code)) {
        code = static_cast<TileCode>(code - first_sideways_code);
    }
    if (code >= 2 && code <= 8) {
        tile = Tile{static_cast<TileKind>(first_honour_kind + code - 2), false};
        return true;
    }
    if (code >= 10 && code <= 39) {
        const int suit = code / 10 - 1;
        const int number = code % 10;
        tile = Tile{static_cast<TileKind>(suit * 9 + (number == 0 ? 4 : number - 1)), number == 0};
        return true;
    }
    return false;
}

TileCode code_of_tile(Tile tile) {
    if (tile.kind >= first_honour_kind) {
        return static_cast<TileCode>(tile.kind - first_honour_kind + 2);
    }
    const int suit = tile.kind / 9;
    const int number = tile.kind % 9 + 1;
    return static_cast<TileCode>((suit + 1) * 10 + (tile.red ? 0 : number));
}

TileCode sideways(TileCode code) {
    return static_cast<TileCode>(code + first_sideways_code);
}

constexpr TileCode back_code = 1;
constexpr TileCode group_separator = 90;

void set_why(char* why, std::size_t capacity, const char* text) {
    if (why == nullptr || capacity == 0) {
        return;
    }
    std::snprintf(why, capacity, "%s", text);
}

// One called group's picture codes read as a group; false when it is no chi, pon or kan.
bool read_group(const TileCode* codes, std::size_t count, CalledGroup& group) {
    if (count < 3 || count > 4) {
        return false;
    }
    group = CalledGroup{};
    if (count == 4 && codes[0] == back_code && codes[3] == back_code) {
        Tile shown[2];
        if (!is_upright_code(codes[1]) || !is_upright_code(codes[2]) ||
            !tile_of_code(codes[1], shown[0]) || !tile_of_code(codes[2], shown[1]) ||
            shown[0].kind != shown[1].kind) {
            return false;
        }
        group.kind = CallKind::closed_kan;
        group.tiles[0] = Tile{shown[0].kind, false};
        group.tiles[1] = shown[0];
        group.tiles[2] = shown[1];
        group.tiles[3] = Tile{shown[0].kind, false};
        return true;
    }
    int sideways_count = 0;
    int first_sideways = -1;
    for (std::size_t i = 0; i < count; ++i) {
        if (!tile_of_code(codes[i], group.tiles[i])) {
            return false;
        }
        if (is_sideways_code(codes[i])) {
            if (first_sideways < 0) {
                first_sideways = static_cast<int>(i);
            }
            ++sideways_count;
        }
    }
    bool same_kind = true;
    for (std::size_t i = 1; i < count; ++i) {
        same_kind = same_kind && group.tiles[i].kind == group.tiles[0].kind;
    }
    group.called = static_cast<std::uint8_t>(first_sideways < 0 ? 0 : first_sideways);
    if (count == 3) {
        if (sideways_count != 1) {
            return false;
        }
        if (same_kind) {
            group.kind = CallKind::pon;
            group.source = static_cast<CallSource>(first_sideways);
            return true;
        }
        // A chi is called from the left only, and the called tile is drawn at the left.
        if (first_sideways != 0) {
            return false;
        }
        Tile sorted[3] = {group.tiles[0], group.tiles[1], group.tiles[2]};
        for (int i = 0; i < 3; ++i) {
            for (int j = i + 1; j < 3; ++j) {
                if (sorted[j].kind < sorted[i].kind) {
                    const Tile t = sorted[i];
                    sorted[i] = sorted[j];
                    sorted[j] = t;
                }
            }
        }
        const TileKind low = sorted[0].kind;
        if (low >= first_honour_kind || low % 9 > 6 || sorted[1].kind != low + 1 ||
            sorted[2].kind != low + 2) {
            return false;
        }
        group.kind = CallKind::chi;
        group.source = CallSource::left;
        group.called = static_cast<std::uint8_t>(group.tiles[0].kind - low);
        for (int i = 0; i < 3; ++i) {
            group.tiles[i] = sorted[i];
        }
        return true;
    }
    if (!same_kind) {
        return false;
    }
    if (sideways_count == 1) {
        // Open kan: the sideways tile at the left, second (across) or right.
        group.kind = CallKind::open_kan;
        group.source = first_sideways == 0   ? CallSource::left
                       : first_sideways == 3 ? CallSource::right
                                             : CallSource::across;
        return true;
    }
    if (sideways_count == 2 && is_sideways_code(codes[first_sideways + 1])) {
        // Added kan: the called tile with the added one stacked on it.
        group.kind = CallKind::added_kan;
        group.source = static_cast<CallSource>(first_sideways);
        return true;
    }
    return false;
}

// Reads an indicator list; false when a code is not a tile or there are too many.
bool read_indicators(const TileCode* list, std::size_t capacity, TileKind* kinds, int& count) {
    const std::size_t length = tile_list_length(list, capacity);
    if (length > static_cast<std::size_t>(max_dora_indicators)) {
        return false;
    }
    count = 0;
    for (std::size_t i = 0; i < length; ++i) {
        Tile tile;
        if (!is_upright_code(list[i]) || !tile_of_code(list[i], tile)) {
            return false;
        }
        kinds[count++] = tile.kind;
    }
    return true;
}

bool is_kan(CallKind kind) {
    return kind == CallKind::open_kan || kind == CallKind::added_kan ||
           kind == CallKind::closed_kan;
}

} // namespace

bool read_situation(const char* text, std::size_t capacity, HandSituation& situation,
                    bool& open_hand) {
    if (text == nullptr) {
        return false;
    }
    TextCursor cursor{text, text_field_length(text, capacity), 0};
    HandSituation read{};
    if (!cursor.take_wind(read.round_wind) || static_cast<int>(read.round_wind) > 1 ||
        !cursor.take(" round, you sit ") || !cursor.take_wind(read.seat_wind)) {
        return false;
    }
    const bool dealer = read.seat_wind == Wind::east;
    if (!cursor.take(dealer ? " (dealer)" : " (non-dealer)") ||
        !cursor.take(". What is the payment?\\n")) {
        return false;
    }
    bool open = false;
    if (cursor.take(riichi_phrase)) {
        read.riichi = true;
    } else if (cursor.take(open_phrase)) {
        open = true;
    } else if (!cursor.take(closed_phrase)) {
        return false;
    }
    if (cursor.take(tsumo_phrase)) {
        read.tsumo = true;
    } else if (!cursor.take(ron_phrase)) {
        return false;
    }
    if (cursor.at != cursor.length) {
        return false;
    }
    situation = read;
    open_hand = open;
    return true;
}

bool write_situation(const HandSituation& situation, bool open_hand, char* text,
                     std::size_t capacity) {
    if (text == nullptr || capacity == 0 || static_cast<int>(situation.round_wind) > 1 ||
        static_cast<int>(situation.seat_wind) > 3 || (open_hand && situation.riichi)) {
        return false;
    }
    char line[160];
    const bool dealer = situation.seat_wind == Wind::east;
    const int length = std::snprintf(
        line, sizeof line, "%s round, you sit %s (%s). What is the payment?\\n%s%s",
        wind_words[static_cast<int>(situation.round_wind)],
        wind_words[static_cast<int>(situation.seat_wind)], dealer ? "dealer" : "non-dealer",
        situation.riichi ? riichi_phrase
        : open_hand      ? open_phrase
                         : closed_phrase,
        situation.tsumo ? tsumo_phrase : ron_phrase);
    if (length < 0 || static_cast<std::size_t>(length) >= capacity) {
        return false;
    }
    std::memset(text, 0, capacity);
    std::memcpy(text, line, static_cast<std::size_t>(length));
    return true;
}

bool read_question_hand(const QuestionRecord& record, HandInput& hand, char* why,
                        std::size_t why_capacity) {
    set_why(why, why_capacity, "");
    HandInput read{};
    bool open_text = false;
    if (!read_situation(record.question_text, question_text_capacity, read.situation, open_text)) {
        set_why(why, why_capacity, "the question text does not state the situation as expected");
        return false;
    }

    const std::size_t length = hand_length(record);
    std::size_t at = 0;
    while (at < length && !is_separator_code(record.hand[at])) {
        Tile tile;
        if (!is_upright_code(record.hand[at]) || !tile_of_code(record.hand[at], tile)) {
            char text[96];
            std::snprintf(text, sizeof text, "code %d is no concealed tile", record.hand[at]);
            set_why(why, why_capacity, text);
            return false;
        }
        if (read.concealed_count == max_concealed_tiles) {
            set_why(why, why_capacity, "a hand of the wrong size: more than 13 concealed tiles");
            return false;
        }
        read.concealed[read.concealed_count++] = tile;
        ++at;
    }
    int kans = 0;
    bool open_calls = false;
    while (at < length) {
        const std::size_t start = ++at; // past the separator
        while (at < length && !is_separator_code(record.hand[at])) {
            ++at;
        }
        if (read.call_count == max_called_groups) {
            set_why(why, why_capacity, "a hand of the wrong size: more than four called groups");
            return false;
        }
        CalledGroup& group = read.calls[read.call_count];
        if (!read_group(record.hand + start, at - start, group)) {
            char text[96];
            std::snprintf(text, sizeof text, "called group %d is no chi, pon or kan",
                          read.call_count + 1);
            set_why(why, why_capacity, text);
            return false;
        }
        kans += is_kan(group.kind) ? 1 : 0;
        open_calls = open_calls || group.kind != CallKind::closed_kan;
        ++read.call_count;
    }
    if (read.concealed_count != max_concealed_tiles - 3 * read.call_count) {
        char text[96];
        std::snprintf(text, sizeof text,
                      "a hand of the wrong size: %d concealed tiles with %d called groups",
                      read.concealed_count, read.call_count);
        set_why(why, why_capacity, text);
        return false;
    }
    if (!is_upright_code(record.winning_tile) ||
        !tile_of_code(record.winning_tile, read.winning_tile)) {
        set_why(why, why_capacity, "the winning tile is no tile");
        return false;
    }
    if (open_calls != open_text) {
        set_why(why, why_capacity,
                open_text ? "the text says open hand but no group is called from a discard"
                          : "the text says closed hand but a group is called from a discard");
        return false;
    }
    if (!read_indicators(record.dora_indicators, dora_list_capacity, read.dora_indicators,
                         read.dora_indicator_count) ||
        !read_indicators(record.back_dora, dora_list_capacity, read.back_dora_indicators,
                         read.back_dora_indicator_count)) {
        set_why(why, why_capacity, "an indicator is no tile, or there are more than five");
        return false;
    }
    if (read.dora_indicator_count != 1 + kans ||
        read.back_dora_indicator_count != (read.situation.riichi ? 1 + kans : 0)) {
        set_why(why, why_capacity,
                "the indicators are not one plus one per kan (back dora for riichi only)");
        return false;
    }

    // Five of a tile, counting the indicators, which are tiles of the same set.
    int seen[tile_kind_count] = {};
    int red_seen[3] = {};
    auto count = [&](Tile tile) {
        ++seen[tile.kind];
        if (tile.red) {
            ++red_seen[tile.kind / 9];
        }
    };
    for (int i = 0; i < read.concealed_count; ++i) {
        count(read.concealed[i]);
    }
    for (int c = 0; c < read.call_count; ++c) {
        for (int i = 0; i < (is_kan(read.calls[c].kind) ? 4 : 3); ++i) {
            count(read.calls[c].tiles[i]);
        }
    }
    count(read.winning_tile);
    for (int i = 0; i < read.dora_indicator_count; ++i) {
        ++seen[read.dora_indicators[i]];
    }
    for (int i = 0; i < read.back_dora_indicator_count; ++i) {
        ++seen[read.back_dora_indicators[i]];
    }
    for (int kind = 0; kind < tile_kind_count; ++kind) {
        if (seen[kind] > 4) {
            char text[96];
            std::snprintf(text, sizeof text, "five of a tile: code %d appears %d times",
                          code_of_tile(Tile{static_cast<TileKind>(kind), false}), seen[kind]);
            set_why(why, why_capacity, text);
            return false;
        }
    }
    for (int suit = 0; suit < 3; ++suit) {
        if (red_seen[suit] > 1) {
            set_why(why, why_capacity, "two red fives of one suit");
            return false;
        }
    }
    hand = read;
    return true;
}

bool write_question_hand(const HandInput& hand, QuestionRecord& record) {
    if (hand.concealed_count < 0 || hand.concealed_count > max_concealed_tiles ||
        hand.call_count < 0 || hand.call_count > max_called_groups ||
        hand.dora_indicator_count < 0 || hand.dora_indicator_count > max_dora_indicators ||
        hand.back_dora_indicator_count < 0 ||
        hand.back_dora_indicator_count > max_dora_indicators) {
        return false;
    }
    auto valid = [](Tile tile) {
        return tile.kind < tile_kind_count && (!tile.red || tile.kind % 9 == 4) &&
               (!tile.red || tile.kind < first_honour_kind);
    };
    TileCode codes[hand_capacity];
    std::size_t n = 0;
    auto put = [&](TileCode code) {
        if (n < hand_capacity) {
            codes[n] = code;
        }
        ++n;
    };

    // Concealed tiles sorted man, pin, sou, honours; a red five where its five goes.
    Tile sorted[max_concealed_tiles];
    for (int i = 0; i < hand.concealed_count; ++i) {
        if (!valid(hand.concealed[i])) {
            return false;
        }
        sorted[i] = hand.concealed[i];
    }
    for (int i = 1; i < hand.concealed_count; ++i) {
        for (int j = i; j > 0 && sorted[j].kind < sorted[j - 1].kind; --j) {
            const Tile t = sorted[j];
            sorted[j] = sorted[j - 1];
            sorted[j - 1] = t;
        }
    }
    for (int i = 0; i < hand.concealed_count; ++i) {
        put(code_of_tile(sorted[i]));
    }

    for (int c = 0; c < hand.call_count; ++c) {
        const CalledGroup& group = hand.calls[c];
        const int size = is_kan(group.kind) ? 4 : 3;
        if (static_cast<int>(group.kind) > static_cast<int>(CallKind::closed_kan) ||
            static_cast<int>(group.source) > static_cast<int>(CallSource::right) ||
            group.called >= size) {
            return false;
        }
        for (int i = 0; i < size; ++i) {
            if (!valid(group.tiles[i])) {
                return false;
            }
        }
        put(group_separator);
        // The called tile first, then the others in order.
        Tile order[4];
        int k = 0;
        order[k++] = group.tiles[group.called];
        for (int i = 0; i < size; ++i) {
            if (i != group.called) {
                order[k++] = group.tiles[i];
            }
        }
        switch (group.kind) {
        case CallKind::chi:
            put(sideways(code_of_tile(order[0])));
            put(code_of_tile(order[1]));
            put(code_of_tile(order[2]));
            break;
        case CallKind::pon:
        case CallKind::open_kan: {
            // The sideways tile at the left, across (second) or right.
            const int slot = group.source == CallSource::left     ? 0
                             : group.source == CallSource::across ? 1
                                                                  : size - 1;
            int next = 1;
            for (int i = 0; i < size; ++i) {
                put(i == slot ? sideways(code_of_tile(order[0])) : code_of_tile(order[next++]));
            }
            break;
        }
        case CallKind::added_kan: {
            // The stacked pair shows one picture twice: a red five stays upright.
            for (int i = 0; i < 2; ++i) {
                if (order[i].red) {
                    const Tile red = order[i];
                    order[i] = order[3];
                    order[3] = red;
                }
            }
            const int slot = static_cast<int>(group.source); // the stacked pair starts here
            int next = 2;
            for (int i = 0; i < 4; ++i) {
                if (i == slot || i == slot + 1) {
                    put(sideways(code_of_tile(order[i - slot])));
                } else {
                    put(code_of_tile(order[next++]));
                }
            }
            break;
        }
        case CallKind::closed_kan: {
            // The two face-up tiles show a red five when the kan holds one.
            Tile face[2] = {group.tiles[0], group.tiles[1]};
            for (int i = 0; i < 4; ++i) {
                if (group.tiles[i].red) {
                    face[0] = group.tiles[i];
                    face[1] = Tile{group.tiles[i].kind, false};
                }
            }
            put(back_code);
            put(code_of_tile(face[0]));
            put(code_of_tile(face[1]));
            put(back_code);
            break;
        }
        }
    }
    if (n > hand_capacity) {
        return false;
    }
    if (!valid(hand.winning_tile)) {
        return false;
    }
    auto indicators_valid = [](const TileKind* kinds, int count) {
        for (int i = 0; i < count; ++i) {
            if (kinds[i] >= tile_kind_count) {
                return false;
            }
        }
        return true;
    };
    if (!indicators_valid(hand.dora_indicators, hand.dora_indicator_count) ||
        !indicators_valid(hand.back_dora_indicators, hand.back_dora_indicator_count)) {
        return false;
    }

    std::memset(record.hand, 0, sizeof record.hand);
    for (std::size_t i = 0; i < n; ++i) {
        record.hand[i] = codes[i];
    }
    if (n < hand_capacity) {
        record.hand[n] = end_of_list_code;
    }
    record.winning_tile = code_of_tile(hand.winning_tile);
    auto write_list = [](TileCode* list, const TileKind* kinds, int count) {
        std::memset(list, 0, dora_list_capacity);
        for (int i = 0; i < count; ++i) {
            list[i] = code_of_tile(Tile{kinds[i], false});
        }
        list[count] = end_of_list_code;
    };
    write_list(record.dora_indicators, hand.dora_indicators, hand.dora_indicator_count);
    write_list(record.back_dora, hand.back_dora_indicators, hand.back_dora_indicator_count);
    return true;
}
