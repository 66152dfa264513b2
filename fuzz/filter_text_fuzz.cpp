// The FILE FILTER fields as text and back. The first byte picks the size of the text buffer, the
// next two a length, the rest are filter bytes. The text stays inside its buffer of exactly its
// size and ends where the count says; reading it back into exactly as many bytes as were shown
// never writes more.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "layoutpress/documents/filter_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    const size_t out_size = 1 + (static_cast<size_t>(reader.byte()) * 3) % 600;
    const uint32_t length = reader.byte() | static_cast<uint32_t>(reader.byte()) << 8;
    ExactBuffer<char> filter(reader.rest(), reader.left());
    if ((length < 256 ? length : 256) > filter.size()) // the engine reads min(length, 256)
        return 0;
    ExactBuffer<char> text(out_size);
    const size_t used = filter_to_text(filter.data(), length, text.data(), text.size());
    FUZZ_CHECK(used < out_size && std::strlen(text.data()) == used);
    ExactBuffer<char> back(used);
    FUZZ_CHECK(text_to_filter(text.data(), back.data(), back.size()) <= used);
    return 0;
}
