// Typed scores: "8000", "1000 2000", "1000-2000", "2600 a". The right answer's text and the
// user's text are parsed alike and compared field by field.
#pragma once

#include <cstdint>
#include <string_view>

struct ScoreAnswer {
    std::int32_t first;  // 0 when absent
    std::int32_t second; // 0 when absent
    bool all;            // "a" or "A" after the first number
    bool invalid;        // no number at the start of the text
};

// Reads an optional "-" and decimal digits up to the NUL into *value with 32-bit wrap-around.
// Gives 1, or 0 with *value unchanged when an argument is missing, a character is not a digit or
// there are more than 256 digits. An empty text gives 1 and 0.
int parse_decimal(std::int32_t* value, const char* digits);

// The text ends at its size or at a NUL inside it. Runs of more than 63 digits keep their first
// 63 digits.
ScoreAnswer parse_score_answer(std::string_view text);

enum class ScoreComparison : int { no_verdict = 0, right = 1, wrong = 2 };

// no_verdict when the right answer's text is not a score; the user's invalid flag is ignored,
// so an unreadable input compares as 0 / 0 without "all".
ScoreComparison compare_score_answers(std::string_view right_text, std::string_view user_text);
