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
    if (storage != nullptr) {
        std::memset(storage, 0xAA, size);
    }
    return storage;
}

TEST(TemporaryMemory, AllocatesEmptyTextsAndRetriesElevenTimesAtMost) {
    set_storage_request(refusing_request);
    const struct {
        uint32_t capacity;
        int refusals;
        int attempts; // 0: not allocated after 11
    } cases[] = {{1, 0, 1},    {3, 0, 1},   {5, 0, 1},    {64, 1, 2},
                 {64, 10, 11}, {64, 11, 0}, {64, 1000, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.capacity << " bytes, " << c.refusals << " refusals");
        refusals = c.refusals;
        requests = 0;
        TemporaryMemory memory;
        EXPECT_EQ(memory.allocate(c.capacity), c.attempts != 0);
        EXPECT_EQ(requests, c.attempts != 0 ? c.attempts : 11);
        EXPECT_EQ(memory.attempts(), requests);
        EXPECT_EQ(memory.capacity(), c.attempts != 0 ? c.capacity : 0u);
        if (c.attempts != 0) {
            EXPECT_EQ(std::memcmp(memory.data(), "\0\0\0\0\xAA", std::min(c.capacity, 5u)), 0);
        }
        EXPECT_EQ(memory.release(), c.attempts != 0) << "a failed allocation holds nothing";
        EXPECT_EQ(memory.data(), nullptr);
    }
    refusals = 0;
    requests = 0;
    TemporaryMemory memory;
    EXPECT_FALSE(memory.allocate(0));
    EXPECT_EQ(requests, 0) << "a capacity of 0 requests no storage";
    ASSERT_TRUE(memory.allocate(100));
    uint8_t* held = memory.data();
    EXPECT_FALSE(memory.allocate(50)) << "already allocated";
    EXPECT_EQ(memory.data(), held);
    EXPECT_EQ(memory.capacity(), 100u);

    TemporaryMemory other;
    ASSERT_TRUE(other.allocate(7));
    uint8_t* other_held = other.data();
    memory.swap(other);
    EXPECT_EQ(memory.data(), other_held);
    EXPECT_EQ(memory.capacity(), 7u);
    EXPECT_EQ(other.data(), held);
    EXPECT_EQ(other.capacity(), 100u);
    EXPECT_EQ(requests, 2) << "swapping allocates nothing";
    set_storage_request(nullptr);
    TemporaryMemory real;
    ASSERT_TRUE(real.allocate(4096));
    std::memset(real.data(), 0x11, 4096); // the sanitizers check the whole range is ours
}

} // namespace
