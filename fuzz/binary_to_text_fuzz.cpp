// binary_to_text under each of the four organizations: a structure text, a zero byte, then the
// data, with the promises of conversion_support.h.
#include "fuzz/conversion_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    std::unique_ptr<MemberTable> table(new MemberTable);
    if (read_fuzz_structure(reader, *table))
        checked_binary_to_text(reader.rest(), reader.left(), *table);
    return 0;
}
