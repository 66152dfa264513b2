#include "tallydrill/cli/question_show.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(ShowQuestion, TilesByNameAndTextsOnTheirLines) {
    QuestionRecord record{};
    const TileCode dora[] = {5, 29, 255};
    const TileCode hand[] = {20, 20, 90, 64, 23, 25, 90, 66, 66, 26, 26,
                             90, 1,  11, 11, 1,  90, 7,  7,  7,  47, 255};
    std::memcpy(record.dora_indicators, dora, sizeof dora);
    record.back_dora[0] = 255;
    std::memcpy(record.hand, hand, sizeof hand);
    record.winning_tile = 25;
    set_question_time_limit(record, 45);
    std::strcpy(record.question_text, "East round.\\nRon.");
    const char* const answers[] = {"8000", "12000", "2000", "7700"};
    for (std::size_t i = 0; i < answer_count; ++i) {
        std::strcpy(record.answers[i], answers[i]);
    }
    std::strcpy(record.explanation, "Mangan.\\nNon-dealer ron 8000.");

    const std::string expected = "question:\n"
                                 "  East round.\n"
                                 "  Ron.\n"
                                 "time limit: 45 seconds\n"
                                 "dora indicators: North wind (dora East wind), 9-pin (dora "
                                 "1-pin)\n"
                                 "back dora indicators: (none)\n"
                                 "concealed tiles: red 5-pin, red 5-pin\n"
                                 "winning tile: 5-pin\n"
                                 "called group 1, chi: 4-pin (sideways), 3-pin, 5-pin\n"
                                 "called group 2, added kan: 6-pin (sideways, stacked pair), "
                                 "6-pin, 6-pin\n"
                                 "called group 3, closed kan: tile back, 1-man, 1-man, tile "
                                 "back\n"
                                 "called group 4, open kan: green dragon, green dragon, green "
                                 "dragon, green dragon (sideways)\n"
                                 "answers:\n"
                                 "  right: 8000\n"
                                 "  wrong: 12000\n"
                                 "  wrong: 2000\n"
                                 "  wrong: 7700\n"
                                 "explanation:\n"
                                 "  Mangan.\n"
                                 "  Non-dealer ron 8000.\n";
    EXPECT_EQ(show_question(record), expected);
}

TEST(ShowQuestion, DamagedRecords) {
    QuestionRecord record{};
    std::memset(record.hand, 11, sizeof record.hand);
    record.hand[1] = 90;
    record.hand[2] = 90;
    std::memset(record.dora_indicators, 255, sizeof record.dora_indicators);
    record.dora_indicators[0] = 100;
    std::memset(record.back_dora, 255, sizeof record.back_dora);
    record.winning_tile = 200;
    std::memset(record.explanation, 'x', sizeof record.explanation);
    const std::string text = show_question(record);
    const std::vector<std::string> lines = {
        "dora indicators: separator 100\n",
        "concealed tiles: 1-man\n",
        "winning tile: separator 200\n",
        "called group 1, malformed group: (none)\n",
        "called group 2, malformed group: 1-man, 1-man",
        "(the hand list has no 255)\n",
        "  " + std::string(256, 'x') + "\n",
    };
    for (const std::string& line : lines) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin:\n" << text;
    }
}

} // namespace
