// parse_structure over arbitrary text ending at its capacity: a success exactly when no problem is
// named. That a zero byte ends the text the same way is the native test's, case by case.
#include "fuzz/fuzz_support.h"
#include "layoutpress/structure/structure_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ExactBuffer<char> text(data, size);
    std::unique_ptr<MemberTable> table(new MemberTable);
    StructureFailure failure;
    const int result = parse_structure(text.data(), text.size(), *table, &failure);
    FUZZ_CHECK((result == 1) == (failure.problem == StructureProblem::none));
    return 0;
}
