#include "tallydrill/practice/score_answer.h"

#include <cstddef>

namespace {

// 64 characters including the terminator.
constexpr std::size_t digit_buffer_size = 64;

struct DigitBuffer {
    char digits[digit_buffer_size];
};

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool at_end(std::string_view text, std::size_t p) {
    return p >= text.size() || text[p] == '\0';
}

// Takes the whole run of digits from p; the buffer keeps what fits and stays terminated.
std::size_t collect_digits(std::string_view text, std::size_t p, DigitBuffer& buffer) {
    std::size_t length = 0;
    for (; !at_end(text, p) && is_digit(text[p]); ++p) {
        if (length + 1 < digit_buffer_size) {
            buffer.digits[length++] = text[p];
        }
    }
    buffer.digits[length] = '\0';
    return p;
}

std::int32_t to_signed32(std::uint32_t value) {
    // Two's complement without relying on an implementation-defined conversion.
    return value <= 0x7FFFFFFFu ? static_cast<std::int32_t>(value)
                                : -static_cast<std::int32_t>(~value) - 1;
}

} // namespace

int parse_decimal(std::int32_t* value, const char* digits) {
    if (value == nullptr || digits == nullptr) {
        return 0;
    }
    const char* p = digits;
    const bool negative = *p == '-';
    if (negative) {
        ++p;
    }
    std::uint32_t sum = 0;
    int count = 0;
    for (; *p != '\0'; ++p) {
        if (!is_digit(*p) || ++count > 256) {
            return 0;
        }
        sum = sum * 10u + static_cast<std::uint32_t>(*p - '0');
    }
    *value = to_signed32(negative ? 0u - sum : sum);
    return 1;
}

ScoreAnswer parse_score_answer(std::string_view text) {
    ScoreAnswer answer{};
    std::size_t p = 0;
    while (!at_end(text, p) && text[p] == ' ') {
        ++p;
    }
    if (at_end(text, p) || !is_digit(text[p])) {
        answer.invalid = true;
        return answer;
    }
    DigitBuffer first{};
    DigitBuffer second{};
    p = collect_digits(text, p, first);
    // Anything between the numbers separates them ("1000-2000", "1000/2000"); a letter "a" ends
    // the text for the parse, so "2600 all" is "2600 a".
    for (; !at_end(text, p) && !is_digit(text[p]); ++p) {
        if (text[p] == 'a' || text[p] == 'A') {
            answer.all = true;
            break;
        }
    }
    if (!answer.all) {
        collect_digits(text, p, second);
    }
    parse_decimal(&answer.first, first.digits);
    parse_decimal(&answer.second, second.digits);
    return answer;
}

ScoreComparison compare_score_answers(std::string_view right_text, std::string_view user_text) {
    const ScoreAnswer right = parse_score_answer(right_text);
    const ScoreAnswer user = parse_score_answer(user_text);
    if (right.invalid) {
        return ScoreComparison::no_verdict;
    }
    if (right.all == user.all && right.first == user.first && right.second == user.second) {
        return ScoreComparison::right;
    }
    return ScoreComparison::wrong;
}
