// The dump and the character view. The first byte picks a mode, the second the room for a
// reading, the rest is both a dump text to read back (in the hexadecimal and the decimal
// reading) and bytes to show. Results stay within buffers of exactly the reported size, one
// byte less is refused and writes nothing, a refused reading leaves its target unchanged, and
// every mode's dump reads back to its bytes.
#include <cstring>
#include <initializer_list>

#include "fuzz/fuzz_support.h"
#include "layoutpress/documents/binary_display.h"

namespace {

// Reads the dump into a buffer of `capacity` bytes and checks the reader's promises.
size_t checked_parse(const char* dump, size_t dump_capacity, uint8_t mode, size_t capacity,
                     ExactBuffer<uint8_t>& out) {
    out.fill(0xC3);
    DisplayReport report;
    const size_t count =
        parse_binary_display(out.data(), capacity, dump, dump_capacity, mode, &report);
    FUZZ_CHECK(count <= capacity);
    for (size_t i = 0; report.problem != DisplayProblem::none && i < capacity; ++i) {
        FUZZ_CHECK(out[i] == 0xC3);
    }
    FUZZ_CHECK(report.problem != DisplayProblem::invalid_character ||
               report.offset < dump_capacity);
    return count;
}

// Makes a text into `text`, which has exactly the size it needs, and into one byte less.
template <typename Make> void check_text(ExactBuffer<char>& text, Make make) {
    DisplayReport report;
    FUZZ_CHECK(make(text.data(), text.size(), &report));
    FUZZ_CHECK(std::strlen(text.data()) == text.size() - 1); // zero bytes show as spaces
    ExactBuffer<char> short_one(text.size() - 1);
    short_one.fill('#');
    FUZZ_CHECK(!make(short_one.data(), short_one.size(), &report));
    FUZZ_CHECK(report.problem == DisplayProblem::output_full && report.needed == text.size());
    for (size_t i = 0; i < short_one.size(); ++i) {
        FUZZ_CHECK(short_one[i] == '#');
    }
}

void check_dump(const uint8_t* bytes, size_t count, uint8_t mode) {
    ExactBuffer<char> dump(binary_display_size(count, mode));
    check_text(dump, [&](char* out, size_t capacity, DisplayReport* report) {
        return render_binary_display(out, capacity, bytes, count, mode, report);
    });
    // Back in the same mode, into exactly count bytes and one less, without the terminator.
    ExactBuffer<uint8_t> back(count);
    FUZZ_CHECK(checked_parse(dump.data(), dump.size() - 1, mode, count, back) == count);
    FUZZ_CHECK(count == 0 || std::memcmp(back.data(), bytes, count) == 0);
    if (count != 0) {
        ExactBuffer<uint8_t> fewer(count - 1);
        FUZZ_CHECK(checked_parse(dump.data(), dump.size() - 1, mode, count - 1, fewer) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    const uint8_t mode = reader.byte();
    const uint8_t capacity_pick = reader.byte();
    ExactBuffer<uint8_t> bytes(reader.rest(), reader.left());
    const char* dump = reinterpret_cast<const char*>(bytes.data());

    // The input as a dump, into a buffer of room for it and of a smaller size; what is read is
    // shown again and reads back to the same bytes.
    for (uint8_t reading : {uint8_t{0}, uint8_t{1}, uint8_t{2}, mode}) {
        ExactBuffer<uint8_t> roomy(bytes.size());
        const size_t count = checked_parse(dump, bytes.size(), reading, roomy.size(), roomy);
        ExactBuffer<uint8_t> small(count == 0 ? 0 : capacity_pick % (count + 1));
        const size_t small_count = checked_parse(dump, bytes.size(), reading, small.size(), small);
        FUZZ_CHECK(small_count == 0 || small_count == count);
        check_dump(roomy.data(), count, reading);
        check_dump(bytes.data(), bytes.size(), reading); // the input as bytes
    }
    ExactBuffer<char> view(char_view_size(bytes.size()));
    check_text(view, [&](char* out, size_t capacity, DisplayReport* report) {
        return build_char_view(out, capacity, bytes.data(), bytes.size(), report);
    });
    return 0;
}
