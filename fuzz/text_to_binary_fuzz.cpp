// text_to_binary: a structure text, a zero byte, then the text format data; the bytes it gives
// then go through binary_to_text (conversion_support.h).
#include "fuzz/conversion_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    std::unique_ptr<MemberTable> table(new MemberTable);
    if (read_fuzz_structure(reader, *table)) {
        ExactBuffer<char> text(reader.rest(), reader.left()); // ends at its capacity
        const std::vector<uint8_t> bytes = checked_text_to_binary(text.data(), text.size(), *table);
        checked_binary_to_text(bytes.data(), bytes.size(), *table);
    }
    return 0;
}
