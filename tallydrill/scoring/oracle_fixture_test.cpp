// The hands of oracle_answers.txt with the answers of the independent scorer
// (@kobalab/majiang-core, recorded by tools/oracle/compare.js); each is also drawn into a question
// record and read back.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "tallydrill/scoring/hand_notation_test_support.h"
#include "tallydrill/scoring/question_hand.h"

namespace {

// The notation, then each call's source and, for a chi, its tile.
std::string drawn_form(const HandInput& hand) {
    std::string calls;
    for (int c = 0; c < hand.call_count; ++c) {
        const CalledGroup& g = hand.calls[c];
        if (g.kind != CallKind::closed_kan) {
            calls += " from " + std::to_string(static_cast<int>(g.source));
        }
        if (g.kind == CallKind::chi) {
            calls += " taking " + std::to_string(g.tiles[g.called].kind);
        }
    }
    return hand_notation::format_hand(hand) + calls;
}

TEST(OracleFixture, EveryHandScoresAsTheOracleDidAndReadsBackFromARecord) {
    std::ifstream in(ORACLE_ANSWERS_PATH);
    std::string line;
    int hands = 0;
    int round_trips = 0;
    while (std::getline(in, line)) {
        const std::size_t arrow = line.find(" => ");
        ASSERT_NE(arrow, std::string::npos) << line;
        HandInput hand;
        ASSERT_TRUE(hand_notation::parse_hand(line.substr(0, arrow), hand)) << line;
        HandScore score;
        const ScoreError error = score_hand(hand, score);
        EXPECT_EQ(hand_notation::answer_of(score, error), line.substr(arrow + 4)) << line;
        ++hands;

        bool open = false;
        for (int c = 0; c < hand.call_count; ++c) {
            CalledGroup& g = hand.calls[c];
            open = open || g.kind != CallKind::closed_kan;
            g.source = g.kind == CallKind::chi ? CallSource::left
                                               : static_cast<CallSource>((hands + c) % 3);
            g.called = static_cast<std::uint8_t>((hands + 2 * c) % 3);
        }
        QuestionRecord record{};
        ASSERT_TRUE(
            write_situation(hand.situation, open, record.question_text, question_text_capacity));
        ASSERT_TRUE(write_question_hand(hand, record)) << line;
        HandInput read;
        char why[96];
        if (!read_question_hand(record, read, why, sizeof why)) {
            // Hands written for the scorer alone may break the indicator rules of a question.
            EXPECT_TRUE(std::strstr(why, "indicator") || std::strstr(why, "five of a tile"))
                << line << ": " << why;
            continue;
        }
        EXPECT_EQ(drawn_form(read), drawn_form(hand)) << line;
        ++round_trips;
    }
    EXPECT_TRUE(hands >= 2000 && round_trips >= 2000) << hands << " hands, " << round_trips;
}

} // namespace
