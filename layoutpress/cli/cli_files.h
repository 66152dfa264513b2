// The batch converter's side of the system: file input and output (whole files as bytes, "-"
// for the standard streams) and the processors it may use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Bytes that are not initialised when they are allocated: a page of a large buffer is then
// first touched when a result reaches it, and pages a result never reaches cost nothing. Where
// the system has huge pages, a large buffer asks for them: one fault then takes in 2 MB
// instead of 4 KB, and the faults of a fresh multi-megabyte result cost more than converting it.
class RawBytes {
  public:
    explicit RawBytes(size_t count = 0);
    ~RawBytes();
    RawBytes(RawBytes&& other) noexcept { take(other); }
    RawBytes& operator=(RawBytes&& other) noexcept;
    RawBytes(const RawBytes&) = delete;
    RawBytes& operator=(const RawBytes&) = delete;

    uint8_t* data() { return data_; }
    size_t capacity = 0;

  private:
    void take(RawBytes& other);
    void release();

    uint8_t* data_ = nullptr;
    bool mapped_ = false;
    size_t mapped_size_ = 0;
    void* mapped_start_ = nullptr;
};

// A whole input file. A regular file is mapped where the system allows it rather than copied:
// copying a large document into fresh memory costs a page fault per page, several times the
// conversion's own time.
class InputBytes {
  public:
    InputBytes() = default;
    InputBytes(const InputBytes&) = delete;
    InputBytes& operator=(const InputBytes&) = delete;
    ~InputBytes();

    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

  private:
    friend bool read_whole_input(const std::string& path, InputBytes& input, std::string* error);

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    void* mapping_ = nullptr;
    size_t mapping_size_ = 0;
    RawBytes copy_;
};

// Reads the whole file (or standard input for "-"). On failure returns false and sets *error
// to a message that names the file.
bool read_whole_input(const std::string& path, InputBytes& input, std::string* error);

// Writes bytes to path (standard output for "" or "-"). A file is replaced only once the new
// content is completely written. On failure returns false and sets *error.
bool write_whole_output(const std::string& path, const void* data, size_t size, std::string* error);

// The same for output made piece by piece: produce hands each piece to put in order and returns
// whether every put went through.
using OutputPut = std::function<bool(const void* data, size_t size)>;
using OutputProducer = std::function<bool(const OutputPut& put)>;
bool write_output_pieces(const std::string& path, const OutputProducer& produce,
                         std::string* error);

// The processors this process may run on (at least 1): those of its affinity where the system
// tells them, which a container or taskset may have made fewer than the machine's.
unsigned usable_processors();

// Line ends at the file boundary: lone LF to CR LF when reading; CR LF to LF when writing,
// in place (the text only shrinks), returning the new length.
std::vector<uint8_t> line_feeds_to_crlf(const uint8_t* text, size_t length);
size_t crlf_to_line_feeds(char* text, size_t length);
