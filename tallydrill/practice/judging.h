// The clock displays and the verdicts of an answered question.
#pragma once

#include <cstdint>
#include <string_view>

// Milliseconds between two readings of the wrapping 32-bit process clock.
std::int32_t elapsed_ms(std::uint32_t now_ms, std::uint32_t start_ms);

constexpr std::int32_t elapsed_bar_range = 1000;

// elapsed / (limit * 1000) * 1000 in floating point, truncated, held at 0..1000. A limit of 0
// or less has no proportion to show: the bar stands full.
std::int32_t elapsed_bar_position(std::int32_t elapsed, std::int32_t time_limit);

struct SecondsText {
    char text[24];
};

// "%d sec": the limit value, and the elapsed value with whole seconds of elapsed_ms.
SecondsText whole_seconds_text(std::int32_t seconds);
inline SecondsText elapsed_seconds_text(std::int32_t elapsed) {
    return whole_seconds_text(elapsed / 1000);
}

// "%.1f sec" of answer_ms / 1000.0, rounded from the double's exact value as printf does.
SecondsText answer_seconds_text(std::int32_t answer_ms);

// "permit" while time_limit >= answer_ms / 1000.0, so an answer at exactly the limit is in time;
// "too late" after it.
const char* timing_verdict(std::int32_t time_limit, std::int32_t answer_ms);

// "right" or "wrong" by the pressed button.
const char* select_answer_verdict(int chosen_slot, int right_slot);

// "right", "wrong", or "---" when the right answer's text is not a score.
const char* direct_input_verdict(std::string_view right_answer, std::string_view user_answer);

// The result pane opens in steps 0, 3, ..., 24, 25, one step a timer tick.
constexpr std::int32_t reveal_step_open = 25;
std::int32_t advance_reveal_step(std::int32_t step);
