// The FILE FILTER fields as text and back. The first byte picks the size of the text buffer, the
// next two a length, the rest are filter bytes (and, with a terminator, a text to read). Both
// directions stay inside their buffers and write what a plain model of them writes; a filter
// with no '\' directly followed by '0' comes back from its text unchanged.
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "layoutpress/documents/filter_text.h"

namespace {

// The text filter_to_text promises: whole "\0" pairs and bytes while they fit out_size - 1.
std::string model_text(const char* filter, size_t length, size_t out_size, size_t* taken) {
    std::string text;
    *taken = 0;
    for (size_t i = 0; i < length; ++i) {
        const std::string piece =
            filter[i] == '\0' ? std::string("\\0") : std::string(1, filter[i]);
        if (text.size() + piece.size() > out_size - 1) {
            break;
        }
        text += piece;
        ++*taken;
    }
    return text;
}

std::string model_filter(const char* text, size_t out_size) {
    std::string filter;
    for (const char* at = text; *at != '\0' && filter.size() < out_size; ++at) {
        if (at[0] == '\\' && at[1] == '0') {
            filter += '\0';
            ++at;
        } else {
            filter += *at;
        }
    }
    return filter;
}

} // namespace

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
    FUZZ_CHECK(used < out_size);
    FUZZ_CHECK(text[used] == 0);
    size_t taken;
    const std::string expected = model_text(filter.data(), readable, out_size, &taken);
    FUZZ_CHECK(used == expected.size() && std::memcmp(text.data(), expected.data(), used) == 0);

    // Back to bytes, into exactly as many as were shown.
    ExactBuffer<char> back(taken);
    ExactBuffer<char> shown(text.data(), used + 1);
    const size_t count = text_to_filter(shown.data(), back.data(), back.size());
    FUZZ_CHECK(count <= taken);
    bool ambiguous = false;
    for (size_t i = 0; i + 1 < taken; ++i) {
        ambiguous = ambiguous || (filter[i] == '\\' && filter[i + 1] == '0');
    }
    if (!ambiguous) {
        FUZZ_CHECK(count == taken);
        FUZZ_CHECK(taken == 0 || std::memcmp(back.data(), filter.data(), taken) == 0);
    }

    // The filter bytes read as a text (up to their first zero byte, which is added), into a
    // field of out_size bytes.
    const size_t text_length = strnlen(filter.data(), filter.size());
    ExactBuffer<char> typed(text_length + 1);
    std::memcpy(typed.data(), filter.data(), text_length);
    typed[text_length] = 0;
    ExactBuffer<char> field(out_size);
    const size_t read = text_to_filter(typed.data(), field.data(), field.size());
    const std::string model = model_filter(typed.data(), out_size);
    FUZZ_CHECK(read <= out_size);
    FUZZ_CHECK(read == model.size() && std::memcmp(field.data(), model.data(), read) == 0);
    return 0;
}
