// Typed scores: the first byte says how many of the following bytes are the right answer's
// text, the rest is the user's. Parsing is the same whether the text ends at its size or at a
// NUL, an invalid text reads as 0 / 0, a text compared with itself is right unless it is no
// score, and parse_decimal leaves its value alone when it refuses.
#include <cstring>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "tallydrill/practice/score_answer.h"

namespace {

bool same(const ScoreAnswer& a, const ScoreAnswer& b) {
    return a.first == b.first && a.second == b.second && a.all == b.all && a.invalid == b.invalid;
}

void check_text(const char* text, size_t size) {
    const ScoreAnswer answer = parse_score_answer(std::string_view(text, size));
    if (answer.invalid) {
        FUZZ_CHECK(answer.first == 0 && answer.second == 0 && !answer.all);
    }
    const size_t before_nul = strnlen(text, size);
    FUZZ_CHECK(same(answer, parse_score_answer(std::string_view(text, before_nul))));
    const ScoreComparison self =
        compare_score_answers(std::string_view(text, size), std::string_view(text, size));
    FUZZ_CHECK(self == (answer.invalid ? ScoreComparison::no_verdict : ScoreComparison::right));

    ExactBuffer<char> terminated(before_nul + 1);
    std::memcpy(terminated.data(), text, before_nul);
    terminated[before_nul] = 0;
    std::int32_t value = 12345;
    const int read = parse_decimal(&value, terminated.data());
    FUZZ_CHECK(read == 0 || read == 1);
    if (read == 0) {
        FUZZ_CHECK(value == 12345);
    }
    FUZZ_CHECK(parse_decimal(nullptr, terminated.data()) == 0);
    FUZZ_CHECK(parse_decimal(&value, nullptr) == 0);
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

    const ScoreComparison verdict = compare_score_answers(
        std::string_view(right.data(), right.size()), std::string_view(user.data(), user.size()));
    const ScoreAnswer expected = parse_score_answer(std::string_view(right.data(), right.size()));
    const ScoreAnswer typed = parse_score_answer(std::string_view(user.data(), user.size()));
    if (expected.invalid) {
        FUZZ_CHECK(verdict == ScoreComparison::no_verdict);
    } else {
        const bool equal = expected.first == typed.first && expected.second == typed.second &&
                           expected.all == typed.all;
        FUZZ_CHECK(verdict == (equal ? ScoreComparison::right : ScoreComparison::wrong));
    }
    return 0;
}
