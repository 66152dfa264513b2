// Generated banks held against the question tools: every question of every level passes `check`
// (which scores the hand and holds the answers against the payment), fits its level, explains
// itself within the explanation field, and comes out the same for the same seed.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tallydrill/cli/question_check.h"
#include "tallydrill/cli/question_score.h"
#include "tallydrill/generator/question_generator.h"
#include "tallydrill/practice/score_answer.h"

namespace {

constexpr std::uint32_t questions_per_level = 1000;

const QuestionLevel dealt_levels[] = {QuestionLevel::basic, QuestionLevel::fu,
                                      QuestionLevel::limits, QuestionLevel::yakuman,
                                      QuestionLevel::all};

std::vector<std::string> lines_of(std::string_view text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            lines.emplace_back();
            ++i;
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

bool has_word(const std::string& text, const std::string& word) {
    std::size_t at = text.find(word);
    while (at != std::string::npos) {
        const bool starts = at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]));
        const std::size_t end = at + word.size();
        const bool ends =
            end == text.size() || !std::isdigit(static_cast<unsigned char>(text[end]));
        if (starts && ends) {
            return true;
        }
        at = text.find(word, at + 1);
    }
    return false;
}

void expect_fits_level(const GeneratedQuestion& q) {
    const HandScore& s = q.score;
    switch (q.level) {
    case QuestionLevel::basic:
        EXPECT_EQ(s.limit, LimitName::none);
        EXPECT_GE(s.han, 1);
        EXPECT_LE(s.han, 3);
        EXPECT_LE(s.fu, 40);
        break;
    case QuestionLevel::fu:
        EXPECT_EQ(s.limit, LimitName::none);
        EXPECT_GE(s.fu, 40);
        EXPECT_LE(s.fu, 110);
        break;
    case QuestionLevel::limits:
        EXPECT_NE(s.limit, LimitName::none);
        EXPECT_NE(s.limit, LimitName::yakuman);
        break;
    case QuestionLevel::yakuman:
        EXPECT_GT(s.yakuman_count, 0);
        break;
    case QuestionLevel::all:
        ADD_FAILURE() << "a question is dealt for one level";
        break;
    }
}

TEST(GeneratedQuestions, EveryLevelPassesCheckAndFitsItsLevel) {
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
            expect_fits_level(q);
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(&q.record);
            const std::vector<std::string> problems = check_question(bytes, sizeof q.record);
            EXPECT_TRUE(problems.empty()) << problems.front();
            const QuestionScoreReport report = score_question(q.record);
            EXPECT_EQ(report.verdict, ScoreVerdict::agrees) << report.why << report.text;

            const std::string right(answer_text(q.record, 0));
            for (std::size_t w = 1; w < answer_count; ++w) {
                EXPECT_FALSE(parse_score_answer(answer_text(q.record, w)).invalid);
            }
            // The explanation: six lines of 64 characters at most, inside its field, with every
            // number of the payment.
            const std::string text(text_field(q.record.explanation, explanation_capacity));
            EXPECT_LT(text.size(), explanation_capacity);
            const std::vector<std::string> lines = lines_of(text);
            EXPECT_LE(lines.size(), 6u) << text;
            for (const std::string& line : lines) {
                EXPECT_LE(line.size(), 64u) << line;
            }
            std::stringstream numbers(right);
            std::string number;
            while (numbers >> number) {
                if (number != "a") {
                    EXPECT_TRUE(has_word(text, number)) << number << " in " << text;
                }
            }
        }
        if (level == QuestionLevel::all) {
            EXPECT_EQ(levels_dealt.size(), 4u) << "a mixed bank holds every level";
        }
    }
}

// Each theme of the yakuman level comes through the scorer as its yakuman.
TEST(GeneratedQuestions, TheYakumanLevelDealsEveryYakuman) {
    std::set<int> seen;
    for (std::uint32_t i = 0; i < 400; ++i) {
        GeneratedQuestion q;
        ASSERT_TRUE(generate_question(7, i, QuestionLevel::yakuman, q));
        for (int y = 0; y < q.score.yaku_count; ++y) {
            seen.insert(static_cast<int>(q.score.yaku[y].yaku));
        }
    }
    for (int y = static_cast<int>(first_yakuman); y < yaku_count; ++y) {
        EXPECT_EQ(seen.count(y), 1u) << yaku_name(static_cast<Yaku>(y));
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

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
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

    QuestionRecord record = q.record;
    set_answer(record, 0, "1");
    EXPECT_EQ(joined(problems_of(record)),
              "answer_right: \"1\" is not the hand's payment \"" + payment + "\"\n");

    set_answer(record, 2, payment);
    EXPECT_EQ(joined(problems_of(record)), "answer_right: \"1\" is not the hand's payment \"" +
                                               payment + "\"\n" + "answer_wrong_2: \"" + payment +
                                               "\" reads as the hand's payment \"" + payment +
                                               "\"\n");

    record = q.record;
    record.winning_tile = 1; // a tile back: a hand of 13 tiles
    const std::vector<std::string> broken = problems_of(record);
    ASSERT_FALSE(broken.empty());
    EXPECT_EQ(broken.back().rfind("hand: cannot be scored: ", 0), 0u) << joined(broken);

    record = q.record;
    std::memcpy(record.question_text, "Ron.", 5); // no situation stated: nothing to score
    set_answer(record, 0, "1");
    EXPECT_EQ(joined(problems_of(record)), "");
}

} // namespace
