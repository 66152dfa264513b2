// parse_structure over arbitrary text: the member table is never written past its entries, its
// last entry stays an end mark, every entry before the first end mark is one the parser can
// make, and the text reads the same whether it ends at its capacity or at a zero byte.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "layoutpress/structure/structure_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ExactBuffer<char> text(data, size);
    std::unique_ptr<MemberTable> table(new MemberTable);
    std::memset(table.get(), 0x5A, sizeof(MemberTable));
    StructureFailure failure;
    const int result = parse_structure(text.data(), text.size(), *table, &failure);
    FUZZ_CHECK((result == 1) == (failure.problem == StructureProblem::none));
    FUZZ_CHECK(result == 1 || size == 0 || failure.offset < size);
    FUZZ_CHECK(table->entries[max_members].kind == MemberKind::End);
    int members = 0;
    for (; members < member_table_entries && !is_end_mark(table->entries[members]); ++members) {
        FUZZ_CHECK(member_size_allowed(table->entries[members]));
        FUZZ_CHECK(table->entries[members].element_count >= 0);
    }
    // Everything after the entries in use is cleared (an f_char of size 0 may stand in between).
    for (int i = members + 1; i < member_table_entries; ++i) {
        const MemberEntry& entry = table->entries[i];
        FUZZ_CHECK(entry.kind != MemberKind::End || (entry.size == 0 && entry.element_count == 0));
    }
    // The same text with a terminator after it gives the same table.
    ExactBuffer<char> terminated(size + 1);
    std::memcpy(terminated.data(), text.data(), size);
    terminated[size] = 0;
    std::unique_ptr<MemberTable> again(new MemberTable);
    FUZZ_CHECK(parse_structure(terminated.data(), terminated.size(), *again) == result);
    FUZZ_CHECK(std::memcmp(again.get(), table.get(), sizeof(MemberTable)) == 0);
    return 0;
}
