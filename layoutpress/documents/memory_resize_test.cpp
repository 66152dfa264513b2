// The rows of the memory tab: reading a capacity field, the track bar, and resizing a row's
// buffers without losing content, also when the new storage is refused.
#include "layoutpress/documents/memory_resize.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers_test_support.h"
#include "testing/files/test_files.h"

namespace {

TEST(MemoryField, ReadsLikePercentDAndClampsToTheRow) {
    const struct {
        const char* text;
        int row;
        uint32_t want;
    } cases[] = {{"-5", 1, 255},
                 {"256", 0, 256},
                 {" \t\r\n\v\f450000", 1, 450000},
                 {"+1000", 3, 1000},
                 {"1234xyz", 2, 1234},
                 {"4800001", 3, 4800000},
                 {"1600001", 2, 1600000},
                 {"4294967551", 1, 4800000},
                 {"99999999999999999999", 0, 4800000}};
    for (const auto& c : cases)
        EXPECT_EQ(clamp_memory_field(c.text, c.row), c.want) << c.text;
    const struct {
        int row;
        uint32_t capacity;
        int position;
        uint32_t proposal; // of that position
    } track[] = {{0, 30000, 0, 255},        {1, 600000, 2, 600000},    {2, 250000, 2, 200000},
                 {3, 4800000, 16, 4800000}, {0, 9000000, 16, 4800000}, {0, 1500000, 5, 1500000}};
    for (const auto& t : track) {
        EXPECT_EQ(memory_track_position(t.capacity, t.row), t.position) << t.capacity;
        EXPECT_EQ(memory_track_proposal(t.position, t.row), t.proposal) << t.position;
    }
    EXPECT_EQ(memory_track_proposal(17, 2), 1600000u);
    char text[200];
    memory_not_resized_text(text, sizeof text, 1, 4800000, 30000);
    EXPECT_STREQ(text, "The Text Format Data Memory can not be enlarged to 4800000 bytes; it keeps "
                       "30000.");
    memory_not_resized_text(text, sizeof text, 3, 255, 30000);
    EXPECT_STREQ(text, "The Display Binary Format Data Memory can not be reduced to 255 bytes; it "
                       "keeps 30000.");
    memory_not_resized_text(text, 10, 0, 1, 2);
    EXPECT_STREQ(text, "The Data ");
}

std::vector<uint8_t> content(const TemporaryMemory& memory) {
    return std::vector<uint8_t>(memory.data(), memory.data() + memory.capacity());
}

class MemoryResize : public ::testing::Test {
  protected:
    void SetUp() override {
        test_buffers::ration([](size_t size, size_t) { return size == 4800000; });
    }
    void TearDown() override { test_buffers::reset(); }
};

// Every row from 1000 bytes to a capacity: the content is kept up to the smaller capacity, bytes
// beyond the old one read as zero, a cut text ends inside the buffer, binary_length is lowered with
// byte_memory, the same capacity keeps the storage, and refused storage keeps storage and content.
TEST_F(MemoryResize, EveryRowKeepsItsContent) {
    TemporaryMemory* const row_memory[memory_row_count] = {&struct_memory, &text_memory,
                                                           &byte_memory, &byte_adjust_memory};
    for (int row = 0; row < memory_row_count; ++row) {
        for (uint32_t capacity : {5000u, 300u, 1000u, 4800000u}) {
            SCOPED_TRACE(testing::Message() << "row " << row << " to " << capacity);
            for (TemporaryMemory* memory : {row_memory[row], &char_view_memory}) {
                memory->release();
                ASSERT_TRUE(memory->allocate(1000));
                std::memcpy(memory->data(), test_files::pattern(1000, uint8_t(row)).data(), 1000);
            }
            TemporaryMemory& memory = *row_memory[row];
            const std::vector<uint8_t> before = content(memory);
            const uint8_t* storage = memory.data();
            binary_length = 1000;
            const ResizeOutcome outcome = resize_memory_row(row, capacity);
            if (capacity == 1000 || capacity == 4800000) {
                EXPECT_EQ(outcome, capacity == 1000 ? ResizeOutcome::unchanged
                                                    : ResizeOutcome::allocation_fail);
                EXPECT_EQ(memory.data(), storage);
                EXPECT_EQ(content(memory), before);
                EXPECT_EQ(binary_length, 1000);
                EXPECT_EQ(char_view_memory.capacity(), 1000u);
                continue;
            }
            ASSERT_EQ(outcome, ResizeOutcome::resized);
            std::vector<uint8_t> expected = before;
            expected.resize(capacity, 0);
            if (capacity < 1000 && row != 2)
                expected.back() = 0;
            EXPECT_EQ(content(memory), expected);
            EXPECT_EQ(binary_length,
                      row == 2 ? static_cast<int32_t>(std::min(capacity, 1000u)) : 1000);
            EXPECT_EQ(char_view_memory.capacity(), row == 3 ? capacity : 1000u);
        }
    }
    binary_length = 500;
    ASSERT_EQ(resize_memory_row(2, 800), ResizeOutcome::resized);
    EXPECT_EQ(binary_length, 500) << "a count that fits stays";
    EXPECT_EQ(resize_memory_row(memory_row_count, 800), ResizeOutcome::allocation_fail);
    EXPECT_EQ(resize_memory_row(0, 0), ResizeOutcome::allocation_fail);

    // The display row changes neither buffer when the view's storage cannot be had.
    test_buffers::ration([](size_t size, size_t earlier) { return size == 7000 && earlier > 0; });
    EXPECT_EQ(resize_memory_row(3, 7000), ResizeOutcome::allocation_fail);
    EXPECT_EQ(byte_adjust_memory.capacity(), 1000u);
    EXPECT_EQ(char_view_memory.capacity(), 1000u);
}

} // namespace
