// Files for the tests: a fresh folder of the test's own, removed with everything in it, and
// whole-file reads and writes in binary mode.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace test_files {

using Bytes = std::vector<uint8_t>;

class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix = "layoutpress-test-") {
        std::random_device random;
        do {
            path_ = std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// The whole file; empty when it cannot be read.
inline Bytes read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void write_all(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void write_all(const std::string& path, const std::string& text) {
    write_all(path, Bytes(text.begin(), text.end()));
}

inline Bytes bytes_of(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Every byte value, zero and the line-end bytes included, in a pattern that does not repeat
// every 256 bytes, so that a shifted or dropped piece shows.
inline Bytes pattern(size_t size, uint8_t seed = 0) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 256 + seed);
    return bytes;
}

// The little-endian 32-bit value at offset; all ones when the bytes end before it.
inline uint32_t u32_at(const Bytes& bytes, size_t offset) {
    if (bytes.size() < offset + 4)
        return 0xFFFFFFFF;
    return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

} // namespace test_files
