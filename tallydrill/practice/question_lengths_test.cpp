// Question files of every length from 0 to 2100 bytes with random contents, taken through every
// step the practice program applies to a question: reading over the previous record, the line
// marks of its texts, the tile plan, the clock and the judging of a typed score.
#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "tallydrill/practice/judging.h"
#include "tallydrill/practice/score_answer.h"
#include "tallydrill/questions/line_breaks.h"
#include "tallydrill/questions/question_record.h"
#include "tallydrill/tiles/tile_plan.h"

namespace {

bool ends_inside(const char* field, size_t capacity) {
    return std::memchr(field, 0, capacity) != nullptr;
}

TEST(QuestionFileLengths, EveryLengthWithRandomContentsStaysWithinItsRecord) {
    std::mt19937 random(820);
    const TileCellTable cells = make_tile_cell_table();
    auto record = std::make_unique<QuestionRecord>();
    set_initial_question(*record);
    for (size_t length = 0; length <= 2100; ++length) {
        SCOPED_TRACE(testing::Message() << "file of " << length << " bytes");
        std::vector<uint8_t> file(length);
        for (uint8_t& byte : file) {
            byte = static_cast<uint8_t>(random());
        }
        QuestionRecord previous;
        std::memcpy(&previous, record.get(), sizeof previous);

        read_question_bytes(*record, file.data(), file.size());
        const auto* bytes = reinterpret_cast<const uint8_t*>(record.get());
        const auto* kept = reinterpret_cast<const uint8_t*>(&previous);
        const size_t applied = std::min(length, question_record_size);
        ASSERT_TRUE(std::equal(bytes, bytes + applied, file.begin())) << "the file's bytes";
        ASSERT_TRUE(std::equal(bytes + applied, bytes + question_record_size, kept + applied))
            << "a short file leaves the rest of the previous question";

        convert_line_breaks(record->question_text, question_text_capacity);
        EXPECT_TRUE(ends_inside(record->question_text, question_text_capacity));
        for (auto& answer : record->answers) {
            convert_line_breaks(answer, answer_text_capacity);
            EXPECT_TRUE(ends_inside(answer, answer_text_capacity));
        }
        convert_line_breaks(record->explanation, explanation_capacity);
        EXPECT_TRUE(ends_inside(record->explanation, explanation_capacity));

        const TilePlan plan = plan_tiles(*record, cells, 640);
        ASSERT_LE(plan.copy_count, max_tile_copies);
        for (size_t i = 0; i < plan.copy_count; ++i) {
            EXPECT_TRUE(is_picture_code(plan.copies[i].code)) << "copy " << i;
            EXPECT_EQ(plan.copies[i].source, cells.cells[plan.copies[i].code]) << "copy " << i;
        }

        const int32_t limit = question_time_limit(*record);
        for (int32_t elapsed : {0, 1, 999, 60000, 2147483647}) {
            const int32_t position = elapsed_bar_position(elapsed, limit);
            EXPECT_GE(position, 0);
            EXPECT_LE(position, elapsed_bar_range);
            EXPECT_NE(timing_verdict(limit, elapsed), nullptr);
        }
        const std::string_view right = answer_text(*record, 0);
        EXPECT_LE(right.size(), answer_text_capacity);
        for (std::string_view typed : {std::string_view("8000"), right, answer_text(*record, 1)}) {
            const std::string_view verdict = direct_input_verdict(right, typed);
            EXPECT_TRUE(verdict == "right" || verdict == "wrong" || verdict == "---") << verdict;
        }
        EXPECT_EQ(std::string_view(direct_input_verdict(right, right)),
                  !parse_score_answer(right).invalid ? "right" : "---")
            << "the right answer typed back is right, unless it is no score at all";
    }
}

} // namespace
