#include "tallydrill/practice/judging.h"

#include <charconv>
#include <cstring>

#include "tallydrill/practice/score_answer.h"

namespace {

constexpr char seconds_suffix[] = " sec";

// Appends " sec" after the number that to_chars wrote; the buffer has room for any value.
void append_suffix(SecondsText& text, char* number_end) {
    const std::size_t room = static_cast<std::size_t>(text.text + sizeof text.text - number_end);
    if (room >= sizeof seconds_suffix) {
        std::memcpy(number_end, seconds_suffix, sizeof seconds_suffix);
    }
}

} // namespace

std::int32_t elapsed_ms(std::uint32_t now_ms, std::uint32_t start_ms) {
    const std::uint32_t difference = now_ms - start_ms;
    return difference <= 0x7FFFFFFFu ? static_cast<std::int32_t>(difference)
                                     : -static_cast<std::int32_t>(~difference) - 1;
}

std::int32_t elapsed_bar_position(std::int32_t elapsed, std::int32_t time_limit) {
    if (time_limit <= 0) {
        return elapsed_bar_range;
    }
    const double position =
        static_cast<double>(elapsed) / (static_cast<double>(time_limit) * 1000.0) * 1000.0;
    if (position >= elapsed_bar_range) {
        return elapsed_bar_range;
    }
    if (position <= 0.0) {
        return 0;
    }
    return static_cast<std::int32_t>(position);
}

SecondsText whole_seconds_text(std::int32_t seconds) {
    SecondsText text{};
    const std::to_chars_result result =
        std::to_chars(text.text, text.text + sizeof text.text - 1, seconds);
    append_suffix(text, result.ptr);
    return text;
}

SecondsText answer_seconds_text(std::int32_t answer_ms) {
    SecondsText text{};
    // to_chars with a precision rounds the exact binary value like printf in the C locale:
    // 0.25 is exact and goes to even (0.2), 12.35 is stored below the half and gives 12.3.
    const std::to_chars_result result =
        std::to_chars(text.text, text.text + sizeof text.text - 1, answer_ms / 1000.0,
                      std::chars_format::fixed, 1);
    append_suffix(text, result.ptr);
    return text;
}

const char* timing_verdict(std::int32_t time_limit, std::int32_t answer_ms) {
    return static_cast<double>(time_limit) >= answer_ms / 1000.0 ? "permit" : "too late";
}

const char* select_answer_verdict(int chosen_slot, int right_slot) {
    return chosen_slot == right_slot ? "right" : "wrong";
}

const char* direct_input_verdict(std::string_view right_answer, std::string_view user_answer) {
    switch (compare_score_answers(right_answer, user_answer)) {
    case ScoreComparison::right:
        return "right";
    case ScoreComparison::wrong:
        return "wrong";
    case ScoreComparison::no_verdict:
        break;
    }
    return "---";
}

std::int32_t advance_reveal_step(std::int32_t step) {
    if (step < reveal_step_open) {
        step += 3;
    }
    return step > reveal_step_open ? reveal_step_open : step;
}
