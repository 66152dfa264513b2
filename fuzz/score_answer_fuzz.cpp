// Typed scores (the first byte: the right answer's length, the rest is the user's): a text parses
// the same up to its NUL, and compared with itself is right unless it is no score.
#include <cstring>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "tallydrill/practice/score_answer.h"

namespace {

void check_text(const char* text, size_t size) {
    const ScoreAnswer answer = parse_score_answer(std::string_view(text, size));
    const ScoreAnswer before_nul = parse_score_answer(std::string_view(text, strnlen(text, size)));
    FUZZ_CHECK(answer.first == before_nul.first && answer.second == before_nul.second &&
               answer.all == before_nul.all && answer.invalid == before_nul.invalid);
    const ScoreComparison self =
        compare_score_answers(std::string_view(text, size), std::string_view(text, size));
    FUZZ_CHECK(self == (answer.invalid ? ScoreComparison::no_verdict : ScoreComparison::right));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader reader(data, size);
    const size_t right_size = reader.byte();
    const size_t split = right_size < reader.left() ? right_size : reader.left();
    ExactBuffer<char> right(reader.rest(), split);
    ExactBuffer<char> user(reader.rest() + split, reader.left() - split);
    check_text(right.data(), right.size());
    check_text(user.data(), user.size());
    compare_score_answers(std::string_view(right.data(), right.size()),
                          std::string_view(user.data(), user.size()));
    return 0;
}
