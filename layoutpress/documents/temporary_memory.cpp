#include "layoutpress/documents/temporary_memory.h"

#include <cstdlib>

namespace {

// Storage comes from std::malloc and goes back with std::free, so a replacement request must
// hand out storage that std::free accepts (or nullptr).
void* default_storage_request(size_t size) {
    return std::malloc(size);
}

StorageRequest storage_request = default_storage_request;

// A busy system may refuse a large request for a moment; a few retries ride that out.
constexpr int32_t most_requests = 11;

} // namespace

void set_storage_request(StorageRequest request) {
    storage_request = request != nullptr ? request : default_storage_request;
}

bool TemporaryMemory::allocate(uint32_t capacity) {
    if (capacity_ != 0 || capacity == 0) {
        return false;
    }
    attempts_ = 0;
    void* storage = nullptr;
    while (storage == nullptr && attempts_ < most_requests) {
        storage = storage_request(capacity);
        ++attempts_;
    }
    if (storage == nullptr) {
        // The caller reports this; ending the process here would lose the reason.
        return false;
    }
    data_ = static_cast<uint8_t*>(storage);
    capacity_ = capacity;
    // Four zero bytes make the buffer read as an empty text, whatever it holds next.
    for (uint32_t i = 0; i < 4 && i < capacity; ++i) {
        data_[i] = 0;
    }
    return true;
}

bool TemporaryMemory::release() {
    if (capacity_ == 0) {
        return false;
    }
    std::free(data_);
    data_ = nullptr;
    capacity_ = 0;
    return true;
}

void TemporaryMemory::swap(TemporaryMemory& other) {
    uint8_t* data = data_;
    const uint32_t capacity = capacity_;
    const int32_t attempts = attempts_;
    data_ = other.data_;
    capacity_ = other.capacity_;
    attempts_ = other.attempts_;
    other.data_ = data;
    other.capacity_ = capacity;
    other.attempts_ = attempts;
}
