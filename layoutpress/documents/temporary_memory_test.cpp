#include "layoutpress/documents/temporary_memory.h"

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

namespace {

// Refuses the first `refusals` requests, then hands out storage filled with 0xAA, so that the
// zeroing by allocate() can be seen.
int refusals = 0;
int requests = 0;
void* refusing_request(size_t size) {
    void* storage = ++requests <= refusals ? nullptr : std::malloc(size);
    return storage != nullptr ? std::memset(storage, 0xAA, size) : nullptr;
}

// Up to eleven tries; a buffer that has storage, or a capacity of 0, requests none; a failed
// one holds nothing; swapping exchanges the storage.
TEST(TemporaryMemory, AllocatesEmptyTextsAndRetriesElevenTimesAtMost) {
    set_storage_request(refusing_request);
    const struct {
        uint32_t capacity;
        int refusals;
        int requests; // 11 with no storage had
        bool had;
    } cases[] = {{3, 0, 1, true},
                 {5, 0, 1, true},
                 {64, 10, 11, true},
                 {64, 11, 11, false},
                 {0, 0, 0, false}};
    TemporaryMemory other;
    ASSERT_TRUE(other.allocate(7));
    uint8_t* other_storage = other.data();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.capacity << " bytes, " << c.refusals << " refusals");
        refusals = c.refusals;
        requests = 0;
        TemporaryMemory memory;
        EXPECT_EQ(memory.allocate(c.capacity), c.had);
        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(memory.attempts(), c.requests);
        EXPECT_EQ(memory.capacity(), c.had ? c.capacity : 0u);
        if (c.had) {
            EXPECT_EQ(std::memcmp(memory.data(), "\0\0\0\0\xAA", std::min(c.capacity, 5u)), 0);
            uint8_t* const storage = memory.data();
            EXPECT_FALSE(memory.allocate(50)) << "already allocated";
            memory.swap(other);
            EXPECT_EQ(memory.data(), other_storage);
            EXPECT_EQ(other.data(), storage);
            EXPECT_EQ(other.capacity(), c.capacity);
            EXPECT_EQ(requests, c.requests) << "swapping allocates nothing";
            other_storage = storage;
        }
        EXPECT_EQ(memory.release(), c.had) << "a failed allocation holds nothing";
        EXPECT_EQ(memory.data(), nullptr);
    }
    set_storage_request(nullptr);
}

} // namespace
