// Every generated question passes `check`; the same bytes for a seed are held by cli_test.sh.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tallydrill/cli/question_check.h"
#include "tallydrill/generator/question_generator.h"
#include "tallydrill/practice/score_answer.h"

namespace {

std::vector<std::string> problems_of(const QuestionRecord& record) {
    return check_question(reinterpret_cast<const std::uint8_t*>(&record), sizeof record);
}

TEST(GeneratedQuestions, EveryLevelPassesCheck) {
    for (QuestionLevel level : {QuestionLevel::basic, QuestionLevel::fu, QuestionLevel::limits,
                                QuestionLevel::yakuman, QuestionLevel::all}) {
        for (std::uint32_t i = 0; i < 1000; ++i) {
            SCOPED_TRACE(testing::Message() << question_level_name(level) << " question " << i);
            GeneratedQuestion q;
            ASSERT_TRUE(generate_question(20261207, i, level, q));
            EXPECT_EQ(problems_of(q.record), std::vector<std::string>());
            for (std::size_t w = 1; w < answer_count; ++w) { // the wrong ones are scores too
                EXPECT_FALSE(parse_score_answer(answer_text(q.record, w)).invalid);
            }
        }
    }
}

TEST(GeneratedQuestions, CheckNamesAnswersThatDisagreeWithTheScore) {
    GeneratedQuestion q;
    ASSERT_TRUE(generate_question(3, 0, QuestionLevel::basic, q));
    const std::string quoted = std::string("\"") + q.score.payment + "\"";
    std::strcpy(q.record.answers[0], "1");
    std::strcpy(q.record.answers[2], q.score.payment);
    EXPECT_EQ(problems_of(q.record),
              (std::vector<std::string>{"answer_right: \"1\" is not the hand's payment " + quoted,
                                        "answer_wrong_2: " + quoted +
                                            " reads as the hand's payment " + quoted}));
    q.record.winning_tile = 1; // a tile back: a hand of 13 tiles
    EXPECT_EQ(problems_of(q.record).back().rfind("hand: cannot be scored: ", 0), 0u);
}

} // namespace
