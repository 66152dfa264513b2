// Shared helpers of the fuzz harnesses: heap buffers of exactly their capacity, so that a step
// past the end is caught by AddressSanitizer, and a check that aborts on a broken promise.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// Aborts, naming the promise, when it does not hold.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, #condition);   \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// A heap block of exactly `size` bytes (a zero size still gets a block of its own, of 0 bytes).
template <typename T> class ExactBuffer {
  public:
    explicit ExactBuffer(size_t size) : data_(new T[size]), size_(size) {}
    ExactBuffer(const void* bytes, size_t size) : ExactBuffer(size) {
        if (size != 0) {
            std::memcpy(data_.get(), bytes, size);
        }
    }
    T* data() const { return data_.get(); }
    size_t size() const { return size_; }
    T& operator[](size_t i) const { return data_[i]; }
    void fill(T value) { std::fill_n(data_.get(), size_, value); }

  private:
    std::unique_ptr<T[]> data_;
    size_t size_;
};

// Whether the block holds a zero byte.
inline bool has_terminator(const char* bytes, size_t size) {
    return std::memchr(bytes, 0, size) != nullptr;
}

// Takes the input apart: bytes from the front, or everything up to a zero byte.
class FuzzReader {
  public:
    FuzzReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return position_ == size_ ? 0 : data_[position_++]; }
    // The bytes before the next zero byte (which is consumed), or all that is left.
    size_t until_zero(const uint8_t** start) {
        *start = data_ + position_;
        size_t length = 0;
        while (position_ + length != size_ && data_[position_ + length] != 0) {
            ++length;
        }
        position_ += position_ + length != size_ ? length + 1 : length;
        return length;
    }
    const uint8_t* rest() const { return data_ + position_; }
    size_t left() const { return size_ - position_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};
