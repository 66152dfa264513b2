// The FILE FILTER fields as text and back. The first byte picks the size of the text buffer, the
// next two a length, the rest are filter bytes. The text stays inside its buffer and holds the
// bytes in order, a zero byte as "\0", while whole ones fit; read back into exactly as many
// bytes as were shown, it gives them again unless they hold a '\' followed by '0' (which a text
// cannot tell from a zero byte).
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "layoutpress/documents/filter_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    const size_t out_size = 1 + (static_cast<size_t>(reader.byte()) * 3) % 600;
    const uint32_t wanted = reader.byte() | static_cast<uint32_t>(reader.byte()) << 8;
    ExactBuffer<char> filter(reader.rest(), reader.left());
    // The engine reads min(length, 256) bytes: never more than the filter buffer holds.
    const uint32_t length = static_cast<uint32_t>(
        filter.size() == 0 ? 0 : wanted % (filter.size() + (filter.size() > 256 ? 1000 : 1)));
    const size_t readable = length < 256 ? length : 256;
    if (readable > filter.size()) {
        return 0;
    }

    ExactBuffer<char> text(out_size);
    text.fill('#');
    const size_t used = filter_to_text(filter.data(), length, text.data(), text.size());
    FUZZ_CHECK(used < out_size && text[used] == 0);
    size_t at = 0;
    size_t taken = 0;
    bool ambiguous = false;
    for (; taken < readable && at + (filter[taken] == 0 ? 2 : 1) <= used; ++taken) {
        const char* piece = filter[taken] == 0 ? "\\0" : &filter[taken];
        FUZZ_CHECK(std::memcmp(text.data() + at, piece, filter[taken] == 0 ? 2 : 1) == 0);
        at += filter[taken] == 0 ? 2 : 1;
        ambiguous = ambiguous || (filter[taken] == '0' && taken > 0 && filter[taken - 1] == '\\');
    }
    FUZZ_CHECK(at == used); // and the next byte, if any, does not fit
    FUZZ_CHECK(taken == readable || used + (filter[taken] == 0 ? 2 : 1) > out_size - 1);

    ExactBuffer<char> shown(text.data(), used + 1);
    ExactBuffer<char> back(taken);
    const size_t count = text_to_filter(shown.data(), back.data(), back.size());
    FUZZ_CHECK(count <= taken);
    FUZZ_CHECK(ambiguous ||
               (count == taken && std::memcmp(back.data(), filter.data(), taken) == 0));
    return 0;
}
