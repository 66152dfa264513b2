// The sample pack against its README: every question's right answer is the payment of the han
// and fu the README's list states, and its texts say what the list says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tallydrill/pack/score_payment.h"
#include "tallydrill/practice/score_answer.h"
#include "tallydrill/questions/question_record.h"

namespace {

namespace fs = std::filesystem;

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// One row of the README's list of questions:
// | File | Seat | Round | Win | Riichi | Han | Fu | Answer | Yaku |
struct ListedQuestion {
    std::string file;
    std::string seat;
    std::string round;
    std::string win; // "ron" or "tsumo"
    bool riichi;
    int han; // 13 for "yakuman"
    int fu;  // 0 for "-"
    std::string answer;
    std::string yaku;
    bool dealer() const { return seat == "East"; }
    bool tsumo() const { return win == "tsumo"; }
};

std::vector<ListedQuestion> listed_questions() {
    std::ifstream file(PACK_SOURCE_DIR "/README.md");
    std::vector<ListedQuestion> rows;
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("| q", 0) != 0) {
            continue;
        }
        std::vector<std::string> cells;
        std::stringstream stream(line.substr(1));
        std::string cell;
        while (std::getline(stream, cell, '|')) {
            cells.push_back(trimmed(cell));
        }
        EXPECT_EQ(cells.size(), 9u) << line;
        if (cells.size() != 9) {
            continue;
        }
        ListedQuestion q;
        q.file = cells[0];
        q.seat = cells[1];
        q.round = cells[2];
        q.win = cells[3];
        q.riichi = cells[4] == "yes";
        q.han = cells[5] == "yakuman" ? 13 : std::stoi(cells[5]);
        q.fu = cells[6] == "-" ? 0 : std::stoi(cells[6]);
        q.answer = cells[7];
        q.yaku = cells[8];
        EXPECT_TRUE(cells[4] == "yes" || cells[4] == "no") << line;
        EXPECT_TRUE(q.win == "ron" || q.win == "tsumo") << line;
        rows.push_back(q);
    }
    return rows;
}

bool read_question(const std::string& name, QuestionRecord& record) {
    std::ifstream file(std::string(PACK_BUILD_DIR) + "/" + name + ".tt", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::memset(&record, 0, sizeof record);
    read_question_bytes(record, bytes.data(), bytes.size());
    return bytes.size() == question_record_size;
}

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
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const bool starts = at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]));
        const std::size_t end = at + word.size();
        const bool ends =
            end == text.size() || !std::isalnum(static_cast<unsigned char>(text[end]));
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

// The pack's source files q*.txt, by name without ".txt".
std::vector<std::string> pack_sources() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(PACK_SOURCE_DIR)) {
        const fs::path& path = entry.path();
        if (path.extension() == ".txt" && path.filename().string().rfind('q', 0) == 0) {
            names.push_back(path.stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Pack, EveryFileIsListedOnceAndEveryListedFileExists) {
    const std::vector<ListedQuestion> rows = listed_questions();
    std::vector<std::string> listed;
    for (const ListedQuestion& q : rows) {
        listed.push_back(q.file);
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, pack_sources());
    EXPECT_GE(rows.size(), 24u);
}

TEST(Pack, RightAnswersArePaymentsOfTheListedHanAndFu) {
    for (const ListedQuestion& q : listed_questions()) {
        SCOPED_TRACE(q.file);
        QuestionRecord record;
        ASSERT_TRUE(read_question(q.file, record)) << "built into " << PACK_BUILD_DIR;
        const std::string expected = payment_text(q.han, q.fu, q.dealer(), q.tsumo());
        EXPECT_EQ(q.answer, expected) << "the list";
        EXPECT_EQ(std::string(answer_text(record, 0)), expected) << "the file";
        // Each wrong answer is a score too, and none reads as the right one.
        for (std::size_t i = 1; i < answer_count; ++i) {
            const std::string_view wrong = answer_text(record, i);
            EXPECT_FALSE(parse_score_answer(wrong).invalid) << wrong;
            EXPECT_EQ(compare_score_answers(expected, wrong), ScoreComparison::wrong) << wrong;
        }
    }
}

TEST(Pack, QuestionTextsStateTheSituation) {
    for (const ListedQuestion& q : listed_questions()) {
        SCOPED_TRACE(q.file);
        QuestionRecord record;
        ASSERT_TRUE(read_question(q.file, record));
        const std::string text(text_field(record.question_text, question_text_capacity));
        EXPECT_NE(text.find(q.round + " round"), std::string::npos) << text;
        EXPECT_NE(text.find("you sit " + q.seat), std::string::npos) << text;
        EXPECT_NE(text.find(q.dealer() ? "(dealer)" : "(non-dealer)"), std::string::npos) << text;
        EXPECT_TRUE(has_word(text, q.win)) << text;
        EXPECT_FALSE(has_word(text, q.tsumo() ? "ron" : "tsumo")) << text;
        EXPECT_EQ(has_word(text, "declared riichi"), q.riichi) << text;
        // Back dora are turned only for a riichi hand.
        EXPECT_EQ(back_dora_count(record) > 0, q.riichi);
        // The question box shows about two lines of 70 characters.
        const std::vector<std::string> lines = lines_of(text);
        EXPECT_LE(lines.size(), 2u) << text;
        for (const std::string& line : lines) {
            EXPECT_LE(line.size(), 70u) << line;
        }
        EXPECT_GE(question_time_limit(record), 30);
        EXPECT_LE(question_time_limit(record), 90);
    }
}

TEST(Pack, ExplanationsGiveHanFuAndPayment) {
    for (const ListedQuestion& q : listed_questions()) {
        SCOPED_TRACE(q.file);
        QuestionRecord record;
        ASSERT_TRUE(read_question(q.file, record));
        const std::string text(text_field(record.explanation, explanation_capacity));
        if (q.han >= 13) {
            EXPECT_TRUE(has_word(text, "yakuman")) << text;
        } else {
            EXPECT_NE(text.find(std::to_string(q.han) + " han"), std::string::npos) << text;
        }
        if (q.fu > 0) {
            EXPECT_TRUE(has_word(text, std::to_string(q.fu))) << text;
        }
        // Every number of the right answer appears, the final one last.
        std::stringstream answer(q.answer);
        std::string number;
        while (answer >> number) {
            if (number != "a") {
                EXPECT_TRUE(has_word(text, number)) << number << " in " << text;
            }
        }
        const std::vector<std::string> lines = lines_of(text);
        EXPECT_LE(lines.size(), 6u) << text;
        for (const std::string& line : lines) {
            EXPECT_LE(line.size(), 64u) << line;
        }
    }
}

// What a learner meets: both ways of winning for both kinds of seat, the fu from 20 to 110 and
// each limit.
TEST(Pack, CoversTheCases) {
    std::set<std::string> situations;
    std::set<int> fu;
    std::set<std::string> limits;
    int riichi = 0;
    for (const ListedQuestion& q : listed_questions()) {
        situations.insert(std::string(q.dealer() ? "dealer " : "non-dealer ") + q.win);
        if (q.han < 5) {
            fu.insert(q.fu);
        }
        riichi += q.riichi ? 1 : 0;
        const char* limit = q.han >= 13                         ? "yakuman"
                            : q.han >= 8                        ? "baiman"
                            : q.han >= 6                        ? "haneman"
                            : basic_points(q.han, q.fu) == 2000 ? "mangan"
                                                                : "below";
        limits.insert(limit);
    }
    EXPECT_EQ(situations, (std::set<std::string>{"dealer ron", "dealer tsumo", "non-dealer ron",
                                                 "non-dealer tsumo"}));
    for (int f : {20, 25, 30, 40, 50, 60, 70, 80, 90, 100, 110}) {
        EXPECT_EQ(fu.count(f), 1u) << f << " fu";
    }
    EXPECT_EQ(limits, (std::set<std::string>{"below", "mangan", "haneman", "baiman", "yakuman"}));
    EXPECT_GE(riichi, 5);
}

} // namespace
