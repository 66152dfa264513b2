#include "tallydrill/questions/question_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> bytes_of(const QuestionRecord& record) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&record);
    return std::vector<std::uint8_t>(p, p + sizeof record);
}

QuestionRecord initial_question() {
    QuestionRecord record;
    std::memset(&record, 0xCC, sizeof record); // nothing may survive from before
    set_initial_question(record);
    return record;
}

// The sample's tiles are the worked example of the tile plan; after them only zeros.
TEST(InitialQuestion, OverwritesEveryByte) {
    const std::vector<std::uint8_t> bytes = bytes_of(initial_question());
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0xCC), 0);
    EXPECT_EQ(std::count(bytes.begin() + 48, bytes.end(), 0), 820 - 48);
}

TEST(ReadQuestionBytes, ReplacesOnlyTheBytesTheFileHas) {
    for (std::size_t size : {0, 1, 47, 52, 819, 820, 821, 4096}) {
        SCOPED_TRACE("file of " + std::to_string(size) + " bytes");
        std::vector<std::uint8_t> file(size);
        std::iota(file.begin(), file.end(), std::uint8_t{3});
        QuestionRecord record = initial_question();
        std::vector<std::uint8_t> expected = bytes_of(record);
        std::copy(file.begin(), file.begin() + std::min<std::size_t>(size, 820), expected.begin());
        read_question_bytes(record, file.data(), file.size());
        EXPECT_EQ(bytes_of(record), expected);
    }
}

// Offset 48 of the file, little-endian and signed whatever the host.
TEST(QuestionTimeLimit, Table) {
    struct Row {
        std::uint8_t bytes[4];
        std::int32_t seconds;
    };
    const Row rows[] = {{{0x78, 0x56, 0x34, 0x12}, 0x12345678},
                        {{0xF6, 0xFF, 0xFF, 0xFF}, -10},
                        {{0, 0, 0, 0x80}, INT32_MIN},
                        {{0xFF, 0xFF, 0xFF, 0x7F}, INT32_MAX}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seconds);
        QuestionRecord record = initial_question();
        std::memcpy(record.time_limit, row.bytes, 4);
        EXPECT_EQ(question_time_limit(record), row.seconds);
        set_question_time_limit(record, 0);
        set_question_time_limit(record, row.seconds);
        EXPECT_EQ(std::memcmp(record.time_limit, row.bytes, 4), 0);
    }
}

TEST(SafeAccessors, StopAtTheEndMarkOrTheField) {
    struct Row {
        std::vector<TileCode> list;
        std::size_t length;
    };
    const std::vector<Row> rows = {{{255, 1, 2, 3, 4, 5, 6}, 0},
                                   {{1, 2, 3, 4, 5, 6, 255}, 6},
                                   {{1, 2, 3, 4, 5, 6, 7}, 7},
                                   {{90, 254, 80, 79, 0, 255, 1}, 5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.list));
        EXPECT_EQ(tile_list_length(row.list.data(), row.list.size()), row.length);
    }
    QuestionRecord record = initial_question();
    std::memset(record.hand, 3, sizeof record.hand);
    record.winning_tile = 255; // the byte after the field is not part of the hand
    EXPECT_EQ(hand_length(record), 32u);

    std::memset(record.answers, 'x', sizeof record.answers);
    record.answers[1][5] = '\0';
    EXPECT_EQ(answer_text(record, 0), std::string(64, 'x'));
    EXPECT_EQ(answer_text(record, 1), "xxxxx");
    EXPECT_EQ(answer_text(record, 4), "");
    EXPECT_EQ(std::string(terminated_copy(record.answers[0]).text), std::string(64, 'x'));
    EXPECT_STREQ(terminated_copy(record.answers[1]).text, "xxxxx");
}

} // namespace
