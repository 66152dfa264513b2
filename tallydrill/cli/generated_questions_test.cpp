// Generated banks held against the question tools: every question of every level passes `check`
// (which scores the hand, holds the answers against the payment and requires three distinct
// wrong ones), fits its level, shows the indicators a table would, explains itself within the
// explanation field, and comes out the same for the same seed.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tallydrill/cli/question_check.h"
#include "tallydrill/cli/question_score.h"
#include "tallydrill/generator/question_generator.h"
#include "tallydrill/practice/score_answer.h"
#include "tallydrill/questions/text_field_test_support.h"

namespace {

constexpr std::uint32_t questions_per_level = 1000;

const QuestionLevel dealt_levels[] = {QuestionLevel::basic, QuestionLevel::fu,
                                      QuestionLevel::limits, QuestionLevel::yakuman,
                                      QuestionLevel::all};

bool fits_level(const GeneratedQuestion& q) {
    const HandScore& s = q.score;
    switch (q.level) {
    case QuestionLevel::basic:
        return s.limit == LimitName::none && s.han >= 1 && s.han <= 3 && s.fu <= 40;
    case QuestionLevel::fu:
        return s.limit == LimitName::none && s.fu >= 40 && s.fu <= 110;
    case QuestionLevel::limits:
        return s.limit != LimitName::none && s.limit != LimitName::yakuman;
    case QuestionLevel::yakuman:
        return s.yakuman_count > 0;
    default:
        return false; // a question is dealt for one level
    }
}

TEST(GeneratedQuestions, EveryLevelPassesCheckAndFitsItsLevel) {
    std::set<int> yaku_seen;
    for (QuestionLevel level : dealt_levels) {
        std::set<int> levels_dealt;
        for (std::uint32_t i = 0; i < questions_per_level; ++i) {
            SCOPED_TRACE(testing::Message() << question_level_name(level) << " question " << i);
            GeneratedQuestion q;
            ASSERT_TRUE(generate_question(20261207, i, level, q));
            levels_dealt.insert(static_cast<int>(q.level));
            if (level != QuestionLevel::all) {
                EXPECT_EQ(q.level, level);
            }
            EXPECT_TRUE(fits_level(q)) << q.score.han << " han " << q.score.fu << " fu";
            for (int y = 0; y < q.score.yaku_count; ++y) {
                yaku_seen.insert(static_cast<int>(q.score.yaku[y].yaku));
            }
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(&q.record);
            const std::vector<std::string> problems = check_question(bytes, sizeof q.record);
            EXPECT_TRUE(problems.empty()) << problems.front();
            const QuestionScoreReport report = score_question(q.record);
            EXPECT_EQ(report.verdict, ScoreVerdict::agrees) << report.why << report.text;

            const std::string right(answer_text(q.record, 0));
            for (std::size_t w = 1; w < answer_count; ++w) {
                EXPECT_FALSE(parse_score_answer(answer_text(q.record, w)).invalid);
            }
            // A kan shows one more indicator; back dora only for riichi.
            int kans = 0;
            for (int c = 0; c < q.hand.call_count; ++c) {
                kans += q.hand.calls[c].kind >= CallKind::open_kan ? 1 : 0;
            }
            EXPECT_EQ(q.hand.dora_indicator_count, 1 + kans);
            EXPECT_EQ(q.hand.back_dora_indicator_count, q.hand.situation.riichi ? 1 + kans : 0);
            // The explanation: six lines of 64 characters at most, inside its field, with every
            // number of the payment.
            const std::string text(text_field(q.record.explanation, explanation_capacity));
            EXPECT_LT(text.size(), explanation_capacity);
            EXPECT_TRUE(fits_lines(text, 6, 64)) << text;
            std::stringstream numbers(right);
            for (std::string number; numbers >> number;) {
                EXPECT_TRUE(number == "a" || has_word(text, number)) << number << " in " << text;
            }
        }
        if (level == QuestionLevel::all) {
            EXPECT_EQ(levels_dealt.size(), 4u) << "a mixed bank holds every level";
        }
    }
    for (int y = 0; y < yaku_count; ++y) {
        EXPECT_EQ(yaku_seen.count(y), 1u) << "no question has " << yaku_name(static_cast<Yaku>(y));
    }
}

// The bytes depend on the seed and the question's number only: dealing again, or dealing a
// question without those before it, gives the same record.
TEST(GeneratedQuestions, TheSameSeedGivesTheSameBytes) {
    std::set<std::string> distinct;
    for (std::uint64_t seed : {0ULL, 1ULL, 18446744073709551615ULL}) {
        for (std::uint32_t i : {0u, 1u, 99u}) {
            GeneratedQuestion first;
            GeneratedQuestion again;
            ASSERT_TRUE(generate_question(seed, i, QuestionLevel::all, first));
            ASSERT_TRUE(generate_question(seed, i, QuestionLevel::all, again));
            EXPECT_EQ(std::memcmp(&first.record, &again.record, sizeof first.record), 0);
            distinct.insert(
                std::string(reinterpret_cast<const char*>(&first.record), sizeof first.record));
        }
    }
    EXPECT_EQ(distinct.size(), 9u) << "other seeds and numbers deal other questions";
}

void set_answer(QuestionRecord& record, std::size_t entry, const std::string& text) {
    std::memset(record.answers[entry], 0, answer_text_capacity);
    std::memcpy(record.answers[entry], text.data(), text.size());
}

// check holds a stated situation's answers against the score: a right answer that is not the
// payment, a wrong one that is, and a hand that cannot be scored are named with their values.
TEST(GeneratedQuestions, CheckNamesAnswersThatDisagreeWithTheScore) {
    GeneratedQuestion q;
    ASSERT_TRUE(generate_question(3, 0, QuestionLevel::basic, q));
    const std::string payment = q.score.payment;
    const auto problems_of = [](const QuestionRecord& record) {
        return check_question(reinterpret_cast<const std::uint8_t*>(&record), sizeof record);
    };

    const std::string quoted = "\"" + payment + "\"";
    QuestionRecord record = q.record;
    set_answer(record, 0, "1");
    set_answer(record, 2, payment);
    EXPECT_EQ(problems_of(record),
              (std::vector<std::string>{"answer_right: \"1\" is not the hand's payment " + quoted,
                                        "answer_wrong_2: " + quoted +
                                            " reads as the hand's payment " + quoted}));

    record = q.record;
    record.winning_tile = 1; // a tile back: a hand of 13 tiles
    const std::vector<std::string> broken = problems_of(record);
    ASSERT_FALSE(broken.empty());
    EXPECT_EQ(broken.back().rfind("hand: cannot be scored: ", 0), 0u) << broken.back();

    record = q.record;
    std::memcpy(record.question_text, "Ron.", 5); // no situation stated: nothing to score
    set_answer(record, 0, "1");
    EXPECT_EQ(problems_of(record), std::vector<std::string>());
}

} // namespace
