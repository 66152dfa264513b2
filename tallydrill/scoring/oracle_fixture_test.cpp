// The hands of oracle_answers.txt with the answers of the independent scorer
// (@kobalab/majiang-core, recorded by `make oracle`-style runs of tools/oracle/compare.js):
// this scorer must give the same han, fu and payment, the same yakuman count, or no yaku.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tallydrill/scoring/hand_notation_test_support.h"

namespace {

std::string our_answer(const HandScore& score, ScoreError error) {
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

TEST(OracleFixture, EveryHandScoresAsTheOracleDid) {
    std::ifstream in(ORACLE_ANSWERS_PATH);
    ASSERT_TRUE(in) << ORACLE_ANSWERS_PATH;
    std::string line;
    int hands = 0;
    while (std::getline(in, line)) {
        const std::size_t arrow = line.find(" => ");
        ASSERT_NE(arrow, std::string::npos) << line;
        HandInput hand;
        ASSERT_TRUE(hand_notation::parse_hand(line.substr(0, arrow), hand)) << line;
        HandScore score;
        const ScoreError error = score_hand(hand, score);
        EXPECT_EQ(our_answer(score, error), line.substr(arrow + 4)) << line;
        ++hands;
    }
    EXPECT_GE(hands, 2000);
}

} // namespace
