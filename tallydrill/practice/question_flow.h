// The flow of a question: starting it by one of the paths, dealing and setting it up, the clock
// ticks, answering, judging and NEXT.
#pragma once

#include <windows.h>

#include "tallydrill/practice/practice_state.h"

constexpr UINT_PTR practice_timer_id = 1;
constexpr UINT practice_timer_period_ms = 50;

// The start button of the start screen: select-answer mode, then the first question.
void start_from_button(HWND window);

// A load command in any state, with the answer mode it sets.
void load_question_command(HWND window, AnswerMode mode);

// NEXT (the NEXT button or Enter on the result pane): the next question, same mode.
void next_question(HWND window);

// Deals the current question again without loading; the clock keeps running.
void deal_again(HWND window);

// Fills the question box and the choice buttons from the record and resets the countdown.
void set_up_question(HWND window);

// Answers of a running question: choice button 0..3, or the typed score.
void answer_with_choice(HWND window, int slot);
void answer_with_typed_score(HWND window);

// Fills the freshly built result pane from the question and the answer.
void judge_answer(HWND window);

// Timer 1: the elapsed displays while a question runs, the opening result pane after it.
void practice_timer_tick(HWND window);
