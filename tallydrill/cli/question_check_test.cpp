#include "tallydrill/cli/question_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tallydrill/generator/question_generator.h"
#include "tallydrill/practice/score_answer.h"
#include "tallydrill/questions/question_record.h"

namespace {

using Tiles = std::vector<TileCode>;
using Change = std::function<void(QuestionRecord&)>;

void set_list(TileCode* field, size_t capacity, const Tiles& codes) {
    std::memset(field, 0, capacity);
    std::copy(codes.begin(), codes.begin() + std::min(codes.size(), capacity), field);
}

void set_text(char* field, size_t capacity, const std::string& text) {
    std::memset(field, 0, capacity);
    text.copy(field, capacity);
}

// A sound question: riichi and pinfu, ron on the 8-sou. `ten` is its concealed tiles less the
// 6-7-8 man, for hands with one called group.
const Tiles ten = {11, 12, 13, 23, 24, 25, 32, 32, 36, 37};

QuestionRecord sound_question() {
    QuestionRecord record = {};
    set_list(record.dora_indicators, dora_list_capacity, {5, 255});
    set_list(record.back_dora, dora_list_capacity, {29, 255});
    set_list(record.hand, hand_capacity, {11, 12, 13, 16, 17, 18, 23, 24, 25, 32, 32, 36, 37, 255});
    record.winning_tile = 38;
    set_question_time_limit(record, 45);
    set_text(record.question_text, question_text_capacity, "East round, South seat.\\nRon.");
    const char* const answers[] = {"2000", "2900", "1300", "3900"};
    for (size_t i = 0; i < answer_count; ++i) {
        set_text(record.answers[i], answer_text_capacity, answers[i]);
    }
    set_text(record.explanation, explanation_capacity, "Riichi 1 + pinfu 1 = 2 han.");
    return record;
}

Change hand(Tiles tiles, const Tiles& more = {}) {
    tiles.insert(tiles.end(), more.begin(), more.end());
    return [tiles](QuestionRecord& r) { set_list(r.hand, hand_capacity, tiles); };
}
Change dora(const Tiles& tiles) {
    return [tiles](QuestionRecord& r) { set_list(r.dora_indicators, 7, tiles); };
}
Change answer(size_t i, const std::string& text) {
    return [i, text](QuestionRecord& r) { set_text(r.answers[i], 64, text); };
}

std::vector<std::string> problems_of(const QuestionRecord& record, size_t size = 820) {
    std::vector<uint8_t> bytes(std::max<size_t>(size, 820), 0);
    std::memcpy(bytes.data(), &record, sizeof record);
    return check_question(bytes.data(), size);
}
std::vector<std::string> problems_of(const Change& change, size_t size = 820) {
    QuestionRecord record = sound_question();
    change(record);
    return problems_of(record, size);
}

TEST(CheckQuestion, FaultsAreFoundAndNamed) {
    const Tiles full = {11, 12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 23, 24, 25, 26, 27,
                        28, 29, 31, 32, 33, 34, 35, 36, 37, 38, 39, 2,  3,  4,  5,  6};
    const struct {
        Change change;
        std::vector<std::string> expected; // each problem, by a part of its text, in order
    } rows[] = {
        {dora({2, 3, 4, 6, 7, 8, 21}),
         {"dora_indicators: no 255 ends the list inside its 7 bytes"}},
        {dora({5, 85, 255}), {"dora_indicators: entry 1 is code 85, not a tile picture"}},
        {[](QuestionRecord& r) {
             set_list(r.back_dora, 7, {45, 255});
         },
         {"back_dora: entry 0 is code 45 (North wind, sideways); indicators are drawn upright"}},
        {[](QuestionRecord& r) { r.hand[0] = 51; },
         {"hand: concealed entry 0 is code 51 (1-man, sideways); concealed tiles are drawn "
          "upright"}},
        {[](QuestionRecord& r) { r.hand[3] = 1; },
         {"hand: concealed entry 3 is code 1 (tile back), not a tile of the hand"}},
        {hand(full),
         {"hand: no 255 ends the list inside its 32 bytes",
          "hand: 32 concealed tiles, the winning tile and 0 called groups make 33 tiles"}},
        {hand(ten, {90, 90, 64, 23, 25, 255}),
         {"hand: called group 1: two separators in a row at entries 10 and 11"}},
        {hand(ten, {16, 17, 18, 90, 255}),
         {"hand: called group 1: the separator at entry 13 opens no group"}},
        {hand(ten, {90, 16, 17, 18, 255}),
         {"hand: called group 1 (16, 17, 18) is no chi, pon or kan"}},
        {hand({11, 90, 64, 23, 25, 90, 6, 46, 6, 90, 7, 47, 7, 90, 42, 2, 2, 90, 3, 3, 43, 255}),
         {"hand: 5 called groups; the display has places for 4"}},
        {hand(ten, {16, 17, 255}),
         {"hand: 12 concealed tiles, the winning tile and 0 called groups make 13 tiles; a "
          "winning hand has 14"}},
        {hand(ten, {16, 90, 1, 19, 19, 1, 255}), {"make 15 tiles"}}, // a kan counts 3
        {dora({32, 32, 32, 255}),
         {"tiles: 5 of 2-sou counting the dora indicators; a set has four"}},
        {[](QuestionRecord& r) {
             set_list(r.dora_indicators, 7, {20, 25, 25, 255});
             set_list(r.back_dora, 7, {20, 255});
         },
         {"tiles: 5 of 5-pin"}}, // red fives count as fives
        {hand({11, 12, 13, 16, 17, 18, 32, 32, 36, 37, 90, 1, 11, 11, 1, 255}),
         {"tiles: 5 of 1-man"}}, // a closed kan holds four of its tile
        {[](QuestionRecord& r) { r.winning_tile = 78; },
         {"winning_tile: code 78 (8-sou, sideways); the winning tile is drawn upright"}},
        {[](QuestionRecord& r) { r.winning_tile = 90; },
         {"winning_tile: code 90 is not a tile of the hand"}},
        {[](QuestionRecord& r) { set_question_time_limit(r, 0); },
         {"time_limit: 0 seconds; the limit must be positive"}},
        {[](QuestionRecord& r) { std::memset(r.question_text, 'a', 256); },
         {"question_text: no NUL ends the text inside its 256 bytes"}},
        {[](QuestionRecord& r) { std::memset(r.answers[2], '7', 64); },
         {"answer_wrong_2: no NUL ends the text inside its 64 bytes"}},
        {answer(3, ""), {"answer_wrong_3: the answer is empty"}},
        {answer(2, "2900"), {"answer_wrong_2: the same text as answer_wrong_1 (\"2900\")"}},
        {answer(0, "mangan"), {"answer_right: \"mangan\" is not a score text"}},
        {answer(1, "2000 points"),
         {"answer_wrong_1: \"2000 points\" reads as the same score as the right answer"}},
    };
    for (const auto& row : rows) {
        const std::vector<std::string> problems = problems_of(row.change);
        ASSERT_EQ(problems.size(), row.expected.size()) << testing::PrintToString(problems);
        for (size_t i = 0; i < problems.size(); ++i) {
            EXPECT_NE(problems[i].find(row.expected[i]), std::string::npos) << problems[i];
        }
    }
    EXPECT_EQ(problems_of([](QuestionRecord&) {}, 819),
              std::vector<std::string>{"size: 819 bytes; a question file holds exactly 820"});
    EXPECT_EQ(problems_of([](QuestionRecord&) {}, 900).size(), 1u) << "longer files too";
}

// What the drawing and the judging accept passes (the sound question itself is every fault
// row's base, and generated questions give right answers of every form).
TEST(CheckQuestion, AcceptsSoundQuestions) {
    const Change sound[] = {
        dora({5, 1, 1, 1, 1, 1, 255}),        // covered indicators are tile backs
        dora({32, 32, 255}),                  // four of a tile with the indicators
        hand(ten, {90, 19, 19, 19, 19, 255}), // a closed kan shown with four faces
        answer(0, "  2000"),
        answer(3, "mangan"), // a wrong answer need not be a score
        [](QuestionRecord& r) {
            set_text(r.question_text, 256, std::string(255, 'q'));
            set_text(r.answers[1], 64, std::string(63, '9'));
        },
    };
    for (const Change& change : sound) {
        EXPECT_EQ(problems_of(change), std::vector<std::string>());
    }
}

// The generator's questions, each of them sound; the same bytes for a seed are held by
// cli_test.sh.
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
