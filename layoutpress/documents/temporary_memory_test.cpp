#include "layoutpress/documents/temporary_memory.h"

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

namespace {

// A storage request that refuses the first `refusals` calls and then hands out storage filled
// with 0xAA, so that zeroing by allocate() can be seen.
int refusals = 0;
int requests = 0;

void* refusing_request(size_t size) {
    ++requests;
    if (requests <= refusals) {
        return nullptr;
    }
    void* storage = std::malloc(size);
    if (storage != nullptr) {
        std::memset(storage, 0xAA, size);
    }
    return storage;
}

class TemporaryMemoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        refusals = 0;
        requests = 0;
        set_storage_request(refusing_request);
    }
    void TearDown() override { set_storage_request(nullptr); }
};

TEST_F(TemporaryMemoryTest, NewStorageReadsAsAnEmptyText) {
    for (uint32_t capacity : {1u, 2u, 3u, 4u, 5u, 30000u}) {
        SCOPED_TRACE(testing::Message() << "capacity " << capacity);
        TemporaryMemory memory;
        ASSERT_TRUE(memory.allocate(capacity));
        ASSERT_NE(memory.data(), nullptr);
        EXPECT_EQ(memory.capacity(), capacity);
        EXPECT_EQ(memory.attempts(), 1);
        for (uint32_t i = 0; i < 4 && i < capacity; ++i) {
            EXPECT_EQ(memory.data()[i], 0) << "byte " << i;
        }
        EXPECT_STREQ(memory.text(), "");
    }
}

TEST_F(TemporaryMemoryTest, AllocateAndReleaseRefuseWhatDoesNotApply) {
    TemporaryMemory memory;
    EXPECT_EQ(memory.data(), nullptr);
    EXPECT_EQ(memory.capacity(), 0u);
    EXPECT_FALSE(memory.release()) << "nothing held yet";

    EXPECT_FALSE(memory.allocate(0));
    EXPECT_EQ(requests, 0) << "a capacity of 0 must not request storage";
    EXPECT_EQ(memory.data(), nullptr);

    ASSERT_TRUE(memory.allocate(100));
    uint8_t* held = memory.data();
    held[10] = 0x5A;
    EXPECT_FALSE(memory.allocate(50)) << "already allocated";
    EXPECT_EQ(memory.data(), held);
    EXPECT_EQ(memory.capacity(), 100u);
    EXPECT_EQ(memory.data()[10], 0x5A) << "the held storage must be untouched";
    EXPECT_EQ(requests, 1);

    EXPECT_TRUE(memory.release());
    EXPECT_EQ(memory.data(), nullptr);
    EXPECT_EQ(memory.capacity(), 0u);
    EXPECT_FALSE(memory.release());
}

TEST_F(TemporaryMemoryTest, ReallocatingHoldsOnlyTheNewCapacity) {
    TemporaryMemory memory;
    ASSERT_TRUE(memory.allocate(1000));
    std::memset(memory.data(), 'x', 1000);
    ASSERT_TRUE(memory.release());
    ASSERT_TRUE(memory.allocate(300));
    EXPECT_EQ(memory.capacity(), 300u);
    EXPECT_STREQ(memory.text(), "");
}

TEST_F(TemporaryMemoryTest, RefusedRequestsAreRetriedElevenTimesAtMost) {
    struct Case {
        int refusals;
        bool allocated;
        int attempts;
    };
    const Case cases[] = {
        {1, true, 2},
        {10, true, 11},
        {11, false, 11},
        {1000, false, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.refusals << " refusals");
        refusals = c.refusals;
        requests = 0;
        TemporaryMemory memory;
        EXPECT_EQ(memory.allocate(64), c.allocated);
        EXPECT_EQ(memory.attempts(), c.attempts);
        EXPECT_EQ(requests, c.attempts);
        if (c.allocated) {
            EXPECT_EQ(memory.capacity(), 64u);
            EXPECT_STREQ(memory.text(), "");
        } else {
            EXPECT_EQ(memory.data(), nullptr);
            EXPECT_EQ(memory.capacity(), 0u);
            EXPECT_FALSE(memory.release()) << "a failed allocation holds nothing";
        }
    }
}

TEST(TemporaryMemoryDefault, DefaultRequestGivesUsableStorage) {
    set_storage_request(nullptr);
    TemporaryMemory memory;
    ASSERT_TRUE(memory.allocate(4096));
    std::memset(memory.data(), 0x11, 4096); // the sanitizers check the whole range is ours
    EXPECT_EQ(memory.data()[4095], 0x11);
}

} // namespace

TEST(TemporaryMemorySwap, ExchangesStorageWithoutCopying) {
    TemporaryMemory a;
    TemporaryMemory b;
    ASSERT_TRUE(a.allocate(10));
    uint8_t* storage = a.data();
    a.swap(b);
    EXPECT_EQ(a.data(), nullptr);
    EXPECT_EQ(a.capacity(), 0u);
    EXPECT_EQ(b.data(), storage);
    EXPECT_EQ(b.capacity(), 10u);
    EXPECT_FALSE(a.release());
    EXPECT_TRUE(b.release());
}
