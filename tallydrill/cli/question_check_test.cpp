#include "tallydrill/cli/question_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tallydrill/questions/question_record.h"

namespace {

void set_list(TileCode* field, std::size_t capacity, const std::vector<TileCode>& codes) {
    std::memset(field, 0, capacity);
    for (std::size_t i = 0; i < codes.size() && i < capacity; ++i) {
        field[i] = codes[i];
    }
}

void set_text(char* field, std::size_t capacity, const std::string& text) {
    std::memset(field, 0, capacity);
    std::memcpy(field, text.data(), text.size() < capacity ? text.size() : capacity);
}

// A sound question: riichi and pinfu, ron on the 8-sou.
QuestionRecord sound_question() {
    QuestionRecord record;
    std::memset(&record, 0, sizeof record);
    set_list(record.dora_indicators, dora_list_capacity, {5, 255});
    set_list(record.back_dora, dora_list_capacity, {29, 255});
    set_list(record.hand, hand_capacity, {11, 12, 13, 16, 17, 18, 23, 24, 25, 32, 32, 36, 37, 255});
    record.winning_tile = 38;
    set_question_time_limit(record, 45);
    set_text(record.question_text, question_text_capacity, "East round, South seat.\\nRon.");
    const char* const answers[] = {"2000", "2900", "1300", "3900"};
    for (std::size_t i = 0; i < answer_count; ++i) {
        set_text(record.answers[i], answer_text_capacity, answers[i]);
    }
    set_text(record.explanation, explanation_capacity, "Riichi 1 + pinfu 1 = 2 han.");
    return record;
}

// The concealed tiles of the sound question less its 6-7-8 man, for hands with one group.
const std::vector<TileCode> ten_concealed = {11, 12, 13, 23, 24, 25, 32, 32, 36, 37};

std::vector<TileCode> joined(std::vector<TileCode> a, const std::vector<TileCode>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> problems_of(const QuestionRecord& record, std::size_t size = 820) {
    std::vector<std::uint8_t> bytes(size > 820 ? size : 820, 0);
    std::memcpy(bytes.data(), &record, sizeof record);
    return check_question(bytes.data(), size);
}

std::string all_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += "\n  " + line;
    }
    return text.empty() ? " (none)" : text;
}

TEST(CheckQuestion, ASoundQuestionHasNoProblem) {
    EXPECT_EQ(problems_of(sound_question()), std::vector<std::string>());
}

TEST(CheckQuestion, FaultsAreFoundAndNamed) {
    struct Row {
        const char* fault;
        std::function<void(QuestionRecord&)> change;
        std::vector<std::string> expected; // each problem, by a part of its text, in order
    };
    const std::vector<Row> rows = {
        {"no 255 in the dora row",
         [](QuestionRecord& r) {
             set_list(r.dora_indicators, 7, {2, 3, 4, 6, 7, 8, 21});
         },
         {"dora_indicators: no 255 ends the list inside its 7 bytes"}},
        {"a separator in the dora row",
         [](QuestionRecord& r) {
             set_list(r.dora_indicators, 7, {5, 85, 255});
         },
         {"dora_indicators: entry 1 is code 85, not a tile picture"}},
        {"a sideways back dora indicator",
         [](QuestionRecord& r) {
             set_list(r.back_dora, 7, {45, 255});
         },
         {"back_dora: entry 0 is code 45 (North wind, sideways); indicators are drawn upright"}},
        {"no 255 in the back dora row",
         [](QuestionRecord& r) {
             set_list(r.back_dora, 7, {1, 1, 1, 1, 1, 1, 1});
         },
         {"back_dora: no 255 ends the list"}},
        {"a concealed tile drawn sideways",
         [](QuestionRecord& r) { r.hand[0] = 51; },
         {"hand: concealed entry 0 is code 51 (1-man, sideways); concealed tiles are drawn "
          "upright"}},
        {"a tile back among the concealed tiles",
         [](QuestionRecord& r) { r.hand[3] = 1; },
         {"hand: concealed entry 3 is code 1 (tile back), not a tile of the hand"}},
        {"a blank face among the concealed tiles",
         [](QuestionRecord& r) { r.hand[3] = 9; },
         {"hand: concealed entry 3 is code 9 (blank face), not a tile of the hand"}},
        {"no 255 in the hand",
         [](QuestionRecord& r) {
             set_list(r.hand, 32, {11, 12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 23, 24, 25, 26, 27,
                                   28, 29, 31, 32, 33, 34, 35, 36, 37, 38, 39, 2,  3,  4,  5,  6});
         },
         {"hand: no 255 ends the list inside its 32 bytes",
          "hand: 32 concealed tiles, the winning tile and 0 called groups make 33 tiles"}},
        {"two separators in a row",
         [](QuestionRecord& r) {
             set_list(r.hand, 32, joined(ten_concealed, {90, 90, 64, 23, 25, 255}));
         },
         {"hand: called group 1: two separators in a row at entries 10 and 11"}},
        {"a separator before the 255",
         [](QuestionRecord& r) {
             set_list(r.hand, 32, {11, 12, 13, 16, 17, 18, 23, 24, 25, 32, 32, 36, 37, 90, 255});
         },
         {"hand: called group 1: the separator at entry 13 opens no group"}},
        {"a called run without a sideways tile",
         [](QuestionRecord& r) {
             set_list(r.hand, 32, joined(ten_concealed, {90, 16, 17, 18, 255}));
         },
         {"hand: called group 1 (16, 17, 18) is no chi, pon or kan"}},
        {"five called groups",
         [](QuestionRecord& r) {
             set_list(r.hand, 32, {11, 90, 64, 23, 25, 90, 6,  46, 6, 90, 7,
                                   47, 7,  90, 42, 2,  2,  90, 3,  3, 43, 255});
         },
         {"hand: 5 called groups; the display has places for 4"}},
        {"a tile short",
         [](QuestionRecord& r) {
             set_list(r.hand, 32, {11, 12, 13, 16, 17, 18, 23, 24, 25, 32, 32, 36, 255});
         },
         {"hand: 12 concealed tiles, the winning tile and 0 called groups make 13 tiles; a "
          "winning hand has 14"}},
        {"a tile too many with a kan",
         [](QuestionRecord& r) {
             set_list(r.hand, 32, joined(ten_concealed, {16, 90, 1, 19, 19, 1, 255}));
         },
         {"make 15 tiles"}},
        {"a fifth 2-sou among the dora indicators",
         [](QuestionRecord& r) {
             set_list(r.dora_indicators, 7, {32, 32, 32, 255});
         },
         {"tiles: 5 of 2-sou counting the dora indicators; a set has four"}},
        {"red fives count as fives",
         [](QuestionRecord& r) {
             set_list(r.dora_indicators, 7, {20, 25, 25, 255});
             set_list(r.back_dora, 7, {20, 255});
         },
         {"tiles: 5 of 5-pin"}},
        {"a closed kan holds four of its tile",
         [](QuestionRecord& r) {
             set_list(r.hand, 32, {11, 12, 13, 16, 17, 18, 32, 32, 36, 37, 90, 1, 11, 11, 1, 255});
         },
         {"tiles: 5 of 1-man"}},
        {"a sideways winning tile",
         [](QuestionRecord& r) { r.winning_tile = 78; },
         {"winning_tile: code 78 (8-sou, sideways); the winning tile is drawn upright"}},
        {"a separator as the winning tile",
         [](QuestionRecord& r) { r.winning_tile = 90; },
         {"winning_tile: code 90 is not a tile of the hand"}},
        {"a zero time limit",
         [](QuestionRecord& r) { set_question_time_limit(r, 0); },
         {"time_limit: 0 seconds; the limit must be positive"}},
        {"a negative time limit",
         [](QuestionRecord& r) { set_question_time_limit(r, -30); },
         {"time_limit: -30 seconds"}},
        {"a question text without its NUL",
         [](QuestionRecord& r) { std::memset(r.question_text, 'a', 256); },
         {"question_text: no NUL ends the text inside its 256 bytes"}},
        {"an explanation without its NUL",
         [](QuestionRecord& r) { std::memset(r.explanation, 'a', 256); },
         {"explanation: no NUL ends the text inside its 256 bytes"}},
        {"an answer without its NUL",
         [](QuestionRecord& r) { std::memset(r.answers[2], '7', 64); },
         {"answer_wrong_2: no NUL ends the text inside its 64 bytes"}},
        {"an empty answer",
         [](QuestionRecord& r) { set_text(r.answers[3], 64, ""); },
         {"answer_wrong_3: the answer is empty"}},
        {"two equal answers",
         [](QuestionRecord& r) { set_text(r.answers[2], 64, "2900"); },
         {"answer_wrong_2: the same text as answer_wrong_1 (\"2900\")"}},
        {"a right answer that is no score",
         [](QuestionRecord& r) { set_text(r.answers[0], 64, "mangan"); },
         {"answer_right: \"mangan\" is not a score text"}},
        {"a wrong answer with the right score",
         [](QuestionRecord& r) { set_text(r.answers[1], 64, "2000 points"); },
         {"answer_wrong_1: \"2000 points\" reads as the same score as the right answer"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        QuestionRecord record = sound_question();
        row.change(record);
        const std::vector<std::string> problems = problems_of(record);
        ASSERT_EQ(problems.size(), row.expected.size()) << "problems:" << all_lines(problems);
        for (std::size_t i = 0; i < problems.size(); ++i) {
            EXPECT_NE(problems[i].find(row.expected[i]), std::string::npos)
                << "problem " << i << ": " << problems[i];
        }
    }
}

TEST(CheckQuestion, AcceptsWhatTheDrawingAndTheJudgingAccept) {
    struct Row {
        const char* case_name;
        std::function<void(QuestionRecord&)> change;
    };
    const std::vector<Row> rows = {
        {"covered indicators are tile backs",
         [](QuestionRecord& r) {
             set_list(r.dora_indicators, 7, {5, 1, 1, 1, 1, 1, 255});
         }},
        {"no dora indicator at all", [](QuestionRecord& r) { set_list(r.back_dora, 7, {255}); }},
        {"four of a tile with the indicators",
         [](QuestionRecord& r) {
             set_list(r.dora_indicators, 7, {32, 32, 255});
         }},
        {"a chi, a pon, an open and an added kan",
         [](QuestionRecord& r) {
             set_list(r.hand, 32,
                      {32, 90, 64, 23, 25, 90, 6, 46, 6, 90, 7, 7, 47, 7, 90, 8, 8, 48, 48, 255});
             r.winning_tile = 32;
         }},
        {"a closed kan shown with four faces",
         [](QuestionRecord& r) {
             set_list(r.hand, 32, joined(ten_concealed, {90, 19, 19, 19, 19, 255}));
         }},
        {"a right answer after blanks",
         [](QuestionRecord& r) { set_text(r.answers[0], 64, "  2000"); }},
        {"an all-pay score", [](QuestionRecord& r) { set_text(r.answers[0], 64, "2600 a"); }},
        {"a wrong answer that is no score",
         [](QuestionRecord& r) { set_text(r.answers[3], 64, "mangan"); }},
        {"texts that fill their fields but one byte",
         [](QuestionRecord& r) {
             set_text(r.question_text, 256, std::string(255, 'q'));
             set_text(r.answers[1], 64, std::string(63, '9'));
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.case_name);
        QuestionRecord record = sound_question();
        row.change(record);
        EXPECT_EQ(all_lines(problems_of(record)), " (none)");
    }
}

TEST(CheckQuestion, Sizes) {
    const QuestionRecord record = sound_question();
    EXPECT_EQ(problems_of(record, 819),
              std::vector<std::string>{"size: 819 bytes; a question file holds exactly 820"});
    EXPECT_EQ(problems_of(record, 0),
              std::vector<std::string>{"size: 0 bytes; a question file holds exactly 820"});
    // A longer file is checked as well: its first 820 bytes are what the program reads.
    EXPECT_EQ(problems_of(record, 900),
              std::vector<std::string>{"size: 900 bytes; a question file holds exactly 820"});
}

} // namespace
