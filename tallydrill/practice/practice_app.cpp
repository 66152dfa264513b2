#include "tallydrill/practice/practice_app.h"

#include <ctime>

PracticeApp practice;

namespace {

std::uint32_t process_clock_ms() {
    const std::clock_t ticks = std::clock();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks) * 1000u / CLOCKS_PER_SEC);
}

std::uint32_t calendar_seconds() {
    return static_cast<std::uint32_t>(std::time(nullptr));
}

} // namespace

std::uint32_t (*practice_clock_ms)() = process_clock_ms;
std::uint32_t (*practice_calendar_seconds)() = calendar_seconds;

void set_initial_state() {
    practice = PracticeApp{};
    set_initial_question(practice.question);
    practice.tile_cells = make_tile_cell_table();
    practice.state = PracticeState::start_screen;
    practice.mode = AnswerMode::select_answer;
}
