#include "layoutpress/documents/memory_resize.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers.h"
#include "layoutpress/documents/temporary_memory.h"

namespace {

TEST(MemoryField, ReadsLikePercentDAndClampsToTheRow) {
    struct Case {
        const char* text;
        int row;
        uint32_t want;
    };
    const Case cases[] = {
        {"100", 1, 255},
        {"abc", 1, 255},
        {"-5", 1, 255},
        {"", 0, 255},
        {"254", 0, 255},
        {"255", 0, 255},
        {"256", 0, 256},
        {"30000", 0, 30000},
        {"  450000", 1, 450000},
        {"+1000", 3, 1000},
        {"1234xyz", 2, 1234},
        {"5000000", 1, 4800000},
        {"4800000", 1, 4800000},
        {"4800001", 3, 4800000},
        {"2000000", 2, 1600000},
        {"1600000", 2, 1600000},
        {"1600001", 2, 1600000},
        {"1599999", 2, 1599999},
        {"99999999999999999999", 0, 4800000},
        {"-99999999999999999999", 0, 255},
        {"4294967551", 1, 4800000}, // 2^32 + 255 must not wrap to 255
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("field \"") + c.text + "\" row " + std::to_string(c.row));
        EXPECT_EQ(clamp_memory_field(c.text, c.row), c.want);
    }
}

TEST(MemoryTrack, PositionAndProposalFollowTheRowStep) {
    struct Case {
        int row;
        uint32_t capacity;
        int position;
    };
    const Case positions[] = {
        {0, 30000, 0},  {1, 450000, 1},   {1, 600000, 2},   {2, 10000, 0},
        {2, 250000, 2}, {3, 4800000, 16}, {2, 1600000, 16}, {0, 9000000, 16},
    };
    for (const Case& c : positions) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " capacity " << c.capacity);
        EXPECT_EQ(memory_track_position(c.capacity, c.row), c.position);
    }
    struct Proposal {
        int row;
        int position;
        uint32_t value;
    };
    const Proposal proposals[] = {
        {1, 0, 255},    {1, 1, 300000},   {1, 2, 600000},   {2, 0, 255},
        {2, 3, 300000}, {2, 16, 1600000}, {3, 16, 4800000}, {0, 5, 1500000},
    };
    for (const Proposal& p : proposals) {
        SCOPED_TRACE(testing::Message() << "row " << p.row << " position " << p.position);
        EXPECT_EQ(memory_track_proposal(p.position, p.row), p.value);
    }
    EXPECT_EQ(memory_row_largest(0), 4800000u);
    EXPECT_EQ(memory_row_largest(1), 4800000u);
    EXPECT_EQ(memory_row_largest(2), 1600000u);
    EXPECT_EQ(memory_row_largest(3), 4800000u);
}

TEST(MemoryNotResized, NamesTheMemoryAndBothSizes) {
    char text[200];
    memory_not_resized_text(text, sizeof text, 1, 4800000, 30000);
    EXPECT_STREQ(text, "The Text Format Data Memory can not be enlarged to 4800000 bytes; it keeps "
                       "30000.");
    memory_not_resized_text(text, sizeof text, 3, 255, 30000);
    EXPECT_STREQ(text,
                 "The Display Binary Format Data Memory can not be reduced to 255 bytes; it keeps "
                 "30000.");
    char small[10];
    std::memset(small, 'x', sizeof small);
    memory_not_resized_text(small, sizeof small, 0, 1, 2);
    EXPECT_STREQ(small, "The Data ");
}

// Refuses every request of exactly refused_size bytes; hands out others filled with 0xAA.
size_t refused_size = 0;
void* refusing_request(size_t size) {
    if (size == refused_size) {
        return nullptr;
    }
    void* storage = std::malloc(size);
    if (storage != nullptr) {
        std::memset(storage, 0xAA, size);
    }
    return storage;
}

TemporaryMemory* const row_memory[memory_row_count] = {&struct_memory, &text_memory, &byte_memory,
                                                       &byte_adjust_memory};

class MemoryResize : public ::testing::Test {
  protected:
    void SetUp() override {
        refused_size = 0;
        set_storage_request(refusing_request);
        for (TemporaryMemory* memory : row_memory) {
            give(*memory, 1000);
        }
        give(char_view_memory, 1000);
        binary_length = 0;
    }
    void TearDown() override {
        set_storage_request(nullptr);
        for (TemporaryMemory* memory : row_memory) {
            memory->release();
        }
        char_view_memory.release();
        binary_length = 0;
    }
    static void give(TemporaryMemory& memory, uint32_t capacity) {
        memory.release();
        ASSERT_TRUE(memory.allocate(capacity));
        std::memset(memory.data(), 0, capacity);
    }
    // Fills memory with a text of length characters ('a' + i % 26) and its terminator.
    static void fill_text(TemporaryMemory& memory, size_t length) {
        for (size_t i = 0; i < length; ++i) {
            memory.data()[i] = static_cast<uint8_t>('a' + i % 26);
        }
        memory.data()[length] = 0;
    }
    static bool holds_text(const TemporaryMemory& memory, size_t length) {
        for (size_t i = 0; i < length; ++i) {
            if (memory.data()[i] != static_cast<uint8_t>('a' + i % 26)) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(MemoryResize, EnlargingKeepsTheWholeTextOfEveryRow) {
    for (int row = 0; row < memory_row_count; ++row) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        TemporaryMemory& memory = *row_memory[row];
        fill_text(memory, 999);
        ASSERT_EQ(resize_memory_row(row, 5000), ResizeOutcome::resized);
        EXPECT_EQ(memory.capacity(), 5000u);
        EXPECT_TRUE(holds_text(memory, 999));
        EXPECT_EQ(memory.data()[999], 0);
        // The bytes beyond the old capacity are zero, not what the storage held.
        EXPECT_EQ(memory.data()[1000], 0);
        EXPECT_EQ(memory.data()[4999], 0);
    }
}

TEST_F(MemoryResize, ShrinkingATextLeavesItTerminatedInsideTheBuffer) {
    for (int row : {0, 1, 3}) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        TemporaryMemory& memory = *row_memory[row];
        fill_text(memory, 999);
        ASSERT_EQ(resize_memory_row(row, 300), ResizeOutcome::resized);
        EXPECT_EQ(memory.capacity(), 300u);
        EXPECT_TRUE(holds_text(memory, 299));
        EXPECT_EQ(std::strlen(memory.text()), 299u);
    }
}

TEST_F(MemoryResize, ShrinkingATextThatFitsKeepsItWhole) {
    fill_text(text_memory, 100);
    ASSERT_EQ(resize_memory_row(1, 300), ResizeOutcome::resized);
    EXPECT_TRUE(holds_text(text_memory, 100));
    EXPECT_STREQ(text_memory.text(), std::string(text_memory.text(), 100).c_str());
    EXPECT_EQ(std::strlen(text_memory.text()), 100u);
}

TEST_F(MemoryResize, ShrinkingTheBytesBelowTheCountLowersIt) {
    for (int i = 0; i < 1000; ++i) {
        byte_memory.data()[i] = static_cast<uint8_t>(i * 7);
    }
    struct Case {
        int32_t length;
        uint32_t capacity;
        int32_t want;
    };
    const Case cases[] = {
        {1000, 900, 900}, {900, 900, 900}, {500, 800, 500}, {800, 255, 255}, {0, 300, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "length " << c.length << " to " << c.capacity);
        binary_length = c.length;
        ASSERT_EQ(resize_memory_row(2, c.capacity), ResizeOutcome::resized);
        EXPECT_EQ(binary_length, c.want);
        for (uint32_t i = 0; i < c.capacity; ++i) {
            ASSERT_EQ(byte_memory.data()[i], static_cast<uint8_t>(i * 7)) << "byte " << i;
        }
        // Back to 1000 with the pattern again, for the next case.
        ASSERT_EQ(resize_memory_row(2, 1000), ResizeOutcome::resized);
        for (int i = 0; i < 1000; ++i) {
            byte_memory.data()[i] = static_cast<uint8_t>(i * 7);
        }
    }
}

TEST_F(MemoryResize, BinaryBytesAreNotCutAtAZeroByte) {
    std::memset(byte_memory.data(), 0, 1000);
    byte_memory.data()[299] = 0x5A;
    byte_memory.data()[999] = 0x77;
    ASSERT_EQ(resize_memory_row(2, 300), ResizeOutcome::resized);
    EXPECT_EQ(byte_memory.data()[299], 0x5A) << "the last byte of a binary buffer is kept";
    ASSERT_EQ(resize_memory_row(2, 2000), ResizeOutcome::resized);
    EXPECT_EQ(byte_memory.data()[299], 0x5A);
}

TEST_F(MemoryResize, TheDisplayRowResizesTheCharacterViewToo) {
    fill_text(char_view_memory, 10);
    ASSERT_EQ(resize_memory_row(3, 7000), ResizeOutcome::resized);
    EXPECT_EQ(byte_adjust_memory.capacity(), 7000u);
    EXPECT_EQ(char_view_memory.capacity(), 7000u);
    for (int row : {0, 1, 2}) {
        ASSERT_EQ(resize_memory_row(row, 4000), ResizeOutcome::resized);
    }
    EXPECT_EQ(char_view_memory.capacity(), 7000u) << "only the display row touches the view";
}

TEST_F(MemoryResize, SameCapacityChangesNothing) {
    fill_text(struct_memory, 500);
    uint8_t* before = struct_memory.data();
    EXPECT_EQ(resize_memory_row(0, 1000), ResizeOutcome::unchanged);
    EXPECT_EQ(struct_memory.data(), before);
    EXPECT_TRUE(holds_text(struct_memory, 500));
}

TEST_F(MemoryResize, AFailedAllocationKeepsTheOldStorageAndContent) {
    for (int row = 0; row < memory_row_count; ++row) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        TemporaryMemory& memory = *row_memory[row];
        fill_text(memory, 999);
        binary_length = 1000;
        uint8_t* before = memory.data();
        refused_size = 4800000;
        EXPECT_EQ(resize_memory_row(row, 4800000), ResizeOutcome::allocation_fail);
        EXPECT_EQ(memory.data(), before);
        EXPECT_EQ(memory.capacity(), 1000u);
        EXPECT_TRUE(holds_text(memory, 999));
        EXPECT_EQ(binary_length, 1000);
        EXPECT_EQ(char_view_memory.capacity(), 1000u);
    }
}

TEST_F(MemoryResize, TheDisplayRowChangesNeitherBufferWhenTheViewCannotBeHad) {
    // The dump's new storage is had first; every later request of that size (the view's, with
    // its retries) is refused.
    static int calls = 0;
    calls = 0;
    set_storage_request([](size_t size) -> void* {
        if (size == 6000 && ++calls >= 2) {
            return nullptr;
        }
        return std::malloc(size);
    });
    fill_text(byte_adjust_memory, 999);
    EXPECT_EQ(resize_memory_row(3, 6000), ResizeOutcome::allocation_fail);
    EXPECT_GE(calls, 2) << "the view's storage was asked for";
    EXPECT_EQ(byte_adjust_memory.capacity(), 1000u);
    EXPECT_EQ(char_view_memory.capacity(), 1000u);
    EXPECT_TRUE(holds_text(byte_adjust_memory, 999));
}

} // namespace
