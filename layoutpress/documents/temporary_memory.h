// A work buffer that owns its storage.
#pragma once

#include <cstddef>
#include <cstdint>

class TemporaryMemory {
  public:
    TemporaryMemory() = default;
    ~TemporaryMemory() { release(); }
    TemporaryMemory(const TemporaryMemory&) = delete;
    TemporaryMemory& operator=(const TemporaryMemory&) = delete;

    // False, changing nothing, when storage is already held or capacity is 0; false after 11
    // failed requests (the buffer then holds nothing). Otherwise the first four bytes are
    // zeroed, so the buffer reads as an empty text.
    bool allocate(uint32_t capacity);
    // False when no storage is held.
    bool release();
    // Exchanges the storage (and capacities) of the two buffers; nothing is allocated or freed.
    void swap(TemporaryMemory& other);

    uint8_t* data() const { return data_; }
    char* text() const { return reinterpret_cast<char*>(data_); }
    uint32_t capacity() const { return capacity_; }
    int32_t attempts() const { return attempts_; }

  private:
    uint8_t* data_ = nullptr;
    uint32_t capacity_ = 0;
    int32_t attempts_ = 0;
};

// The storage requests behind allocate(); tests replace it to inject failures.
using StorageRequest = void* (*)(size_t size);
void set_storage_request(StorageRequest request); // nullptr restores the default
