// binary_to_text under each of the four organizations: a structure text, a zero byte, then the
// data. The text fits its buffer with its terminator, a buffer of exactly that size gives the
// same text and one byte less fails with output_full, terminated inside; whole records without
// Float members, quotes or inner zero bytes read back through text_to_binary unchanged. The
// entry that does not fill its buffer first gives the same text.
#include "fuzz/conversion_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    std::unique_ptr<MemberTable> table(new MemberTable);
    if (!read_fuzz_structure(reader, *table)) {
        return 0;
    }
    ExactBuffer<uint8_t> bytes(reader.rest(), reader.left());
    for (int options = 0; options < 4; ++options) {
        check_round_trip(bytes.data(), bytes.size(), *table,
                         TextOrganization{(options & 1) != 0, (options & 2) != 0});
    }
    return 0;
}
