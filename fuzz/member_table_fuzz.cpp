// Both conversions along member tables that the parser never makes: any kind code, sizes a kind
// does not allow, 256 members without an end mark. The input gives the number of entries, then
// three bytes per entry (kind, size, element count), then bytes used both as binary data and as
// text format data. Whatever the table, results fit their buffers, a text ends inside its
// buffer, and a failed text_to_binary leaves its buffer zero.
#include <cstring>

#include "fuzz/conversion_support.h"

namespace {

const int32_t sizes[] = {0, 1, 2, 3, 4, 5, 8, 10, 16, 200, -1};

void check_binary_to_text(const uint8_t* data, size_t length, const MemberTable& table,
                          TextOrganization organization, size_t capacity) {
    ExactBuffer<char> out(capacity);
    out.fill('\x7F');
    ConversionProblem problem;
    const size_t written =
        binary_to_text(out.data(), out.size(), data, length, table, organization, &problem);
    FUZZ_CHECK((written != 0) == (problem == ConversionProblem::none));
    if (capacity == 0) {
        FUZZ_CHECK(written == 0);
        return;
    }
    FUZZ_CHECK(written < capacity);
    FUZZ_CHECK(has_terminator(out.data(), out.size()));
    if (written != 0) {
        FUZZ_CHECK(std::strlen(out.data()) == written);
    }
}

void check_text_to_binary(const char* text, size_t length, const MemberTable& table,
                          size_t capacity) {
    ExactBuffer<uint8_t> out(capacity);
    out.fill(0xA5);
    ConversionProblem problem;
    const size_t written = text_to_binary(out.data(), out.size(), text, length, table, &problem);
    FUZZ_CHECK(written <= capacity);
    for (size_t i = written; i < capacity; ++i) {
        FUZZ_CHECK(out[i] == 0);
    }
    if (written == 0) {
        FUZZ_CHECK(problem != ConversionProblem::none);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    std::unique_ptr<MemberTable> table(new MemberTable);
    clear_member_table(*table);
    const uint8_t entries_pick = reader.byte();
    const int entries = entries_pick == 0xFF ? member_table_entries : entries_pick;
    for (int i = 0; i < entries && reader.left() >= 3; ++i) {
        MemberEntry& entry = table->entries[i];
        entry.kind = static_cast<MemberKind>(reader.byte() % 7);
        entry.size = sizes[reader.byte() % (sizeof sizes / sizeof sizes[0])];
        entry.element_count = reader.byte() % 6;
    }
    const uint8_t capacity_pick = reader.byte();
    ExactBuffer<uint8_t> bytes(reader.rest(), reader.left());
    // As in checked_binary_to_text, plus a partial Text member of 200 bytes with its padding.
    const size_t roomy = 600 + 20 * bytes.size();
    for (int options = 0; options < 4; ++options) {
        const TextOrganization organization{(options & 1) != 0, (options & 2) != 0};
        check_binary_to_text(bytes.data(), bytes.size(), *table, organization, roomy);
        check_binary_to_text(bytes.data(), bytes.size(), *table, organization, capacity_pick);
    }
    const char* text = reinterpret_cast<const char*>(bytes.data());
    check_text_to_binary(text, bytes.size(), *table, 1 + 200 * bytes.size());
    check_text_to_binary(text, bytes.size(), *table, capacity_pick);
    return 0;
}
