// The practice window's process-wide state, kept for the whole run: the current question, the
// tile cells and bitmap, the state machine, the child windows and the question's clock.
#pragma once

#include <windows.h>

#include <cstdint>

#include "tallydrill/practice/answer_deal.h"
#include "tallydrill/practice/practice_state.h"
#include "tallydrill/practice/window_layout.h"
#include "tallydrill/questions/question_record.h"
#include "tallydrill/tiles/tile_cells.h"

// Built when the start screen is left, never destroyed.
struct QuestionPane {
    HWND question_box;
    HWND dora_label;
    HWND back_dora_label;
};

// Built for every question, destroyed when it is answered or replaced. Only the part of the
// current answer mode exists; the other handles stay null.
struct CountdownPane {
    HWND choice_buttons[choice_count];
    HWND key_labels[choice_count];
    HWND score_label;
    HWND score_input;
    HWND decide_button;
    HWND fields[countdown_field_count]; // see countdown_field_rect for the order
};

enum CountdownField : int {
    countdown_limit_label = 0,
    countdown_limit_value = 1,
    countdown_limit_bar = 2,
    countdown_elapsed_label = 3,
    countdown_elapsed_value = 4,
    countdown_elapsed_bar = 5,
};

// Built when an answer is given, destroyed by NEXT or a load command.
struct ResultPane {
    HWND explanation_box;
    HWND fields[result_field_count]; // indexed by ResultField
};

constexpr std::size_t user_answer_capacity = 256;

struct PracticeApp {
    HINSTANCE instance;
    HWND main_window;
    HBITMAP tile_bitmap;
    QuestionRecord question;
    TileCellTable tile_cells;
    PracticeState state;
    AnswerMode mode;
    HWND start_button;
    QuestionPane question_pane;
    CountdownPane countdown_pane;
    ResultPane result_pane;
    std::uint32_t question_start_ms;
    std::int32_t answer_ms;
    int right_slot;
    int chosen_slot;
    char user_answer_text[user_answer_capacity];
    std::int32_t reveal_step;
};

extern PracticeApp practice;

// Start-up state: the sample question, the cell table, the start screen, no windows.
void set_initial_state();

// The process clock in milliseconds since the program started, and the calendar time in
// seconds that seeds each deal. Tests put their own clocks here.
extern std::uint32_t (*practice_clock_ms)();
extern std::uint32_t (*practice_calendar_seconds)();
