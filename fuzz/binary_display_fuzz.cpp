// The dump and the character view. The first byte picks a mode, the rest is both a dump text to
// read back (in the hexadecimal and the decimal reading) and bytes to show. Results stay within
// their buffers, a failure leaves its target unchanged, a buffer of exactly the reported size
// suffices and one byte less fails, and every mode's dump reads back to its bytes.
#include <cstring>

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
    if (count == 0 && report.problem != DisplayProblem::none) {
        for (size_t i = 0; i < capacity; ++i) {
            FUZZ_CHECK(out[i] == 0xC3);
        }
        if (report.problem == DisplayProblem::invalid_character) {
            FUZZ_CHECK(report.offset < dump_capacity);
        }
    }
    return count;
}

// A text one byte shorter than it needs is refused, names the size, and writes nothing.
template <typename Make> void check_one_byte_short(size_t size, Make make) {
    if (size > 1) {
        ExactBuffer<char> short_one(size - 1);
        short_one.fill('#');
        DisplayReport report;
        FUZZ_CHECK(!make(short_one.data(), short_one.size(), &report));
        FUZZ_CHECK(report.problem == DisplayProblem::output_full && report.needed == size);
        for (size_t i = 0; i < short_one.size(); ++i) {
            FUZZ_CHECK(short_one[i] == '#');
        }
    }
}

void check_dump(const uint8_t* bytes, size_t count, uint8_t mode) {
    const size_t size = binary_display_size(count, mode);
    FUZZ_CHECK(size >= 1);
    ExactBuffer<char> dump(size);
    DisplayReport report;
    FUZZ_CHECK(render_binary_display(dump.data(), dump.size(), bytes, count, mode, &report));
    FUZZ_CHECK(std::memchr(dump.data(), 0, size) == dump.data() + size - 1);

    check_one_byte_short(size, [&](char* out, size_t capacity, DisplayReport* r) {
        return render_binary_display(out, capacity, bytes, count, mode, r);
    });

    // Back in the same mode, into exactly count bytes, without the terminator.
    ExactBuffer<uint8_t> back(count);
    FUZZ_CHECK(checked_parse(dump.data(), size - 1, mode, count, back) == count);
    FUZZ_CHECK(count == 0 || std::memcmp(back.data(), bytes, count) == 0);
    if (count != 0) {
        ExactBuffer<uint8_t> fewer(count - 1);
        FUZZ_CHECK(checked_parse(dump.data(), size - 1, mode, count - 1, fewer) == 0);
    }
}

void check_char_view(const uint8_t* bytes, size_t count) {
    const size_t size = char_view_size(count);
    ExactBuffer<char> view(size);
    DisplayReport report;
    FUZZ_CHECK(build_char_view(view.data(), view.size(), bytes, count, &report));
    FUZZ_CHECK(view[size - 1] == 0);
    FUZZ_CHECK(std::strlen(view.data()) == size - 1); // zero bytes show as spaces
    check_one_byte_short(size, [&](char* out, size_t capacity, DisplayReport* r) {
        return build_char_view(out, capacity, bytes, count, r);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    const uint8_t mode = reader.byte();
    const uint8_t capacity_pick = reader.byte();
    ExactBuffer<uint8_t> bytes(reader.rest(), reader.left());
    const char* dump = reinterpret_cast<const char*>(bytes.data());

    // The input as a dump, in both readings, into a buffer of every size up to what it needs.
    const uint8_t readings[] = {0, 1, 2, mode};
    for (uint8_t reading : readings) {
        ExactBuffer<uint8_t> roomy(bytes.size());
        const size_t count = checked_parse(dump, bytes.size(), reading, roomy.size(), roomy);
        const size_t capacity = count == 0 ? 0 : capacity_pick % (count + 1);
        ExactBuffer<uint8_t> small(capacity);
        const size_t small_count = checked_parse(dump, bytes.size(), reading, capacity, small);
        FUZZ_CHECK(small_count == 0 || small_count == count);
        if (count != 0) {
            // A dump read back and shown again reads back to the same bytes.
            check_dump(roomy.data(), count, reading);
        }
    }

    // The input as bytes, in every mode, and its character view.
    check_dump(bytes.data(), bytes.size(), 0);
    check_dump(bytes.data(), bytes.size(), 1);
    check_dump(bytes.data(), bytes.size(), 2);
    check_dump(bytes.data(), bytes.size(), mode);
    check_char_view(bytes.data(), bytes.size());
    return 0;
}
