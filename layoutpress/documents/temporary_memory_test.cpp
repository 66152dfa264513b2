#include "layoutpress/documents/temporary_memory.h"

#include <cstring>

#include <gtest/gtest.h>

#include "layoutpress/documents/buffers_test_support.h"

namespace {

// Up to eleven tries; a buffer that has storage, or a capacity of 0, requests none; a failed
// one holds nothing; swapping exchanges the storage.
TEST(TemporaryMemory, AllocatesEmptyTextsAndRetriesElevenTimesAtMost) {
    const struct {
        uint32_t capacity;
        int refusals;
        int requests; // 11 with no storage had
    } cases[] = {{3, 0, 1}, {5, 10, 11}, {64, 11, 11}, {0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.capacity << " bytes, " << c.refusals << " refusals");
        test_buffers::ration([&c](size_t, size_t earlier) { return earlier < size_t(c.refusals); });
        TemporaryMemory memory, other;
        const bool had = c.requests > c.refusals;
        EXPECT_EQ(memory.allocate(c.capacity), had);
        EXPECT_EQ(test_buffers::requested.size(), size_t(c.requests));
        EXPECT_EQ(memory.attempts(), c.requests);
        EXPECT_EQ(memory.capacity(), had ? c.capacity : 0u);
        uint8_t* const storage = memory.data();
        if (had) {
            EXPECT_EQ(std::memcmp(storage, "\0\0\0\0\xAA", std::min(c.capacity, 5u)), 0);
            EXPECT_FALSE(memory.allocate(50)) << "already allocated";
        }
        memory.swap(other);
        EXPECT_EQ(other.data(), storage);
        EXPECT_EQ(other.capacity(), had ? c.capacity : 0u);
        EXPECT_FALSE(memory.release()) << "nothing to give back";
        EXPECT_EQ(other.release(), had);
        EXPECT_EQ(other.data(), nullptr);
    }
    test_buffers::reset();
}

} // namespace
