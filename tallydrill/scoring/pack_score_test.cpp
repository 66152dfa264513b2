// Every question of the authored pack, read from its built file and scored: the payment must
// be the file's right answer.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tallydrill/scoring/question_hand.h"

namespace {

std::vector<std::filesystem::path> pack_files() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(PACK_BUILD_DIR)) {
        if (entry.path().extension() == ".tt") {
            files.push_back(entry.path());
        }
    }
    return files;
}

TEST(PackScore, EveryAuthoredQuestionScoresToItsAnswer) {
    const std::vector<std::filesystem::path> files = pack_files();
    EXPECT_EQ(files.size(), 27u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        QuestionRecord record{};
        std::FILE* in = std::fopen(file.string().c_str(), "rb");
        ASSERT_NE(in, nullptr);
        const std::size_t read = std::fread(&record, 1, sizeof record, in);
        std::fclose(in);
        ASSERT_EQ(read, sizeof record);

        HandInput hand;
        char why[128];
        ASSERT_TRUE(read_question_hand(record, hand, why, sizeof why)) << why;
        HandScore score;
        ASSERT_EQ(score_hand(hand, score), ScoreError::none);
        EXPECT_EQ(std::string(score.payment), std::string(answer_text(record, 0)));

        // Drawing the hand again gives the pack's own codes.
        QuestionRecord drawn = record;
        ASSERT_TRUE(write_question_hand(hand, drawn));
        EXPECT_EQ(std::vector<int>(drawn.hand, drawn.hand + hand_capacity),
                  std::vector<int>(record.hand, record.hand + hand_capacity));
    }
}

} // namespace
