#include "tallydrill/practice/question_flow.h"

#include <commctrl.h>

#include "tallydrill/practice/answer_deal.h"
#include "tallydrill/practice/draw_tiles.h"
#include "tallydrill/practice/judging.h"
#include "tallydrill/practice/panes.h"
#include "tallydrill/practice/practice_app.h"
#include "tallydrill/practice/question_file.h"
#include "tallydrill/questions/line_breaks.h"

namespace {

void load(HWND window) {
    load_question_file(window, &practice.question, sizeof practice.question);
}

void read_clock() {
    practice.question_start_ms = practice_clock_ms();
}

void start_timer(HWND window) {
    SetTimer(window, practice_timer_id, practice_timer_period_ms, nullptr);
}

// Range 0..1000, step 1000, one step from empty: the bar stands full.
void fill_bar(HWND bar) {
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, elapsed_bar_range));
    SendMessageA(bar, PBM_SETSTEP, elapsed_bar_range, 0);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    SendMessageA(bar, PBM_STEPIT, 0, 0);
}

void put_choices(const AnswerDeal& deal) {
    for (int entry = 0; entry < choice_count; ++entry) {
        const auto text = terminated_copy(practice.question.answers[entry]);
        SetWindowTextA(practice.countdown_pane.choice_buttons[deal.slot_of_entry[entry]],
                       text.text);
    }
}

void enter_question_running() {
    practice.state = PracticeState::question_running;
}

// The three paths out of the start screen share their first panes.
void leave_start_screen(HWND window) {
    destroy_start_button();
    build_question_pane(window);
    build_countdown_pane(window);
    start_timer(window);
    enter_question_running();
}

void load_in_start_screen(HWND window, AnswerMode mode) {
    load(window);
    destroy_start_button();
    practice.mode = mode;
    build_question_pane(window);
    build_countdown_pane(window);
    start_timer(window);
    enter_question_running();
    draw_tiles(window);
    read_clock();
    set_up_question(window);
}

void load_in_question_running(HWND window, AnswerMode mode) {
    load(window);
    destroy_countdown_pane();
    practice.mode = mode;
    build_countdown_pane(window);
    draw_tiles(window);
    read_clock();
    set_up_question(window);
}

void load_in_result_shown(HWND window, AnswerMode mode) {
    load(window);
    enter_question_running();
    destroy_result_pane();
    practice.mode = mode;
    build_countdown_pane(window);
    draw_tiles(window);
    read_clock();
    set_up_question(window);
}

// Steps 1 to 7 of an answer, after the caller has read the answer's text.
void finish_answer(HWND window) {
    draw_tiles(window);
    destroy_countdown_pane();
    practice.state = PracticeState::result_shown;
    practice.reveal_step = 0;
    build_result_pane(window);
    judge_answer(window);
}

void read_answer_text(HWND source) {
    practice.user_answer_text[0] = '\0';
    if (source != nullptr) {
        GetWindowTextA(source, practice.user_answer_text, user_answer_capacity);
    }
}

void show_elapsed(std::int32_t elapsed) {
    HWND bar = practice.countdown_pane.fields[countdown_elapsed_bar];
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, elapsed_bar_range));
    SendMessageA(bar, PBM_SETPOS,
                 elapsed_bar_position(elapsed, question_time_limit(practice.question)), 0);
    SetWindowTextA(practice.countdown_pane.fields[countdown_elapsed_value],
                   elapsed_seconds_text(elapsed).text);
}

const char* answer_verdict() {
    if (practice.mode == AnswerMode::select_answer) {
        return select_answer_verdict(practice.chosen_slot, practice.right_slot);
    }
    return direct_input_verdict(answer_text(practice.question, 0),
                                text_field(practice.user_answer_text, user_answer_capacity));
}

} // namespace

void start_from_button(HWND window) {
    practice.mode = AnswerMode::select_answer;
    load(window);
    read_clock();
    leave_start_screen(window);
    set_up_question(window);
    draw_tiles(window);
}

void load_question_command(HWND window, AnswerMode mode) {
    switch (practice.state) {
    case PracticeState::start_screen:
        load_in_start_screen(window, mode);
        break;
    case PracticeState::question_running:
        load_in_question_running(window, mode);
        break;
    case PracticeState::result_shown:
        load_in_result_shown(window, mode);
        break;
    }
}

void next_question(HWND window) {
    load(window);
    enter_question_running();
    draw_tiles(window);
    destroy_result_pane();
    build_countdown_pane(window);
    set_up_question(window);
    read_clock();
}

void deal_again(HWND window) {
    if (practice.state == PracticeState::start_screen) {
        return; // no panes to deal into
    }
    if (practice.state == PracticeState::result_shown) {
        enter_question_running();
        destroy_result_pane();
        build_countdown_pane(window);
    }
    draw_tiles(window);
    set_up_question(window);
}

void set_up_question(HWND) {
    const AnswerDeal deal = deal_answers(practice_calendar_seconds());
    practice.right_slot = deal.right_slot;

    convert_line_breaks(practice.question.question_text, question_text_capacity);
    const auto question = terminated_copy(practice.question.question_text);
    SetWindowTextA(practice.question_pane.question_box, question.text);

    if (practice.mode == AnswerMode::select_answer) {
        put_choices(deal);
    }
    const CountdownPane& pane = practice.countdown_pane;
    SetWindowTextA(pane.fields[countdown_limit_value],
                   whole_seconds_text(question_time_limit(practice.question)).text);
    fill_bar(pane.fields[countdown_limit_bar]);
    SetWindowTextA(pane.fields[countdown_elapsed_value], "");
    fill_bar(pane.fields[countdown_elapsed_bar]);
}

void answer_with_choice(HWND window, int slot) {
    if (slot < 0 || slot >= choice_count) {
        return;
    }
    practice.chosen_slot = slot;
    practice.answer_ms = elapsed_ms(practice_clock_ms(), practice.question_start_ms);
    read_answer_text(practice.countdown_pane.choice_buttons[slot]);
    finish_answer(window);
}

void answer_with_typed_score(HWND window) {
    practice.answer_ms = elapsed_ms(practice_clock_ms(), practice.question_start_ms);
    read_answer_text(practice.countdown_pane.score_input);
    finish_answer(window);
}

void judge_answer(HWND) {
    const ResultPane& pane = practice.result_pane;
    convert_line_breaks(practice.question.explanation, explanation_capacity);
    SetWindowTextA(pane.explanation_box, terminated_copy(practice.question.explanation).text);
    SetWindowTextA(pane.fields[result_right_answer_value],
                   terminated_copy(practice.question.answers[0]).text);
    SetWindowTextA(pane.fields[result_your_answer_value], practice.user_answer_text);

    const std::int32_t limit = question_time_limit(practice.question);
    SetWindowTextA(pane.fields[result_limit_value], whole_seconds_text(limit).text);
    SetWindowTextA(pane.fields[result_elapsed_value], answer_seconds_text(practice.answer_ms).text);
    SetWindowTextA(pane.fields[result_answer_verdict], answer_verdict());
    SetWindowTextA(pane.fields[result_timing_verdict], timing_verdict(limit, practice.answer_ms));
}

void practice_timer_tick(HWND window) {
    switch (practice.state) {
    case PracticeState::question_running:
        show_elapsed(elapsed_ms(practice_clock_ms(), practice.question_start_ms));
        break;
    case PracticeState::result_shown:
        place_result_pane(window);
        practice.reveal_step = advance_reveal_step(practice.reveal_step);
        break;
    case PracticeState::start_screen:
        break;
    }
}
