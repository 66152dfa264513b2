// parse_structure over arbitrary text: a success exactly when no problem is named, and the same
// table whether the text ends at its capacity or at a zero byte.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "layoutpress/structure/structure_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ExactBuffer<char> text(data, size), terminated(size + 1);
    std::memcpy(terminated.data(), data, size);
    terminated[size] = 0;
    std::unique_ptr<MemberTable> table(new MemberTable), again(new MemberTable);
    StructureFailure failure;
    const int result = parse_structure(text.data(), text.size(), *table, &failure);
    FUZZ_CHECK((result == 1) == (failure.problem == StructureProblem::none));
    FUZZ_CHECK(parse_structure(terminated.data(), terminated.size(), *again) == result);
    FUZZ_CHECK(std::memcmp(again.get(), table.get(), sizeof(MemberTable)) == 0);
    return 0;
}
