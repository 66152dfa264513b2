// The situation sentence and the tile codes of a question, written and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "tallydrill/scoring/hand_notation_test_support.h"
#include "tallydrill/scoring/question_hand.h"

namespace {

TEST(Situation, EveryCombinationReadsBackAsWritten) {
    for (int round = 0; round < 2; ++round) {
        for (int seat = 0; seat < 4; ++seat) {
            for (int form = 0; form < 3; ++form) { // riichi, open, closed without riichi
                for (int tsumo = 0; tsumo < 2; ++tsumo) {
                    const HandSituation written{static_cast<Wind>(round), static_cast<Wind>(seat),
                                                form == 0, tsumo == 1};
                    char text[question_text_capacity];
                    ASSERT_TRUE(write_situation(written, form == 1, text, sizeof text));
                    HandSituation read{};
                    bool open = false;
                    ASSERT_TRUE(read_situation(text, sizeof text, read, open)) << text;
                    EXPECT_EQ(std::make_tuple(read.round_wind, read.seat_wind, read.riichi,
                                              read.tsumo, open),
                              std::make_tuple(written.round_wind, written.seat_wind, written.riichi,
                                              written.tsumo, form == 1));
                }
            }
        }
    }
}

TEST(Situation, RefusesOtherWordsAndSmallFields) {
    const std::string good = "South round, you sit East (dealer). What is the payment?\\nOpen "
                             "hand; you win by tsumo (self-draw).";
    const std::string bad[] = {
        "South round, you sit West (dealer). What is the payment?\\nOpen hand; you win by tsumo "
        "(self-draw).",
        good + " Quickly.",
        good.substr(0, good.size() - 1),
        "North round, you sit East (dealer). What is the payment?\\nOpen hand; you win by tsumo "
        "(self-draw).",
    };
    HandSituation situation;
    bool open;
    EXPECT_TRUE(read_situation(good.c_str(), good.size(), situation, open)); // no NUL needed
    for (const std::string& text : bad) {
        EXPECT_FALSE(read_situation(text.c_str(), text.size() + 1, situation, open)) << text;
    }
    char small[40];
    std::memset(small, 'x', sizeof small);
    EXPECT_FALSE(write_situation(situation, open, small, sizeof small));
    EXPECT_EQ(small[0], 'x');
}

// A hand reduced to what a drawing keeps: tiles as multisets, calls with their source.
std::string normal_form(const HandInput& hand) {
    auto tile_text = [](Tile t) { return std::to_string(t.kind) + (t.red ? "r" : "") + " "; };
    std::vector<std::string> concealed;
    for (int i = 0; i < hand.concealed_count; ++i) {
        concealed.push_back(tile_text(hand.concealed[i]));
    }
    std::sort(concealed.begin(), concealed.end());
    std::string text;
    for (const std::string& t : concealed) {
        text += t;
    }
    text += "| " + tile_text(hand.winning_tile);
    for (int c = 0; c < hand.call_count; ++c) {
        const CalledGroup& g = hand.calls[c];
        const int size = g.kind == CallKind::chi || g.kind == CallKind::pon ? 3 : 4;
        std::vector<std::string> tiles;
        for (int i = 0; i < size; ++i) {
            tiles.push_back(tile_text(g.tiles[i]));
        }
        std::sort(tiles.begin(), tiles.end());
        text += "| call " + std::to_string(static_cast<int>(g.kind)) + " from " +
                std::to_string(g.kind == CallKind::closed_kan ? 0 : static_cast<int>(g.source));
        if (g.kind == CallKind::chi) {
            text += " taking " + std::to_string(g.tiles[g.called].kind);
        }
        for (const std::string& t : tiles) {
            text += " " + t;
        }
    }
    text += "| dora";
    for (int i = 0; i < hand.dora_indicator_count; ++i) {
        text += " " + std::to_string(hand.dora_indicators[i]);
    }
    text += " ura";
    for (int i = 0; i < hand.back_dora_indicator_count; ++i) {
        text += " " + std::to_string(hand.back_dora_indicators[i]);
    }
    const HandSituation& s = hand.situation;
    return text + " | " + std::to_string(static_cast<int>(s.round_wind)) +
           std::to_string(static_cast<int>(s.seat_wind)) + std::to_string(s.riichi) +
           std::to_string(s.tsumo);
}

// Every hand of the oracle's answers, its calls drawn from every side, drawn into a record and
// read back.
TEST(QuestionHand, WrittenHandsReadBackTheSame) {
    std::ifstream in(ORACLE_ANSWERS_PATH);
    ASSERT_TRUE(in);
    std::string line;
    int round_trips = 0;
    int line_number = 0;
    while (std::getline(in, line)) {
        ++line_number;
        HandInput hand;
        ASSERT_TRUE(hand_notation::parse_hand(line.substr(0, line.find(" => ")), hand));
        bool open = false;
        for (int c = 0; c < hand.call_count; ++c) {
            CalledGroup& g = hand.calls[c];
            open = open || g.kind != CallKind::closed_kan;
            g.source = g.kind == CallKind::chi ? CallSource::left
                                               : static_cast<CallSource>((line_number + c) % 3);
            g.called = static_cast<std::uint8_t>((line_number + 2 * c) % 3);
        }
        QuestionRecord record{};
        ASSERT_TRUE(
            write_situation(hand.situation, open, record.question_text, question_text_capacity));
        ASSERT_TRUE(write_question_hand(hand, record)) << line;
        for (std::size_t i = 0; i + 1 < hand_capacity; ++i) {
            if (is_sideways_code(record.hand[i]) && is_sideways_code(record.hand[i + 1])) {
                EXPECT_EQ(record.hand[i], record.hand[i + 1]) << "a stacked pair: " << line;
            }
        }
        HandInput read;
        char why[96];
        if (!read_question_hand(record, read, why, sizeof why)) {
            // Hands written for the scorer alone may break the indicator rules of a question.
            EXPECT_TRUE(std::strstr(why, "indicator") || std::strstr(why, "five of a tile"))
                << line << ": " << why;
            continue;
        }
        EXPECT_EQ(normal_form(read), normal_form(hand)) << line;
        ++round_trips;
    }
    EXPECT_GE(round_trips, 2000);
}

// A pack question (q04: an open hand with a chi) with one field spoiled at a time.
TEST(QuestionHand, ReadingSaysWhyItRefuses) {
    QuestionRecord base{};
    const TileCode hand[] = {12, 13, 14, 16, 17, 18, 35, 35, 36, 37, 90, 64, 23, 25, 255};
    std::memcpy(base.hand, hand, sizeof hand);
    base.winning_tile = 38;
    base.dora_indicators[0] = 29;
    base.dora_indicators[1] = 255;
    base.back_dora[0] = 255;
    const char* text = "East round, you sit North (non-dealer). What is the payment?\\nOpen hand; "
                       "you win by ron on a discard.";
    std::memcpy(base.question_text, text, std::strlen(text));
    HandInput read;
    char why[96];
    ASSERT_TRUE(read_question_hand(base, read, why, sizeof why)) << why;

    struct Case {
        const char* expected_why; // the start of the reason
        void (*spoil)(QuestionRecord&);
    };
    const Case cases[] = {
        {"a hand of the wrong size", [](QuestionRecord& r) { r.hand[9] = 255; }},
        {"called group 1 is no chi", [](QuestionRecord& r) { r.hand[12] = 63; }},
        {"called group 1 is no chi", [](QuestionRecord& r) { r.hand[11] = 24; }},
        {"code 9 is no concealed tile", [](QuestionRecord& r) { r.hand[0] = 9; }},
        {"code 52 is no concealed tile", [](QuestionRecord& r) { r.hand[0] = 52; }},
        {"the winning tile is no tile", [](QuestionRecord& r) { r.winning_tile = 1; }},
        {"five of a tile",
         [](QuestionRecord& r) {
             r.hand[8] = 35;
             r.winning_tile = 35;
             r.dora_indicators[0] = 35;
         }},
        {"the indicators are not",
         [](QuestionRecord& r) {
             r.dora_indicators[1] = 11;
             r.dora_indicators[2] = 255;
         }},
        {"the text says open hand",
         [](QuestionRecord& r) {
             r.hand[10] = 24; // the chi's 3-4-5 pin concealed instead
             r.hand[11] = 23;
             r.hand[12] = 25;
             r.hand[13] = 255;
         }},
        {"the question text does not", [](QuestionRecord& r) { r.question_text[0] = 'W'; }},
    };
    for (const Case& c : cases) {
        QuestionRecord record = base;
        c.spoil(record);
        std::memset(why, 'x', sizeof why);
        EXPECT_FALSE(read_question_hand(record, read, why, sizeof why)) << c.expected_why;
        EXPECT_EQ(std::string(why).rfind(c.expected_why, 0), 0u) << why;
    }
}

} // namespace
