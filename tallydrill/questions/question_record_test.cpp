#include "tallydrill/questions/question_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> bytes_of(const QuestionRecord& record) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&record);
    return std::vector<std::uint8_t>(p, p + sizeof record);
}

QuestionRecord initial_question() {
    QuestionRecord record;
    std::memset(&record, 0xCC, sizeof record); // no byte may survive from before
    set_initial_question(record);
    return record;
}

TEST(InitialQuestion, IsZeroExceptTheSampleTiles) {
    std::vector<std::uint8_t> expected(820, 0);
    const std::vector<std::uint8_t> dora = {0, 1, 1, 1, 1, 255};
    const std::vector<std::uint8_t> back = {30, 35, 255};
    const std::vector<std::uint8_t> hand = {11, 90, 12, 52, 52, 12, 90, 22, 62, 62, 22,
                                            90, 67, 67, 27, 27, 90, 17, 17, 57, 57, 255};
    std::copy(dora.begin(), dora.end(), expected.begin() + 1);
    std::copy(back.begin(), back.end(), expected.begin() + 8);
    std::copy(hand.begin(), hand.end(), expected.begin() + 15);
    EXPECT_EQ(bytes_of(initial_question()), expected);
}

TEST(InitialQuestion, ListsAndTexts) {
    const QuestionRecord record = initial_question();
    EXPECT_EQ(dora_indicator_count(record), 5u);
    EXPECT_EQ(back_dora_count(record), 2u);
    EXPECT_EQ(hand_length(record), 21u);
    EXPECT_EQ(record.winning_tile, 0);
    EXPECT_EQ(question_time_limit(record), 0);
    for (std::size_t entry = 0; entry < answer_count; ++entry) {
        EXPECT_TRUE(answer_text(record, entry).empty());
    }
}

// Fields sit at the offsets of the file format: a byte written at an offset in the file shows
// up at the start of the field that the format puts there.
const std::uint8_t* as_bytes(const char* p) {
    return reinterpret_cast<const std::uint8_t*>(p);
}

TEST(QuestionRecordLayout, FileOffsetsReachTheFields) {
    struct Row {
        std::size_t offset;
        const char* field;
        const std::uint8_t* (*address)(const QuestionRecord&);
    };
    const Row rows[] = {
        {1, "dora_indicators", [](const QuestionRecord& r) { return &r.dora_indicators[0]; }},
        {8, "back_dora", [](const QuestionRecord& r) { return &r.back_dora[0]; }},
        {15, "hand", [](const QuestionRecord& r) { return &r.hand[0]; }},
        {46, "hand[31]", [](const QuestionRecord& r) { return &r.hand[31]; }},
        {47, "winning_tile", [](const QuestionRecord& r) { return &r.winning_tile; }},
        {48, "time_limit", [](const QuestionRecord& r) { return &r.time_limit[0]; }},
        {52, "question_text", [](const QuestionRecord& r) { return as_bytes(r.question_text); }},
        {308, "answers[0]", [](const QuestionRecord& r) { return as_bytes(r.answers[0]); }},
        {372, "answers[1]", [](const QuestionRecord& r) { return as_bytes(r.answers[1]); }},
        {500, "answers[3]", [](const QuestionRecord& r) { return as_bytes(r.answers[3]); }},
        {564, "explanation", [](const QuestionRecord& r) { return as_bytes(r.explanation); }},
        {819, "explanation[255]",
         [](const QuestionRecord& r) { return as_bytes(r.explanation + 255); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        std::vector<std::uint8_t> file(820, 0);
        file[row.offset] = 0x5A;
        QuestionRecord record;
        std::memset(&record, 0, sizeof record);
        read_question_bytes(record, file.data(), file.size());
        const std::uint8_t* field = row.address(record);
        EXPECT_EQ(field - reinterpret_cast<const std::uint8_t*>(&record),
                  static_cast<std::ptrdiff_t>(row.offset));
        EXPECT_EQ(*field, 0x5A);
    }
}

TEST(ReadQuestionBytes, ReplacesOnlyTheBytesTheFileHas) {
    struct Row {
        std::size_t file_size;
        std::size_t replaced;
    };
    const Row rows[] = {{0, 0},     {1, 1},     {47, 47},   {52, 52},
                        {819, 819}, {820, 820}, {821, 820}, {4096, 820}};
    for (const Row& row : rows) {
        SCOPED_TRACE("file of " + std::to_string(row.file_size) + " bytes");
        std::vector<std::uint8_t> file(row.file_size);
        for (std::size_t i = 0; i < file.size(); ++i) {
            file[i] = static_cast<std::uint8_t>(i * 7 + 3);
        }
        QuestionRecord record = initial_question();
        const std::vector<std::uint8_t> before = bytes_of(record);
        read_question_bytes(record, file.data(), file.size());
        const std::vector<std::uint8_t> after = bytes_of(record);
        for (std::size_t i = 0; i < 820; ++i) {
            const std::uint8_t expected = i < row.replaced ? file[i] : before[i];
            ASSERT_EQ(after[i], expected) << "at offset " << i;
        }
    }
}

TEST(ReadQuestionBytes, ShortFileKeepsThePreviousQuestionsTail) {
    QuestionRecord record = initial_question();
    std::vector<std::uint8_t> first(820, 0);
    std::strcpy(reinterpret_cast<char*>(first.data()) + 564, "old explanation");
    read_question_bytes(record, first.data(), first.size());
    const std::vector<std::uint8_t> second(100, 0xFF);
    read_question_bytes(record, second.data(), second.size());
    EXPECT_EQ(record.hand[0], 0xFF);
    EXPECT_EQ(text_field(record.explanation, explanation_capacity), "old explanation");
}

TEST(QuestionTimeLimit, DecodesLittleEndianSigned) {
    struct Row {
        std::uint8_t bytes[4];
        std::int32_t seconds;
    };
    const Row rows[] = {
        {{0, 0, 0, 0}, 0},
        {{10, 0, 0, 0}, 10},
        {{0x2C, 0x01, 0, 0}, 300},
        {{0x78, 0x56, 0x34, 0x12}, 0x12345678},
        {{0xFF, 0xFF, 0xFF, 0xFF}, -1},
        {{0xF6, 0xFF, 0xFF, 0xFF}, -10},
        {{0, 0, 0, 0x80}, INT32_MIN},
        {{0xFF, 0xFF, 0xFF, 0x7F}, INT32_MAX},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seconds);
        std::vector<std::uint8_t> file(52, 0);
        std::memcpy(file.data() + 48, row.bytes, 4);
        QuestionRecord record = initial_question();
        read_question_bytes(record, file.data(), file.size());
        EXPECT_EQ(question_time_limit(record), row.seconds);

        QuestionRecord written = initial_question();
        set_question_time_limit(written, row.seconds);
        EXPECT_EQ(std::memcmp(written.time_limit, row.bytes, 4), 0);
    }
}

TEST(TileListLength, StopsAtTheEndMarkOrTheField) {
    struct Row {
        std::vector<TileCode> list;
        std::size_t length;
    };
    const std::vector<Row> rows = {
        {{255, 1, 2, 3, 4, 5, 6}, 0},
        {{1, 255, 255, 0, 0, 0, 0}, 1},
        {{1, 2, 3, 4, 5, 6, 255}, 6},
        {{1, 2, 3, 4, 5, 6, 7}, 7}, // no end mark: the field ends the list
        {{90, 254, 80, 79, 0, 255, 1}, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.list));
        EXPECT_EQ(tile_list_length(row.list.data(), row.list.size()), row.length);
    }
    QuestionRecord record = initial_question();
    std::memset(record.hand, 3, sizeof record.hand);
    record.winning_tile = 255; // the byte after the field is not part of the list
    EXPECT_EQ(hand_length(record), 32u);
}

TEST(TextField, NeverReadsPastTheField) {
    QuestionRecord record = initial_question();
    std::memset(record.answers, 'x', sizeof record.answers);
    record.answers[1][5] = '\0';
    EXPECT_EQ(answer_text(record, 0), std::string(64, 'x'));
    EXPECT_EQ(answer_text(record, 1), "xxxxx");
    EXPECT_TRUE(answer_text(record, 4).empty());

    const TerminatedText<64> copy = terminated_copy(record.answers[0]);
    EXPECT_EQ(std::strlen(copy.text), 64u);
    EXPECT_EQ(std::string(copy.text), std::string(64, 'x'));
    const TerminatedText<64> short_copy = terminated_copy(record.answers[1]);
    EXPECT_STREQ(short_copy.text, "xxxxx");
}

// Whatever 820 bytes a file holds, the safe views stay inside their fields.
TEST(TextField, AnyRecordGivesBoundedViews) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> file(820);
        for (std::uint8_t& byte : file) {
            byte = static_cast<std::uint8_t>(random() % 4 == 0 ? 0 : random() % 256);
        }
        QuestionRecord record;
        read_question_bytes(record, file.data(), file.size());
        EXPECT_LE(dora_indicator_count(record), 7u);
        EXPECT_LE(hand_length(record), 32u);
        const std::string_view question = text_field(record.question_text, question_text_capacity);
        EXPECT_LE(question.size(), 256u);
        EXPECT_EQ(question.find('\0'), std::string_view::npos);
        const TerminatedText<256> copy = terminated_copy(record.explanation);
        EXPECT_EQ(std::strlen(copy.text), text_field_length(record.explanation, 256));
    }
}

} // namespace
