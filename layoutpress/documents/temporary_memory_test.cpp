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
    } cases[] = {{3, 0, 1}, {5, 10, 11}, {64, 11, 11}, {0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.capacity << " bytes, " << c.refusals << " refusals");
        refusals = c.refusals;
        requests = 0;
        TemporaryMemory memory, other;
        const bool had = c.requests > c.refusals;
        EXPECT_EQ(memory.allocate(c.capacity), had);
        EXPECT_EQ(requests, c.requests);
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
    set_storage_request(nullptr);
}

} // namespace
