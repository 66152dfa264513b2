// text_to_binary: a structure text, a zero byte, then the text format data. The result fits
// its buffer and leaves zero bytes after it, a buffer of exactly the result's size gives the
// same bytes and one byte less fails with output_full leaving the buffer zero; the records read
// back from binary_to_text's text under every organization where the round trip is defined.
// The entry that does not fill its buffer first gives the same bytes.
#include "fuzz/conversion_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    std::unique_ptr<MemberTable> table(new MemberTable);
    if (!read_fuzz_structure(reader, *table)) {
        return 0;
    }
    ExactBuffer<char> text(reader.rest(), reader.left()); // ends at its capacity

    // Each value takes at least one character and fills one member.
    size_t largest = 1;
    for (const MemberEntry& entry : table->entries) {
        largest = entry.size > 0 && static_cast<size_t>(entry.size) > largest
                      ? static_cast<size_t>(entry.size)
                      : largest;
    }
    const size_t capacity = 1 + text.size() * largest;
    ExactBuffer<uint8_t> wide(capacity);
    wide.fill(0xA5);
    ConversionProblem problem;
    const size_t written =
        text_to_binary(wide.data(), wide.size(), text.data(), text.size(), *table, &problem);
    FUZZ_CHECK(written <= capacity);
    for (size_t i = written; i < capacity; ++i) {
        FUZZ_CHECK(wide[i] == 0);
    }
    if (written == 0) {
        FUZZ_CHECK(problem != ConversionProblem::none);
        FUZZ_CHECK(problem != ConversionProblem::output_full);
        return 0;
    }
    FUZZ_CHECK(problem == ConversionProblem::none);

    // Exactly its size, by either entry: the same bytes; one byte short: output_full (and the
    // filling entry leaves the buffer zero).
    ExactBuffer<uint8_t> exact(written);
    ExactBuffer<uint8_t> short_one(written - 1);
    for (auto convert : {text_to_binary_unfilled, text_to_binary}) {
        exact.fill(0xA5);
        FUZZ_CHECK(convert(exact.data(), exact.size(), text.data(), text.size(), *table,
                           &problem) == written);
        FUZZ_CHECK(std::memcmp(exact.data(), wide.data(), written) == 0);
        short_one.fill(0xA5);
        FUZZ_CHECK(convert(short_one.data(), short_one.size(), text.data(), text.size(), *table,
                           &problem) == 0);
        FUZZ_CHECK(problem == ConversionProblem::output_full);
    }
    for (size_t i = 0; i < short_one.size(); ++i) {
        FUZZ_CHECK(short_one[i] == 0); // the filling entry ran last
    }

    for (int options = 0; options < 4; ++options) {
        check_round_trip(exact.data(), written, *table,
                         TextOrganization{(options & 1) != 0, (options & 2) != 0});
    }
    return 0;
}
