// The sample pack against its README's list (the pack check test runs `tallydrill-cli check` on
// the rest, the scorer's payment as each right answer included), and the line ends of
// question.str.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tallydrill/questions/question_record.h"
#include "tallydrill/scoring/question_hand.h"
#include "tallydrill/scoring/score_payment.h"

namespace {

namespace fs = std::filesystem;

std::string file_text(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// | File | Seat | Round | Win | Riichi | Han | Fu | Answer | Yaku |
TEST(Pack, QuestionsAreWhatTheListSays) {
    std::istringstream readme(file_text(PACK_SOURCE_DIR "/README.md"));
    std::vector<std::string> listed, sources;
    std::string line;
    while (std::getline(readme, line)) {
        if (line.rfind("| q", 0) != 0) {
            continue;
        }
        std::vector<std::string> cells;
        std::istringstream row(line.substr(1));
        for (std::string cell; std::getline(row, cell, '|');) {
            const size_t first = cell.find_first_not_of(' ');
            cells.push_back(first == std::string::npos
                                ? ""
                                : cell.substr(first, cell.find_last_not_of(' ') + 1 - first));
        }
        ASSERT_EQ(cells.size(), 9u) << line;
        SCOPED_TRACE(line);
        const std::string &seat = cells[1], &win = cells[3];
        const bool dealer = seat == "East", tsumo = win == "tsumo";
        const int han = cells[5] == "yakuman" ? 13 : std::stoi(cells[5]);
        const int fu = cells[6] == "-" ? 0 : std::stoi(cells[6]);
        listed.push_back(cells[0]);

        const std::string bytes = file_text(std::string(PACK_BUILD_DIR) + "/" + cells[0] + ".tt");
        ASSERT_EQ(bytes.size(), question_record_size) << "built into " << PACK_BUILD_DIR;
        QuestionRecord record;
        read_question_bytes(record, bytes.data(), bytes.size());
        const std::string expected = payment_text(han, fu, dealer, tsumo);
        EXPECT_EQ(cells[7], expected) << "the list";
        EXPECT_EQ(std::string(answer_text(record, 0)), expected) << "the file";
        HandSituation said; // as the question text says it
        bool open = false;
        ASSERT_TRUE(read_situation(record.question_text, question_text_capacity, said, open));
        const char* const winds[] = {"East", "South", "West", "North"};
        EXPECT_EQ(std::string(winds[static_cast<int>(said.round_wind)]) + " " +
                      winds[static_cast<int>(said.seat_wind)] + (said.tsumo ? " tsumo" : " ron") +
                      (said.riichi ? " yes" : " no"),
                  cells[2] + " " + seat + " " + win + " " + cells[4]);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(PACK_SOURCE_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name[0] == 'q' && entry.path().extension() == ".txt") {
            sources.push_back(entry.path().stem().string());
        }
    }
    std::sort(listed.begin(), listed.end());
    std::sort(sources.begin(), sources.end());
    EXPECT_EQ(listed, sources) << "every file listed once";
}

// question.str's lines end in CR LF, as the converter's window keeps them. That it lays out the
// record is held by cli_test.sh: generated text forms convert into their records' very bytes.
TEST(QuestionStructure, LinesEndInCrLf) {
    const std::string text = file_text(QUESTION_STR_PATH);
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        EXPECT_EQ(text[at - 1], '\r') << "line end at byte " << at;
    }
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

} // namespace
